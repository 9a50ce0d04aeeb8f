#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// The one UI thread's event loop. It delivers, in order, posted items (user input, posted
// keystrokes, platform events) and due timer ticks. Only Post and Quit may be called from other
// threads.

// Queues an item for the UI thread; it runs at the next DoEvents, wait or Run pass.
void Post(std::function<void()> item);

// Runs what is pending once (the posted items queued before the call, then the due timers in
// due-time order) and returns.
void DoEvents();

// The busy-wait of the system's code: runs the loop while `condition` holds. On the virtual clock,
// when nothing is pending it advances the clock to the next due timer; otherwise it sleeps briefly
// between passes. With `timeoutMs` >= 0 it gives up after that many milliseconds of the clock and
// returns false; true once the condition is false.
bool WaitWhile(const std::function<bool()>& condition, int64_t timeoutMs = -1);

// Lets `ms` milliseconds pass: on the virtual clock the timers tick at their due times on the way;
// on the real clock the loop runs for that long.
void AdvanceClock(int64_t ms);

// Posts keystrokes for the focused control of the active form: plain characters, "~" or "{ENTER}",
// "{TAB}", "{ESC}", "{BACKSPACE}" ("{BS}"), "{LEFT}", "{RIGHT}", "{UP}", "{DOWN}", "{DELETE}",
// "+", "^", "%" for Shift, Ctrl and Alt, and "{+}"-style braces for those characters. They are
// delivered after the current handler returns. Error 5 for a malformed key text.
void SendKeys(std::string_view keys);

// The program's main loop: runs posted items and timer ticks until Quit, sleeping in between until
// an item is posted or the next timer falls due (on the virtual clock, until an item is posted).
// While it runs, modal waits (message boxes waiting for an interactive answer, modal forms) sleep
// the same way and do not advance the virtual clock.
void Run();
void Quit();
bool IsRunning();

// Runs `hook(true)` as a modal wait starts to wait for input and `hook(false)` as it ends: whoever
// feeds the loop must not hold back the input that ends the wait.
void SetModalWaitHook(std::function<void(bool waiting)> hook);

// Errors raised by handlers the loop delivered (timer ticks, posted items) that nobody caught:
// reported to the platform log and kept here.
const std::vector<std::string>& UnhandledErrors();

// The sink of the toolkit's own diagnostics (unanswered boxes, unhandled handler errors); stderr
// unless set.
void SetPlatformLog(std::function<void(const std::string&)> sink);
void PlatformLog(const std::string& line);

}  // namespace forms
