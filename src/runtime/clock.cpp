#include "runtime/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace rt {

int64_t RealClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RealClock::SecondsSinceMidnight() const {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

namespace {
constexpr int kSecondsPerDay = 86400;

int WithinDay(int64_t seconds) {
  return static_cast<int>((seconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay);
}
}  // namespace

VirtualClock::VirtualClock(int startSecondsSinceMidnight) : startSeconds_(WithinDay(startSecondsSinceMidnight)) {}

int VirtualClock::SecondsSinceMidnight() const {
  return WithinDay(startSeconds_ + nowMs_ / 1000);
}

void VirtualClock::Advance(int64_t ms) {
  if (ms > 0) nowMs_ += ms;
}

namespace {
std::shared_ptr<Clock>& ClockSlot() {
  static std::shared_ptr<Clock> clock = std::make_shared<RealClock>();
  return clock;
}
}  // namespace

Clock& CurrentClock() { return *ClockSlot(); }

void UseClock(std::shared_ptr<Clock> clock) { ClockSlot() = clock ? std::move(clock) : std::make_shared<RealClock>(); }

VirtualClock* CurrentVirtualClock() { return dynamic_cast<VirtualClock*>(ClockSlot().get()); }

std::string TimeOfDayText(int secondsSinceMidnight) {
  int seconds = WithinDay(secondsSinceMidnight);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

std::string TimeOfDayText() { return TimeOfDayText(CurrentClock().SecondsSinceMidnight()); }

}  // namespace rt
