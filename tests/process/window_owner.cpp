// A program that shows one top-level window: window_owner <title> <close wait ms> [<later title>].
// Exits 0 when the window got WM_CLOSE, 3 when the wait ran out.
#include <chrono>
#include <cstdlib>

#include "process/windows.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  proc::TopLevelWindow window(argv[1]);
  if (argc > 3) window.SetTitle(argv[3]);
  return window.WaitForMessage(proc::WM_CLOSE, std::chrono::milliseconds(std::atoi(argv[2]))) ? 0 : 3;
}
