#include <string>

#include "forms/controls_text.h"
#include "mainwindow/refresh/choices.h"
#include "mainwindow/refresh/jumper_rows.h"
#include "mainwindow/refresh/page_steps.h"
#include "mainwindow/refresh/schematic_rows.h"
#include "points/nv/flag_points.h"
#include "points/nv/number_points.h"
#include "points/nv/snvt_switch.h"

namespace mainwindow::refresh {
namespace {

constexpr int SchematicLine = 68;

// Bits of nvoBinaryOut.
constexpr int HeatStage1 = 5;
constexpr int HeatStage2 = 6;
constexpr int DamperOpen = 7;
// Of nvoBinaryIn.
constexpr int CondensateOverflow = 2;
// Of nvoUnitAppStatus.
constexpr int EconomizerCalibrating = 8;
constexpr int HasEconomizer = 14;

constexpr int16_t FanRunning = 1;
constexpr int ElectricHeatLabel = 12;  // of the label array lbl

bool Bit(const Refresh& refresh, std::string_view point, int bit) {
  return refresh.Point<points::SNVT_state>(point).get_Bit(bit);
}
double Percent(const Refresh& refresh, std::string_view point) {
  return refresh.Point<points::SNVT_lev_percent>(point).get_Value();
}
std::string PositionText(const Refresh& refresh, std::string_view point) {
  return FormatNumber(DecimalTextRounded(Percent(refresh, point)), OneDecimal);
}

void SetVisible(Refresh& refresh, const forms::ControlRef<forms::Control>& control, bool visible) {
  refresh(SchematicLine, [&] { refresh.Ctl(control).SetVisible(visible); });
}
// A test that fails shows the control.
void ShowWhen(Refresh& refresh, const forms::ControlRef<forms::Control>& control, const std::function<bool()>& test) {
  SetVisible(refresh, control, refresh.If(SchematicLine, test));
}
void SetText(Refresh& refresh, const forms::ControlRef<forms::TextControl>& box,
             const std::function<std::string()>& text) {
  refresh.SetText(SchematicLine, box, text);
}

void ShowValveType(Refresh& refresh) {
  SetText(refresh, controls::txtValveType, [&] {
    return std::string(TestedChoice(refresh, SchematicLine, ValveTypeText,
                                    [&] { return JumperSetting(refresh, HydronicValveJumpers); }));
  });
}

void ShowHeatStages(Refresh& refresh, int stagesLookedAt) {
  SetVisible(refresh, controls::lbl[ElectricHeatLabel], true);
  SetVisible(refresh, controls::txtElecHeatStat, true);
  SetText(refresh, controls::txtElecHeatStat, [&] {
    return std::string(TestedChoice(refresh, SchematicLine, StageText, [&] {
      const int second = stagesLookedAt == TwoStages && Bit(refresh, "nvoBinaryOut", HeatStage2) ? 2 : 0;
      return (Bit(refresh, "nvoBinaryOut", HeatStage1) ? 1 : 0) + second;
    }));
  });
}

void ShowElectricHeat(Refresh& refresh) {
  const auto staging = [&] { return JumperSetting(refresh, ElectricHeatJumpers); };
  if (refresh.If(SchematicLine, [&] { return staging() == OneStage; })) {
    ShowHeatStages(refresh, OneStage);
  } else if (refresh.If(SchematicLine, [&] { return staging() == TwoStages; })) {
    ShowHeatStages(refresh, TwoStages);
  } else {
    SetVisible(refresh, controls::lbl[ElectricHeatLabel], false);
    SetVisible(refresh, controls::txtElecHeatStat, false);
  }
}

void ShowCoil(Refresh& refresh, const CoilRow& coil) {
  SetText(refresh, coil.positionBox, [&] { return PositionText(refresh, coil.valvePoint); });
  ShowWhen(refresh, coil.calibrateLabel, [&] { return Bit(refresh, "nvoUnitAppStatus", coil.calibrateBit); });
  const bool open = refresh.If(SchematicLine, [&] { return Percent(refresh, coil.valvePoint) > 0; });
  if (open) refresh(SchematicLine, [&] { refresh.Ctl(coil.coilBox).SetBackColor(coil.color); });
  SetVisible(refresh, coil.coilBox, open);
  for (int i : coil.coilLines.members) {
    if (open) refresh(SchematicLine, [&] { refresh.Ctl(coil.coilLines.At(i)).SetBackColor(coil.color); });
    SetVisible(refresh, coil.coilLines.At(i), open);
  }
}

void SetFreshAir(Refresh& refresh, std::string_view type, std::string_view tip) {
  refresh(SchematicLine, [&] { refresh.Ctl(controls::lblFreshAirType).SetCaption(std::string(type)); });
  refresh(SchematicLine, [&] { refresh.Ctl(controls::txtFreshAirPosn).SetToolTipText(std::string(tip)); });
}

void ShowFreshAir(Refresh& refresh) {
  if (refresh.If(SchematicLine, [&] { return !Bit(refresh, "nvoUnitAppStatus", HasEconomizer); })) {
    SetVisible(refresh, controls::lblFreshAirCal, false);
    SetVisible(refresh, controls::lblFreshAirOption, true);
    SetFreshAir(refresh, "Fresh Air Damper", "nvoBinaryOut.Bit7");
    const bool closed = refresh.If(SchematicLine, [&] { return !Bit(refresh, "nvoBinaryOut", DamperOpen); });
    SetText(refresh, controls::txtFreshAirPosn, [&] { return std::string(closed ? "CLOSED" : "OPEN"); });
  } else {
    SetVisible(refresh, controls::lblFreshAirOption, false);
    SetFreshAir(refresh, "Economizer", "nvoEconOut");
    SetText(refresh, controls::txtFreshAirPosn, [&] { return PositionText(refresh, "nvoEconOut"); });
    ShowWhen(refresh, controls::lblFreshAirCal,
             [&] { return Bit(refresh, "nvoUnitAppStatus", EconomizerCalibrating); });
  }
}

// The speed text follows the level alone, whatever the fan's state.
void ShowFan(Refresh& refresh) {
  const int index = refresh.State().m_StatusIdx;
  const auto fan = [&]() -> const points::SNVT_switch& { return refresh.Point<points::SNVT_switch>("nvoFanSpeed"); };
  ShowWhen(refresh, controls::picFanGreen.At(index), [&] { return fan().get_State() == FanRunning; });
  SetText(refresh, controls::txtFanSpeed.At(index),
          [&] { return Selected<double>(refresh, SchematicLine, FanSpeedText, [&] { return fan().get_Value(); }); });
}

}  // namespace

void UnitSchematic(Refresh& refresh) {
  ShowValveType(refresh);
  ShowElectricHeat(refresh);
  const int index = refresh.State().m_StatusIdx;
  const bool dry = refresh.If(SchematicLine, [&] { return !Bit(refresh, "nvoBinaryIn", CondensateOverflow); });
  SetVisible(refresh, controls::picCondensateOvrFlw.At(index), !dry);
  for (const CoilRow& coil : CoilRows) ShowCoil(refresh, coil);
  ShowFreshAir(refresh);
  ShowFan(refresh);
}

}  // namespace mainwindow::refresh
