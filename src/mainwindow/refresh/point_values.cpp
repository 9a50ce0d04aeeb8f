#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/scpt_set_pnts.h"
#include "points/nv/enum_points.h"
#include "points/nv/number_points.h"

namespace mainwindow::refresh {

double Temperature(const Refresh& refresh, std::string_view property) {
  return refresh.Point<points::SNVT_temp_p>(property).get_Value();
}

double ConfiguredSetpoint(const Refresh& refresh, points::Setpoint setpoint) {
  return refresh.Point<points::SCPTsetPnts>("nciSetpoints").get_Setpoint(setpoint);
}

std::string VersionText(const Refresh& refresh) {
  const auto version = [&](std::string_view property) {
    return std::to_string(refresh.Point<points::UCPT_Byte>(property).get_Value());
  };
  return version("nciDevMajVer") + "." + version("nciDevMinVer");
}

uint8_t EffectiveOccupancy(const Refresh& refresh) {
  return refresh.Point<points::SNVT_occupancy>("nvoEffectOccup").get_Value();
}

SetpointPair PairOf(uint8_t occupancy) {
  switch (occupancy) {
    case 1:
      return {points::unoccupied_cool, points::unoccupied_heat};
    case 3:
      return {points::standby_cool, points::standby_heat};
    default:
      return {points::occupied_cool, points::occupied_heat};
  }
}

}  // namespace mainwindow::refresh
