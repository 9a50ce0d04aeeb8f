#include "points/nv/points.h"

#include <array>

namespace points {

namespace {

using Entry = PointClassEntry<NetworkVariablePoint>;
template <class T>
constexpr auto Create = CreatePoint<NetworkVariablePoint, T>;

constexpr std::array<Entry, 16> Classes{{
    {"SNVT_switch", "{DE546316-058B-46A2-BE8C-8662F8DA60B9}", Create<SNVT_switch>},
    {"SNVT_state", "{4BB6E8CD-86A0-44A4-A716-F673F50DD39E}", Create<SNVT_state>},
    {"SNVT_temp_p", "{CDECE7CE-0D74-4DAA-B5BC-B0FC3310428C}", Create<SNVT_temp_p>},
    {"SNVT_count", "{3016347D-C629-47EC-95A3-83880402FC33}", Create<SNVT_count>},
    {"SNVT_str_asc", "{257C915C-93F6-452A-9256-EF9BAB4396B6}", Create<SNVT_str_asc>},
    {"SNVT_time_min", "{F6CA0D68-5743-4D0A-98C6-DE75DB17FA9D}", Create<SNVT_time_min>},
    {"SNVT_time_sec", "{51F0909F-7A67-4928-9472-DDE8471099B1}", Create<SNVT_time_sec>},
    {"SNVT_temp_setpt", "{03368740-A1EE-4BBD-860F-950FC74B3E7C}", Create<SNVT_temp_setpt>},
    {"SNVT_hvac_status", "{0F080B0C-392A-468F-ADE1-C7DE557B5EED}", Create<SNVT_hvac_status>},
    {"SNVT_hvac_mode", "{53B69797-C03A-4200-99F7-601B172CF616}", Create<SNVT_hvac_mode>},
    {"SNVT_occupancy", "{64920375-5618-41A8-A142-7B571D9B4032}", Create<SNVT_occupancy>},
    {"SNVT_tod_event", "{7A8FD340-ADFD-45DA-BFEB-1CC3C6470F06}", Create<SNVT_tod_event>},
    {"SNVT_lev_percent", "{281A4B92-43A8-4AB6-944E-3CF9D65C1D52}", Create<SNVT_lev_percent>},
    {"SNVT_state_64", "{354ADD91-695D-4C3C-9463-BDD098F15B7B}", Create<SNVT_state_64>},
    {"UNVT_Byte", "{BFC8141D-12C9-4220-8C09-CB8E3443A3A8}", Create<UNVT_Byte>},
    {"SNVT_temp_p_US_diff", "{58AFC16C-A8BD-41A4-8F8A-2791DD1EC36F}", Create<SNVT_temp_p_US_diff>},
}};

}  // namespace

std::span<const PointClassEntry<NetworkVariablePoint>> NetworkVariableClasses() { return Classes; }

void AddNetworkVariableClasses() { AddComClasses(NetworkVariableClasses()); }

rt::Ref<NetworkVariablePoint> CreateNetworkVariablePoint(std::string_view className) {
  return CreateByName(NetworkVariableClasses(), className);
}

}  // namespace points
