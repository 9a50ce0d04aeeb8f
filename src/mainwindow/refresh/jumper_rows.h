#pragma once

#include <array>

#include "mainwindow/refresh/display.h"

// The software jumpers J1 to J18 (flags 0 to 17 of nciSoftJumpers) as the "Configuration Jumpers"
// page shows them: fourteen units, each a combo box with the position of its first flag, the
// read-only boxes of a group's other flags, and one caption for the setting the flags select.
namespace mainwindow::refresh {

// A unit's flags, read as a number whose least significant bit is the first flag, select its
// caption. The caption label and each read-only box carry the index of their flag.
struct JumperUnit {
  int combo;      // cbonciSoftJumpers(combo)
  int firstFlag;  // also the index of lblSoftwareJumper
  int flags;      // the flags after the first are shown in txtSoftwareJumper(flag)
  TextTable<int> captions;
};

// A single jumper's caption while it is open; the table's other text is its caption while closed.
// A group lists its valid settings; the other text names an invalid one.
namespace jumper_captions {
inline constexpr TextRow<int> J1[] = {{0, "Normal Mode (Normal/Test)"}};
inline constexpr TextRow<int> J2[] = {{0, "Continuous Fan"}};
inline constexpr TextRow<int> J3[] = {{0, "Short Range SP Adjust (-5°F to +5°F)"}};
inline constexpr TextRow<int> J4[] = {{0, "No I/O Expansion Board"}};
inline constexpr TextRow<int> J5[] = {{0, "No Economizer"}};
inline constexpr TextRow<int> J6[] = {{0, "2-Posn Heat Valve = Normally Open"}};
inline constexpr TextRow<int> J7[] = {{0, "2-Posn Cool Valve = Normally Open"}};
inline constexpr TextRow<int> J8[] = {{0, "Hydronic Valves = Two Position"}};
inline constexpr TextRow<int> ElectricHeat[] = {
    {0, "No Electric Heating"}, {1, "Single Stage Electric Heat"}, {2, "Dual Stage Electric Heat"}};
inline constexpr TextRow<int> HydronicValves[] = {{0, "No Hydronic Valves"},
                                                  {1, "2-Pipe Hydronic Heating"},
                                                  {2, "2-Pipe Hydronic Cooling"},
                                                  {3, "2-Pipe Hydronic Changeover"},
                                                  {4, "4-Pipe Hydronic Heating and Cooling"}};
inline constexpr TextRow<int> FanSpeed[] = {{0, "Single Speed Fan"}, {1, "Dual Speed Fan"}, {2, "Three Speed Fan"}};
inline constexpr TextRow<int> J16[] = {{0, "Freeze Fault Detect = Disabled"}};
inline constexpr TextRow<int> J17[] = {{0, "Emergency Shutdown = Disabled"}};
inline constexpr TextRow<int> J18[] = {{0, "Dirty Air Filter = Disabled"}};
}  // namespace jumper_captions

// The three groups, which the unit schematic reads too.
inline constexpr JumperUnit ElectricHeatJumpers{
    8, 8, 2, {jumper_captions::ElectricHeat, "Invalid Electric Heat Selection"}};
inline constexpr JumperUnit HydronicValveJumpers{
    9, 10, 3, {jumper_captions::HydronicValves, "Invalid Hydronic Valve Selection"}};
inline constexpr JumperUnit FanSpeedJumpers{10, 13, 2, {jumper_captions::FanSpeed, "Invalid Fan Speed Selection"}};

// In the order the page writes them.
inline constexpr std::array<JumperUnit, 14> JumperUnits{{
    {0, 0, 1, {jumper_captions::J1, "Service Test Mode"}},
    {1, 1, 1, {jumper_captions::J2, "Cycling Fan"}},
    {2, 2, 1, {jumper_captions::J3, "Long Range SP Adjust (55°F to 95°F)"}},
    {3, 3, 1, {jumper_captions::J4, "I/O Expansion Board Present"}},
    {4, 4, 1, {jumper_captions::J5, "Economizer Present"}},
    {5, 5, 1, {jumper_captions::J6, "2-Posn Heat Valve = Normally Closed"}},
    {6, 6, 1, {jumper_captions::J7, "2-Posn Cool Valve = Normally Closed"}},
    {7, 7, 1, {jumper_captions::J8, "Hydronic Valves = Modulating"}},
    ElectricHeatJumpers,
    HydronicValveJumpers,
    FanSpeedJumpers,
    {11, 15, 1, {jumper_captions::J16, "Freeze Fault Detect = Enabled"}},
    {12, 16, 1, {jumper_captions::J17, "Emergency Shutdown = Enabled"}},
    {13, 17, 1, {jumper_captions::J18, "Dirty Air Filter = Enabled"}},
}};

class Refresh;
// The number a unit's flags make, as nciSoftJumpers holds them.
int JumperSetting(const Refresh& refresh, const JumperUnit& unit);

}  // namespace mainwindow::refresh
