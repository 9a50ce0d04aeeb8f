#include <array>
#include <string>
#include <string_view>

#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "host/log.h"
#include "mainwindow/editors/contract.h"
#include "mainwindow/editors/number_entry.h"
#include "mainwindow/editors/point_access.h"
#include "mainwindow/fmain_controls.h"
#include "points/cp/scpt_set_pnts.h"
#include "runtime/convert.h"

namespace mainwindow::editors {
namespace {

enum class Check {
  None,
  OccupiedPairs,    // the differential against the occupied and the standby setpoints
  UnoccupiedPair,   // against the unoccupied setpoints
  ZeroSwitchesOff,  // "0" is taken as it is; the box shows the clamped whole number at once
};

struct Row {
  std::string_view point;
  const char* format;
  double min;
  double max;
  Check check = Check::None;
};

constexpr std::array<Row, 34> Rows{{
    {"nciOccDiff", Tenths, 1, 5, Check::OccupiedPairs},
    {"nciUnoccDiff", Tenths, 2, 10, Check::UnoccupiedPair},
    {"nciSptAdjMax", Tenths, 55, 95},
    {"nciSptAdjMin", Tenths, 55, 95},
    {"nciCoolEnDiff", Tenths, 2, 10},
    {"nciCoolKp", Tenths, 5, 160},
    {"nciCoolKi", Whole, 0, 1200},
    {"nciCoolDB", Tenths, 3, 100},
    {"nciCoolVlvStroke", Whole, 15, 600},
    {"nciHeatEnDiff", Tenths, 2, 10},
    {"nciHeatKp", Tenths, 5, 160},
    {"nciHeatKi", Whole, 0, 1200},
    {"nciHeatDB", Tenths, 3, 100},
    {"nciHeatVlvStroke", Whole, 15, 600},
    {"nciEwtFlowTmr", Whole, 60, 600},
    {"nciEwtSampleTmr", Whole, 20, 120, Check::ZeroSwitchesOff},
    {"nciFanMinOffTmr", Whole, 120, 1200},
    {"nciFanMinOnTmr", Whole, 120, 1200},
    {"nciCoolIntStgTmr", Whole, 120, 1200},
    {"nciHeatIntStgTmr", Whole, 120, 1200},
    {"nciFltrChangeHrs", Whole, 360, 4320, Check::ZeroSwitchesOff},
    {"nciEconOaEnSpt", Tenths, 40, 80},
    {"nciEconOaEnDiff", Tenths, 1, 12},
    {"nciDaSptKp", Tenths, 5, 160},
    {"nciDaSptKi", Whole, 0, 1200},
    {"nciMaxDaSpt", Tenths, 50, 80},
    {"nciMinDaSpt", Tenths, 50, 80},
    {"nciEconPosKp", Tenths, 5, 160},
    {"nciEconPosKi", Whole, 0, 1200},
    {"nciEconDB", Tenths, 3, 100},
    {"nciEconStroke", Whole, 15, 600},
    {"nciEconLowMin", Tenths, 0, 100},
    {"nciEconMedMin", Tenths, 0, 100},
    {"nciEconHighMin", Tenths, 0, 100},
}};

// The margin a differential leaves below the distance between a pair of setpoints.
constexpr double Margin = 0.9;

bool DifferentialFits(const Row& row, double d, const points::SCPTsetPnts& s) {
  using namespace points;
  if (row.check == Check::UnoccupiedPair) {
    return s.get_Setpoint(unoccupied_cool) - s.get_Setpoint(unoccupied_heat) - Margin >= d;
  }
  const bool occupied = s.get_Setpoint(occupied_cool) - s.get_Setpoint(occupied_heat) - Margin >= d;
  const bool standby = s.get_Setpoint(standby_cool) - s.get_Setpoint(standby_heat) - Margin >= d;
  return occupied && standby;
}

const char* DifferentialRefusal(const Row& row) {
  return row.check == Check::UnoccupiedPair
             ? "nciUnoccDiff cannot be greater than the difference between unoccupied heating and\r\n"
               "cooling setpoints. Please try again."
             : "nciOccDiff cannot be greater than the difference between occupied heating and\r\n"
               "cooling setpoints or standby heating and cooling setpoints. Please try again.";
}

// A differential too wide for the cached setpoints is refused: the device's value comes back.
void WriteDifferential(const Row& row, NumberProperty& point, forms::TextControl& box, device::Orvex_FCU& fcu) {
  if (DifferentialFits(row, point.get_Value(), PointOf<points::SCPTsetPnts>(fcu, "nciSetpoints"))) {
    point.WriteCP();
    return;
  }
  forms::MsgBox(DifferentialRefusal(row));
  point.ReadCP();
  box.SetText(rt::NumberText(point.get_Value()));
}

// The box keeps its reformatted entry even when the value was clamped, until the next refresh.
void ValidateRow(const Row& row, forms::TextControl& box, device::Orvex_FCU& fcu) {
  auto& point = PointOf<NumberProperty>(fcu, row.point);
  box.SetText(Reformatted(box.Text(), row.format));
  if (GivesNoValue(box.Text(), row.max, row.min)) {
    box.SetText(rt::Format(point.get_Value(), row.format));
    return;
  }
  point.put_Value(rt::ParseNumber(rt::Format(LimitValue(box.Text(), row.max, row.min), Tenths)));
  if (row.check == Check::None) {
    point.WriteCP();
  } else {
    WriteDifferential(row, point, box, fcu);
  }
}

void ValidateSwitchOffRow(const Row& row, forms::TextControl& box, device::Orvex_FCU& fcu) {
  auto& point = PointOf<NumberProperty>(fcu, row.point);
  if (box.Text() != "0") {
    const double clamped = LimitValue(box.Text(), row.max, row.min);
    box.SetText(rt::Format(RoundWhole(ReadNumber(rt::NumberText(clamped))), Whole));
  }
  const double value = ReadNumber(box.Text());
  if (value < 0) return;
  point.put_Value(value);
  point.WriteCP();
}

void txtCP_Validate(forms::TextControl& box, int index, device::Orvex_FCU& fcu) {
  if (index < 0 || index >= static_cast<int>(Rows.size())) {
    host::WriteLog("TxtCP(" + std::to_string(index) + ") is not implemented yet");
    return;
  }
  const Row& row = Rows[static_cast<size_t>(index)];
  if (row.check == Check::ZeroSwitchesOff) {
    ValidateSwitchOffRow(row, box, fcu);
  } else {
    ValidateRow(row, box, fcu);
  }
}

}  // namespace

void AttachPropertyGrid(forms::Form& window, const DeviceObject& fcu) {
  AddEditor(window, fcu, controls::txtCP, Commit::OnValidate, txtCP_Validate);
}

}  // namespace mainwindow::editors
