#pragma once

#include <ostream>

#include "automation/channel.h"

namespace automation {

// What a start from the command line takes before it runs: request lines of the channel (faults,
// the unit's state, other clients' changes, answers queued for message boxes), from the file
// StartScriptName in the machine folder, then from the environment variable StartLinesVariable
// (one request a line). Blank lines and "#" comments are skipped.
inline constexpr const char* StartScriptName = "start.script";
inline constexpr const char* StartLinesVariable = "ORVEX_START_LINES";

// Runs the start lines through `channel`. At the first line that fails, it says which and why on
// `errors` and returns false; the lines after it are not run.
bool RunStartLines(Channel& channel, std::ostream& errors);

}  // namespace automation
