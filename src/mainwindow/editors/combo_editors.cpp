#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "forms/controls_text.h"
#include "mainwindow/editors/contract.h"
#include "mainwindow/editors/point_access.h"
#include "mainwindow/fmain_controls.h"
#include "points/cp/byte_points.h"
#include "points/cp/soft_jumpers.h"
#include "points/nv/enum_points.h"
#include "points/nv/snvt_switch.h"
#include "points/nv/snvt_tod_event.h"

namespace mainwindow::editors {
namespace {

// --- the "General" page's boxes -----------------------------------------------------------------

// What a list item sets: a switch takes both, every other point the value alone.
struct Setting {
  double value;
  int16_t state = 0;
};

struct Item {
  std::string_view text;
  Setting setting;
};

using Apply = void (*)(device::Orvex_FCU& fcu, std::string_view point, const Setting& setting);

struct GeneralBox {
  forms::ControlRef<forms::ComboBox> box;
  std::string_view point;
  std::span<const Item> items;
  Apply apply;
};

constexpr uint8_t Null = 255;

constexpr std::array<Item, 8> ApplicModes{{{"Auto", {0}},
                                           {"Heating", {1}},
                                           {"Cooling", {3}},
                                           {"Off", {6}},
                                           {"Fan Only", {9}},
                                           {"Economy", {13}},
                                           {"Dehumid", {14}},
                                           {"Null", {Null}}}};
constexpr std::array<Item, 3> Switches{{{"Disable", {0.0, 0}}, {"Enable", {100.0, 1}}, {"Null", {0.0, -1}}}};
constexpr std::array<Item, 2> Enables{{{"Disable", {0}}, {"Enable", {1}}}};
constexpr std::array<Item, 5> ManualOccupancy{
    {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Bypass", {2}}, {"Standby", {3}}, {"Null", {Null}}}};
constexpr std::array<Item, 4> ScheduledOccupancy{
    {{"Occupied", {0}}, {"Unoccupied", {1}}, {"Standby", {3}}, {"Null", {Null}}}};
constexpr std::array<Item, 3> SensedOccupancy{{{"Occupied", {0}}, {"Unoccupied", {1}}, {"Null", {Null}}}};

uint8_t AsByte(const Setting& setting) { return static_cast<uint8_t>(setting.value); }

void SetEnable(device::Orvex_FCU& fcu, std::string_view point, const Setting& setting) {
  auto& enable = PointOf<points::UCPT_Boolean>(fcu, point);
  enable.put_Value(AsByte(setting));
  enable.WriteCP();
}

template <class EnumPoint>
void SetEnumeration(device::Orvex_FCU& fcu, std::string_view point, const Setting& setting) {
  auto& enumeration = PointOf<EnumPoint>(fcu, point);
  enumeration.put_Value(AsByte(setting));
  enumeration.WriteNV();
}

void SetSwitch(device::Orvex_FCU& fcu, std::string_view point, const Setting& setting) {
  auto& sw = PointOf<points::SNVT_switch>(fcu, point);
  sw.put_Value(setting.value);
  sw.put_State(setting.state);
  sw.WriteNV();
}

// The next state and the time to it go out as the last read left them.
void SetSchedule(device::Orvex_FCU& fcu, std::string_view point, const Setting& setting) {
  auto& schedule = PointOf<points::SNVT_tod_event>(fcu, point);
  schedule.put_current_state(AsByte(setting));
  schedule.WriteNV();
}

const std::array<GeneralBox, 8> GeneralBoxes{{
    {controls::cbonciLocSptEnable, "nciLocSptEnable", Enables, SetEnable},
    {controls::cbonviApplicMode, "nviApplicMode", ApplicModes, SetEnumeration<points::SNVT_hvac_mode>},
    {controls::cbonviAuxHeatEnable, "nviAuxHeatEnable", Switches, SetSwitch},
    {controls::cbonviEnergyHoldOff, "nviEnergyHoldOff", Switches, SetSwitch},
    {controls::cbonviEconEnable, "nviEconEnable", Switches, SetSwitch},
    {controls::cbonviOccManCmd, "nviOccManCmd", ManualOccupancy, SetEnumeration<points::SNVT_occupancy>},
    {controls::cbonviOccSchedule, "nviOccSchedule", ScheduledOccupancy, SetSchedule},
    {controls::cbonviOccSensor, "nviOccSensor", SensedOccupancy, SetEnumeration<points::SNVT_occupancy>},
}};

// A text that is no item of the list ("---", a state the refresh wrote, a word in the wrong case)
// writes nothing, so that passing the focus through a box leaves the device alone.
void ValidateGeneralBox(const GeneralBox& box, const std::string& text, device::Orvex_FCU& fcu) {
  auto item = std::find_if(box.items.begin(), box.items.end(), [&text](const Item& i) { return i.text == text; });
  if (item != box.items.end()) box.apply(fcu, box.point, item->setting);
}

// --- the software jumpers -----------------------------------------------------------------------

// A list item's bits: bit k of the pattern goes to the box's k-th jumper flag.
struct Position {
  std::string_view text;
  uint8_t pattern;
};

struct JumperBox {
  int firstFlag;
  int flags;
  std::vector<Position> positions;
};

const std::array<JumperBox, 14> JumperBoxes{{
    {0, 1, {{"Normal", 0}, {"Service Test", 1}}},
    {1, 1, {{"Continuous", 0}, {"Cycling", 1}}},
    {2, 1, {{"Short Range", 0}, {"Long Range", 1}}},
    {3, 1, {{"I/O Not Present", 0}, {"I/O Is Present", 1}}},
    {4, 1, {{"Econ Not Present", 0}, {"Econ Is Present", 1}}},
    {5, 1, {{"N.O. Heat Valve", 0}, {"N.C. Heat Valve", 1}}},
    {6, 1, {{"N.O. Cool Valve", 0}, {"N.C. Cool Valve", 1}}},
    {7, 1, {{"Two Position", 0}, {"Modulating", 1}}},
    {8, 2, {{"None", 0b00}, {"Single Stage", 0b01}, {"Dual Stage", 0b10}}},
    {10,
     3,
     {{"None", 0b000},
      {"2Pipe Heating", 0b001},
      {"2Pipe Cooling", 0b010},
      {"2Pipe ChangeOver", 0b011},
      {"4Pipe Heat/Cool", 0b100}}},
    {13, 2, {{"1 Speed", 0b00}, {"2 Speed", 0b01}, {"3 Speed", 0b10}}},
    {15, 1, {{"Disable Input", 0}, {"Enable Input", 1}}},
    {16, 1, {{"Disable Input", 0}, {"Enable Input", 1}}},
    {17, 1, {{"Disable Input", 0}, {"Enable Input", 1}}},
}};

// Flags 24 to 30 go out cleared and flag 31 set: the unit takes the jumpers only then.
constexpr int FirstControlFlag = 24;
constexpr int ApplyFlag = 31;

bool PatternFlag(uint8_t pattern, int k) { return ((pattern >> k) & 1) != 0; }

bool Holds(const points::UCPTsoftJumpers& jumpers, const JumperBox& box, uint8_t pattern) {
  for (int k = 0; k < box.flags; ++k) {
    if (jumpers.get_Bit(box.firstFlag + k) != PatternFlag(pattern, k)) return false;
  }
  return true;
}

void ValidateJumperBox(int index, const std::string& text, device::Orvex_FCU& fcu) {
  if (index < 0 || index >= static_cast<int>(JumperBoxes.size())) return;
  const JumperBox& box = JumperBoxes[static_cast<size_t>(index)];
  auto position = std::find_if(box.positions.begin(), box.positions.end(),
                               [&text](const Position& p) { return p.text == text; });
  if (position == box.positions.end()) return;
  auto& jumpers = PointOf<points::UCPTsoftJumpers>(fcu, "nciSoftJumpers");
  if (Holds(jumpers, box, position->pattern)) return;
  for (int k = 0; k < box.flags; ++k) jumpers.put_Bit(box.firstFlag + k, PatternFlag(position->pattern, k));
  for (int flag = FirstControlFlag; flag < ApplyFlag; ++flag) jumpers.put_Bit(flag, false);
  jumpers.put_Bit(ApplyFlag, true);
  jumpers.WriteCP();
  jumpers.put_Bit(ApplyFlag, false);
}

}  // namespace

void AttachComboEditors(forms::Form& window, const DeviceObject& fcu) {
  for (const GeneralBox& box : GeneralBoxes) {
    AddEditor(window, fcu, box.box, Commit::AgainOnLostFocus,
              [&box](forms::TextControl& combo, int, device::Orvex_FCU& device) {
                ValidateGeneralBox(box, combo.Text(), device);
              });
  }
  AddEditor(window, fcu, controls::cbonciSoftJumpers, Commit::AgainOnLostFocus,
            [](forms::TextControl& combo, int index, device::Orvex_FCU& device) {
              ValidateJumperBox(index, combo.Text(), device);
            });
}

}  // namespace mainwindow::editors
