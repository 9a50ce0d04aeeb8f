// The single-value boxes, the six setpoints and the "Busy" guard.
#include <gmock/gmock.h>

#include <clocale>
#include <cmath>
#include <optional>

#include "editor_fixture.h"
#include "forms/controls_text.h"
#include "host/about.h"
#include "points/cp/point.h"
#include "points/cp/scpt_set_pnts.h"
#include "points/nv/number_points.h"
#include "points/typed_value.h"
#include "runtime/convert.h"

namespace mainwindow::test {
namespace {

using ::testing::IsEmpty;
using NumberProperty = points::TypedValue<points::ConfigPropertyPoint, double>;

class TextEditorTest : public EditorTest {
 protected:
  // Whatever the machine's locale, "." is the decimal separator.
  void SetUp() override {
    EditorTest::SetUp();
    std::setlocale(LC_ALL, "de_DE.utf8");
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    EditorTest::TearDown();
  }
  void CacheSetpoint(points::Setpoint setpoint, double value) {
    Point<points::SCPTsetPnts>("nciSetpoints").put_Setpoint(setpoint, value);
  }
  void CacheDifferentials(double occupied, double unoccupied) {
    Point<NumberProperty>("nciOccDiff").put_Value(occupied);
    Point<NumberProperty>("nciUnoccDiff").put_Value(unoccupied);
  }
};

const std::string Location40 = "Second floor, east wing, room 214, north";
const std::string Umlauts32 = "üüüüüüüüüüüüüüüüüüüüüüüüüüüüüüüü";
const std::string Thirty(30, 'a');

TEST_F(TextEditorTest, SingleValuesAreClampedRoundedAndWritten) {
  struct Case {
    int page;
    const char* box;
    int index;
    std::string entry;
    std::string shown;
    std::vector<std::string> messages;
    const char* unitPoint;
    std::optional<std::string> unitValue;  // nothing: not written
  };
  // Temperatures come back from the unit within its resolution.
  auto sameValue = [](const std::string& unit, const std::string& expected) {
    return unit == expected || std::abs(rt::Val(unit) - rt::Val(expected)) < 0.01;
  };
  const char* bypass = "nviOccManCmd/SCPTbypassTime";
  const std::vector<Case> cases = {
      {GeneralPage, "txtnciByPassTime", 2, "0", "0", {}, bypass, "0"},
      {GeneralPage, "txtnciByPassTime", 2, "00", "30", Bound("less", "30"), bypass, "30"},
      {GeneralPage, "txtnciByPassTime", 2, "200", "120", Bound("greater", "120"), bypass, "120"},
      {GeneralPage, "txtnciByPassTime", 2, "30.5", "30", {}, bypass, "30"},
      {DeviceSetupPage, "txtnciLocation", -1, Location40, Location40.substr(0, 31), {}, "SCPTlocation",
       Location40.substr(0, 31)},
      // Cut to 31 code units; the unit refuses what is not ASCII and keeps its text.
      {DeviceSetupPage, "txtnciLocation", -1, Umlauts32, Umlauts32.substr(0, 62), {}, "SCPTlocation",
       Location40.substr(0, 31)},
      {DeviceSetupPage, "txtnciLocation", -1, Thirty + "\U0001F600", Thirty, {}, "SCPTlocation", Thirty},
      {DeviceSetupPage, "txtnciSndHrtBt", 3, "7000", "7000.0", Bound("greater", "6553.4"), "SCPTmaxSendTime",
       "6553.4"},
      {DeviceSetupPage, "txtnciMinOutTm", 3, "12.34", "12.3", {}, "SCPTminSendTime", "12.3"},
      {DeviceSetupPage, "txtnciRcvHrtBt", 3, "60,5", "60.0", {}, "SCPTmaxRcvTime", "60"},
      {DeviceSetupPage, "txtnciRcvHrtBt", 3, "abc", "60.0", {}, "SCPTmaxRcvTime", std::nullopt},
      {GeneralPage, "txtnviSetpoint", 2, "nULl", "NULL", {}, "nviSetpoint", "621.806"},
      {GeneralPage, "txtnviSetpoint", 2, "abc", "50.0", Bound("less", "50"), "nviSetpoint", "50"},
      {GeneralPage, "txtnviSetpoint", 2, "72.25", "72.2", {}, "nviSetpoint", "72.2"},
      {GeneralPage, "txtnviEWT", 2, "250", "212.0", Bound("greater", "212"), "nviEWT", "212"},
      {GeneralPage, "txtnviSpaceTemp", 2, "", "NULL", {}, "nviSpaceTemp", "621.806"},
      {GeneralPage, "txtnviSetptOffset", 2, "", "0.0", {}, "nviSetptOffset", "0"},
      {GeneralPage, "txtnviSetptOffset", 2, "-20", "-17.8", Bound("less", "-17.78"), "nviSetptOffset", "-17.8"},
      {GeneralPage, "txtnviSetptOffset", 2, "null", "-17.8", {}, "nviSetptOffset", std::nullopt},
      {GeneralPage, "txtnviSetptOffset", 2, "1e999", "1e999", {}, "nviSetptOffset", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.box) + " \"" + c.entry + "\"");
    Page(c.page);
    lns::ClearJournal();
    Edit(Box(c.box, c.index), c.entry);
    EXPECT_EQ(Box(c.box, c.index).Text(), c.shown);
    EXPECT_EQ(NewMessages(), c.messages);
    EXPECT_EQ(Writes(c.unitPoint), c.unitValue ? 1u : 0u);
    if (c.unitValue) {
      EXPECT_PRED2(sameValue, UnitValue(c.unitPoint).ToString(), *c.unitValue);
    }
  }
  EXPECT_THAT(host::LogLines(), ::testing::Contains(::testing::EndsWith("txtnviSetptOffset.Validate-Overflow Line 0")));
  EXPECT_THAT(host::LogLines(),
              ::testing::Contains(::testing::HasSubstr("holds a character that is not printable ASCII")));
  EXPECT_DOUBLE_EQ(Point<points::NumberPoint>("nviSetPoint").get_Value(), 72.2);
}

// Each pair at the rule's boundary (differential + 0.9, not the message's + 1) and just beyond it.
TEST_F(TextEditorTest, SetpointsKeepTheirPairApartByTheDifferential) {
  using namespace points;
  struct Case {
    const char* box;
    Setpoint field;
    Setpoint opposite;
    double oppositeValue;
    const char* accepted;
    const char* refused;
    const char* names[3];  // field, opposite field, differential
  };
  const std::vector<Case> cases = {
      {"txtOccClgSpt", occupied_cool, occupied_heat, 70, "72.9", "72.8",
       {"occupied_cool", "occupied_heat", "nciOccDiff"}},
      {"txtStbyClgSpt", standby_cool, standby_heat, 66, "68.9", "68.8", {"standby_cool", "standby_heat", "nciOccDiff"}},
      {"txtUnOccClgSpt", unoccupied_cool, unoccupied_heat, 60, "65.9", "65.8",
       {"unoccupied_cool", "unoccupied_heat", "nciUnoccDiff"}},
      {"txtOccHtgSpt", occupied_heat, occupied_cool, 75, "72.1", "72.2",
       {"occupied_heat", "occupied_cool", "nciOccDiff"}},
      {"txtStbyHtgSpt", standby_heat, standby_cool, 78, "75.1", "75.2", {"standby_heat", "standby_cool", "nciOccDiff"}},
      {"txtUnOccHtgSpt", unoccupied_heat, unoccupied_cool, 85, "79.1", "79.2",
       {"unoccupied_heat", "unoccupied_cool", "nciUnoccDiff"}},
  };
  auto message = [](const Case& c) {
    const bool cooling = c.field <= unoccupied_cool;
    return "nciSetpoints." + std::string(c.names[0]) + (cooling ? " cannot be less than" : " cannot be greater than") +
           " nciSetpoints." + c.names[1] + (cooling ? " plus\r\n" : " minus\r\n") + c.names[2] +
           (cooling ? " + 1" : " - 1") + ". Please try again.";
  };
  Page(GeneralPage);
  auto& setpoints = Point<points::SCPTsetPnts>("nciSetpoints");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    const std::string device = UnitValue("SCPTsetPnts").ToString();
    CacheDifferentials(2, 5);
    CacheSetpoint(c.opposite, c.oppositeValue);
    lns::ClearJournal();
    Edit(Box(c.box, 2), c.refused);
    EXPECT_EQ(NewMessages(), std::vector<std::string>{message(c)});
    EXPECT_EQ(Writes("SCPTsetPnts"), 0u);
    EXPECT_EQ(UnitValue("SCPTsetPnts").ToString(), device);
    EXPECT_EQ(Box(c.box, 2).Text(), rt::NumberText(setpoints.get_Setpoint(c.field)));

    CacheDifferentials(2, 5);
    CacheSetpoint(c.opposite, c.oppositeValue);
    Edit(Box(c.box, 2), c.accepted);
    EXPECT_THAT(NewMessages(), IsEmpty());
    EXPECT_EQ(Writes("SCPTsetPnts"), 1u);
    EXPECT_EQ(Box(c.box, 2).Text(), c.accepted);
    EXPECT_DOUBLE_EQ(setpoints.get_Setpoint(c.field), rt::Val(c.accepted));
    setpoints.ReadCP();
  }
}

// An empty cooling box reads as 0 and is refused; an empty heating box would pass, so it gives no
// value: nothing is written and the setpoint comes back.
TEST_F(TextEditorTest, AnEmptySetpointBoxWritesNothing) {
  Page(GeneralPage);
  for (const char* box : {"txtOccClgSpt", "txtOccHtgSpt"}) {
    SCOPED_TRACE(box);
    lns::ClearJournal();
    Edit(Box(box, 2), "");
    EXPECT_EQ(Writes("SCPTsetPnts"), 0u);
  }
  EXPECT_EQ(NewMessages().size(), 1u);
  EXPECT_EQ(Box("txtOccClgSpt", 2).Text(), "74.3");
  EXPECT_EQ(Box("txtOccHtgSpt", 2).Text(), "69.8");
}

// A refresh that arrives while a box has the focus leaves it alone; a switch to another window is
// no departure; the display members of an array never edit.
TEST_F(TextEditorTest, TheBoxIsBusyWhileItHasTheFocus) {
  SetPageRefresh([](forms::Form& window, RefreshState&, int16_t&) {
    for (const char* box : {"txtnviSetpoint", "txtOccClgSpt"}) {
      if (window.Ctl(box, 2).Tag() != "Busy") window.Ctl<forms::TextControl>(box, 2).SetText("refreshed");
    }
  });
  Page(GeneralPage);
  auto& box = Box("txtnviSetpoint", 2);
  forms::input::TypeText(box, "80");
  forms::AdvanceClock(10000);
  EXPECT_EQ(Box("txtOccClgSpt", 2).Text(), "refreshed");
  EXPECT_EQ(box.Text(), "80");
  forms::Default<host::frmAbout>().Show();
  Window().SetFocus();
  EXPECT_EQ(box.Tag(), "Busy");
  std::string tagWhileAsked;
  forms::SetMsgBoxAsker([&](const forms::MsgBoxRecord&) {
    tagWhileAsked = box.Tag();
    return std::optional<int>();
  });
  lns::ClearJournal();
  forms::input::TypeText(box, "99");
  Leave();
  EXPECT_EQ(tagWhileAsked, "Busy");
  EXPECT_EQ(box.Tag(), "");
  EXPECT_EQ(Writes("nviSetpoint"), 1u);
  EXPECT_EQ(UnitValue("nviSetpoint").ToString(), "95");

  lns::ClearJournal();
  for (int display : {0, 1}) {
    forms::EventArgs validate;
    ByName().Ctl("txtnviSetpoint", display).Raise(forms::Event::Validate, validate);
  }
  EXPECT_EQ(Writes("nviSetpoint"), 0u);
}

}  // namespace
}  // namespace mainwindow::test
