// The "General", "Device Setup", "Input/Output" and "Configuration Jumpers" pages.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "lns/calls/faults.h"
#include "refresh_fixture.h"

namespace mainwindow::refresh::test {
namespace {

using ::testing::Contains;
using ::testing::EndsWith;

class PagesTest : public RefreshTest {
 protected:
  void SetUp() override {
    RefreshTest::SetUp();
    Configure();
    HoldPoints();
  }
  void Draw(int tab) {
    ShowTab(tab);
    Refresh(static_cast<int16_t>(tab));
  }
  void Bits(const char* property, std::initializer_list<int> bits, bool set = true) {
    for (int bit : bits) Let(property, ("Bit" + std::to_string(bit)).c_str(), rt::Variant::Boolean(set));
  }
  std::string Caption(const char* label, int index) { return ByName().Ctl<forms::Label>(label, index).Caption(); }
  // A point member let, the page drawn, one box's text checked.
  struct Row {
    const char* property;
    const char* member;
    rt::Variant value;
    const char* control;
    int index;  // -1 for a single control
    const char* text;
  };
  void ExpectRows(int tab, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
      Let(row.property, row.member, row.value);
      Draw(tab);
      EXPECT_EQ(row.index < 0 ? Text(row.control) : Text(row.control, row.index), row.text)
          << row.property << "." << row.member << " in " << row.control;
    }
  }
  void PutNothing(const char* property) {
    std::vector<rt::Variant> nothing{rt::Variant::Nothing()};
    Window().FCU().Invoke(property, rt::Object::CallKind::Set, nothing);
  }
};

TEST_F(PagesTest, GeneralRowsShowTheirOwnTexts) {
  const auto byte = rt::Variant::Byte;
  const auto state = rt::Variant::Integer;
  const auto number = rt::Variant::Double;
  ExpectRows(1, {
                    {"nviApplicMode", "Value", byte(0), "cbonviApplicMode", -1, "Auto"},
                    {"nviApplicMode", "Value", byte(2), "cbonviApplicMode", -1, "NULL"},
                    {"nviOccSchedule", "current_state", byte(2), "cbonviOccSchedule", -1, "Error"},
                    {"nviOccSensor", "Value", byte(3), "cbonviOccSensor", -1, "ERROR"},
                    {"nciLocSptEnable", "Value", byte(255), "cbonciLocSptEnable", -1, "NULL"},
                    {"nviAuxHeatEnable", "State", state(-1), "cbonviAuxHeatEnable", -1, "NULL"},
                    {"nviEconEnable", "State", state(1), "cbonviEconEnable", -1, "Enable"},
                    {"nviSetptOffset", "Value", number(621.0), "txtnviSetptOffset", 2, "621.0"},
                    {"nciBypassTime", "Value", number(30.4), "txtnciByPassTime", 2, "30"},
                });
}

TEST_F(PagesTest, DeviceSetupShowsStateVersionsAndRoundedSettings) {
  for (auto [state, text] : {std::pair<int16_t, const char*>{5, "Undefined"}, {140, "Config Bypass"}}) {
    Window().AppDevice()->UnitSetState(state);
    Draw(2);
    EXPECT_EQ(Text("txtDeviceStatus"), text) << state;
  }
  const auto number = rt::Variant::Double;
  ExpectRows(2, {{"nciDevMajVer", "Value", rt::Variant::Byte(2), "txtLonAppVer", 3, "2.3"},
                 {"nciDevMinVer", "Value", rt::Variant::Byte(10), "txtLonAppVer", 3, "2.10"},
                 {"nciOccDiff", "Value", number(2.25), "txtCP", 0, "2.2"},
                 {"nciSndHrtBt", "Value", number(2.25), "txtnciSndHrtBt", 3, "2.3"},
                 {"nciMinOutTm", "Value", number(2.25), "txtnciMinOutTm", 3, "2.2"},
                 {"nciEwtSampleTmr", "Value", number(30), "txtCP", 15, "30"},
                 {"nciEconLowMin", "Value", number(20), "txtCP", 31, "20.0"}});
}

TEST_F(PagesTest, AFailedStateReadKeepsTheStateTextOnly) {
  Draw(2);
  ByName().Ctl("txtCP", 7).SetTag("Busy");
  ByName().Ctl<forms::TextControl>("txtCP", 7).SetText("typing");
  LetNumber("nciCoolDB", "Value", 12);
  LetNumber("nciHeatDB", "Value", 12);
  Window().AppDevice()->UnitSetState(6);
  lns::FailMember("AppDevice", "State", -2147203317, lns::Repeat::Always);
  Draw(2);
  lns::ClearFaults();
  EXPECT_EQ(Text("txtDeviceStatus"), "OnLine");
  EXPECT_EQ(Text("txtNeuronID"), Window().AppDevice()->get_NeuronId());
  EXPECT_EQ(Text("txtHVAC_Type"), "HVT_FAN_COIL");
  EXPECT_EQ(Text("txtCP", 7), "typing");
  EXPECT_EQ(Text("txtCP", 12), "12.0");
  EXPECT_THAT(host::LogLines(), Contains(EndsWith("Line 2000 RefreshMainForm - Error #-2147203317")));
}

TEST_F(PagesTest, InputOutputRowsSkipFaultBitElevenAndStatusBitsTwelveUp) {
  Bits("nvoUnitFaults", {11});
  Bits("nvoUnitAppStatus", {12, 13, 14, 15});
  Bits("nvoBinaryIn", {2});
  Draw(3);
  for (int k = 0; k < 15; ++k) EXPECT_EQ(Text("txtUnitFaults", k), "Open") << k;
  for (int k = 0; k < 12; ++k) EXPECT_EQ(Text("txtUnitAppStat", k), "Open") << k;
  EXPECT_EQ(Caption("lblUnitFaults", 6), "Condensate Overflow = Dry");
  EXPECT_EQ(Caption("lbl_IO", 2), "Condensate Overflow = Wet");
  EXPECT_EQ(Text("TxtBinaryIn", 2), "Closed");

  Bits("nvoUnitFaults", {11}, false);
  Bits("nvoUnitFaults", {12});
  Bits("nvoUnitAppStatus", {11});
  Draw(3);
  EXPECT_EQ(Text("txtUnitFaults", 11), "Closed");
  EXPECT_EQ(Caption("lblUnitFaults", 11), "Comm Mod Communications = Fail");
  EXPECT_EQ(Caption("lblUnitFaults", 12), "Valid Comm Module Software");
  EXPECT_EQ(Caption("lblUnitAppStat", 11), "EWT Cool Sampling = Error");
}

TEST_F(PagesTest, AnalogInputsHaveTheirOwnNullLimitsAndTables) {
  const auto number = rt::Variant::Double;
  const auto byte = rt::Variant::Byte;
  ExpectRows(3, {{"nvoDischAirTemp", "Value", number(621.0), "txtAnalogInput", 0, "NULL"},
                 {"nvoOutdoorTemp", "Value", number(621.0), "txtAnalogInput", 7, "621.0"},
                 {"nvoOutdoorTemp", "Value", number(621.5), "txtAnalogInput", 7, "NULL"},
                 {"nvoFanModeSpdSw", "Value", byte(5), "txtAnalogInput", 5, "ERROR"},
                 {"nvoHeatCoolAuto", "Value", byte(0), "txtAnalogInput", 6, "OFF"}});
  // Heating and unoccupied: still the occupied shift.
  Let("nvoTsnFcUnitStat", "Value", rt::Variant::Byte(4));
  Let("nvoEffectOccup", "Value", rt::Variant::Byte(1));
  LetNumber("nvoSetptShift", "occupied_heat", -2.5);
  LetNumber("nvoSetptShift", "unoccupied_heat", 3);
  Draw(3);
  EXPECT_EQ(Text("txtAnalogInput", 4), "-2.5");
}

TEST_F(PagesTest, JumpersShowPositionsAndTheSettingTheyMake) {
  struct Case {
    std::vector<int> closed;
    std::vector<std::pair<int, const char*>> captions;
  };
  for (const Case& c : {Case{{}, {{0, "Normal Mode (Normal/Test)"}, {2, "Short Range SP Adjust (-5°F to +5°F)"},
                                  {8, "No Electric Heating"}, {10, "No Hydronic Valves"}, {13, "Single Speed Fan"},
                                  {17, "Dirty Air Filter = Disabled"}}},
                        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17},
                         {{0, "Service Test Mode"}, {8, "Invalid Electric Heat Selection"},
                          {10, "Invalid Hydronic Valve Selection"}, {13, "Invalid Fan Speed Selection"},
                          {16, "Emergency Shutdown = Enabled"}}},
                        {{10, 12}, {{10, "Invalid Hydronic Valve Selection"}}},
                        {{8}, {{8, "Single Stage Electric Heat"}}},
                        {{9}, {{8, "Dual Stage Electric Heat"}}},
                        {{14}, {{13, "Three Speed Fan"}}},
                        {{11, 18, 31}, {{10, "2-Pipe Hydronic Cooling"}}}}) {
    Bits("nciSoftJumpers", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, false);
    for (int flag : c.closed) Bits("nciSoftJumpers", {flag});
    Draw(4);
    const auto position = [&](int flag) { return std::ranges::count(c.closed, flag) ? "Closed" : "Open"; };
    const int combos[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 13, 15, 16, 17};  // each combo's first flag
    for (int k = 0; k < 14; ++k) EXPECT_EQ(Text("cbonciSoftJumpers", k), position(combos[k])) << k;
    for (int box : {9, 11, 12, 14}) EXPECT_EQ(Text("txtSoftwareJumper", box), position(box)) << box;
    for (auto [label, caption] : c.captions) EXPECT_EQ(Caption("lblSoftwareJumper", label), caption);
  }
}

TEST_F(PagesTest, ABusyJumperComboKeepsItsWholeGroup) {
  Draw(4);
  ByName().Ctl("cbonciSoftJumpers", 9).SetTag("Busy");
  Bits("nciSoftJumpers", {10, 11, 12, 0});
  Draw(4);
  EXPECT_EQ(Text("cbonciSoftJumpers", 9), "Open");
  EXPECT_EQ(Text("txtSoftwareJumper", 11), "Open");
  EXPECT_EQ(Text("txtSoftwareJumper", 12), "Closed");
  EXPECT_EQ(Caption("lblSoftwareJumper", 10), "4-Pipe Hydronic Heating and Cooling");
  EXPECT_EQ(Text("cbonciSoftJumpers", 0), "Closed");
}

// A client may put Nothing in a point's place: the bits read as clear, a switch combo keeps its
// text, a selection shows the text of 0.
TEST_F(PagesTest, PointsThatCannotBeReadShowWhatTheirRowsFallBackTo) {
  Bits("nvoUnitFaults", {0, 12});
  Bits("nciSoftJumpers", {8, 10});
  Draw(1);
  const std::string auxHeat = Text("cbonviAuxHeatEnable");
  // The fault word's Set is published under its own name.
  for (const char* property : {"nvoUnitUnitFaults", "nciSoftJumpers", "nviAuxHeatEnable", "nviApplicMode"}) {
    PutNothing(property);
  }
  Draw(1);
  EXPECT_EQ(Text("cbonviAuxHeatEnable"), auxHeat);
  EXPECT_EQ(Text("cbonviApplicMode"), "Auto");
  Draw(3);
  EXPECT_EQ(Text("txtUnitFaults", 0), "Open");
  EXPECT_EQ(Caption("lblUnitFaults", 11), "Comm Mod Communications = Good");
  Draw(4);
  EXPECT_EQ(Text("cbonciSoftJumpers", 8), "Open");
  EXPECT_EQ(Caption("lblSoftwareJumper", 8), "No Electric Heating");
  EXPECT_EQ(Caption("lblSoftwareJumper", 3), "No I/O Expansion Board");
  for (const char* line : {"294", "3000", "4000"}) {
    EXPECT_THAT(host::LogLines(), Contains(EndsWith("Line " + std::string(line) + " RefreshMainForm - Error #91")));
  }
}

// In every state of the unit, each page reaches only controls the window has, of the kinds it
// takes them for: no statement of the refresh logs an error.
TEST_F(PagesTest, EveryPageIsDrawnWithoutAnErrorInEveryUnitState) {
  const std::vector<std::pair<const char*, std::function<void()>>> states = {
      {"as attached", [] {}},
      {"faults raised and outputs on",
       [&] {
         Bits("nvoUnitFaults", {0, 2, 6, 12, 15});
         Bits("nvoBinaryIn", {0, 2, 5});
         Bits("nvoBinaryOut", {0, 5, 6, 7, 12});
         Let("nvoCurrentAlarm", "Value", rt::Variant::String("Condensate Overflow"));
       }},
      {"setpoints and temperatures at their limits",
       [&] {
         for (const char* field : {"occupied_cool", "standby_cool", "unoccupied_cool"}) {
           LetNumber("nciSetpoints", field, 95);
         }
         for (const char* field : {"occupied_heat", "standby_heat", "unoccupied_heat"}) {
           LetNumber("nciSetpoints", field, 50);
         }
         for (const char* point : {"nviSetPoint", "nvoSpaceTemp", "nvoOutdoorTemp"}) LetNumber(point, "Value", 621.0);
         LetNumber("nvoHeatVlvOut", "Value", 100);
       }},
      {"the local setpoint, every jumper closed",
       [&] {
         Let("nciLocSptEnable", "Value", rt::Variant::Byte(1));
         Bits("nciSoftJumpers", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
         Bits("nvoUnitAppStatus", {6, 7, 8, 9, 14, 15});
       }},
      {"offline", [&] { Window().AppDevice()->UnitSetState(6); }},
  };
  ByName().Ctl<forms::TabControl>("tabData").SetTabVisible(5, true);
  for (const auto& [state, enter] : states) {
    enter();
    ByName().Ctl<forms::ListBox>("lstLog").Clear();
    for (int tab = 0; tab <= 5; ++tab) Draw(tab);
    std::vector<std::string> errors;
    std::ranges::copy_if(host::LogLines(), std::back_inserter(errors),
                         [](const std::string& line) { return line.find("Err") != std::string::npos; });
    EXPECT_THAT(errors, ::testing::IsEmpty()) << state;
  }
}

}  // namespace
}  // namespace mainwindow::refresh::test
