// The Status page's unit schematic: what the jumpers and the unit's outputs draw on it.
#include <gmock/gmock.h>

#include "forms/controls_text.h"
#include "refresh_fixture.h"

namespace mainwindow::refresh::test {
namespace {

constexpr uint32_t Red = 255;
constexpr uint32_t Blue = 16711680;

class UnitSchematicTest : public RefreshTest {
 protected:
  void SetUp() override {
    RefreshTest::SetUp();
    Configure();
    HoldPoints();
  }
  void Bit(const char* property, int bit, bool set) {
    Let(property, ("Bit" + std::to_string(bit)).c_str(), rt::Variant::Boolean(set));
  }
  bool Visible(const char* control, int index = -1) {
    return (index < 0 ? ByName().Ctl(control) : ByName().Ctl(control, index)).Visible();
  }
};

TEST_F(UnitSchematicTest, TheValveJumpersNameTheHydronicValves) {
  const char* const texts[] = {"No Hydronic Valves",    "2-Pipe Heating Only",        "2-Pipe Cooling Only",
                               "2-Pipe Changeover",     "4-Pipe Heating and Cooling", "Invalid Configuration",
                               "Invalid Configuration", "Invalid Configuration"};
  for (int setting = 0; setting < 8; ++setting) {
    for (int k = 0; k < 3; ++k) Bit("nciSoftJumpers", 10 + k, (setting >> k & 1) != 0);
    Refresh();
    EXPECT_EQ(Text("txtValveType"), texts[setting]) << setting;
  }
}

TEST_F(UnitSchematicTest, ElectricHeatShowsTheStagesItsStagingHas) {
  struct Case {
    bool bit8, bit9, stage1, stage2;
    bool shown;
    const char* text;  // a hidden box keeps the text it had
  };
  for (const Case& c : {Case{true, false, false, true, true, "OFF"},
                        {true, false, true, true, true, "Stage #1 is ON"},
                        {false, true, false, false, true, "OFF"},
                        {false, true, true, false, true, "Stage #1 is ON"},
                        {false, true, false, true, true, "Stage #2 is ON"},
                        {false, true, true, true, true, "Stages #1 & #2 are ON"},
                        {true, true, false, false, false, "Stages #1 & #2 are ON"},
                        {false, false, false, false, false, "Stages #1 & #2 are ON"}}) {
    Bit("nciSoftJumpers", 8, c.bit8);
    Bit("nciSoftJumpers", 9, c.bit9);
    Bit("nvoBinaryOut", 5, c.stage1);
    Bit("nvoBinaryOut", 6, c.stage2);
    Refresh();
    SCOPED_TRACE(testing::Message() << c.bit8 << c.bit9 << c.stage1 << c.stage2);
    EXPECT_EQ(Visible("lbl", 12), c.shown);
    EXPECT_EQ(Visible("txtElecHeatStat"), c.shown);
    EXPECT_EQ(Text("txtElecHeatStat"), c.text);
  }
}

TEST_F(UnitSchematicTest, AnOpenValveDrawsItsCoilInColour) {
  struct Case {
    double heat, cool;
    const char *heatText, *coolText;
    bool heatShown, coolShown;
  };
  for (const Case& c : {Case{0, 12.25, "0.0", "12.2", false, true}, {0.01, 12.75, "0.0", "12.8", true, true},
                        {100, -5, "100.0", "-5.0", true, false}}) {
    LetNumber("nvoHeatVlvOut", "Value", c.heat);
    LetNumber("nvoCoolVlvOut", "Value", c.cool);
    Refresh();
    EXPECT_EQ(Text("txtHeatVlvPosn"), c.heatText);
    EXPECT_EQ(Text("txtCoolVlvPosn"), c.coolText);
    for (auto [box, lines, shown, color] : {std::tuple{"heatCoilBox", "heatCoilLineIn", c.heatShown, Red},
                                            std::tuple{"coolCoilBox", "coolCoilLineIn", c.coolShown, Blue}}) {
      EXPECT_EQ(Visible(box), shown) << box << " at " << c.heat << "/" << c.cool;
      EXPECT_EQ(ByName().Ctl(box).BackColor().value, color);
      for (int i = 0; i < 3; ++i) EXPECT_EQ(Visible(lines, i), shown) << lines << i;
    }
  }
}

TEST_F(UnitSchematicTest, TheFanSpeedFollowsTheLevelAndThePictureTheState) {
  struct Case {
    int16_t state;
    double level;
    bool running;
    const char* text;
  };
  for (const Case& c : {Case{1, 0, true, "OFF"}, {0, 100, false, "ON"}, {1, 95, true, "HIGH"}, {1, 33, true, "LOW"},
                        {-1, 66, false, "MED"}, {1, 50, true, "ERR"}, {1, 99.5, true, "ERR"}}) {
    Let("nvoFanSpeed", "State", rt::Variant::Integer(c.state));
    LetNumber("nvoFanSpeed", "Value", c.level);
    Refresh();
    EXPECT_EQ(Visible("picFanGreen", 0), c.running) << c.state << " " << c.level;
    EXPECT_EQ(Text("txtFanSpeed", 0), c.text) << c.level;
  }
  EXPECT_EQ(Text("txtFanSpeed", 1), "OFF") << "the two-compressor schematic is never drawn";
}

TEST_F(UnitSchematicTest, CondensateAndCalibrationFollowTheirBits) {
  for (bool set : {true, false}) {
    Bit("nvoBinaryIn", 2, set);
    for (int bit : {6, 7}) Bit("nvoUnitAppStatus", bit, set);
    Refresh();
    EXPECT_EQ(Visible("picCondensateOvrFlw", 0), set);
    EXPECT_EQ(Visible("lblHeatVlvCal"), set);
    EXPECT_EQ(Visible("lblCoolVlvCal"), set);
  }
}

TEST_F(UnitSchematicTest, AnEconomizerUnitShowsItsPositionWhereTheDamperStood) {
  LetNumber("nvoEconOut", "Value", 33.333);
  Bit("nvoUnitAppStatus", 8, true);
  Bit("nvoBinaryOut", 7, true);
  struct Case {
    bool economizer;
    const char *type, *tip, *text;
  };
  for (const Case& c : {Case{true, "Economizer", "nvoEconOut", "33.3"},
                        {false, "Fresh Air Damper", "nvoBinaryOut.Bit7", "OPEN"}}) {
    Bit("nvoUnitAppStatus", 14, c.economizer);
    Refresh();
    EXPECT_EQ(ByName().Ctl<forms::Label>("lblFreshAirType").Caption(), c.type);
    EXPECT_EQ(ByName().Ctl("txtFreshAirPosn").ToolTipText(), c.tip);
    EXPECT_EQ(Text("txtFreshAirPosn"), c.text);
    EXPECT_EQ(Visible("lblFreshAirOption"), !c.economizer);
    EXPECT_EQ(Visible("lblFreshAirCal"), c.economizer) << "calibrating, but only an economizer says so";
  }
}

// A test whose point cannot be read takes its branch; a number that cannot be read keeps its box.
TEST_F(UnitSchematicTest, PointsThatCannotBeReadDrawWhatTheirTestsGuard) {
  LetNumber("nvoHeatVlvOut", "Value", 0);
  Refresh();
  const std::string position = Text("txtHeatVlvPosn");
  for (const char* property : {"nciSoftJumpers", "nvoHeatVlvOut", "nvoFanSpeed"}) {
    std::vector<rt::Variant> nothing{rt::Variant::Nothing()};
    Window().FCU().Invoke(property, rt::Object::CallKind::Set, nothing);
  }
  Refresh();
  EXPECT_EQ(Text("txtValveType"), "No Hydronic Valves");
  EXPECT_TRUE(Visible("txtElecHeatStat")) << "taken for one stage";
  EXPECT_EQ(Text("txtHeatVlvPosn"), position);
  EXPECT_TRUE(Visible("heatCoilBox"));
  EXPECT_EQ(ByName().Ctl("heatCoilBox").BackColor().value, Red);
  EXPECT_TRUE(Visible("picFanGreen", 0));
  EXPECT_EQ(Text("txtFanSpeed", 0), "OFF");
  EXPECT_THAT(host::LogLines(), testing::Contains(testing::EndsWith("Line 68 RefreshMainForm - Error #91")));
}

}  // namespace
}  // namespace mainwindow::refresh::test
