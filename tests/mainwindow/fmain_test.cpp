#include <gmock/gmock.h>

#include "../host/host_fixture.h"
#include "forms/control.h"
#include "forms/event_loop.h"
#include "host/about.h"
#include "host/connection.h"
#include "host/log.h"
#include "host/main_window.h"
#include "host/plugin_api.h"
#include "host/progress.h"
#include "host/short_timer.h"
#include "lns/demo.h"
#include "lns/journal.h"
#include "lns/server.h"
#include "mainwindow/fmain.h"
#include "process/files.h"

namespace mainwindow::test {
namespace {

using orvex::test::WriteFile;

using ::testing::ElementsAre;

constexpr const char* Defaults = "FactoryTester = False\r\nLogWindow = False\r\nPollInterval = 2000\r\nActiveDelay = 4000\r\n";

class MainWindowTest : public host::test::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    UseMainWindow();
  }
  fMain& Window() { return forms::Default<fMain>(); }
  std::string SettingsText() const {
    return proc::ReadWholeFile(programFolder_ / "OrvexUC_FCU.ini").value_or("<none>");
  }
};

TEST_F(MainWindowTest, TheHostReachesThisWindow) {
  EXPECT_EQ(&host::fMain().Window(), &Window());
  host::WriteLog("through the host");
  EXPECT_THAT(host::LogLines(), ::testing::Contains("through the host"));
  EXPECT_EQ(Window().Caption(), "LonMark® Plug-In for the OrvexUC_FCU™");
  EXPECT_FALSE(Window().Visible());
}

TEST_F(MainWindowTest, AMissingSettingsFileIsLoggedAndWrittenWithDefaults) {
  host::WriteLog("loads the window");
  EXPECT_THAT(host::LogLines(), ElementsAre("FrmMain.load-File not found 0", "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0", "loads the window"));
  EXPECT_EQ(SettingsText(), Defaults);
}

TEST_F(MainWindowTest, TheFirstLineDecidesWhetherTheFileIsRewritten) {
  struct Case {
    const char* file;
    const char* after;
    size_t failures;
  };
  const std::string kept = "FactoryTester = True\r\nLogWindow = True\r\nPollInterval = 500\r\nActiveDelay = 1000\r\n";
  for (const Case& c : {Case{"", Defaults, 4}, Case{"abc\r\nLogWindow = True\r\n", Defaults, 2},
                        Case{kept.c_str(), kept.c_str(), 0}, Case{"DEBUG, LogWindow = True\r\n", "DEBUG, LogWindow = True\r\n", 2}}) {
    SCOPED_TRACE(c.file);
    WriteFile(programFolder_ / "OrvexUC_FCU.ini", c.file);
    EXPECT_EQ(host::LogLines().size(), c.failures);
    EXPECT_EQ(SettingsText(), c.after);
    Window().Unload();
  }
}

TEST_F(MainWindowTest, TheShortTimerCountsDown) {
  host::StartShortTimer(2);
  forms::AdvanceClock(2000);
  EXPECT_EQ(host::g_ShortTimerCount, 0);
  EXPECT_TRUE(Window().Ctl<forms::Timer>("tmrShort").Enabled());
  forms::AdvanceClock(1000);
  EXPECT_FALSE(Window().Ctl<forms::Timer>("tmrShort").Enabled());
}

TEST_F(MainWindowTest, EndPlugInClosesEverythingAndEnds) {
  ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  plugIn->put_networkName("Demo");
  plugIn->put_Visible(true);
  plugIn->SendCommand(13, 7, "Demo/Demo/Subsystem 1/FCU 1");
  forms::Default<host::frmAbout>().Show();
  forms::Default<host::fProgress>().Show();
  Window().EndPlugIn();
  EXPECT_EQ(ends_, 1);
  EXPECT_TRUE(forms::Forms().empty());
  EXPECT_TRUE(host::g_System.IsNothing());
  EXPECT_TRUE(host::g_Network.IsNothing());
  EXPECT_FALSE(host::g_ObjectServer.IsNothing());
  EXPECT_FALSE(host::g_ObjectServer->get_IsOpen());
  EXPECT_FALSE(host::g_NetworkOpen);
  EXPECT_FALSE(host::g_ObjectServerOpen);
}

TEST_F(MainWindowTest, ALonMarkObjectCommandKeepsTheObjectsDevice) {
  ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  plugIn->put_networkName("Demo");
  host::g_Commands[0].ObjectClassId = 28;
  host::ParseObjectPath("Subsystem 1/FCU 1/Node");
  EXPECT_NO_THROW(host::DispatchCommand(0, host::GetObjectFromPath(28)));
  rt::Ref<lns::LonMarkObject> nothing;
  EXPECT_NO_THROW(Window().ProcessLonMarkObjectCommand(nothing, host::g_Commands[0]));
}

TEST_F(MainWindowTest, TheJournalRecordsThePointerAndTheLitTrafficLampsOfEachCall) {
  ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  lns::ClearJournal();
  plugIn->put_networkName("Demo");
  Window().Ctl("picNetworkTraffic", 0).SetVisible(false);
  Window().Ctl("picNetworkTraffic", 1).SetVisible(true);
  forms::Screen().SetMousePointer(forms::vbHourglass);
  host::g_System->get_Name();
  const auto entries = lns::JournalEntries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries.front().scene.mousePointer, forms::vbHourglass) << "the connection shows the hourglass";
  EXPECT_EQ(entries.front().scene.lampsVisible, (std::vector<int>{0, 2})) << "as the layout has them";
  EXPECT_EQ(entries.back().scene.lampsVisible, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace mainwindow::test
