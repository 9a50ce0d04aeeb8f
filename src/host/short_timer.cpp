#include "host/short_timer.h"

#include "forms/controls_command.h"
#include "forms/event_loop.h"
#include "host/main_window.h"
#include "mainwindow/fmain_controls.h"

namespace host {

namespace {

constexpr int32_t kOneSecond = 1000;

forms::Timer& ShortTimer() { return fMain().Window().Ctl(mainwindow::controls::tmrShort); }

}  // namespace

void StartShortTimer(int32_t seconds) {
  auto& timer = ShortTimer();
  timer.SetEnabled(false);
  timer.SetInterval(kOneSecond);
  g_ShortTimerCount = seconds;
  timer.SetEnabled(true);
}

void ShortTimerTick() {
  if (g_ShortTimerCount > 0) {
    --g_ShortTimerCount;
  } else {
    ShortTimer().SetEnabled(false);
  }
}

void WaitForShortTimer() {
  forms::WaitWhile([] { return g_ShortTimerCount > 0; });
}

}  // namespace host
