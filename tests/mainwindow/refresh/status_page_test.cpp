// The Status page's value and mode boxes, on the one-compressor schematic.
#include <gmock/gmock.h>

#include "refresh_fixture.h"

namespace mainwindow::refresh::test {
namespace {

class StatusPageTest : public RefreshTest {
 protected:
  void SetUp() override {
    RefreshTest::SetUp();
    Configure();
    HoldPoints();
  }
};

TEST_F(StatusPageTest, BoxesShowTheValuesThePointsHold) {
  struct Case {
    const char* property;
    const char* member;
    rt::Variant value;
    const char* control;
    const char* text;
  };
  const auto number = rt::Variant::Double;
  const auto byte = rt::Variant::Byte;
  for (const Case& c : {
           Case{"nvoSpaceTemp", "Value", number(621.0), "txtnvoSpaceTemp", "NULL"},
           {"nvoSpaceTemp", "Value", number(620.96), "txtnvoSpaceTemp", "621.0"},
           {"nvoOutdoorTemp", "Value", number(-40), "txtnvoOutdoorTemp", "-40.0"},
           {"nciSetpoints", "standby_heat", number(621.8), "txtStbyHtgSpt", "NULL"},
           {"nviSetptOffset", "Value", number(621.5), "txtnviSetptOffset", "621.5"},
           {"nviApplicMode", "Value", byte(255), "txtnviApplicMode", "NULL"},
           {"nvoUnitStatus", "Mode", byte(18), "txtnvoUnitStatus", "Unknown"},
           {"nvoTsnFcUnitStat", "Value", byte(255), "txtnvoTsnFcUnitStat", "Unknown"},
           {"nviOccSchedule", "current_state", byte(2), "txtnviOccSch", "Error"},
           {"nviOccManCmd", "Value", byte(2), "txtOccManCmd", "Bypass"},
           {"nviOccSensor", "Value", byte(2), "txtnviOccSensor", "Error"},
           {"nviOccSensor", "Value", byte(3), "txtnviOccSensor", "Error"},
           {"nvoEffectOccup", "Value", byte(2), "txtnvoEffectOccup", "Bypass"},
           {"nvoTerminalLoad", "Value", number(50), "txtnvoTerminalLoad", "Unknown"},
           {"nvoTerminalLoad", "Value", number(-100), "txtnvoTerminalLoad", "Heating"},
           {"nciBypassTime", "Value", number(119.5), "txtnciByPassTime", "120"},
           {"nciDevMinVer", "Value", byte(50), "txtLonAppVer", "1.50"},
           {"nvoBinaryIn", "Bit5", rt::Variant::Boolean(true), "txtnvoDehumid", "Is Required"},
           {"nvoFanModeSpdSw", "Value", byte(0), "txtnvoFanSpdSw", "Off"},
           {"nvoHeatCoolAuto", "Value", byte(0), "txtnvoHeatCoolAuto", "OFF"},
           {"nvoCurrentAlarm", "Value", rt::Variant::String(" Low Water "), "txtCurrentAlarm", " Low Water "},
       }) {
    Let(c.property, c.member, c.value);
    Refresh();
    EXPECT_EQ(Text(c.control, 0), c.text) << c.property << "." << c.member;
    if (Window().HasControl(c.control, 1)) {
      EXPECT_EQ(Text(c.control, 1), "---") << "the second schematic's";
    }
  }
}

TEST_F(StatusPageTest, TheEwtSamplingLabelFollowsItsBit) {
  for (bool sampling : {true, false}) {
    Let("nvoUnitAppStatus", "Bit9", rt::Variant::Boolean(sampling));
    Refresh();
    EXPECT_EQ(ByName().Ctl("lblEWTSampling").Visible(), sampling);
  }
}

// A client may put Nothing in a point's place: its box keeps its text, a selection shows the text
// of 0, and each failure is logged with the row's line.
TEST_F(StatusPageTest, APointThatCannotBeReadFailsItsRowAlone) {
  Refresh();
  const std::string before = Text("txtnvoSpaceTemp", 0);
  for (const char* property : {"nvoSpaceTemp", "nvoEffectOccup", "nvoBinaryIn"}) {
    std::vector<rt::Variant> nothing{rt::Variant::Nothing()};
    Window().FCU().Invoke(property, rt::Object::CallKind::Set, nothing);
  }
  Refresh();
  EXPECT_EQ(Text("txtnvoSpaceTemp", 0), before);
  EXPECT_EQ(Text("txtnvoEffectOccup", 0), "Occupied");
  EXPECT_EQ(Text("txtnvoDehumid", 0), "Not Required");
  EXPECT_EQ(Text("txtnvoFanSpdSw", 0), "Auto") << "the rows after a failure still run";
  const std::string line91 = "Object variable or With block variable not set Line ";
  for (const char* line : {"50", "63", "66"}) {
    EXPECT_THAT(host::LogLines(), ::testing::Contains("Error - " + line91 + line + " RefreshMainForm - Error #91"));
  }
}

}  // namespace
}  // namespace mainwindow::refresh::test
