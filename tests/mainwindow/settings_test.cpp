// The settings file as loading the main window reads it: which file is rewritten, the two
// intervals, and the window mode.
#include <gmock/gmock.h>

#include <optional>

#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "main_window_fixture.h"

namespace mainwindow::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* MainCaption = "LonMark® Plug-In for the OrvexUC_FCU™";
constexpr const char* TestStandCaption = "OrvexUC_FCU™ Water Source Heat Pump Factory Test Stand";

TEST_F(MainWindowTest, AMissingFileIsLoggedThenWrittenWithItsDefaults) {
  Window();
  EXPECT_THAT(host::LogLines(), ElementsAre("FrmMain.load-File not found 0", "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0",
                                            "FrmMain.load-Bad file name or number 0"));
  EXPECT_EQ(SettingsText(), DefaultSettings);
}

TEST_F(MainWindowTest, AFirstLineShorterThanFourCharactersBringsBackTheDefaultFile) {
  struct Case {
    const char* file;
    const char* after;
    size_t failures;
  };
  const char* kept = "FactoryTester = True\r\nLogWindow = True\r\nPollInterval = 500\r\nActiveDelay = 1000\r\n";
  for (const Case& c : {Case{"", DefaultSettings, 4}, Case{"abc\r\nLogWindow = True\r\n", DefaultSettings, 2},
                        Case{"\u00E9t\u00E9\r\nLogWindow = True\r\n", DefaultSettings, 2},
                        Case{kept, kept, 0}, Case{"DEBUG, LogWindow = True\r\n", "DEBUG, LogWindow = True\r\n", 2}}) {
    SCOPED_TRACE(c.file);
    WriteSettings(c.file);
    ByName().Ctl<forms::ListBox>("lstLog");
    EXPECT_EQ(host::LogLines().size(), c.failures);
    EXPECT_EQ(SettingsText(), c.after);
    Window().Unload();
  }
}

// The poll's period shows once the quiet time has passed; the quiet time after a key press.
TEST_F(MainWindowTest, TheIntervalLinesSetThePollAndTheQuietTime) {
  struct Case {
    const char* pollLine;
    const char* quietLine;
    int32_t poll;
    int32_t quiet;
    std::optional<const char*> logged;
  };
  for (const Case& c : {
           Case{"PollInterval = 2500", "ActiveDelay = 3000", 2500, 3000, {}},
           Case{"pollinterval = 2500", "ACTIVEDELAY = 3000", 2500, 3000, {}},
           Case{"PollInterval= 2500", "Active Delay = 3000", 4000, 2000, {}},
           Case{"PollInterval = 100", "ActiveDelay = 900", 500, 1000, {}},
           Case{"PollInterval = none", "ActiveDelay = 1 000", 500, 1000, {}},
           Case{"x PollInterval = 2500", "ActiveDelay = 1500.5", 500, 1500, {}},
           Case{"PollInterval = 40000", "ActiveDelay = 65535", 40000, 65535, {}},
           Case{"PollInterval = 70000", "ActiveDelay = 3000", 4000, 3000, "FrmMain.load-Invalid property value 0"},
       }) {
    SCOPED_TRACE(std::string(c.pollLine) + " / " + c.quietLine);
    WriteSettings(std::string("FactoryTester = False\r\nLogWindow = False\r\n") + c.pollLine + "\r\n" + c.quietLine);
    EXPECT_EQ(Timer("tmrActivity").Interval(), c.quiet);
    forms::AdvanceClock(c.quiet);
    EXPECT_TRUE(Timer("tmrOverview").Enabled());
    EXPECT_EQ(Timer("tmrOverview").Interval(), c.poll);
    Window().Show();
    forms::input::Key(Window(), 'A');
    EXPECT_EQ(Timer("tmrActivity").Interval(), c.quiet);
    EXPECT_EQ(host::LogLines().empty(), !c.logged);
    if (c.logged) {
      EXPECT_THAT(host::LogLines(), ElementsAre(*c.logged));
    }
    Window().Unload();
  }
}

TEST_F(MainWindowTest, TheFirstTwoLinesChooseCaptionDebugPageAndLog) {
  struct Case {
    const char* modeLine;
    const char* logLine;
    const char* caption;
    bool debugPage;
    bool log;
  };
  for (const Case& c : {Case{"FactoryTester = False", "LogWindow = False", MainCaption, false, false},
                        Case{"FactoryTester = true", "LogWindow = False", TestStandCaption, false, false},
                        Case{"Debug", "LogWindow = False", MainCaption, true, false},
                        Case{"TRUE and DEBUG", "LogWindow = False", TestStandCaption, false, false},
                        Case{"FactoryTester = True", "LogWindow = tRuE", TestStandCaption, true, true}}) {
    SCOPED_TRACE(std::string(c.modeLine) + " / " + c.logLine);
    WriteSettings(std::string(c.modeLine) + "\r\n" + c.logLine + "\r\nPollInterval = 2000\r\nActiveDelay = 4000\r\n");
    auto& tabs = ByName().Ctl<forms::TabControl>("tabData");
    EXPECT_EQ(Window().Caption(), c.caption);
    for (int page = 0; page < 5; ++page) EXPECT_TRUE(tabs.TabVisible(page));
    EXPECT_EQ(tabs.TabVisible(5), c.debugPage);
    for (const char* control : {"lstLog", "lblDataLogger", "cmdClearLog"}) {
      EXPECT_EQ(ByName().Ctl(control).Visible(), c.log) << control;
    }
    Window().Unload();
  }
}

}  // namespace
}  // namespace mainwindow::test
