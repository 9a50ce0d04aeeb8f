#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The unit's 83 points: which class each is, what it binds, and every order the device object
// keeps them in. Creation order is the order of the rows.
namespace device {

// The LonMark object index a configuration-property point takes as ObjIdx.
enum eOBJ : int16_t { Virtual = 0, Node = 1, FCU = 2 };

enum class Family : uint8_t { NetworkVariable, ConfigProperty };

// How a point binds: a network variable by its name; a configuration property by the LonMark
// object at ObjIdx, or by a network variable's property collection when `ownerVariable` is given.
struct Binding {
  Family family;
  int16_t objIdx = Virtual;
  std::string_view ownerVariable = {};
};
inline constexpr Binding Nv{Family::NetworkVariable};
constexpr Binding Cp(eOBJ object) { return {Family::ConfigProperty, object}; }
constexpr Binding CpOfVariable(eOBJ object, std::string_view variable) {
  return {Family::ConfigProperty, object, variable};
}

// A point's place (from 1) in the orders that are not the creation order.
struct Places {
  uint8_t field;      // the device object's fields, as declared
  uint8_t bound;      // the binding
  uint8_t published;  // the interface's point properties
  uint8_t released;   // the destruction
};

// A point's place (from 1) in a page read's list, 0 when the list leaves it out. The
// "Input/Output" and "Debug" pages read the network variables in creation order.
struct Pages {
  uint8_t status;
  uint8_t general;
  uint8_t deviceSetup;
  uint8_t jumpers;
  uint8_t all;  // any page index but 0 to 5
};

// The point's Set where it is not plain.
struct Setter {
  std::string_view name = {};  // published under another name than the Get's
  std::string_view log = {};   // a line logged before the point is stored
};

struct PointRow {
  std::string_view property;
  std::string_view className;
  Binding binding;
  std::string_view lnsName;  // NvName of a variable, CpName of a property
  Places places;
  bool changed;  // the device's Changed looks at it
  Pages pages;
  bool written = false;  // WriteDevice writes it
  Setter setter = {};

  constexpr std::string_view SetName() const { return setter.name.empty() ? property : setter.name; }
};

inline constexpr bool Yes = true;
inline constexpr bool No = false;
inline constexpr bool Written = true;
inline constexpr bool NotWritten = false;

inline constexpr size_t PointCount = 83;

inline constexpr std::array<PointRow, PointCount> PointTable{{
    {"nviSetPoint", "SNVT_temp_p", Nv, "nviSetpoint", {37, 1, 83, 1}, Yes, {0, 19, 33, 0, 1}},
    {"nviSpaceTemp", "SNVT_temp_p", Nv, "nviSpaceTemp", {35, 2, 81, 2}, No, {0, 11, 34, 0, 2}},
    {"nviEWT", "SNVT_temp_p", Nv, "nviEWT", {36, 3, 82, 3}, No, {0, 12, 35, 0, 3}, NotWritten, {{}, "SCC.nviEWT.Set nviEWT()"}},
    {"nvoDischAirTemp", "SNVT_temp_p", Nv, "nvoDischAirTemp", {1, 4, 2, 4}, Yes, {13, 13, 36, 0, 4}},
    {"nvoEffectSetpt", "SNVT_temp_p", Nv, "nvoEffectSetpt", {2, 5, 3, 5}, Yes, {14, 14, 37, 0, 5}},
    {"nvoEWT", "SNVT_temp_p", Nv, "nvoEWT", {3, 6, 4, 6}, Yes, {15, 15, 38, 0, 6}},
    {"nvoEffectEWT", "SNVT_temp_p", Nv, "nvoEffectEWT", {4, 7, 5, 7}, Yes, {16, 16, 39, 0, 7}},
    {"nvoLocalSpaceTmp", "SNVT_temp_p", Nv, "nvoLocalSpaceTmp", {5, 8, 6, 8}, Yes, {17, 17, 40, 0, 8}},
    {"nvoOutdoorTemp", "SNVT_temp_p", Nv, "nvoOutdoorTemp", {6, 9, 7, 9}, Yes, {18, 18, 41, 0, 9}},
    {"nvoSetpoint", "SNVT_temp_p", Nv, "nvoSetpoint", {7, 10, 8, 10}, Yes, {19, 20, 42, 0, 10}},
    {"nvoTsnFcUnitStat", "UNVT_Byte", Nv, "nvoTsnFcUnitStat", {8, 11, 9, 11}, Yes, {20, 29, 43, 0, 11}},
    {"nvoHeatCoolAuto", "UNVT_Byte", Nv, "nvoHeatCoolAuto", {9, 45, 43, 12}, No, {1, 2, 44, 0, 12}},
    {"nvoFanModeSpdSw", "UNVT_Byte", Nv, "nvoFanModeSpdSw", {10, 46, 44, 13}, No, {2, 3, 45, 0, 13}},
    {"nvoSetptShift", "SNVT_temp_setpt", Nv, "nvoSetptShift", {11, 47, 45, 14}, Yes, {21, 30, 46, 0, 14}},
    {"nvoEffectOccup", "SNVT_occupancy", Nv, "nvoEffectOccup", {12, 49, 47, 16}, Yes, {22, 31, 47, 0, 15}},
    {"nvoSpaceTemp", "SNVT_temp_p", Nv, "nvoSpaceTemp", {13, 50, 1, 17}, Yes, {12, 32, 48, 0, 16}},
    {"nviApplicMode", "SNVT_hvac_mode", Nv, "nviApplicMode", {26, 51, 60, 18}, No, {0, 1, 49, 0, 17}, Written},
    {"nviAuxHeatEnable", "SNVT_switch", Nv, "nviAuxHeatEnable", {27, 52, 61, 19}, No, {0, 33, 50, 0, 18}, Written},
    {"nviClearAlarm", "SNVT_switch", Nv, "nviClearAlarm", {28, 53, 62, 20}, No, {0, 34, 51, 0, 19}, Written},
    {"nviEconEnable", "SNVT_switch", Nv, "nviEconEnable", {29, 54, 63, 21}, No, {0, 35, 52, 0, 20}, Written},
    {"nviEnergyHoldOff", "SNVT_switch", Nv, "nviEnergyHoldOff", {30, 55, 64, 22}, No, {0, 36, 53, 0, 21}, Written},
    {"nviOccManCmd", "SNVT_occupancy", Nv, "nviOccManCmd", {31, 56, 65, 23}, No, {0, 21, 54, 0, 22}, Written},
    {"nviOccSchedule", "SNVT_tod_event", Nv, "nviOccSchedule", {32, 57, 66, 24}, No, {0, 22, 55, 0, 23}, Written},
    {"nviOccSensor", "SNVT_occupancy", Nv, "nviOccSensor", {33, 58, 67, 25}, No, {0, 23, 56, 0, 24}, Written},
    {"nviSetptOffset", "SNVT_temp_p_US_diff", Nv, "nviSetptOffset", {34, 59, 68, 26}, No, {0, 37, 57, 0, 25}, Written},
    {"nvoUnitStatus", "SNVT_hvac_status", Nv, "nvoUnitStatus", {14, 60, 69, 27}, No, {23, 27, 58, 0, 26}},
    {"nvoBinaryIn", "SNVT_state", Nv, "nvoBinaryIn", {15, 61, 70, 28}, Yes, {24, 24, 59, 0, 27}},
    {"nvoBinaryOut", "SNVT_state", Nv, "nvoBinaryOut", {16, 62, 71, 29}, Yes, {25, 38, 60, 0, 28}},
    {"nvoUnitAppStatus", "SNVT_state", Nv, "nvoUnitAppStatus", {17, 63, 72, 30}, Yes, {26, 25, 61, 0, 29}},
    {"nvoUnitFaults", "SNVT_state", Nv, "nvoUnitFaults", {18, 64, 73, 31}, Yes, {27, 26, 62, 0, 30}, NotWritten, {"nvoUnitUnitFaults"}},
    {"nvoFanSpeed", "SNVT_switch", Nv, "nvoFanSpeed", {19, 65, 74, 32}, Yes, {28, 39, 63, 0, 31}},
    {"nvoCurrentAlarm", "SNVT_str_asc", Nv, "nvoCurrentAlarm", {20, 66, 75, 33}, Yes, {6, 5, 64, 0, 32}},
    {"nvoPreviousAlarm", "SNVT_str_asc", Nv, "nvoPreviousAlarm", {21, 67, 76, 34}, No, {7, 6, 65, 0, 33}},
    {"nvoTerminalLoad", "SNVT_lev_percent", Nv, "nvoTerminalLoad", {22, 68, 77, 35}, Yes, {8, 7, 66, 0, 34}},
    {"nvoHeatVlvOut", "SNVT_lev_percent", Nv, "nvoHeatVlvOut", {23, 69, 78, 36}, Yes, {9, 8, 67, 0, 35}},
    {"nvoCoolVlvOut", "SNVT_lev_percent", Nv, "nvoCoolVlvOut", {24, 70, 79, 37}, Yes, {10, 9, 68, 0, 36}},
    {"nvoEconOut", "SNVT_lev_percent", Nv, "nvoEconOut", {25, 71, 80, 38}, Yes, {11, 10, 69, 0, 37}},
    {"nciBypassTime", "SCPTbypassTime", CpOfVariable(FCU, "nviOccManCmd"), "SCPTbypassTime", {47, 72, 48, 39}, Yes, {5, 4, 0, 0, 39}},
    {"nciMinOutTm", "SCPT_time_sec", Cp(FCU), "SCPTminSendTime", {40, 73, 49, 40}, Yes, {0, 0, 72, 0, 40}},
    {"nciEwtFlowTmr", "SCPT_time_sec", Cp(FCU), "UCPTewtFlowTmr", {41, 74, 50, 41}, Yes, {0, 0, 73, 0, 41}},
    {"nciEwtSampleTmr", "SCPT_time_min", Cp(FCU), "UCPTewtSampleTmr", {42, 75, 51, 42}, Yes, {0, 0, 74, 0, 42}},
    {"nciFanMinOffTmr", "SCPT_time_sec", Cp(FCU), "UCPTfanMinOffTmr", {43, 76, 52, 43}, Yes, {0, 0, 75, 0, 43}},
    {"nciFanMinOnTmr", "SCPT_time_sec", Cp(FCU), "UCPTfanMinOnTmr", {44, 77, 53, 44}, Yes, {0, 0, 76, 0, 44}},
    {"nciCoolIntStgTmr", "SCPT_time_sec", Cp(FCU), "UCPTcoolIntStgTmr", {45, 78, 54, 45}, Yes, {0, 0, 77, 0, 45}},
    {"nciHeatIntStgTmr", "SCPT_time_sec", Cp(FCU), "UCPTheatIntStgTmr", {46, 79, 55, 46}, Yes, {0, 0, 78, 0, 46}},
    {"nciSndHrtBt", "SCPT_time_sec", Cp(FCU), "SCPTmaxSendTime", {39, 80, 56, 47}, Yes, {0, 0, 79, 0, 47}},
    {"nciRcvHrtBt", "SCPT_time_sec", Cp(FCU), "SCPTmaxRcvTime", {48, 81, 57, 48}, Yes, {0, 0, 80, 0, 48}},
    {"nciUnitAppVer", "SCPT_str_asc", Cp(FCU), "UCPTunitAppVer", {49, 82, 58, 49}, Yes, {0, 0, 30, 0, 49}},
    {"nciLocation", "SCPT_str_asc", Cp(FCU), "SCPTlocation", {50, 83, 59, 50}, Yes, {0, 0, 31, 0, 50}},
    {"nciSetpoints", "SCPTsetPnts", Cp(FCU), "SCPTsetPnts", {38, 48, 46, 15}, Yes, {0, 0, 32, 0, 38}},
    {"nciDevMajVer", "UCPT_Byte", Cp(Node), "SCPTdevMajVer", {51, 12, 10, 51}, Yes, {3, 0, 70, 0, 51}},
    {"nciDevMinVer", "UCPT_Byte", Cp(Node), "SCPTdevMinVer", {52, 13, 11, 52}, Yes, {4, 0, 71, 0, 52}},
    {"nciLocSptEnable", "UCPT_Boolean", Cp(FCU), "UCPTlocSptEnable", {53, 14, 12, 53}, Yes, {0, 28, 0, 0, 53}},
    {"nciHVACType", "SCPThvacType", Cp(FCU), "SCPThvacType", {54, 15, 13, 54}, Yes, {0, 0, 29, 0, 83}},
    {"nciSoftJumpers", "UCPTsoftJumpers", Cp(FCU), "UCPTsoftJumpers", {55, 16, 14, 55}, Yes, {0, 0, 81, 1, 54}},
    {"nciOccDiff", "UCPTtemp_Dif_p", Cp(FCU), "UCPToccDiff", {56, 17, 15, 56}, Yes, {0, 0, 1, 0, 55}},
    {"nciUnoccDiff", "UCPTtemp_Dif_p", Cp(FCU), "UCPTunOccDiff", {57, 18, 16, 57}, Yes, {0, 0, 2, 0, 56}},
    {"nciCoolEnDiff", "UCPTtemp_Dif_p", Cp(FCU), "UCPTcoolEnDiff", {58, 19, 17, 58}, Yes, {0, 0, 3, 0, 57}},
    {"nciHeatEnDiff", "UCPTtemp_Dif_p", Cp(FCU), "UCPTheatEnDiff", {59, 20, 18, 59}, Yes, {0, 0, 4, 0, 58}},
    {"nciCoolKp", "SCPT_lev_percent", Cp(FCU), "UCPTcoolKp", {60, 21, 19, 60}, Yes, {0, 0, 5, 0, 59}},
    {"nciHeatKp", "SCPT_lev_percent", Cp(FCU), "UCPTheatKp", {61, 22, 20, 61}, Yes, {0, 0, 6, 0, 60}},
    {"nciCoolKi", "SCPT_time_sec", Cp(FCU), "UCPTcoolKi", {62, 23, 21, 62}, Yes, {0, 0, 7, 0, 61}},
    {"nciHeatKi", "SCPT_time_sec", Cp(FCU), "UCPTheatKi", {63, 24, 22, 63}, Yes, {0, 0, 8, 0, 62}},
    {"nciCoolDB", "SCPT_lev_percent", Cp(FCU), "UCPTcoolDB", {64, 25, 23, 64}, Yes, {0, 0, 9, 0, 63}},
    {"nciHeatDB", "SCPT_lev_percent", Cp(FCU), "UCPTheatDB", {65, 26, 24, 65}, Yes, {0, 0, 10, 0, 64}},
    {"nciCoolVlvStroke", "SCPT_time_sec", Cp(FCU), "UCPTcoolVlvStroke", {66, 27, 25, 66}, Yes, {0, 0, 11, 0, 65}},
    {"nciHeatVlvStroke", "SCPT_time_sec", Cp(FCU), "UCPTheatVlvStroke", {67, 28, 26, 67}, Yes, {0, 0, 12, 0, 66}},
    {"nciEconOaEnSpt", "UCPTtemp_p", Cp(FCU), "UCPTeconOaEnSpt", {68, 29, 27, 68}, Yes, {0, 0, 13, 0, 67}},
    {"nciEconOaEnDiff", "UCPTtemp_Dif_p", Cp(FCU), "UCPTeconOaEnDiff", {69, 30, 28, 69}, Yes, {0, 0, 14, 0, 68}},
    {"nciDaSptKp", "SCPT_lev_percent", Cp(FCU), "UCPTdaSptKp", {70, 31, 29, 70}, Yes, {0, 0, 15, 0, 69}},
    {"nciDaSptKi", "SCPT_time_sec", Cp(FCU), "UCPTDaSptKi", {71, 32, 30, 71}, Yes, {0, 0, 16, 0, 70}},
    {"nciMaxDaSpt", "UCPTtemp_p", Cp(FCU), "UCPTmaxDaSpt", {72, 33, 31, 72}, Yes, {0, 0, 17, 0, 71}},
    {"nciMinDaSpt", "UCPTtemp_p", Cp(FCU), "UCPTminDaSpt", {73, 34, 32, 73}, Yes, {0, 0, 18, 0, 72}},
    {"nciEconPosKp", "SCPT_lev_percent", Cp(FCU), "UCPTeconPosKp", {74, 35, 33, 74}, Yes, {0, 0, 19, 0, 73}},
    {"nciEconPosKi", "SCPT_time_sec", Cp(FCU), "UCPTeconPosKi", {75, 36, 34, 75}, Yes, {0, 0, 20, 0, 74}},
    {"nciEconDB", "SCPT_lev_percent", Cp(FCU), "UCPTeconDB", {76, 37, 35, 76}, Yes, {0, 0, 21, 0, 75}},
    {"nciEconStroke", "SCPT_time_sec", Cp(FCU), "UCPTeconStroke", {77, 38, 36, 77}, Yes, {0, 0, 22, 0, 76}},
    {"nciEconLowMin", "SCPT_lev_percent", Cp(FCU), "UCPTeconLowMin", {78, 39, 37, 78}, Yes, {0, 0, 23, 0, 77}},
    {"nciEconMedMin", "SCPT_lev_percent", Cp(FCU), "UCPTeconMedMin", {79, 40, 38, 79}, Yes, {0, 0, 24, 0, 78}},
    {"nciEconHighMin", "SCPT_lev_percent", Cp(FCU), "UCPTeconHighMin", {80, 41, 39, 80}, Yes, {0, 0, 25, 0, 79}},
    {"nciSptAdjMax", "UCPTtemp_p", Cp(FCU), "UCPTsptAdjMax", {81, 42, 40, 81}, Yes, {0, 0, 26, 0, 80}},
    {"nciSptAdjMin", "UCPTtemp_p", Cp(FCU), "UCPTsptAdjMin", {82, 43, 41, 82}, Yes, {0, 0, 27, 0, 81}},
    {"nciFltrChangeHrs", "SCPT_time_hour", Cp(FCU), "UCPTfltrChangeHrs", {83, 44, 42, 83}, Yes, {0, 0, 28, 0, 82}},
}};

// Rows (indexes into PointTable) in one order.
struct Order {
  std::array<uint8_t, PointCount> rows{};
  size_t size = 0;

  constexpr std::span<const uint8_t> List() const { return {rows.data(), size}; }
};

using Column = uint8_t (*)(const PointRow&);

// The rows that `place` gives a place, in the order of their places; a place given twice, or a
// gap, does not compile.
consteval Order OrderBy(Column place) {
  Order order;
  for (const PointRow& row : PointTable) order.size += place(row) != 0;
  std::array<bool, PointCount> taken{};
  for (size_t index = 0; index < PointCount; ++index) {
    const size_t at = place(PointTable[index]);
    if (at == 0) continue;
    if (at > order.size || taken[at - 1]) throw "places must run from 1 without a gap or a repeat";
    taken[at - 1] = true;
    order.rows[at - 1] = static_cast<uint8_t>(index);
  }
  return order;
}

// The rows that `test` accepts, in creation order.
consteval Order RowsWhere(bool (*test)(const PointRow&)) {
  Order order;
  for (size_t index = 0; index < PointCount; ++index) {
    if (test(PointTable[index])) order.rows[order.size++] = static_cast<uint8_t>(index);
  }
  return order;
}

inline constexpr Order FieldOrder = OrderBy([](const PointRow& row) { return row.places.field; });
inline constexpr Order BindingOrder = OrderBy([](const PointRow& row) { return row.places.bound; });
inline constexpr Order InterfaceOrder = OrderBy([](const PointRow& row) { return row.places.published; });
inline constexpr Order ReleaseOrder = OrderBy([](const PointRow& row) { return row.places.released; });
inline constexpr Order ChangedPoints = RowsWhere([](const PointRow& row) { return row.changed; });
inline constexpr Order WrittenPoints = RowsWhere([](const PointRow& row) { return row.written; });

// The list `ReadDevice` reads for a page index.
std::span<const uint8_t> PageList(int16_t range);

}  // namespace device
