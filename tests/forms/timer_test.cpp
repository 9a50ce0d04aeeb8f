// Timers and the event loop on the virtual and the real clock.
#include "forms/controls_command.h"
#include "forms_fixture.h"

#include <atomic>
#include <chrono>
#include <thread>


using forms::Event;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class TimerTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = forms::New<RecordingForm>();
    for (const char* name : {"tmrFast", "tmrSlow"}) {
      form->On(name, Event::Timer, [this, name](forms::EventArgs&) {
        ticks.push_back(std::string(name) + "@" + std::to_string(Now()));
      });
    }
    form->Load();
  }

  forms::Timer& Fast() { return form->Ctl<forms::Timer>("tmrFast"); }
  forms::Timer& Slow() { return form->Ctl<forms::Timer>("tmrSlow"); }

  std::shared_ptr<RecordingForm> form;
  std::vector<std::string> ticks;
};

TEST_F(TimerTest, TicksComeAtTheirDueTimesInDueOrder) {
  Fast().SetEnabled(true);   // 100 ms
  Slow().SetEnabled(true);   // 250 ms
  forms::AdvanceClock(500);
  // Equal due times go in the order the timers were started.
  EXPECT_THAT(ticks, ElementsAre("tmrFast@100", "tmrFast@200", "tmrSlow@250", "tmrFast@300", "tmrFast@400",
                                 "tmrSlow@500", "tmrFast@500"));
}

TEST_F(TimerTest, TicksComeOnlyWhileTheLoopRuns) {
  Fast().SetEnabled(true);
  clock_->Advance(1000);
  EXPECT_THAT(ticks, IsEmpty());
}

TEST_F(TimerTest, MissedPeriodsCoalesceIntoOneTick) {
  Fast().SetEnabled(true);
  clock_->Advance(1000);  // the program was busy for ten periods
  forms::DoEvents();
  forms::DoEvents();
  EXPECT_THAT(ticks, ElementsAre("tmrFast@1000"));
  forms::AdvanceClock(100);
  EXPECT_THAT(ticks, ElementsAre("tmrFast@1000", "tmrFast@1100"));
}

TEST_F(TimerTest, SwitchingOnOrSettingTheIntervalRestartsTheCountdown) {
  Fast().SetEnabled(true);
  forms::AdvanceClock(80);
  Fast().SetInterval(100);  // restarts at 80
  forms::AdvanceClock(80);
  Fast().SetEnabled(false);
  Fast().SetEnabled(true);  // restarts at 160
  forms::AdvanceClock(150);
  EXPECT_THAT(ticks, ElementsAre("tmrFast@260"));
}

TEST_F(TimerTest, SwitchingOnATimerThatIsOnDoesNotRestartIt) {
  Fast().SetEnabled(true);
  forms::AdvanceClock(80);
  Fast().SetEnabled(true);
  forms::AdvanceClock(20);
  EXPECT_THAT(ticks, ElementsAre("tmrFast@100"));
}

TEST_F(TimerTest, IntervalZeroNeverFires) {
  Fast().SetInterval(0);
  Fast().SetEnabled(true);
  forms::AdvanceClock(100000);
  EXPECT_THAT(ticks, IsEmpty());
}

TEST_F(TimerTest, IntervalOutside0To65535Raises380AndKeepsTheOldOne) {
  for (int32_t interval : {65536, -1, 100000}) {
    EXPECT_EQ(ErrorNumberOf([&] { Fast().SetInterval(interval); }), rt::err::InvalidPropertyValue) << interval;
    EXPECT_EQ(Fast().Interval(), 100);
  }
  EXPECT_NO_THROW(Fast().SetInterval(65535));
}

TEST_F(TimerTest, AHandlerThatSwitchesItsTimerOffGetsNoFurtherTick) {
  form->On("tmrFast", Event::Timer, [this](forms::EventArgs&) {
    ticks.push_back("tick");
    Fast().SetEnabled(false);
  });
  Fast().SetEnabled(true);
  forms::AdvanceClock(1000);
  EXPECT_THAT(ticks, ElementsAre("tick"));
}

TEST_F(TimerTest, AnEarlierHandlerCanSwitchOffATimerDueInTheSamePass) {
  form->On("tmrFast", Event::Timer, [this](forms::EventArgs&) { Slow().SetEnabled(false); });
  Slow().SetInterval(100);
  Fast().SetEnabled(true);
  Slow().SetEnabled(true);
  forms::AdvanceClock(100);
  EXPECT_THAT(ticks, IsEmpty());
}

// A tick of another timer runs inside a DoEvents that a handler calls; the timer whose handler is
// running does not tick again inside itself.
TEST_F(TimerTest, TicksRunInsideDoEventsOfAnotherHandler) {
  form->On("tmrSlow", Event::Timer, [this](forms::EventArgs&) {
    ticks.push_back("slow begins");
    clock_->Advance(300);
    forms::DoEvents();
    ticks.push_back("slow ends");
    Slow().SetEnabled(false);
  });
  Fast().SetEnabled(true);
  Slow().SetInterval(50);
  Slow().SetEnabled(true);
  forms::AdvanceClock(50);
  EXPECT_THAT(ticks, ElementsAre("slow begins", "tmrFast@350", "slow ends"));
}

TEST_F(TimerTest, UnloadingTheFormStopsItsTimers) {
  Fast().SetEnabled(true);
  form->Unload();
  forms::AdvanceClock(1000);
  EXPECT_THAT(ticks, IsEmpty());
}

TEST_F(TimerTest, AnErrorInATickHandlerIsReportedAndTheLoopGoesOn) {
  form->On("tmrFast", Event::Timer, [](forms::EventArgs&) { rt::Raise(rt::err::DivisionByZero); });
  Fast().SetEnabled(true);
  forms::AdvanceClock(200);
  ASSERT_EQ(forms::UnhandledErrors().size(), 2u);
  EXPECT_THAT(forms::UnhandledErrors()[0], testing::HasSubstr("tmrFast_Timer"));
  EXPECT_THAT(platformLog, testing::Contains(testing::HasSubstr("Division by zero")));
}

// The seconds countdown of the system: a one-second timer counts down and the waiter lets the
// loop run; on the virtual clock the wait ends after exactly the given number of ticks.
TEST_F(TimerTest, WaitWhileOnTheVirtualClockAdvancesToTheNextDueTimer) {
  int count = 3;
  form->On("tmrSlow", Event::Timer, [&](forms::EventArgs&) {
    if (count > 0) {
      --count;
    } else {
      Slow().SetEnabled(false);
    }
  });
  Slow().SetInterval(1000);
  Slow().SetEnabled(true);
  EXPECT_TRUE(forms::WaitWhile([&] { return count > 0; }));
  EXPECT_EQ(Now(), 3000);
  forms::AdvanceClock(5000);
  EXPECT_FALSE(Slow().Enabled()) << "the countdown switches itself off one tick after 0";
}

TEST_F(TimerTest, WaitWhileRunsPostedItemsInOrder) {
  std::vector<int> order;
  forms::Post([&] { order.push_back(1); });
  forms::Post([&] { order.push_back(2); });
  EXPECT_TRUE(forms::WaitWhile([&] { return order.size() < 2; }));
  EXPECT_THAT(order, ElementsAre(1, 2));
  EXPECT_EQ(Now(), 0);
}

TEST_F(TimerTest, WaitWhileGivesUpAtItsTimeout) {
  EXPECT_FALSE(forms::WaitWhile([] { return true; }, 1500));
  EXPECT_EQ(Now(), 1500);
}

TEST_F(TimerTest, ItemsPostedDuringDoEventsWaitForTheNextPass) {
  std::vector<std::string> order;
  forms::Post([&] {
    order.push_back("first");
    forms::Post([&] { order.push_back("posted by first"); });
  });
  forms::DoEvents();
  EXPECT_THAT(order, ElementsAre("first"));
  forms::DoEvents();
  EXPECT_THAT(order, ElementsAre("first", "posted by first"));
}

// The main loop sleeps with a timer armed; virtual time moves only when an item moves it.
TEST_F(TimerTest, RunSleepsWithoutMovingVirtualTimeAndTicksAtTheExactTimes) {
  Fast().SetEnabled(true);
  std::atomic<bool> slept = false;
  forms::Post([&slept] {
    slept = true;
    slept.notify_one();
  });
  std::thread poster([&] {
    slept.wait(false);
    forms::Post([this] {
      ticks.push_back("advance@" + std::to_string(Now()));
      forms::AdvanceClock(250);
      forms::Quit();
    });
  });
  forms::Run();
  poster.join();
  EXPECT_THAT(ticks, ElementsAre("advance@0", "tmrFast@100", "tmrFast@200"));
  EXPECT_EQ(Now(), 250);
}

class RealClockTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    rt::UseClock(std::make_shared<rt::RealClock>());
  }
};

TEST_F(RealClockTest, WaitWhileSleepsBetweenPassesUntilATimerEndsIt) {
  auto form = forms::New<RecordingForm>();
  bool fired = false;
  form->On("tmrFast", Event::Timer, [&fired](forms::EventArgs&) { fired = true; });
  form->Load();
  form->Ctl<forms::Timer>("tmrFast").SetInterval(30);
  form->Ctl<forms::Timer>("tmrFast").SetEnabled(true);
  int passes = 0;
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(forms::WaitWhile([&] {
    ++passes;
    return !fired;
  }));
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(25));
  EXPECT_LT(passes, 200) << "the wait sleeps between passes instead of spinning";
}

TEST_F(RealClockTest, ItemsPostedFromAnotherThreadWakeTheWait) {
  std::atomic<bool> waiting = false;
  std::atomic<bool> done = false;
  std::thread poster([&] {
    waiting.wait(false);
    forms::Post([&done] { done = true; });
  });
  EXPECT_TRUE(forms::WaitWhile(
      [&] {
        waiting = true;
        waiting.notify_one();
        return !done;
      },
      60000));
  poster.join();
}

TEST_F(RealClockTest, RunServesPostedItemsUntilQuit) {
  std::vector<int> served;
  std::thread poster([&served] {
    forms::Post([&served] { served.push_back(1); });
    forms::Post([&served] {
      served.push_back(2);
      forms::Quit();
    });
  });
  forms::Run();
  poster.join();
  EXPECT_THAT(served, ElementsAre(1, 2));
  EXPECT_FALSE(forms::IsRunning());
}

// Measured on the clock the loop reads: whole milliseconds.
TEST_F(RealClockTest, AdvanceClockLetsRealTimePass) {
  const int64_t start = rt::CurrentClock().NowMs();
  forms::AdvanceClock(30);
  EXPECT_GE(rt::CurrentClock().NowMs() - start, 30);
}

}  // namespace
