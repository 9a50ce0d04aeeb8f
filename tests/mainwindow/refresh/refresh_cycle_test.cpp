// The refresh cycle around the pages: its refusals, the device state in the log, the one
// resynchronisation, the error lines, the page drawn and the "Busy" guard.
#include <gmock/gmock.h>

#include "forms/app.h"
#include "forms/constants.h"
#include "forms/controls_text.h"
#include "host/commands.h"
#include "host/main_window.h"
#include "lns/calls/faults.h"
#include "lns/device.h"
#include "mainwindow/refresh/page_steps.h"
#include "refresh_fixture.h"

namespace mainwindow::refresh::test {
namespace {

using ::testing::Contains;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr int32_t Injected = -2147203317;

std::vector<std::string> LinesFrom(size_t first) {
  const auto lines = host::LogLines();
  return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(first, lines.size())), lines.end()};
}

TEST_F(RefreshTest, WhileTheNetworkCannotBeConfiguredOnlyTheRefusalIsLogged) {
  Configure();
  host::g_CannotConfigure = rt::VbTrue;
  lns::ClearJournal();
  const size_t logged = host::LogLines().size();
  const int pointerChanges = forms::Screen().MousePointerChanges();
  Refresh(2);
  ASSERT_EQ(LinesFrom(logged).size(), 1u);
  EXPECT_THAT(LastLog(), EndsWith("RefreshMainForm(g_CannotConfigure = True)"));
  EXPECT_THAT(lns::JournalEntries(), IsEmpty());
  EXPECT_EQ(forms::Screen().MousePointerChanges(), pointerChanges);
}

TEST_F(RefreshTest, WhileTheDeviceObjectBindsTheHourglassDoesNotStayUp) {
  Window().Load();
  Refresh();
  EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
  EXPECT_GT(forms::Screen().MousePointerChanges(), 0) << "polling is paused: the hourglass showed";
  EXPECT_TRUE(State().m_FirstRefresh);
  EXPECT_EQ(Text("txtnvoSpaceTemp", 0), "---");
}

TEST_F(RefreshTest, TheDeviceStateIsLoggedUnlessConfigOnline) {
  Configure();
  for (auto [state, line] : {std::pair<int16_t, const char*>{2, "Device Online Status = UnConfig"},
                             {3, "Device Online Status = NoAppUnCnfg"}, {4, nullptr},
                             {6, "Device Online Status = OffLine"}, {12, "Device Online Status = Soft OffLine"},
                             {140, "Device Online Status = CnfgBypass"}, {5, "Device Online Status = Undefined"},
                             {7, "Device Online Status = Undefined"}}) {
    Window().AppDevice()->UnitSetState(state);
    const size_t logged = host::LogLines().size();
    Refresh();
    const auto lines = LinesFrom(logged);
    if (line == nullptr) {
      EXPECT_THAT(lines, Not(Contains(::testing::HasSubstr("Device Online Status")))) << state;
    } else {
      EXPECT_THAT(lines, Contains(EndsWith(line))) << state;
    }
  }
}

TEST_F(RefreshTest, AFailedStateQueryIsLoggedAsLine30AndClearsCommOk) {
  Configure();
  EXPECT_TRUE(State().m_CommOk);
  lns::FailMember("AppDevice", "State", Injected, lns::Repeat::Once);
  Refresh();
  EXPECT_FALSE(State().m_CommOk);
  EXPECT_THAT(host::LogLines(),
              Contains(::testing::MatchesRegex("Error - Injected fault.* Line 30 RefreshMainForm - Error #-2147203317")));
  Refresh();
  EXPECT_TRUE(State().m_CommOk);
}

// The first refresh resynchronises; a refresh that runs while it lets messages run does not again,
// and a failed resynchronisation is not retried.
TEST_F(RefreshTest, TheConfigurationPropertiesAreResynchronisedOncePerWindow) {
  Configure();
  EXPECT_EQ(Calls("SynchronizeCpValues", rt::Object::CallKind::Method), 1u);
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "failing" : "answered");
    lns::ClearJournal();
    if (fails) lns::FailMember("AppDevice", "SynchronizeCpValues", Injected, lns::Repeat::Once);
    State().m_FirstRefresh = true;  // as the window's load leaves it
    int nested = 0;
    forms::Post([&] { ++nested, Refresh(); });
    Refresh();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Calls("SynchronizeCpValues", rt::Object::CallKind::Method), 1u);
    EXPECT_FALSE(State().m_FirstRefresh);
    EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
  }
  EXPECT_THAT(host::LogLines(), Contains(EndsWith("Line 36 RefreshMainForm - Error #-2147203317")));
}

TEST_F(RefreshTest, WithoutAnApplicationDeviceEveryDeviceAccessFailsAs91) {
  host::ParseObjectPath(mainwindow::test::DemoDevicePath);
  Window().FCU().putref_Device(host::GetObjectFromPath(7));
  Refresh();
  for (const char* line : {"Line 30 RefreshMainForm - Error #91", "Line 36 RefreshMainForm - Error #91"}) {
    EXPECT_THAT(host::LogLines(), Contains(EndsWith(line)));
  }
  EXPECT_FALSE(State().m_CommOk);
}

TEST_F(RefreshTest, AnErrorWhileLoggingAnErrorStaysInside) {
  Configure();
  lns::FailMember("AppDevice", "State", Injected, lns::Repeat::Once);
  host::SetLogWindow([]() -> forms::Form& { throw rt::Error(rt::err::ObjectNotSet); });
  EXPECT_NO_THROW(Refresh());
  host::SetLogWindow([]() -> forms::Form& { return forms::Default<fMain>(); });
  EXPECT_FALSE(State().m_CommOk);
}

TEST_F(RefreshTest, ThePageInSightIsDrawnWhateverPageWasRead) {
  Configure();
  ByName().Ctl<forms::TextBox>("txtnvoSpaceTemp", 0).SetText("before");
  ShowTab(1);
  Refresh(0);
  EXPECT_EQ(Text("txtnvoSpaceTemp", 0), "before");
  EXPECT_TRUE(ByName().Ctl("picSetpointGraph").Visible());
}

TEST_F(RefreshTest, ABusyBoxIsLeftAloneButOnlyForExactlyBusy) {
  Configure();
  forms::Control& box = ByName().Ctl("txtnviSetpoint", 2);
  for (auto [tag, written] : {std::pair{"Busy", false}, {"busy", true}, {"Busy ", true}, {"", true}}) {
    box.SetTag(tag);
    mainwindow::refresh::Refresh refresh(Window(), State());
    bool ran = false;
    refresh.UnlessBusy(294, controls::txtnviSetpoint[2], [&] { ran = true; });
    EXPECT_EQ(ran, written) << "Tag \"" << tag << "\"";
  }
}

}  // namespace
}  // namespace mainwindow::refresh::test
