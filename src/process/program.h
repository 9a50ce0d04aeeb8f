#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace proc {

// A program started by argument list: no shell ever sees the arguments.
class Program {
 public:
  // Starts `arguments[0]` with the given arguments. A program named with a folder is found
  // through ResolvePath; a bare name is searched on PATH. The program reads nothing from our
  // stdin and writes its stdout to our stderr, because our stdout may carry a protocol.
  // Raises error 53 when the program cannot be started, 5 for an empty argument list.
  static Program Start(const std::vector<std::string>& arguments);

  Program(Program&& other) noexcept;
  Program& operator=(Program&& other) noexcept;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // A program still running is left to run; it is reaped once it has ended.
  ~Program();

  pid_t Id() const noexcept { return pid_; }
  // The exit code once the program has ended within `limit` (128 + signal number when a
  // signal ended it; -1 when it was reaped elsewhere), or nothing while it still runs.
  std::optional<int> Wait(std::chrono::milliseconds limit);

 private:
  explicit Program(pid_t pid) : pid_(pid) {}
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};

}  // namespace proc
