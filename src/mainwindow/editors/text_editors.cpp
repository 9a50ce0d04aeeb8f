#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "mainwindow/editors/contract.h"
#include "mainwindow/editors/number_entry.h"
#include "mainwindow/editors/point_access.h"
#include "mainwindow/fmain_controls.h"
#include "points/cp/plain_points.h"
#include "points/cp/scpt_set_pnts.h"
#include "points/nv/number_points.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace mainwindow::editors {
namespace {

// The members a technician edits: the "General" page's and the "Device Setup" page's.
constexpr int GeneralMember = 2;
constexpr int DeviceSetupMember = 3;

// --- single values ------------------------------------------------------------------------------

constexpr size_t LocationLength = 31;

// "0" switches the bypass off and is kept as it is.
void ValidateBypassTime(forms::TextControl& box, device::Orvex_FCU& fcu) {
  if (box.Text() != "0") box.SetText(rt::Format(RoundWhole(LimitValue(box.Text(), 120, 30)), Whole));
  auto& point = PointOf<NumberProperty>(fcu, "nciBypassTime");
  point.put_Value(ReadNumber(box.Text()));
  point.WriteCP();
}

void ValidateLocation(forms::TextControl& box, device::Orvex_FCU& fcu) {
  if (rt::Len(box.Text()) > LocationLength) box.SetText(rt::Left(box.Text(), LocationLength));
  auto& point = PointOf<points::SCPT_str_asc>(fcu, "nciLocation");
  point.put_Value(box.Text());
  point.WriteCP();
}

// The network timing boxes and their points.
constexpr std::array<std::pair<forms::ControlRef<forms::TextBox>, std::string_view>, 3> Timings{{
    {controls::txtnciSndHrtBt[DeviceSetupMember], "nciSndHrtBt"},
    {controls::txtnciMinOutTm[DeviceSetupMember], "nciMinOutTm"},
    {controls::txtnciRcvHrtBt[DeviceSetupMember], "nciRcvHrtBt"},
}};

// A clamped entry keeps the box's one-decimal text until the next refresh.
void ValidateTiming(std::string_view property, forms::TextControl& box, device::Orvex_FCU& fcu) {
  constexpr double Max = 6553.4;
  constexpr double Min = 0;
  auto& point = PointOf<NumberProperty>(fcu, property);
  if (GivesNoValue(box.Text(), Max, Min)) {
    box.SetText(rt::Format(point.get_Value(), Tenths));
    return;
  }
  box.SetText(rt::Format(rt::RoundDecimalText(ReadNumber(box.Text())), Tenths));
  point.put_Value(rt::ParseNumber(rt::Format(LimitValue(box.Text(), Max, Min), Tenths)));
  point.WriteCP();
}

// A temperature the unit takes from the network; "NULL" (or an empty box) hands it back to the
// unit's own sensor or setpoint.
struct RemoteTemperature {
  forms::ControlRef<forms::TextBox> box;
  std::string_view point;
  double max;
  double min;
  double nullValue;
};

constexpr std::array<RemoteTemperature, 3> RemoteTemperatures{{
    {controls::txtnviSetpoint[GeneralMember], "nviSetPoint", 95, 50, 621.802},
    {controls::txtnviEWT[GeneralMember], "nviEWT", 212, 32, 621.806},
    {controls::txtnviSpaceTemp[GeneralMember], "nviSpaceTemp", 122, 14, 621.806},
}};

constexpr const char* NullText = "NULL";

void ValidateRemoteTemperature(const RemoteTemperature& remote, forms::TextControl& box, device::Orvex_FCU& fcu) {
  if (box.Text().empty() || rt::UCase(box.Text()) == NullText) {
    box.SetText(NullText);
  } else {
    box.SetText(rt::Format(rt::RoundDecimalText(LimitValue(box.Text(), remote.max, remote.min)), Tenths));
  }
  auto& point = PointOf<points::NumberPoint>(fcu, remote.point);
  point.put_Value(box.Text() == NullText ? remote.nullValue : ReadNumber(box.Text()));
  point.WriteNV();
}

// An empty box or "NULL" takes the offset away.
void ValidateSetpointOffset(forms::TextControl& box, device::Orvex_FCU& fcu) {
  constexpr double Max = 17.78;
  constexpr double Min = -17.78;
  auto& point = PointOf<points::NumberPoint>(fcu, "nviSetptOffset");
  if (box.Text().empty() || box.Text() == NullText) box.SetText("0");
  if (GivesNoValue(box.Text(), Max, Min)) {
    box.SetText(rt::Format(point.get_Value(), Tenths));
    return;
  }
  box.SetText(rt::Format(rt::RoundDecimalText(LimitValue(box.Text(), Max, Min)), Tenths));
  point.put_Value(ReadNumber(box.Text()));
  point.WriteNV();
}

// --- the six setpoints --------------------------------------------------------------------------

// Each pair of one occupancy state keeps its cooling setpoint at least the differential plus
// this margin above its heating setpoint.
constexpr double Margin = 0.9;
// The refresh shows a setpoint this high as "NULL".
constexpr double NullTemperature = 621;

struct SetpointEditor {
  forms::ControlRef<forms::TextBox> box;
  points::Setpoint field;
  points::Setpoint opposite;
  std::string_view differential;
  bool cooling;
  const char* refusal;
};

const std::array<SetpointEditor, 6> SetpointEditors{{
    {controls::txtOccClgSpt[GeneralMember], points::occupied_cool, points::occupied_heat, "nciOccDiff", true,
     "nciSetpoints.occupied_cool cannot be less than nciSetpoints.occupied_heat plus\r\n"
     "nciOccDiff + 1. Please try again."},
    {controls::txtStbyClgSpt[GeneralMember], points::standby_cool, points::standby_heat, "nciOccDiff", true,
     "nciSetpoints.standby_cool cannot be less than nciSetpoints.standby_heat plus\r\n"
     "nciOccDiff + 1. Please try again."},
    {controls::txtUnOccClgSpt[GeneralMember], points::unoccupied_cool, points::unoccupied_heat, "nciUnoccDiff", true,
     "nciSetpoints.unoccupied_cool cannot be less than nciSetpoints.unoccupied_heat plus\r\n"
     "nciUnoccDiff + 1. Please try again."},
    {controls::txtOccHtgSpt[GeneralMember], points::occupied_heat, points::occupied_cool, "nciOccDiff", false,
     "nciSetpoints.occupied_heat cannot be greater than nciSetpoints.occupied_cool minus\r\n"
     "nciOccDiff - 1. Please try again."},
    {controls::txtStbyHtgSpt[GeneralMember], points::standby_heat, points::standby_cool, "nciOccDiff", false,
     "nciSetpoints.standby_heat cannot be greater than nciSetpoints.standby_cool minus\r\n"
     "nciOccDiff - 1. Please try again."},
    {controls::txtUnOccHtgSpt[GeneralMember], points::unoccupied_heat, points::unoccupied_cool, "nciUnoccDiff", false,
     "nciSetpoints.unoccupied_heat cannot be greater than nciSetpoints.unoccupied_cool minus\r\n"
     "nciUnoccDiff - 1. Please try again."},
}};

// The pairing rule on the setpoints and differential as the last read left them.
bool Pairs(const SetpointEditor& editor, double x, const points::SCPTsetPnts& setpoints, double differential) {
  const double opposite = setpoints.get_Setpoint(editor.opposite);
  if (editor.cooling) return x >= (differential + opposite) + Margin;
  return x <= (opposite - differential) - Margin;
}

std::string SetpointDisplay(double value) { return value >= NullTemperature ? NullText : rt::Format(value, Tenths); }

// An accepted entry is written as typed, with all six setpoints; a refused one gets a message and
// the device's setpoint back.
void ValidateSetpoint(const SetpointEditor& editor, forms::TextControl& box, device::Orvex_FCU& fcu) {
  auto& setpoints = PointOf<points::SCPTsetPnts>(fcu, "nciSetpoints");
  const double differential = PointOf<NumberProperty>(fcu, editor.differential).get_Value();
  const double x = ReadNumber(box.Text());
  const bool accepted = Pairs(editor, x, setpoints, differential);
  if (accepted && !rt::LeadingNumber(box.Text())) {
    box.SetText(SetpointDisplay(setpoints.get_Setpoint(editor.field)));
  } else if (accepted) {
    setpoints.put_Setpoint(editor.field, x);
    setpoints.WriteCP();
  } else {
    forms::MsgBox(editor.refusal);
    setpoints.ReadCP();
    box.SetText(rt::NumberText(setpoints.get_Setpoint(editor.field)));
  }
}

}  // namespace

void AttachTextEditors(forms::Form& window, const DeviceObject& fcu) {
  auto add = [&](const forms::ControlRef<forms::TextControl>& control, auto validate) {
    AddEditor(window, fcu, control, Commit::OnValidate,
              [validate](forms::TextControl& box, int, device::Orvex_FCU& device) { validate(box, device); });
  };
  add(controls::txtnciByPassTime[GeneralMember], ValidateBypassTime);
  add(controls::txtnciLocation, ValidateLocation);
  for (const auto& [control, property] : Timings) {
    add(control,
        [property](forms::TextControl& box, device::Orvex_FCU& device) { ValidateTiming(property, box, device); });
  }
  for (const RemoteTemperature& remote : RemoteTemperatures) {
    add(remote.box, [&remote](forms::TextControl& box, device::Orvex_FCU& device) {
      ValidateRemoteTemperature(remote, box, device);
    });
  }
  add(controls::txtnviSetptOffset[GeneralMember], ValidateSetpointOffset);
  for (const SetpointEditor& editor : SetpointEditors) {
    add(editor.box,
        [&editor](forms::TextControl& box, device::Orvex_FCU& device) { ValidateSetpoint(editor, box, device); });
  }
}

}  // namespace mainwindow::editors
