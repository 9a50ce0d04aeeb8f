#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace automation {

// Reads request lines from a file descriptor on its own thread, so that the UI thread's event
// loop keeps running (timers, modal waits) while the director is silent.
class InputReader {
 public:
  // Longer lines are refused rather than buffered without end.
  static constexpr size_t MaxLineBytes = 1 << 20;

  struct Callbacks {
    std::function<void(std::string line)> line;  // never a blank line or a comment
    std::function<void()> overlong;  // a line over the limit, dropped
    std::function<void()> ended;     // end of input (or a read error)
  };

  // The callbacks run on the reader thread. One that blocks holds the reading back (the input's
  // writer then waits); it must be released before Stop.
  InputReader(int fd, Callbacks callbacks);
  InputReader(const InputReader&) = delete;
  InputReader& operator=(const InputReader&) = delete;
  // Stops reading (if the input has not ended) and waits for the thread; no callback runs after
  // it. A second call does nothing.
  void Stop();
  ~InputReader();

 private:
  void ReadUntilEnd();
  // Hands on every whole line from `searchFrom` on and keeps the rest.
  void TakeLines(std::string& buffer, size_t searchFrom, bool& skippingOverlong);
  // One line to its callback; blank lines and comments get none.
  void Hand(std::string_view line);

  int fd_;
  int stopPipe_[2] = {-1, -1};
  Callbacks callbacks_;
  std::thread thread_;
  bool stopped_ = false;
};

}  // namespace automation
