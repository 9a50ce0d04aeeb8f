#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "automation/channel.h"

namespace automation {

// The switches the COM runtime takes from a server's command line before the program sees it.
struct ServerCommandLine {
  bool embedding = false;     // "-Embedding": started by COM for a director
  bool regServer = false;     // "/regserver"
  bool unregServer = false;   // "/unregserver"
  bool virtualClock = false;  // "--virtual-clock": time passes only when the director says so
  std::vector<std::string> rest;  // the program's own arguments
};
// Letter case is ignored, and "/" and "-" both introduce a COM switch.
ServerCommandLine ReadServerCommandLine(const std::vector<std::string>& arguments);

// What the COM runtime does before the program's own start-up: installs the virtual clock when
// asked, and for /regserver or /unregserver (un)registers the served classes for this program
// file and gives the exit code (failures on stderr). Nothing when the program goes on.
std::optional<int> HandleServerSwitches(const ServerCommandLine& commandLine);

// The verbs of this layer: objects, input, the program's own event calls, queries, clock, and an
// empty log.
void AddStandardVerbs(Channel& channel);

// The most requests that wait to run, lines read and not yet taken and object calls waiting for
// the call running together; Serve reads no further input while that many wait.
inline constexpr size_t MaxWaitingRequests = 256;

// Serves one director: request lines from `inputFd`, taken in order on this (the UI) thread
// inside the forms event loop, so timers tick between lines and a line can answer a message box
// that an earlier line opened; an object call waits for the call before it to return. Replies and
// events go to `outputFd`, one line each. While a question or a modal window waits for input, the
// calls waiting are not counted, so the line that answers is always read. While it serves,
// unanswered questions wait for the director. At the end of the input, open questions take their
// defaults, the requests read run, the director's objects are released and Serve returns 0.
int Serve(Channel& channel, int inputFd, int outputFd);
// Whether the Serve running reads no further input for now, as that many requests wait; for tests.
bool InputWaitsForRoom();
// Serve on standard input and output. Standard output is kept for the protocol: anything else
// the process prints there goes to standard error.
int ServeStdio(Channel& channel);

}  // namespace automation
