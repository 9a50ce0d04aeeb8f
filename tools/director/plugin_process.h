#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace director {

// The plug-in process the director drives: started from an argument list (no shell), its
// standard input and output are the protocol line; its standard error is the director's.
class PluginProcess {
 public:
  // Raises std::runtime_error when the program cannot be started.
  PluginProcess(const std::string& program, const std::vector<std::string>& arguments);
  PluginProcess(const PluginProcess&) = delete;
  PluginProcess& operator=(const PluginProcess&) = delete;
  // Ends the process if it still runs.
  ~PluginProcess();

  // False when the plug-in no longer reads its input (it has ended).
  bool Send(std::string_view line);
  enum class Read { Line, Ended, TimedOut };
  // One output line; a timeout of 0 or less waits for ever.
  Read ReadLine(std::string& line, int timeoutMs);
  // For waiting on the plug-in and another input at once: its output, and whether a whole line
  // has been read from it already.
  int OutputFd() const noexcept { return fromPlugin_; }
  bool HasBufferedLine() const noexcept { return buffer_.find('\n') != std::string::npos; }
  // End of input for the plug-in: the director has nothing more to say.
  void CloseInput();
  // Waits for the process to end, killing it after the timeout; "exit status 0",
  // "killed by signal 9", ...
  std::string WaitForEnd(int timeoutMs);
  bool EndedWell() const noexcept { return endedWell_; }
  pid_t Pid() const noexcept { return pid_; }
  // Kills the process, and every process it started, at once.
  void End();

 private:
  bool TakeBufferedLine(std::string& line);

  pid_t pid_ = -1;
  int toPlugin_ = -1;
  int fromPlugin_ = -1;
  std::string buffer_;
  bool endedWell_ = false;
};

}  // namespace director
