#include "automation/input_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace automation {

InputReader::InputReader(int fd, Callbacks callbacks) : fd_(fd), callbacks_(std::move(callbacks)) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("cannot make the reader's stop pipe");
  thread_ = std::thread([this] { ReadUntilEnd(); });
}

void InputReader::Stop() {
  if (stopped_) return;
  stopped_ = true;
  const char stop = 's';
  while (write(stopPipe_[1], &stop, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
}

InputReader::~InputReader() {
  Stop();
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

void InputReader::ReadUntilEnd() {
  std::string buffer;
  bool skippingOverlong = false;
  for (;;) {
    pollfd watched[2] = {{fd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (watched[1].revents != 0) return;
    char chunk[4096];
    const ssize_t n = read(fd_, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) break;
    buffer.append(chunk, static_cast<size_t>(n));
    TakeLines(buffer, skippingOverlong);
  }
  // A last line without its line feed still counts.
  if (!buffer.empty() && !skippingOverlong) callbacks_.line(std::move(buffer));
  callbacks_.ended();
}

void InputReader::TakeLines(std::string& buffer, bool& skippingOverlong) {
  size_t end;
  while ((end = buffer.find('\n')) != std::string::npos) {
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    if (skippingOverlong) {
      skippingOverlong = false;
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > MaxLineBytes) {
      callbacks_.overlong();
    } else {
      callbacks_.line(std::move(line));
    }
  }
  if (buffer.size() > MaxLineBytes && !skippingOverlong) {
    skippingOverlong = true;
    callbacks_.overlong();
  }
  if (skippingOverlong) buffer.clear();
}

}  // namespace automation
