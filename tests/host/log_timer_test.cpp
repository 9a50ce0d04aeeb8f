#include <gmock/gmock.h>

#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "host/log.h"
#include "host/main_window.h"
#include "host/short_timer.h"
#include "host_fixture.h"
#include "runtime/clock.h"

namespace host::test {
namespace {

using ::testing::ElementsAre;

forms::ListBox& LogList() { return fMain().Window().Ctl<forms::ListBox>("lstLog"); }
forms::Timer& ShortTimer() { return fMain().Window().Ctl<forms::Timer>("tmrShort"); }

class LogTest : public HostTest {};

TEST_F(LogTest, KeepsTheNewest500LinesAndSelectsTheLast) {
  for (int i = 1; i <= 500; ++i) WriteLog("line " + std::to_string(i));
  ASSERT_EQ(LogList().ListCount(), 500);
  WriteLog("line 501");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 500u);
  EXPECT_EQ(lines.front(), "line 2");
  EXPECT_EQ(lines.back(), "line 501");
  EXPECT_EQ(LogList().ListIndex(), 499);
}

TEST_F(LogTest, AnEmptyMessageIsAnEmptyLine) {
  WriteLog("first");
  WriteLog("");
  EXPECT_THAT(LogLines(), ElementsAre("first", ""));
  EXPECT_EQ(LogList().ListIndex(), 1);
}

TEST_F(LogTest, WritingLoadsTheMainWindowHidden) {
  WriteLog("x");
  EXPECT_TRUE(fMain().Window().IsLoaded());
  EXPECT_FALSE(fMain().Window().Visible());
}

class ShortTimerTest : public HostTest {
 protected:
  // Milliseconds of the clock a waiter spends until the countdown is over.
  int64_t WaitedMs() {
    const int64_t start = rt::CurrentClock().NowMs();
    WaitForShortTimer();
    return rt::CurrentClock().NowMs() - start;
  }
};

TEST_F(ShortTimerTest, ArmsTheOneSecondTimer) {
  StartShortTimer(3);
  EXPECT_TRUE(ShortTimer().Enabled());
  EXPECT_EQ(ShortTimer().Interval(), 1000);
  EXPECT_EQ(g_ShortTimerCount, 3);
}

TEST_F(ShortTimerTest, WaitEndsAtTheSecondsTickAndTheTimerStopsOneTickLater) {
  struct Case {
    int32_t seconds;
    int64_t waitedMs;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1000}, Case{3, 3000}}) {
    SCOPED_TRACE(c.seconds);
    StartShortTimer(c.seconds);
    EXPECT_EQ(WaitedMs(), c.waitedMs);
    EXPECT_TRUE(ShortTimer().Enabled());
    forms::AdvanceClock(1000);
    EXPECT_FALSE(ShortTimer().Enabled());
    EXPECT_EQ(g_ShortTimerCount, 0);
  }
}

TEST_F(ShortTimerTest, ArmingAgainRestartsTheCountdown) {
  StartShortTimer(5);
  forms::AdvanceClock(2000);
  ASSERT_EQ(g_ShortTimerCount, 3);
  StartShortTimer(2);
  EXPECT_EQ(WaitedMs(), 2000);
}

}  // namespace
}  // namespace host::test
