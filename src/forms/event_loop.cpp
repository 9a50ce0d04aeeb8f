#include "forms/event_loop.h"

#include <algorithm>
#include <chrono>
#include <iostream>

#include "forms/internal.h"
#include "runtime/clock.h"

namespace forms {
namespace {

constexpr int64_t kIdleSliceMs = 10;   // longest sleep between passes of a busy wait

enum class WaitMode { Busy, Modal };

int64_t Now() { return rt::CurrentClock().NowMs(); }

bool HasPosted() {
  std::lock_guard lock(Queue().mutex);
  return !Queue().items.empty();
}

bool QuitRequested() {
  std::lock_guard lock(Queue().mutex);
  return Queue().quit;
}

// Blocks the UI thread until an item is posted, Quit is asked, or `ms` of real time pass (never
// without `ms`).
void WaitForPost(std::optional<int64_t> ms) {
  const auto woken = [] { return !Queue().items.empty() || Queue().quit; };
  std::unique_lock lock(Queue().mutex);
  if (ms) {
    Queue().wake.wait_for(lock, std::chrono::milliseconds(std::max<int64_t>(*ms, 0)), woken);
  } else {
    Queue().wake.wait(lock, woken);
  }
}

// Sleeps until input comes or the next timer falls due. Virtual time moves only when the program
// says so, so there nothing but input can end the sleep.
void AwaitInputOrTimer() {
  const std::optional<int64_t> next = TimerInternals::NextDue();
  WaitForPost(next && !rt::CurrentVirtualClock() ? std::optional<int64_t>(*next - Now()) : std::nullopt);
}

std::optional<std::function<void()>> NextPosted() {
  std::lock_guard lock(Queue().mutex);
  if (Queue().items.empty()) return std::nullopt;
  auto item = std::move(Queue().items.front());
  Queue().items.pop_front();
  return item;
}

void RunItem(const std::function<void()>& item) {
  try {
    item();
  } catch (...) {
    ReportUnhandled("a posted item", rt::AsError(std::current_exception()));
  }
}

std::optional<int64_t> Earliest(std::optional<int64_t> a, std::optional<int64_t> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

void AdvanceVirtualClockTo(rt::VirtualClock& clock, int64_t when) {
  if (when > clock.NowMs()) clock.Advance(when - clock.NowMs());
}

// One idle step of a wait that found nothing to run; false when nothing can ever end the wait.
bool Idle(WaitMode mode, std::optional<int64_t> deadline) {
  if (HasPosted()) return true;
  rt::VirtualClock* virtualClock = rt::CurrentVirtualClock();
  const std::optional<int64_t> next = TimerInternals::NextDue();
  const bool inputCanArrive = State().running;
  if (mode == WaitMode::Modal && inputCanArrive) {
    // A question or a modal window waits for the person (or director); virtual time stands still.
    AwaitInputOrTimer();
    return true;
  }
  if (virtualClock) {
    if (auto target = Earliest(next, deadline)) {
      AdvanceVirtualClockTo(*virtualClock, *target);
      return true;
    }
    if (mode == WaitMode::Modal) return false;
    WaitForPost(kIdleSliceMs);  // waits on something outside the program, in real time
    return true;
  }
  if (mode == WaitMode::Modal && !next && !deadline) return false;
  int64_t slice = kIdleSliceMs;
  if (auto target = Earliest(next, deadline)) slice = std::min(slice, *target - Now());
  WaitForPost(slice);
  return true;
}

bool LoopWhile(const std::function<bool()>& condition, WaitMode mode, int64_t timeoutMs) {
  const std::optional<int64_t> deadline =
      timeoutMs >= 0 ? std::optional<int64_t>(Now() + timeoutMs) : std::nullopt;
  while (condition()) {
    if (deadline && Now() >= *deadline) return false;
    if (mode == WaitMode::Modal && QuitRequested()) return false;
    DoEvents();
    if (!condition()) break;
    if (!Idle(mode, deadline)) return false;
  }
  return true;
}

std::shared_ptr<Timer> Shared(Timer* timer) {
  return std::static_pointer_cast<Timer>(timer->weak_from_this().lock());
}

bool CanTick(const Timer& timer) { return timer.IsAlive() && timer.Enabled() && timer.Interval() > 0; }

}  // namespace

PostQueue& Queue() {
  static PostQueue queue;
  return queue;
}

void Post(std::function<void()> item) {
  {
    std::lock_guard lock(Queue().mutex);
    Queue().items.push_back(std::move(item));
  }
  Queue().wake.notify_one();
}

void DoEvents() {
  size_t pending = 0;
  {
    std::lock_guard lock(Queue().mutex);
    pending = Queue().items.size();
  }
  for (size_t i = 0; i < pending; ++i) {
    auto item = NextPosted();
    if (!item) break;
    RunItem(*item);
  }
  TimerInternals::FireDue();
}

bool WaitWhile(const std::function<bool()>& condition, int64_t timeoutMs) {
  return LoopWhile(condition, WaitMode::Busy, timeoutMs);
}

bool ModalWaitWhile(const std::function<bool()>& condition) {
  // The hook that heard the start hears the end, whatever is installed meanwhile.
  const auto hook = State().modalWait;
  if (hook) hook(true);
  const bool ended = LoopWhile(condition, WaitMode::Modal, -1);
  if (hook) hook(false);
  return ended;
}

void AdvanceClock(int64_t ms) {
  rt::VirtualClock* clock = rt::CurrentVirtualClock();
  const int64_t target = Now() + std::max<int64_t>(ms, 0);
  if (!clock) {
    WaitWhile([target] { return Now() < target; });
    DoEvents();
    return;
  }
  DoEvents();
  for (auto next = TimerInternals::NextDue(); next && *next <= target; next = TimerInternals::NextDue()) {
    AdvanceVirtualClockTo(*clock, *next);
    DoEvents();
  }
  AdvanceVirtualClockTo(*clock, target);
  DoEvents();
}

void Run() {
  ToolkitState& state = State();
  state.running = true;
  while (!QuitRequested()) {
    state.retired.clear();  // nothing of an unloaded form is in use between items
    DoEvents();
    if (QuitRequested()) break;
    if (HasPosted()) continue;
    AwaitInputOrTimer();
  }
  state.running = false;
}

void Quit() {
  {
    std::lock_guard lock(Queue().mutex);
    Queue().quit = true;
  }
  Queue().wake.notify_all();
}

bool IsRunning() { return State().running; }

void SetModalWaitHook(std::function<void(bool waiting)> hook) { State().modalWait = std::move(hook); }

const std::vector<std::string>& UnhandledErrors() { return State().unhandled; }

void SetPlatformLog(std::function<void(const std::string&)> sink) { State().log = std::move(sink); }

void PlatformLog(const std::string& line) {
  if (State().log) {
    State().log(line);
  } else {
    std::cerr << line << std::endl;
  }
}

void ReportUnhandled(const std::string& where, const rt::Error& error) {
  std::string line = "Unhandled error " + std::to_string(error.Number()) + " in " + where + ": " + error.Description();
  State().unhandled.push_back(line);
  PlatformLog(line);
}

void ResetLoopState() {
  std::lock_guard lock(Queue().mutex);
  Queue().items.clear();
  Queue().quit = false;
}

// ---- timers

void TimerInternals::Schedule(Timer& timer) {
  if (CanTick(timer) && timer.Parent().IsLoaded() && !timer.Parent().IsApplyingLayout()) {
    timer.due_ = Now() + timer.Interval();
    timer.sequence_ = ++State().timerSequence;
  } else {
    timer.due_.reset();
  }
}

std::optional<int64_t> TimerInternals::NextDue() {
  std::optional<int64_t> next;
  for (Timer* timer : State().timers) {
    if (timer->due_ && !timer->ticking_) next = Earliest(next, timer->due_);
  }
  return next;
}

void TimerInternals::FireDue() {
  const int64_t now = Now();
  std::vector<std::shared_ptr<Timer>> due;
  for (Timer* timer : State().timers) {
    if (timer->due_ && *timer->due_ <= now && !timer->ticking_) {
      if (auto shared = Shared(timer)) due.push_back(std::move(shared));
    }
  }
  std::sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
    return *a->due_ != *b->due_ ? *a->due_ < *b->due_ : a->sequence_ < b->sequence_;
  });
  for (const auto& timer : due) {
    // An earlier handler may have switched this one off, restarted it or unloaded its form.
    if (!timer->due_ || *timer->due_ > now || timer->ticking_ || !CanTick(*timer)) continue;
    Schedule(*timer);  // missed periods coalesce: the next tick is one interval from now
    timer->ticking_ = true;
    try {
      timer->Raise(Event::Timer);
    } catch (...) {
      ReportUnhandled(timer->Name() + "_Timer", rt::AsError(std::current_exception()));
    }
    timer->ticking_ = false;
  }
}

}  // namespace forms
