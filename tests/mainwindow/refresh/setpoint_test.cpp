// Which setpoint controls are in use and the shift shown, the heating or cooling view, and the
// setpoint graph.
#include <gmock/gmock.h>

#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "mainwindow/refresh/page_steps.h"
#include "refresh_fixture.h"

namespace mainwindow::refresh::test {
namespace {

class SetpointTest : public RefreshTest {
 protected:
  void SetUp() override {
    RefreshTest::SetUp();
    Configure();
    HoldPoints();
  }
  void Source(uint8_t flag, bool longRange) {
    Let("nciLocSptEnable", "Value", rt::Variant::Byte(flag));
    Let("nciSoftJumpers", "Bit2", rt::Variant::Boolean(longRange));
  }
  bool Enabled(const char* control, int index = -1) {
    return (index < 0 ? ByName().Ctl(control) : ByName().Ctl(control, index)).Enabled();
  }
  forms::Label& Caption(int index) { return ByName().Ctl<forms::Label>("lblnvoSP", index); }
  forms::Line& Tick(int index) { return ByName().Ctl<forms::Line>("lnSetpoint", index); }
  float DotCentre() {
    auto& dot = ByName().Ctl("shpSetPoint");
    return dot.Top() + dot.Height() / 2;
  }
};

TEST_F(SetpointTest, HeatCoolModeFollowsTheUnitStatusThenBit15) {
  struct Case {
    uint8_t status;
    bool bit15;
    int16_t mode;
  };
  for (const Case& c : {Case{5, false, 2}, {6, false, 2}, {4, true, 1}, {0, true, 2}, {3, false, 1}, {7, true, 2},
                        {255, false, 1}}) {
    Let("nvoTsnFcUnitStat", "Value", rt::Variant::Byte(c.status));
    Let("nvoUnitAppStatus", "Bit15", rt::Variant::Boolean(c.bit15));
    const mainwindow::refresh::Refresh refresh(Window(), State());
    EXPECT_EQ(GetHeatCoolMode(refresh), c.mode) << int(c.status) << " " << c.bit15;
  }
}

// Both pages enable the controls of the source in use; the General page also its frames.
TEST_F(SetpointTest, TheSourceInUseIsEnabled) {
  struct Case {
    const char* name;
    uint8_t flag;
    bool longRange;
    bool remote, local, shift;
  };
  for (const Case& c : {Case{"remote", 0, true, true, false, false}, {"long range", 1, true, false, true, false},
                        {"short range", 1, false, false, false, true}, {"raw flag", 7, false, false, false, true}}) {
    SCOPED_TRACE(c.name);
    Source(c.flag, c.longRange);
    for (int tab : {0, 2}) {
      ShowTab(tab == 0 ? 0 : 1);
      Refresh();
      for (const char* control : {"txtnviSetpoint", "lblnviSetpoint", "txtnviSetptOffset", "lblnviSetptOffset"}) {
        EXPECT_EQ(Enabled(control, tab), c.remote) << control << "(" << tab << ")";
      }
      for (const char* control : {"txtnvoSetpoint", "lblLongRange"}) EXPECT_EQ(Enabled(control, tab), c.local);
      for (const char* control : {"txtnvosetptShift", "lblShortRange"}) EXPECT_EQ(Enabled(control, tab), c.shift);
    }
    EXPECT_EQ(Enabled("fraLongRange"), c.local);
    EXPECT_EQ(Enabled("fraShortRange"), c.shift);
  }
}

TEST_F(SetpointTest, TheShiftOfTheOccupancyAndViewIsShown) {
  struct Case {
    uint8_t occupancy;
    uint8_t unitStatus;  // 6 cooling, 4 heating
    const char* field;
    double shift;
    const char* text;
  };
  Source(1, false);
  for (const Case& c : {Case{0, 6, "occupied_cool", 1.25, "1.3"}, {1, 4, "unoccupied_heat", -2, "-2.0"},
                        {3, 6, "standby_cool", 621, "NULL"}, {2, 4, "occupied_heat", 0, "0.0"},
                        {255, 6, "occupied_cool", 4.5, "4.5"}}) {
    Let("nvoEffectOccup", "Value", rt::Variant::Byte(c.occupancy));
    Let("nvoTsnFcUnitStat", "Value", rt::Variant::Byte(c.unitStatus));
    LetNumber("nvoSetptShift", c.field, c.shift);
    for (int tab : {0, 1}) {
      ShowTab(tab);
      Refresh();
      const int index = tab == 0 ? 0 : 2;
      EXPECT_EQ(Text("txtnvosetptShift", index), c.text) << c.field;
      EXPECT_EQ(ByName().Ctl("txtnvosetptShift", index).ToolTipText(), std::string("nvoSetptShift.") + c.field);
    }
  }
  Source(0, false);
  Refresh();
  EXPECT_EQ(Text("txtnvosetptShift", 2), "4.5") << "the General page leaves a remote shift box as it was";
  ShowTab(0);
  Refresh();
  EXPECT_EQ(Text("txtnvosetptShift", 0), "N/A");
}

// Occupied, local short-range setpoint: the deadband 5 about the shifted pair.
TEST_F(SetpointTest, TheGraphsWorkedExample) {
  Source(1, false);
  Let("nvoEffectOccup", "Value", rt::Variant::Byte(0));
  LetNumber("nciSetpoints", "occupied_cool", 75);
  LetNumber("nciSetpoints", "occupied_heat", 70);
  LetNumber("nvoSetptShift", "occupied_cool", 1);
  LetNumber("nvoSetptShift", "occupied_heat", 1);
  LetNumber("nciOccDiff", "Value", 1.5);
  ShowTab(1);
  Refresh(1);
  std::vector<std::string> captions;
  for (int index : {4, 0, 1, 2, 3}) captions.push_back(Caption(index).Caption());
  EXPECT_THAT(captions, ::testing::ElementsAre("Ref SP 73.5", "Eff.Cool_SP  76.0", "74.5 Cool_Off", "72.5 Heat_Off",
                                               "Eff.Heat_SP  71.0"));
  EXPECT_NEAR(DotCentre(), 2097.8, 0.05);
  EXPECT_NEAR(Tick(0).Y1(), 1892.2, 0.05);
  EXPECT_EQ(Tick(0).Y2(), Tick(0).Y1());
  EXPECT_EQ(Caption(0).Top(), Tick(0).Y1() - 100);
  EXPECT_EQ(Caption(4).Top(), ByName().Ctl("shpSetPoint").Top() - 10);
}

TEST_F(SetpointTest, TheGraphsPaths) {
  struct Case {
    const char* name;
    uint8_t flag;
    bool longRange;
    uint8_t occupancy;
    double remoteSetpoint;
    const char* reference;
    const char* cool;
  };
  // Pairs: occupied 75/70, unoccupied 85/60, standby 80/65; local 72, shift 1, offset 2.
  for (const Case& c : {Case{"remote at the scale's foot", 0, false, 0, 50, "Ref SP 52.0", "Eff.Cool_SP  54.5"},
                        {"remote at its top", 0, false, 3, 95, "Ref SP 97.0", "Eff.Cool_SP  104.5"},
                        {"remote off the scale", 0, false, 0, 95.1, "Ref SP 74.5", "Eff.Cool_SP  77.0"},
                        {"remote null", 0, false, 2, 621.8, "Ref SP 74.5", "Eff.Cool_SP  77.0"},
                        {"remote unoccupied", 0, false, 1, 72, "Ref SP 74.5", "Eff.Cool_SP  85.0"},
                        {"long range", 1, true, 3, 0, "Ref SP 72.0", "Eff.Cool_SP  79.5"},
                        {"long range unoccupied", 1, true, 1, 0, "Ref SP 72.0", "Eff.Cool_SP  85.0"},
                        {"short range standby", 1, false, 3, 0, "Ref SP 73.5", "Eff.Cool_SP  81.0"},
                        {"short range unoccupied", 1, false, 1, 0, "Ref SP 72.5", "Eff.Cool_SP  85.0"},
                        {"raw flag draws the remote case", 2, false, 0, 72, "Ref SP 74.0", "Eff.Cool_SP  76.5"}}) {
    SCOPED_TRACE(c.name);
    Source(c.flag, c.longRange);
    Let("nvoEffectOccup", "Value", rt::Variant::Byte(c.occupancy));
    for (auto [field, value] : {std::pair{"occupied_cool", 75}, {"occupied_heat", 70}, {"unoccupied_cool", 85},
                                {"unoccupied_heat", 60}, {"standby_cool", 80}, {"standby_heat", 65}}) {
      LetNumber("nciSetpoints", field, value);
      LetNumber("nvoSetptShift", field, 1);
    }
    LetNumber("nvoSetpoint", "Value", 72);
    LetNumber("nviSetPoint", "Value", c.remoteSetpoint);
    LetNumber("nviSetptOffset", "Value", 2);
    ShowTab(1);
    Refresh(1);
    EXPECT_EQ(Caption(4).Caption(), c.reference);
    EXPECT_EQ(Caption(0).Caption(), c.cool);
  }
}

// One degree of the scale made one twip: the switch-off captions touch when the points lie one
// caption height apart, and overlap one twip closer.
TEST_F(SetpointTest, TheHeatingOffCaptionMovesRightOnlyWhenTheCaptionsOverlap) {
  Source(1, true);
  Let("nvoEffectOccup", "Value", rt::Variant::Byte(0));
  LetNumber("nciOccDiff", "Value", 0);
  LetNumber("nvoSetpoint", "Value", 300);
  auto& scale = ByName().Ctl<forms::Line>("lnScale");
  scale.SetY1(scale.Y2() - 45);
  ShowTab(1);
  Refresh(1);
  const float height = Caption(1).Height();
  for (auto [apart, moved] : {std::pair{height, false}, {height - 1, true}}) {
    LetNumber("nciSetpoints", "occupied_cool", 200 + apart);
    LetNumber("nciSetpoints", "occupied_heat", 200);
    Refresh(1);
    ASSERT_EQ(Caption(1).Height(), height);
    EXPECT_EQ(Caption(2).Left(), moved ? Caption(1).Left() + Caption(1).Width() + 100 : Caption(1).Left()) << apart;
  }
}

}  // namespace
}  // namespace mainwindow::refresh::test
