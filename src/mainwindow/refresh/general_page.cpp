#include <span>
#include <string>

#include "forms/controls_text.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/cp/byte_points.h"
#include "points/cp/plain_points.h"
#include "points/nv/enum_points.h"
#include "points/nv/flag_points.h"
#include "points/nv/number_points.h"
#include "points/nv/snvt_hvac_status.h"
#include "points/nv/snvt_switch.h"
#include "points/nv/snvt_tod_event.h"
#include "points/nv/text_points.h"

namespace mainwindow::refresh {
namespace {

constexpr int PageMember = 2;  // of the arrays shared with other pages
constexpr int HumidistatBit = 5;

// The combos' texts: the modes of the list, "Auto" where the mode table says "Automatic".
constexpr TextRow<uint8_t> ApplicModeRows[] = {{0, "Auto"}, {1, "Heating"},  {3, "Cooling"},  {6, "Off"},
                                               {9, "Fan Only"}, {13, "Economy"}, {14, "Dehumid"}};
constexpr TextTable<uint8_t> ApplicModeText{ApplicModeRows, "NULL"};
// The schedule knows no bypass; the remote sensor only occupied and unoccupied, its error in capitals.
constexpr TextRow<uint8_t> ScheduleRows[] = {{0, "Occupied"}, {1, "Unoccupied"}, {3, "Standby"}, {255, "NULL"}};
constexpr TextTable<uint8_t> ScheduleText{ScheduleRows, "Error"};
constexpr TextRow<uint8_t> SensorRows[] = {{0, "Occupied"}, {1, "Unoccupied"}, {255, "NULL"}};
constexpr TextTable<uint8_t> SensorText{SensorRows, "ERROR"};
constexpr TextRow<uint8_t> EnableRows[] = {{0, "Disable"}, {1, "Enable"}};
constexpr TextTable<uint8_t> EnableText{EnableRows, "NULL"};
constexpr TextRow<int16_t> SwitchRows[] = {{0, "Disable"}, {1, "Enable"}};
constexpr TextTable<int16_t> SwitchText{SwitchRows, "NULL"};

enum class Box { Display, Editor };  // an editor's box is left alone while it is "Busy"

using RowText = std::string (*)(Refresh&, int line, std::string_view point);
struct Row {
  int line;
  forms::ControlRef<forms::TextControl> control;
  Box kind;
  std::string_view point;
  RowText text;
};

template <class P>
std::string SelectedByte(Refresh& refresh, int line, const TextTable<uint8_t>& table, std::string_view point) {
  return Selected<uint8_t>(refresh, line, table, [&] { return refresh.Point<P>(point).get_Value(); });
}
template <const TextTable<uint8_t>& Table, class P>
std::string ByteText(Refresh& refresh, int line, std::string_view point) {
  return SelectedByte<P>(refresh, line, Table, point);
}
std::string TemperatureRow(Refresh& refresh, int, std::string_view point) {
  return TemperatureText(Temperature(refresh, point));
}
template <points::Setpoint S>
std::string SetpointRow(Refresh& refresh, int, std::string_view) {
  return TemperatureText(ConfiguredSetpoint(refresh, S));
}
std::string AlarmRow(Refresh& refresh, int, std::string_view point) {
  return refresh.Point<points::SNVT_str_asc>(point).get_Value();
}
// A switch whose state cannot be read keeps its text.
std::string SwitchRow(Refresh& refresh, int, std::string_view point) {
  return std::string(SwitchText(refresh.Point<points::SNVT_switch>(point).get_State()));
}

constexpr Row UpperRows[] = {
    {68, controls::cbonviApplicMode, Box::Editor, "nviApplicMode", ByteText<ApplicModeText, points::SNVT_hvac_mode>},
    {87, controls::txtnvoHeatCoolAuto[PageMember], Box::Display, "nvoHeatCoolAuto",
     ByteText<HeatCoolAutoText, points::UNVT_Byte>},
    {88, controls::txtnvoFanSpdSw[PageMember], Box::Display, "nvoFanModeSpdSw",
     ByteText<FanSwitchText, points::UNVT_Byte>},
    {89, controls::cbonviOccSchedule, Box::Editor, "nviOccSchedule",
     [](Refresh& r, int line, std::string_view point) {
       return Selected<uint8_t>(r, line, ScheduleText,
                                [&] { return r.Point<points::SNVT_tod_event>(point).get_current_state(); });
     }},
    {90, controls::cbonviOccManCmd, Box::Editor, "nviOccManCmd", ByteText<OccupancyText, points::SNVT_occupancy>},
    {91, controls::txtnciByPassTime[PageMember], Box::Editor, "nciBypassTime",
     [](Refresh& r, int, std::string_view point) {
       return FormatNumber(r.Point<points::SCPTbypassTime>(point).get_Value(), WholeNumber);
     }},
    {91, controls::cbonviOccSensor, Box::Editor, "nviOccSensor", ByteText<SensorText, points::SNVT_occupancy>},
    {92, controls::txtnvoEffectOccup[PageMember], Box::Display, "nvoEffectOccup",
     ByteText<OccupancyText, points::SNVT_occupancy>},
    {93, controls::txtnvoEWT[PageMember], Box::Display, "nvoEWT", TemperatureRow},
    {93, controls::txtnvoEffectEWT[PageMember], Box::Display, "nvoEffectEWT", TemperatureRow},
    {93, controls::txtnviEWT[PageMember], Box::Editor, "nviEWT", TemperatureRow},
    {194, controls::txtnvoLocalSpaceTemp[PageMember], Box::Display, "nvoLocalSpaceTmp", TemperatureRow},
    {194, controls::txtnvoSpaceTemp[PageMember], Box::Display, "nvoSpaceTemp", TemperatureRow},
    {194, controls::txtnviSpaceTemp[PageMember], Box::Editor, "nviSpaceTemp", TemperatureRow},
    {294, controls::txtnvoDehumid[PageMember], Box::Display, "nvoBinaryIn",
     [](Refresh& r, int line, std::string_view point) -> std::string {
       const bool clear = r.If(line, [&] { return !r.Point<points::SNVT_state>(point).get_Bit(HumidistatBit); });
       return clear ? "Not Required" : "Is Required";
     }},
    {294, controls::txtnvoSetpoint[PageMember], Box::Display, "nvoSetpoint", TemperatureRow},
    {294, controls::txtnviSetpoint[PageMember], Box::Editor, "nviSetPoint", TemperatureRow},
};

constexpr Row LowerRows[] = {
    {294, controls::txtnviSetptOffset[PageMember], Box::Editor, "nviSetptOffset",
     [](Refresh& r, int, std::string_view point) {
       return FormatNumber(r.Point<points::SNVT_temp_p_US_diff>(point).get_Value(), OneDecimal);
     }},
    {294, controls::cbonciLocSptEnable, Box::Editor, "nciLocSptEnable", ByteText<EnableText, points::UCPT_Boolean>},
    {294, controls::txtCurrentAlarm[PageMember], Box::Display, "nvoCurrentAlarm", AlarmRow},
    {294, controls::txtPreviousAlarm[PageMember], Box::Display, "nvoPreviousAlarm", AlarmRow},
    {294, controls::txtnvoTsnFcUnitStat[PageMember], Box::Display, "nvoTsnFcUnitStat",
     ByteText<UnitStatusText, points::UNVT_Byte>},
    {294, controls::txtnvoUnitStatus[PageMember], Box::Display, "nvoUnitStatus",
     [](Refresh& r, int line, std::string_view point) {
       return Selected<uint8_t>(r, line, HvacModeText, [&] { return r.Point<points::SNVT_hvac_status>(point).get_Mode(); });
     }},
    {294, controls::txtOccClgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::occupied_cool>},
    {294, controls::txtUnOccClgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::unoccupied_cool>},
    {294, controls::txtStbyClgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::standby_cool>},
    {294, controls::txtOccHtgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::occupied_heat>},
    {294, controls::txtUnOccHtgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::unoccupied_heat>},
    {294, controls::txtStbyHtgSpt[PageMember], Box::Editor, "nciSetpoints", SetpointRow<points::standby_heat>},
    {294, controls::txtnvoEffectSpt[PageMember], Box::Display, "nvoEffectSetpt", TemperatureRow},
    {294, controls::txtnvoDischAirTemp[PageMember], Box::Display, "nvoDischAirTemp", TemperatureRow},
    {294, controls::txtnvoOutdoorTemp[PageMember], Box::Display, "nvoOutdoorTemp", TemperatureRow},
    {294, controls::cbonviAuxHeatEnable, Box::Editor, "nviAuxHeatEnable", SwitchRow},
    {294, controls::txtnvoTerminalLoad[PageMember], Box::Display, "nvoTerminalLoad",
     [](Refresh& r, int line, std::string_view point) {
       return Selected<double>(r, line, TerminalLoadText,
                               [&] { return r.Point<points::SNVT_lev_percent>(point).get_Value(); });
     }},
    {294, controls::cbonviEnergyHoldOff, Box::Editor, "nviEnergyHoldOff", SwitchRow},
    {294, controls::cbonviEconEnable, Box::Editor, "nviEconEnable", SwitchRow},
};

void WriteRows(Refresh& refresh, std::span<const Row> rows) {
  for (const Row& row : rows) {
    const auto write = [&] {
      refresh.SetText(row.line, row.control, [&] { return row.text(refresh, row.line, row.point); });
    };
    if (row.kind == Box::Display) {
      write();
    } else {
      refresh.UnlessBusy(row.line, row.control, write);
    }
  }
}

}  // namespace

// The rows, with the setpoint source between the remote setpoint and its offset.
void GeneralPage(Refresh& refresh) {
  WriteRows(refresh, UpperRows);
  ShowSetpointSource(refresh, SourcePage::General);
  WriteRows(refresh, LowerRows);
}

}  // namespace mainwindow::refresh
