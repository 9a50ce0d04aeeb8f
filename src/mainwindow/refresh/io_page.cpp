#include <array>
#include <span>
#include <string>

#include "forms/controls_text.h"
#include "mainwindow/refresh/io_rows.h"
#include "mainwindow/refresh/page_steps.h"
#include "points/nv/flag_points.h"
#include "points/nv/number_points.h"
#include "points/nv/snvt_temp_setpt.h"
#include "points/nv/text_points.h"

namespace mainwindow::refresh {
namespace {

constexpr int RowsLine = 3000;
constexpr int OutdoorAirInput = 7;
constexpr int ShiftInput = 4;
constexpr int16_t CoolingView = 2;  // of GetHeatCoolMode
constexpr std::array<std::string_view, 4> TemperatureInputs{"nvoDischAirTemp", "nvoEWT", "nvoLocalSpaceTmp",
                                                           "nvoSetpoint"};

// A bit that cannot be read shows as clear.
bool BitSet(Refresh& refresh, std::string_view point, int bit) {
  return !refresh.If(RowsLine, [&] { return !refresh.Point<points::SNVT_state>(point).get_Bit(bit); });
}

// Each row's box, then its caption.
void WriteBitRows(Refresh& refresh, std::string_view point, std::span<const BitRow> rows,
                  const forms::ControlArray<forms::TextBox>& boxes, const forms::ControlArray<forms::Label>& labels) {
  for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
    const BitRow& row = rows[k];
    const bool set = BitSet(refresh, point, row.bit);
    refresh.SetText(RowsLine, boxes.At(k), [&] { return std::string(BitStateText(set)); });
    refresh(RowsLine, [&] { refresh.Ctl(labels.At(k)).SetCaption(std::string(set ? row.set : row.clear)); });
  }
}

void WriteBinaryOutputs(Refresh& refresh) {
  for (int k = 0; k < BinaryOutputCount; ++k) {
    const bool on = BitSet(refresh, "nvoBinaryOut", k);
    refresh.SetText(RowsLine, controls::TxtBinaryOut.At(k), [&] { return std::string(on ? "On" : "Off"); });
  }
}

// The occupied shift of the way the unit works now, whatever its occupancy.
std::string OccupiedShiftText(const Refresh& refresh) {
  const points::Setpoint shift =
      GetHeatCoolMode(refresh) == CoolingView ? points::occupied_cool : points::occupied_heat;
  return FormatNumber(refresh.Point<points::SNVT_temp_setpt>("nvoSetptShift").get_Setpoint(shift), OneDecimal);
}

// Unlike the other temperatures, the outdoor air is a number at exactly the null limit.
void WriteOutdoorAir(Refresh& refresh) {
  const bool null = refresh.If(RowsLine, [&] { return Temperature(refresh, "nvoOutdoorTemp") > NullLimit; });
  refresh.SetText(RowsLine, controls::txtAnalogInput[OutdoorAirInput], [&] {
    return null ? std::string("NULL") : FormatNumber(Temperature(refresh, "nvoOutdoorTemp"), OneDecimal);
  });
}

void WriteAnalogInputs(Refresh& refresh) {
  for (int k = 0; k < static_cast<int>(TemperatureInputs.size()); ++k) {
    refresh.SetText(RowsLine, controls::txtAnalogInput.At(k),
                    [&] { return TemperatureText(Temperature(refresh, TemperatureInputs[k])); });
  }
  refresh.SetText(RowsLine, controls::txtAnalogInput[ShiftInput], [&] { return OccupiedShiftText(refresh); });
  refresh.SetText(RowsLine, controls::txtAnalogInput[ShiftInput + 1], [&] {
    return Selected<uint8_t>(refresh, RowsLine, FanSwitchText,
                             [&] { return refresh.Point<points::UNVT_Byte>("nvoFanModeSpdSw").get_Value(); });
  });
  refresh.SetText(RowsLine, controls::txtAnalogInput[ShiftInput + 2], [&] {
    return Selected<uint8_t>(refresh, RowsLine, HeatCoolAutoText,
                             [&] { return refresh.Point<points::UNVT_Byte>("nvoHeatCoolAuto").get_Value(); });
  });
  WriteOutdoorAir(refresh);
}

}  // namespace

// The binary and analog points, then the application status and faults.
void InputOutputPage(Refresh& refresh) {
  WriteBitRows(refresh, "nvoBinaryIn", BinaryInputRows, controls::TxtBinaryIn, controls::lbl_IO);
  WriteBinaryOutputs(refresh);
  WriteAnalogInputs(refresh);
  WriteBitRows(refresh, "nvoUnitAppStatus", AppStatusRows, controls::txtUnitAppStat, controls::lblUnitAppStat);
  WriteBitRows(refresh, "nvoUnitFaults", FaultRows, controls::txtUnitFaults, controls::lblUnitFaults);
}

}  // namespace mainwindow::refresh
