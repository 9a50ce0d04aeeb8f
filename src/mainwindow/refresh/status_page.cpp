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
#include "points/nv/snvt_tod_event.h"
#include "points/nv/text_points.h"

namespace mainwindow::refresh {
namespace {

// The schedule knows no bypass; the remote sensor only occupied and unoccupied.
constexpr TextRow<uint8_t> ScheduleRows[] = {{0, "Occupied"}, {1, "Unoccupied"}, {3, "Standby"}, {255, "NULL"}};
constexpr TextTable<uint8_t> ScheduleText{ScheduleRows, "Error"};
constexpr TextRow<uint8_t> SensorRows[] = {{0, "Occupied"}, {1, "Unoccupied"}, {255, "NULL"}};
constexpr TextTable<uint8_t> SensorText{SensorRows, "Error"};

constexpr int HumidistatBit = 5;
constexpr int EwtSamplingBit = 9;

using RowText = std::string (*)(Refresh&, int line);
struct Row {
  int line;
  forms::ControlArray<forms::TextBox> control;  // the member the Status page writes
  RowText text;
};

template <class P>
uint8_t ByteOf(const Refresh& refresh, std::string_view property) {
  return refresh.Point<P>(property).get_Value();
}

template <class P>
std::string StoredText(const Refresh& refresh, std::string_view property) {
  return refresh.Point<P>(property).get_Value();
}

// The rows down to the humidistat, ahead of the remote setpoint controls.
constexpr Row UpperRows[] = {
    {50, controls::txtUnitAppVer, [](Refresh& r, int) { return StoredText<points::SCPT_str_asc>(r, "nciUnitAppVer"); }},
    {50, controls::txtLonAppVer, [](Refresh& r, int) { return VersionText(r); }},
    {50, controls::txtnvoEffectSpt, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoEffectSetpt")); }},
    {50, controls::txtnvoEffectEWT, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoEffectEWT")); }},
    {50, controls::txtnvoDischAirTemp,
     [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoDischAirTemp")); }},
    {50, controls::txtnvoSpaceTemp, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoSpaceTemp")); }},
    {50, controls::txtnviApplicMode,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, HvacModeText, [&] { return ByteOf<points::SNVT_hvac_mode>(r, "nviApplicMode"); });
     }},
    {50, controls::txtnvoUnitStatus,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, HvacModeText,
                                [&] { return r.Point<points::SNVT_hvac_status>("nvoUnitStatus").get_Mode(); });
     }},
    {50, controls::txtnvoTsnFcUnitStat,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, UnitStatusText, [&] { return ByteOf<points::UNVT_Byte>(r, "nvoTsnFcUnitStat"); });
     }},
    {50, controls::txtOccClgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::occupied_cool)); }},
    {50, controls::txtUnOccClgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::unoccupied_cool)); }},
    {50, controls::txtStbyClgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::standby_cool)); }},
    {50, controls::txtOccHtgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::occupied_heat)); }},
    {50, controls::txtUnOccHtgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::unoccupied_heat)); }},
    {50, controls::txtStbyHtgSpt,
     [](Refresh& r, int) { return TemperatureText(ConfiguredSetpoint(r, points::standby_heat)); }},
    {50, controls::txtCurrentAlarm,
     [](Refresh& r, int) { return StoredText<points::SNVT_str_asc>(r, "nvoCurrentAlarm"); }},
    {50, controls::txtPreviousAlarm,
     [](Refresh& r, int) { return StoredText<points::SNVT_str_asc>(r, "nvoPreviousAlarm"); }},
    {50, controls::txtnviOccSch,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, ScheduleText,
                                [&] { return r.Point<points::SNVT_tod_event>("nviOccSchedule").get_current_state(); });
     }},
    {58, controls::txtOccManCmd,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, OccupancyText, [&] { return ByteOf<points::SNVT_occupancy>(r, "nviOccManCmd"); });
     }},
    {60, controls::txtnciByPassTime,
     [](Refresh& r, int) {
       return FormatNumber(r.Point<points::SCPTbypassTime>("nciBypassTime").get_Value(), WholeNumber);
     }},
    {62, controls::txtnviOccSensor,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, SensorText, [&] { return ByteOf<points::SNVT_occupancy>(r, "nviOccSensor"); });
     }},
    {63, controls::txtnvoEffectOccup,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, OccupancyText, [&] { return EffectiveOccupancy(r); });
     }},
    {64, controls::txtnvoTerminalLoad,
     [](Refresh& r, int line) {
       return Selected<double>(r, line, TerminalLoadText,
                               [&] { return r.Point<points::SNVT_lev_percent>("nvoTerminalLoad").get_Value(); });
     }},
    {66, controls::txtnvoDehumid,
     [](Refresh& r, int line) -> std::string {
       const bool clear = r.If(line, [&] { return !r.Point<points::SNVT_state>("nvoBinaryIn").get_Bit(HumidistatBit); });
       return clear ? "Not Required" : "Is Required";
     }},
};

// The remote sensors.
constexpr Row RemoteRows[] = {
    {66, controls::txtnviEWT, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nviEWT")); }},
    {66, controls::txtnviSpaceTemp, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nviSpaceTemp")); }},
    {66, controls::txtnviSetpoint, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nviSetPoint")); }},
    {66, controls::txtnviSetptOffset,
     [](Refresh& r, int) {
       return FormatNumber(r.Point<points::SNVT_temp_p_US_diff>("nviSetptOffset").get_Value(), OneDecimal);
     }},
};

// The local sensors, after the schematic's sampling label.
constexpr Row LocalRows[] = {
    {66, controls::txtnvoEWT, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoEWT")); }},
    {66, controls::txtnvoLocalSpaceTemp,
     [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoLocalSpaceTmp")); }},
    {66, controls::txtnvoOutdoorTemp,
     [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoOutdoorTemp")); }},
    {66, controls::txtnvoSetpoint, [](Refresh& r, int) { return TemperatureText(Temperature(r, "nvoSetpoint")); }},
};

// The local switches, after the setpoint range.
constexpr Row SwitchRows[] = {
    {68, controls::txtnvoFanSpdSw,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, FanSwitchText, [&] { return ByteOf<points::UNVT_Byte>(r, "nvoFanModeSpdSw"); });
     }},
    {68, controls::txtnvoHeatCoolAuto,
     [](Refresh& r, int line) {
       return Selected<uint8_t>(r, line, HeatCoolAutoText,
                                [&] { return ByteOf<points::UNVT_Byte>(r, "nvoHeatCoolAuto"); });
     }},
};

void WriteRows(Refresh& refresh, std::span<const Row> rows) {
  for (const Row& row : rows) {
    refresh.SetText(row.line, row.control.At(refresh.State().m_StatusIdx), [&] { return row.text(refresh, row.line); });
  }
}

void ShowEwtSampling(Refresh& refresh) {
  const bool sampling =
      refresh.If(66, [&] { return refresh.Point<points::SNVT_state>("nvoUnitAppStatus").get_Bit(EwtSamplingBit); });
  refresh(66, [&] { refresh.Ctl(controls::lblEWTSampling).SetVisible(sampling); });
}

}  // namespace

// The one-compressor schematic's boxes; the two-compressor one keeps its design texts.
void StatusPage(Refresh& refresh) {
  refresh(50, [&] { refresh.State().m_StatusIdx = 0; });
  WriteRows(refresh, UpperRows);
  const bool local = ShowRemoteSetpoint(refresh, SourcePage::Status);
  WriteRows(refresh, RemoteRows);
  ShowEwtSampling(refresh);
  WriteRows(refresh, LocalRows);
  ShowLocalSetpoint(refresh, SourcePage::Status, local);
  WriteRows(refresh, SwitchRows);
  UnitSchematic(refresh);
}

}  // namespace mainwindow::refresh
