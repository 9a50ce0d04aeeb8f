#pragma once

#include <array>
#include <string_view>

#include "forms/colors.h"
#include "forms/control_ref.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "mainwindow/fmain_controls.h"
#include "mainwindow/refresh/display.h"

// What the "Status" page's unit schematic draws from the unit's jumpers and outputs.
namespace mainwindow::refresh {

// The hydronic valves, by the setting of the valve jumpers J11 to J13.
inline constexpr TextRow<int> ValveTypeRows[] = {{0, "No Hydronic Valves"},
                                                 {1, "2-Pipe Heating Only"},
                                                 {2, "2-Pipe Cooling Only"},
                                                 {3, "2-Pipe Changeover"},
                                                 {4, "4-Pipe Heating and Cooling"}};
inline constexpr TextTable<int> ValveTypeText{ValveTypeRows, "Invalid Configuration"};

// The electric heat staging, by the setting of J9 and J10; any other setting means none.
inline constexpr int OneStage = 1;
inline constexpr int TwoStages = 2;
// The stages that run, by nvoBinaryOut Bit5 + 2 Bit6 (a one-stage unit looks at Bit5 alone).
inline constexpr TextRow<int> StageRows[] = {{1, "Stage #1 is ON"}, {2, "Stage #2 is ON"}, {3, "Stages #1 & #2 are ON"}};
inline constexpr TextTable<int> StageText{StageRows, "OFF"};

// The fan's speed by its level in percent, compared exactly.
inline constexpr TextRow<double> FanSpeedRows[] = {{0, "OFF"}, {33, "LOW"}, {66, "MED"}, {95, "HIGH"}, {100, "ON"}};
inline constexpr TextTable<double> FanSpeedText{FanSpeedRows, "ERR"};

// A hydronic coil: its valve's position and calibration, the coil and its pipes drawn in colour
// while the valve is open.
struct CoilRow {
  std::string_view valvePoint;  // SNVT_lev_percent, percent open
  forms::ControlRef<forms::TextBox> positionBox;
  forms::ControlRef<forms::Label> calibrateLabel;
  int calibrateBit;  // of nvoUnitAppStatus
  forms::ControlRef<forms::Shape> coilBox;
  forms::ControlArray<forms::Shape> coilLines;
  forms::OleColor color;  // 0x00BBGGRR
};
inline constexpr std::array<CoilRow, 2> CoilRows{{
    {"nvoHeatVlvOut", controls::txtHeatVlvPosn, controls::lblHeatVlvCal, 6, controls::heatCoilBox,
     controls::heatCoilLineIn, forms::OleColor{255}},
    {"nvoCoolVlvOut", controls::txtCoolVlvPosn, controls::lblCoolVlvCal, 7, controls::coolCoilBox,
     controls::coolCoilLineIn, forms::OleColor{16711680}},
}};

}  // namespace mainwindow::refresh
