// A program that shows one top-level window: window_owner [--after-start] <title> <close wait ms>
// [<later title>]. Exits 0 when the window got WM_CLOSE, 3 when the wait ran out. With
// --after-start the wait begins once the window has had a WM_USER message, so that a test sees
// the window before the wait can run out.
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "process/windows.h"

namespace {
constexpr uint32_t WM_USER = 0x0400;
constexpr auto kStartWait = std::chrono::minutes(1);
}  // namespace

int main(int argc, char** argv) {
  const bool afterStart = argc > 1 && std::string_view(argv[1]) == "--after-start";
  argv += afterStart;
  argc -= afterStart;
  if (argc < 3) return 2;
  proc::TopLevelWindow window(argv[1]);
  if (argc > 3) window.SetTitle(argv[3]);
  if (afterStart && !window.WaitForMessage(WM_USER, kStartWait)) return 4;
  return window.WaitForMessage(proc::WM_CLOSE, std::chrono::milliseconds(std::atoi(argv[2]))) ? 0 : 3;
}
