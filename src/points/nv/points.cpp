#include "points/nv/points.h"

#include <array>

namespace points {

namespace {

struct PointFactory {
  std::string_view className;
  rt::Ref<NetworkVariablePoint> (*create)();
};

template <class T>
rt::Ref<NetworkVariablePoint> Create() {
  return rt::New<T>();
}

constexpr std::array<PointFactory, 16> Factories{{
    {"SNVT_switch", Create<SNVT_switch>},
    {"SNVT_state", Create<SNVT_state>},
    {"SNVT_temp_p", Create<SNVT_temp_p>},
    {"SNVT_count", Create<SNVT_count>},
    {"SNVT_str_asc", Create<SNVT_str_asc>},
    {"SNVT_time_min", Create<SNVT_time_min>},
    {"SNVT_time_sec", Create<SNVT_time_sec>},
    {"SNVT_temp_setpt", Create<SNVT_temp_setpt>},
    {"SNVT_hvac_status", Create<SNVT_hvac_status>},
    {"SNVT_hvac_mode", Create<SNVT_hvac_mode>},
    {"SNVT_occupancy", Create<SNVT_occupancy>},
    {"SNVT_tod_event", Create<SNVT_tod_event>},
    {"SNVT_lev_percent", Create<SNVT_lev_percent>},
    {"SNVT_state_64", Create<SNVT_state_64>},
    {"UNVT_Byte", Create<UNVT_Byte>},
    {"SNVT_temp_p_US_diff", Create<SNVT_temp_p_US_diff>},
}};

}  // namespace

rt::Ref<NetworkVariablePoint> CreateNetworkVariablePoint(std::string_view className) {
  for (const PointFactory& factory : Factories) {
    if (factory.className == className) return factory.create();
  }
  return nullptr;
}

}  // namespace points
