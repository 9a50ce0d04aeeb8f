#pragma once

#include <cstdint>

namespace orvex::test {

// Stands between SQLite and the files for the connections opened while it lives: it counts every
// write, sync and truncation, and from a chosen one on makes them fail as a full or broken disk
// would, or ends the process at one as a crash would.
class StoreFaults {
 public:
  StoreFaults();
  ~StoreFaults();
  StoreFaults(const StoreFaults&) = delete;
  StoreFaults& operator=(const StoreFaults&) = delete;

  // The `count`-th write from now on, and every one after it, fails with an I/O error; 0 lets
  // them through again.
  void FailFrom(int64_t count);
  // The process is killed (SIGKILL) at the `count`-th write from now on, before it is made.
  void KillAt(int64_t count);
  // Writes, syncs and truncations so far.
  int64_t Writes() const;
};

}  // namespace orvex::test
