// The poll and the device buttons with the demo unit attached.
#include <gmock/gmock.h>

#include "device/orvex_fcu.h"
#include "forms/controls_command.h"
#include "forms/msgbox.h"
#include "host/about.h"
#include "lns/calls/faults.h"
#include "main_window_fixture.h"

namespace mainwindow::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int64_t Quiet = 4000;
constexpr int64_t Poll = 2000;
constexpr int32_t Injected = -2147203317;

// The pages the window asked the page refresh for, in order.
class AttachedTest : public DemoUnitTest {
 protected:
  void SetUp() override {
    DemoUnitTest::SetUp();
    SetPageRefresh([this](fMain&, RefreshState&, int16_t& page) { refreshed_.push_back(page); });
  }
  void Click(const char* control, int index = -1) {
    forms::input::Click(index < 0 ? ByName().Ctl(control) : ByName().Ctl(control, index));
  }

  std::vector<int16_t> refreshed_;
};

TEST_F(AttachedTest, ATickRefreshesThePageInSightAndOtherwiseReadsEveryPoint) {
  forms::AdvanceClock(Quiet + Poll);
  EXPECT_THAT(host::LogLines(), Contains("08:00:06 - SCC.ReadDevice(Initializing)"));
  Configure();
  struct Step {
    const char* name;
    std::function<void()> act;
    std::vector<int16_t> refreshed;
    size_t reads;
  };
  for (const Step& step : {Step{"hidden", [] {}, {}, 83}, Step{"shown", [this] { Window().Show(); }, {0}, 0},
                           Step{"About window in front", [] { forms::Default<host::frmAbout>().Show(); }, {}, 83},
                           Step{"back in front", [this] { Window().SetFocus(); }, {0}, 0}}) {
    SCOPED_TRACE(step.name);
    step.act();
    lns::ClearJournal();
    refreshed_.clear();
    forms::AdvanceClock(Poll);
    EXPECT_EQ(refreshed_, step.refreshed);
    EXPECT_EQ(PointReads(), step.reads);
    EXPECT_FALSE(ByName().Ctl("picNetworkTraffic", 1).Visible());
    EXPECT_FALSE(ByName().Ctl("picNetworkTraffic", 2).Visible());
  }
}

// The tab in sight is the one refreshed, by the tab itself, the poll and both refresh buttons.
TEST_F(AttachedTest, TheCurrentPageIsRefreshed) {
  Configure();
  Window().Show();
  forms::input::SelectTab(ByName().Ctl<forms::TabControl>("tabData"), 2);
  forms::AdvanceClock(Quiet + Poll);
  Click("cmdRefresh");
  Click("cmdSyncFromDevice");
  EXPECT_THAT(refreshed_, ElementsAre(0, 2, 2, 2, 2)) << "Configure, tab, tick, Refresh, Synchronize";
  EXPECT_TRUE(ByName().Ctl("cmdRefresh").Enabled());
}

TEST_F(AttachedTest, WinkResetAndSynchronizeReachTheUnitOrLogWhyNot) {
  struct Case {
    const char* button;
    const char* member;
    const char* line;  // where a call without a device fails
  };
  for (const Case& c : {Case{"cmdWink", "Wink", "1"}, Case{"cmdReset", "Reset", "1"},
                        Case{"cmdSyncFromDevice", "SynchronizeCpValues", "2"}}) {
    SCOPED_TRACE(c.button);
    Window().Show();
    forms::input::SelectTab(ByName().Ctl<forms::TabControl>("tabData"), 2);
    Click(c.button);
    EXPECT_THAT(host::LogLines(), Contains(std::string("Error - Object variable or With block variable not set Line ") +
                                           c.line + " " + c.button + "_Click - Error #91"));
    Configure();
    lns::ClearJournal();
    Click(c.button);
    EXPECT_EQ(Calls(c.member, rt::Object::CallKind::Method), 1u);
    lns::FailMember("AppDevice", c.member, Injected);
    forms::Screen().SetMousePointer(forms::vbHourglass);
    Click(c.button);
    EXPECT_THAT(host::LogLines().back(), testing::EndsWith(std::string(c.button) + "_Click - Error #" +
                                                           std::to_string(Injected)));
    EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
    EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
    lns::ClearFaults();
    TearDown();
    SetUp();
  }
}

// Every Clear button of the alarms switches the unit's alarm reset on at full level; with the
// point taken away the click is only logged.
TEST_F(AttachedTest, ClearSwitchesTheAlarmResetOn) {
  Configure();
  Window().Show();
  for (const auto& [page, index] : {std::pair{0, 1}, std::pair{1, 0}}) {
    SCOPED_TRACE(index);
    forms::input::SelectTab(ByName().Ctl<forms::TabControl>("tabData"), page);
    lns::ClearJournal();
    Click("cmdClearFaults", index);
    std::vector<std::string> writes;
    for (const auto& entry : lns::JournalEntries()) {
      if (entry.member == "Value" && entry.kind == rt::Object::CallKind::Let) writes.push_back(entry.path);
    }
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_THAT(writes[0], testing::EndsWith("NetworkVariable:nviClearAlarm"));
    EXPECT_EQ(lns::JournalEntries().back().arguments, "\"100.0 1\"");
  }
  std::vector<rt::Variant> nothing{rt::Variant::Nothing()};
  Window().FCU().Invoke("nviClearAlarm", rt::Object::CallKind::Set, nothing);
  Click("cmdClearFaults", 0);
  EXPECT_THAT(host::LogLines().back(), testing::EndsWith("cmdClearFaults_Click - Error #91"));
}

}  // namespace
}  // namespace mainwindow::test
