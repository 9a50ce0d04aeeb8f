#pragma once

#include <cstdint>

namespace host {

// Seconds still to wait on fMain.tmrShort.
extern int32_t& g_ShortTimerCount;

void StartShortTimer(int32_t seconds);
// fMain.tmrShort's tick.
void ShortTimerTick();
// Runs window messages until the countdown is over.
void WaitForShortTimer();

}  // namespace host
