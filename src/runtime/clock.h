#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rt {

// Time source for timers, waits and log stamps: real, or virtual and advanced by hand in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the clock's epoch; never goes back.
  virtual int64_t NowMs() const = 0;
  // Seconds since local midnight, for the time-of-day text.
  virtual int SecondsSinceMidnight() const = 0;
  virtual bool IsVirtual() const = 0;
};

class RealClock final : public Clock {
 public:
  int64_t NowMs() const override;
  int SecondsSinceMidnight() const override;
  bool IsVirtual() const override { return false; }
};

class VirtualClock final : public Clock {
 public:
  // Starts at the given time of day (default 08:00:00).
  explicit VirtualClock(int startSecondsSinceMidnight = 8 * 3600);
  int64_t NowMs() const override { return nowMs_; }
  int SecondsSinceMidnight() const override;
  bool IsVirtual() const override { return true; }
  void Advance(int64_t ms);

 private:
  int startSeconds_;
  int64_t nowMs_ = 0;
};

// The process's clock (real unless a test or "--virtual-clock" installs a virtual one).
Clock& CurrentClock();
void UseClock(std::shared_ptr<Clock> clock);
// The virtual clock in use, or nullptr on the real clock.
VirtualClock* CurrentVirtualClock();

// "hh:mm:ss" of the current clock.
std::string TimeOfDayText();
std::string TimeOfDayText(int secondsSinceMidnight);

}  // namespace rt
