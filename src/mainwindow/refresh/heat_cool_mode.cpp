#include "mainwindow/refresh/page_steps.h"
#include "points/nv/flag_points.h"
#include "points/nv/text_points.h"

namespace mainwindow::refresh {
namespace {

constexpr int16_t HeatingView = 1;
constexpr int16_t CoolingView = 2;

constexpr uint8_t Heating = 4;
constexpr uint8_t Economizer = 5;
constexpr uint8_t Cooling = 6;
constexpr int CoolingRequest = 15;  // of the application status

}  // namespace

int16_t GetHeatCoolMode(const Refresh& refresh) {
  const auto status = [&] { return refresh.Point<points::UNVT_Byte>("nvoTsnFcUnitStat").get_Value(); };
  if (status() == Heating) return HeatingView;
  if (status() == Economizer || status() == Cooling) return CoolingView;
  return refresh.Point<points::SNVT_state>("nvoUnitAppStatus").get_Bit(CoolingRequest) ? CoolingView : HeatingView;
}

}  // namespace mainwindow::refresh
