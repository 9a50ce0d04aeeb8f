#include "lns/values/fcu_unit.h"

namespace lns {
namespace {

constexpr int16_t Node = 1;
constexpr int16_t Fcu = 2;

// A point with its sample value, given in its default format.
struct Row {
  std::string_view name;
  PointKind kind;
  Direction direction;
  int16_t objectIndex;
  std::string_view ownerNv;
  std::string_view typeName;
  std::string_view defaultFormat;
  std::string_view sample;
};

constexpr PointKind Nv = PointKind::NetworkVariable;
constexpr PointKind Cp = PointKind::ConfigProperty;
constexpr Direction In = Direction::Input;
constexpr Direction Out = Direction::Output;

// Jumpers J3 (long-range setpoint adjust), J8 (modulating valves), J13 (4-pipe), J15 (three-speed
// fan), J16 (freeze fault detect) and J18 (dirty filter) closed.
constexpr std::string_view SoftJumpers =
    "0 0 1 0 0 0 0 1 0 0 0 0 1 0 1 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
    "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";

// Temperatures sit on whole hundredths (tenths) of a degree Celsius so that they read back exactly
// in °F; the setpoints keep each cooling/heating pair at least its differential plus 0.9 °F apart.
constexpr Row Rows[] = {
    {"nviSetpoint", Nv, In, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "72.5"},
    {"nviSpaceTemp", Nv, In, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "621.806"},
    {"nviEWT", Nv, In, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "621.806"},
    {"nvoDischAirTemp", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "55.4"},
    {"nvoEffectSetpt", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "74.3"},
    {"nvoEWT", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "44.6"},
    {"nvoEffectEWT", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "44.6"},
    {"nvoLocalSpaceTmp", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "73.4"},
    {"nvoOutdoorTemp", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "59"},
    {"nvoSetpoint", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "72.5"},
    {"nvoTsnFcUnitStat", Nv, Out, Fcu, "", "UNVT_Byte", "UNVT_Byte", "6"},
    {"nvoHeatCoolAuto", Nv, Out, Fcu, "", "UNVT_Byte", "UNVT_Byte", "3"},
    {"nvoFanModeSpdSw", Nv, Out, Fcu, "", "UNVT_Byte", "UNVT_Byte", "4"},
    {"nvoSetptShift", Nv, Out, Fcu, "", "SNVT_temp_setpt", "SNVT_temp_setpt#US_diff", "0,0,0,0,0,0"},
    {"nvoEffectOccup", Nv, Out, Fcu, "", "SNVT_occupancy", "SNVT_occupancy", "OC_OCCUPIED"},
    {"nvoSpaceTemp", Nv, Out, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US", "73.4"},
    {"nviApplicMode", Nv, In, Fcu, "", "SNVT_hvac_mode", "SNVT_hvac_mode", "HVAC_AUTO"},
    {"nviAuxHeatEnable", Nv, In, Fcu, "", "SNVT_switch", "SNVT_switch", "100.0 1"},
    {"nviClearAlarm", Nv, In, Fcu, "", "SNVT_switch", "SNVT_switch", "0.0 0"},
    {"nviEconEnable", Nv, In, Fcu, "", "SNVT_switch", "SNVT_switch", "100.0 1"},
    {"nviEnergyHoldOff", Nv, In, Fcu, "", "SNVT_switch", "SNVT_switch", "0.0 0"},
    {"nviOccManCmd", Nv, In, Fcu, "", "SNVT_occupancy", "SNVT_occupancy", "OC_NUL"},
    {"nviOccSchedule", Nv, In, Fcu, "", "SNVT_tod_event", "SNVT_tod_event", "OC_OCCUPIED,OC_UNOCCUPIED,480"},
    {"nviOccSensor", Nv, In, Fcu, "", "SNVT_occupancy", "SNVT_occupancy", "OC_NUL"},
    {"nviSetptOffset", Nv, In, Fcu, "", "SNVT_temp_p", "SNVT_temp_p#US_diff", "0"},
    {"nvoUnitStatus", Nv, Out, Fcu, "", "SNVT_hvac_status", "SNVT_hvac_status", "HVAC_COOL,0,0,35.5,0,100,0"},
    {"nvoBinaryIn", Nv, Out, Fcu, "", "SNVT_state", "SNVT_state", "1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
    {"nvoBinaryOut", Nv, Out, Fcu, "", "SNVT_state", "SNVT_state", "1,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0"},
    {"nvoUnitAppStatus", Nv, Out, Fcu, "", "SNVT_state", "SNVT_state", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1"},
    {"nvoUnitFaults", Nv, Out, Fcu, "", "SNVT_state", "SNVT_state", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
    {"nvoFanSpeed", Nv, Out, Fcu, "", "SNVT_switch", "SNVT_switch", "100.0 1"},
    {"nvoCurrentAlarm", Nv, Out, Fcu, "", "SNVT_str_asc", "SNVT_str_asc", "No Alarm"},
    {"nvoPreviousAlarm", Nv, Out, Fcu, "", "SNVT_str_asc", "SNVT_str_asc", "Dirty Air Filter"},
    {"nvoTerminalLoad", Nv, Out, Fcu, "", "SNVT_lev_percent", "SNVT_lev_percent", "-35.5"},
    {"nvoHeatVlvOut", Nv, Out, Fcu, "", "SNVT_lev_percent", "SNVT_lev_percent", "0"},
    {"nvoCoolVlvOut", Nv, Out, Fcu, "", "SNVT_lev_percent", "SNVT_lev_percent", "35.5"},
    {"nvoEconOut", Nv, Out, Fcu, "", "SNVT_lev_percent", "SNVT_lev_percent", "0"},
    {"SCPTbypassTime", Cp, In, Fcu, "nviOccManCmd", "SCPTbypassTime", "SCPTbypassTime", "60"},
    {"SCPTminSendTime", Cp, In, Fcu, "", "SCPTminSendTime", "SCPTminSendTime", "5"},
    {"UCPTewtFlowTmr", Cp, In, Fcu, "", "UCPTewtFlowTmr", "UCPTewtFlowTmr", "180"},
    {"UCPTewtSampleTmr", Cp, In, Fcu, "", "UCPTewtSampleTmr", "UCPTewtSampleTmr", "60"},
    {"UCPTfanMinOffTmr", Cp, In, Fcu, "", "UCPTfanMinOffTmr", "UCPTfanMinOffTmr", "180"},
    {"UCPTfanMinOnTmr", Cp, In, Fcu, "", "UCPTfanMinOnTmr", "UCPTfanMinOnTmr", "180"},
    {"UCPTcoolIntStgTmr", Cp, In, Fcu, "", "UCPTcoolIntStgTmr", "UCPTcoolIntStgTmr", "300"},
    {"UCPTheatIntStgTmr", Cp, In, Fcu, "", "UCPTheatIntStgTmr", "UCPTheatIntStgTmr", "300"},
    {"SCPTmaxSendTime", Cp, In, Fcu, "", "SCPTmaxSendTime", "SCPTmaxSendTime", "60"},
    {"SCPTmaxRcvTime", Cp, In, Fcu, "", "SCPTmaxRcvTime", "SCPTmaxRcvTime", "0"},
    {"UCPTunitAppVer", Cp, In, Fcu, "", "UCPTunitAppVer", "UCPTunitAppVer", "1.03"},
    {"SCPTlocation", Cp, In, Fcu, "", "SCPTlocation", "SCPTlocation", "Room 101"},
    {"SCPTsetPnts", Cp, In, Fcu, "", "SCPTsetPnts", "SCPTsetPnts#US", "74.3,77,84.2,69.8,66.2,60.8"},
    {"SCPTdevMajVer", Cp, In, Node, "", "SCPTdevMajVer", "SCPTdevMajVer", "1"},
    {"SCPTdevMinVer", Cp, In, Node, "", "SCPTdevMinVer", "SCPTdevMinVer", "3"},
    {"UCPTlocSptEnable", Cp, In, Fcu, "", "UCPTlocSptEnable", "UCPTlocSptEnable", "BOOL_TRUE"},
    {"SCPThvacType", Cp, In, Fcu, "", "SCPThvacType", "SCPThvacType", "HVT_FAN_COIL"},
    {"UCPTsoftJumpers", Cp, In, Fcu, "", "UCPTsoftJumpers", "UCPTsoftJumpers", SoftJumpers},
    {"UCPToccDiff", Cp, In, Fcu, "", "UCPToccDiff", "UCPToccDiff#US", "1.8"},
    {"UCPTunOccDiff", Cp, In, Fcu, "", "UCPTunOccDiff", "UCPTunOccDiff#US", "3.6"},
    {"UCPTcoolEnDiff", Cp, In, Fcu, "", "UCPTcoolEnDiff", "UCPTcoolEnDiff#US", "3.6"},
    {"UCPTheatEnDiff", Cp, In, Fcu, "", "UCPTheatEnDiff", "UCPTheatEnDiff#US", "3.6"},
    {"UCPTcoolKp", Cp, In, Fcu, "", "UCPTcoolKp", "UCPTcoolKp", "20"},
    {"UCPTheatKp", Cp, In, Fcu, "", "UCPTheatKp", "UCPTheatKp", "20"},
    {"UCPTcoolKi", Cp, In, Fcu, "", "UCPTcoolKi", "UCPTcoolKi", "300"},
    {"UCPTheatKi", Cp, In, Fcu, "", "UCPTheatKi", "UCPTheatKi", "300"},
    {"UCPTcoolDB", Cp, In, Fcu, "", "UCPTcoolDB", "UCPTcoolDB", "10"},
    {"UCPTheatDB", Cp, In, Fcu, "", "UCPTheatDB", "UCPTheatDB", "10"},
    {"UCPTcoolVlvStroke", Cp, In, Fcu, "", "UCPTcoolVlvStroke", "UCPTcoolVlvStroke", "120"},
    {"UCPTheatVlvStroke", Cp, In, Fcu, "", "UCPTheatVlvStroke", "UCPTheatVlvStroke", "120"},
    {"UCPTeconOaEnSpt", Cp, In, Fcu, "", "UCPTeconOaEnSpt", "UCPTeconOaEnSpt#US", "59"},
    {"UCPTeconOaEnDiff", Cp, In, Fcu, "", "UCPTeconOaEnDiff", "UCPTeconOaEnDiff#US", "3.6"},
    {"UCPTdaSptKp", Cp, In, Fcu, "", "UCPTdaSptKp", "UCPTdaSptKp", "20"},
    {"UCPTDaSptKi", Cp, In, Fcu, "", "UCPTDaSptKi", "UCPTDaSptKi", "300"},
    {"UCPTmaxDaSpt", Cp, In, Fcu, "", "UCPTmaxDaSpt", "UCPTmaxDaSpt#US", "69.8"},
    {"UCPTminDaSpt", Cp, In, Fcu, "", "UCPTminDaSpt", "UCPTminDaSpt#US", "55.4"},
    {"UCPTeconPosKp", Cp, In, Fcu, "", "UCPTeconPosKp", "UCPTeconPosKp", "20"},
    {"UCPTeconPosKi", Cp, In, Fcu, "", "UCPTeconPosKi", "UCPTeconPosKi", "300"},
    {"UCPTeconDB", Cp, In, Fcu, "", "UCPTeconDB", "UCPTeconDB", "10"},
    {"UCPTeconStroke", Cp, In, Fcu, "", "UCPTeconStroke", "UCPTeconStroke", "90"},
    {"UCPTeconLowMin", Cp, In, Fcu, "", "UCPTeconLowMin", "UCPTeconLowMin", "20"},
    {"UCPTeconMedMin", Cp, In, Fcu, "", "UCPTeconMedMin", "UCPTeconMedMin", "15"},
    {"UCPTeconHighMin", Cp, In, Fcu, "", "UCPTeconHighMin", "UCPTeconHighMin", "10"},
    {"UCPTsptAdjMax", Cp, In, Fcu, "", "UCPTsptAdjMax", "UCPTsptAdjMax#US", "77"},
    {"UCPTsptAdjMin", Cp, In, Fcu, "", "UCPTsptAdjMin", "UCPTsptAdjMin#US", "68"},
    {"UCPTfltrChangeHrs", Cp, In, Fcu, "", "UCPTfltrChangeHrs", "UCPTfltrChangeHrs", "720"},
};

UnitPoint PointOf(const Row& row) {
  Bytes blank(TypeSize(row.typeName));
  Bytes bytes = AcceptValue(row.typeName, row.defaultFormat, rt::Variant::String(std::string(row.sample)), blank);
  return {row.name, row.kind, row.direction, row.objectIndex, row.ownerNv, row.typeName, row.defaultFormat, bytes};
}

std::vector<UnitPoint> BuildPoints() {
  std::vector<UnitPoint> points;
  for (const Row& row : Rows) points.push_back(PointOf(row));
  return points;
}

}  // namespace

const std::vector<UnitPoint>& FcuUnitPoints() {
  static const std::vector<UnitPoint> points = BuildPoints();
  return points;
}

}  // namespace lns
