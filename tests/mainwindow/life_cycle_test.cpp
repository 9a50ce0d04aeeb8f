// The main window's life: the activity rule that pauses the poll, the exit question, the close
// box, the shut-down and the Object Server's events.
#include <gmock/gmock.h>

#include <functional>

#include "forms/controls_command.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/main_window.h"
#include "host/progress.h"
#include "host/register_dialog.h"
#include "host/short_timer.h"
#include "lns/calls/journal.h"
#include "lns/server.h"
#include "main_window_fixture.h"

namespace mainwindow::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int32_t Quiet = 4000;

class LifeCycleTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Window().Show();
  }
  bool Quieting() { return Timer("tmrActivity").Enabled() && !Timer("tmrOverview").Enabled(); }
  bool Polling() { return !Timer("tmrActivity").Enabled() && Timer("tmrOverview").Enabled(); }
  void Click(const char* control) { forms::input::Click(ByName().Ctl(control)); }
};

TEST_F(MainWindowTest, TheHostReachesThisWindowLoadedHidden) {
  EXPECT_EQ(&host::fMain().Window(), &Window());
  host::WriteLog("through the host");
  EXPECT_THAT(host::LogLines(), testing::Contains("through the host"));
  EXPECT_EQ(Window().Caption(), "LonMark® Plug-In for the OrvexUC_FCU™");
  EXPECT_FALSE(Window().Visible());
}

TEST_F(MainWindowTest, TheJournalRecordsThePointerAndTheLitTrafficLampsOfEachCall) {
  ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  lns::ClearJournal();
  plugIn->put_networkName("Demo");
  ByName().Ctl("picNetworkTraffic", 0).SetVisible(false);
  ByName().Ctl("picNetworkTraffic", 1).SetVisible(true);
  forms::Screen().SetMousePointer(forms::vbHourglass);
  host::g_System->get_Name();
  const auto entries = lns::JournalEntries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries.front().scene.mousePointer, forms::vbHourglass) << "the connection shows the hourglass";
  EXPECT_EQ(entries.front().scene.lampsVisible, (std::vector<int>{0, 2})) << "as the layout has them";
  EXPECT_EQ(entries.back().scene.lampsVisible, (std::vector<int>{1, 2}));
}

TEST_F(MainWindowTest, TheShortTimerCountsDownAndStopsItselfATickLater) {
  host::StartShortTimer(2);
  forms::AdvanceClock(2000);
  EXPECT_EQ(host::g_ShortTimerCount, 0);
  EXPECT_TRUE(Timer("tmrShort").Enabled());
  forms::AdvanceClock(1000);
  EXPECT_FALSE(Timer("tmrShort").Enabled());
}

TEST_F(LifeCycleTest, UserActivityPausesThePollUntilTheQuietTimeHasPassed) {
  const std::vector<std::pair<const char*, std::function<void()>>> activities = {
      {"key", [this] { forms::input::Key(Window(), 'A'); }},
      {"label", [this] { forms::input::MouseOver(ByName().Ctl("lblnvs", 0)); }},
      {"tab", [this] { forms::input::SelectTab(ByName().Ctl<forms::TabControl>("tabData"), 1); }},
      {"panel", [this] { forms::input::MouseOver(ByName().Ctl("Picture2", 0)); }},
      {"tab mouse", [this] { forms::input::MouseOver(ByName().Ctl("tabData")); }},
  };
  EXPECT_TRUE(Quieting());
  for (const auto& [name, act] : activities) {
    SCOPED_TRACE(name);
    forms::AdvanceClock(Quiet - 1);
    EXPECT_FALSE(Polling());
    forms::AdvanceClock(1);
    ASSERT_TRUE(Polling());
    act();
    EXPECT_TRUE(Quieting());
    EXPECT_EQ(Timer("tmrActivity").Interval(), Quiet);
  }
}

TEST_F(LifeCycleTest, WhileTheNetworkCannotBeConfiguredTheQuietTimeStartsNoPoll) {
  forms::AdvanceClock(Quiet);
  host::g_CannotConfigure = rt::VbTrue;
  forms::AdvanceClock(Quiet);
  EXPECT_TRUE(Polling()) << "a running poll goes on";
  forms::input::Key(Window(), 'A');
  forms::AdvanceClock(Quiet);
  EXPECT_FALSE(Timer("tmrActivity").Enabled());
  EXPECT_FALSE(Timer("tmrOverview").Enabled());
  host::g_CannotConfigure = rt::VbFalse;
  forms::AdvanceClock(Quiet);
  EXPECT_FALSE(Polling()) << "only the user's next activity brings the poll back";
  forms::input::Key(Window(), 'A');
  forms::AdvanceClock(Quiet);
  EXPECT_TRUE(Polling());
}

TEST_F(LifeCycleTest, OkAndTheCloseBoxAskByTheNumberOfDirectors) {
  struct Case {
    int16_t instances;
    int answer;
    const char* question;
    bool ends;
  };
  const char* one = "A director is using this plug-in.  Exiting may cause the director to experience errors.  Are you "
                    "sure that you want to exit?";
  const char* two = "There are 2 directors using this plug-in.  Exiting may cause the directors to experience "
                    "errors.  Are you sure that you want to exit?";
  for (const auto& exit : {std::function<void()>([this] { Click("cmdExit"); }),
                          std::function<void()>([this] { forms::input::Close(Window()); })}) {
    for (const Case& c : {Case{1, 0, nullptr, true}, Case{2, forms::vbNo, one, false}, Case{2, forms::vbYes, one, true},
                          Case{3, forms::vbNo, two, false}}) {
      SCOPED_TRACE(c.instances);
      host::g_InstanceCount = c.instances;
      Window().Show();
      const size_t boxes = forms::MsgBoxRecords().size();
      const int endsBefore = ends_;
      if (c.answer) forms::QueueMsgBoxAnswer(c.answer);
      exit();
      ASSERT_EQ(forms::MsgBoxRecords().size(), boxes + (c.question ? 1 : 0));
      if (c.question) {
        const auto& box = forms::MsgBoxRecords().back();
        EXPECT_EQ(box.prompt, c.question);
        EXPECT_EQ(box.style, forms::vbYesNo | forms::vbDefaultButton2);
        EXPECT_EQ(box.title, "Velmora OrvexUC_FCU Plug-In");
      }
      EXPECT_EQ(ends_ - endsBefore, c.ends ? 1 : 0);
      EXPECT_FALSE(Window().Visible());
      if (forms::DefaultExists<fMain>()) forms::Default<fMain>().Unload();
    }
  }
}

TEST_F(LifeCycleTest, ShutDownReleasesClosesInOrderAndEndsOnce) {
  auto plugIn = OpenDemo();
  forms::Default<host::fRegisterPlugIn>().Show();
  forms::Default<host::fProgress>().Show();
  lns::ClearJournal();
  Window().EndPlugIn();
  EXPECT_EQ(ends_, 1) << "the registration dialog's unload enters again";
  std::vector<std::string> closes;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.member == "Close") closes.push_back(entry.path);
  }
  EXPECT_THAT(closes, ElementsAre("ObjectServer/Networks/Network:Demo/Systems/System:Demo",
                                    "ObjectServer/Networks/Network:Demo", "ObjectServer"));
  EXPECT_THAT(forms::Forms(), IsEmpty());
  EXPECT_TRUE(host::g_System.IsNothing());
  EXPECT_TRUE(host::g_Network.IsNothing());
  EXPECT_FALSE(host::g_ObjectServer.IsNothing());
  EXPECT_FALSE(host::g_ObjectServerOpen || host::g_NetworkOpen);
}

TEST_F(LifeCycleTest, AWindowToldToRefuseHidesWhileADirectorHoldsItAndEndsOtherwise) {
  for (const auto& [instances, ends] : {std::pair{1, 0}, std::pair{0, 1}}) {
    host::g_InstanceCount = static_cast<int16_t>(instances);
    Window().Hide();
    Window().SetTag("Refuse to start");
    Window().Show();
    EXPECT_FALSE(Window().Visible());
    EXPECT_EQ(ends_, ends);
  }
}

TEST_F(LifeCycleTest, TheObjectServerEventsAreOnlyLogged) {
  auto plugIn = OpenDemo();
  host::g_ObjectServer->RaiseMonitorUpdate(17, rt::Variant::Double(72.5), nullptr);
  host::g_ObjectServer->RaiseRefreshNotify();
  EXPECT_THAT(host::LogLines(), testing::Contains("Received LCA update MonitorTag=>17<  Value=>72.5<"));
}

TEST_F(LifeCycleTest, OneOrTwoSwapsTheSchematics) {
  auto& single = ByName().Ctl("picSingleCompressorSystem");
  auto& dual = ByName().Ctl("picDualCompressorSystem");
  auto& button = ByName().Ctl<forms::CommandButton>("cmdOneOrTwo");
  for (const auto& [singleAt, singleAfter, dualAfter, caption] :
       {std::tuple{60.0f, 16000.0f, 60.0f, "One"}, std::tuple{16000.0f, 60.0f, 16000.0f, "Two"},
        std::tuple{61.0f, 60.0f, 16000.0f, "Two"}}) {
    single.SetLeft(singleAt);
    button.SetVisible(true);
    Click("cmdOneOrTwo");
    EXPECT_EQ(single.Left(), singleAfter);
    EXPECT_EQ(dual.Left(), dualAfter);
    EXPECT_EQ(button.Caption(), caption);
  }
}

}  // namespace
}  // namespace mainwindow::test
