#include "runtime/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockTest, TimeOfDayText) {
  struct Case {
    int seconds;
    const char* text;
  } const cases[] = {
      {0, "00:00:00"},     {8 * 3600, "08:00:00"}, {13 * 3600 + 5 * 60 + 9, "13:05:09"},
      {86399, "23:59:59"}, {86400, "00:00:00"},    {-1, "23:59:59"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::TimeOfDayText(c.seconds), c.text) << c.seconds;
}

TEST(ClockTest, VirtualClockMovesOnlyWhenAdvanced) {
  rt::VirtualClock clock(23 * 3600 + 59 * 60 + 58);
  EXPECT_EQ(clock.NowMs(), 0);
  clock.Advance(999);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 23 * 3600 + 59 * 60 + 58);
  clock.Advance(1);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 23 * 3600 + 59 * 60 + 59);
  clock.Advance(1000);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 0);  // past midnight
  clock.Advance(-5000);
  EXPECT_EQ(clock.NowMs(), 2000);  // never goes back
}

TEST(ClockTest, CurrentClockCanBeSwappedForAVirtualOne) {
  auto virtualClock = std::make_shared<rt::VirtualClock>();
  rt::UseClock(virtualClock);
  EXPECT_EQ(rt::CurrentVirtualClock(), virtualClock.get());
  EXPECT_EQ(rt::TimeOfDayText(), "08:00:00");
  rt::CurrentVirtualClock()->Advance(61000);
  EXPECT_EQ(rt::TimeOfDayText(), "08:01:01");
  EXPECT_EQ(rt::CurrentClock().NowMs(), 61000);

  rt::UseClock(nullptr);
  EXPECT_EQ(rt::CurrentVirtualClock(), nullptr);
  EXPECT_FALSE(rt::CurrentClock().IsVirtual());
}

}  // namespace
