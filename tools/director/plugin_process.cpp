#include "plugin_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace director {
namespace {

struct Pipe {
  int readEnd = -1;
  int writeEnd = -1;
};

Pipe MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
  return {fds[0], fds[1]};
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}

}  // namespace

PluginProcess::PluginProcess(const std::string& program, const std::vector<std::string>& arguments) {
  Pipe input = MakePipe();
  Pipe output = MakePipe();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input.readEnd, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output.writeEnd, STDOUT_FILENO);
  // A group of its own, so that ending it ends whatever it started too.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int failure = posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  CloseFd(input.readEnd);
  CloseFd(output.writeEnd);
  toPlugin_ = input.writeEnd;
  fromPlugin_ = output.readEnd;
  if (failure != 0) {
    pid_ = -1;
    CloseFd(toPlugin_);
    CloseFd(fromPlugin_);
    throw std::runtime_error("cannot start " + program + ": " + std::strerror(failure));
  }
}

PluginProcess::~PluginProcess() {
  CloseFd(toPlugin_);
  CloseFd(fromPlugin_);
  End();
}

bool PluginProcess::Send(std::string_view line) {
  std::string text(line);
  text += '\n';
  size_t written = 0;
  while (toPlugin_ >= 0 && written < text.size()) {
    const ssize_t n = write(toPlugin_, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return toPlugin_ >= 0;
}

bool PluginProcess::TakeBufferedLine(std::string& line) {
  const auto end = buffer_.find('\n');
  if (end == std::string::npos) return false;
  line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

PluginProcess::Read PluginProcess::ReadLine(std::string& line, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!TakeBufferedLine(line)) {
    if (fromPlugin_ < 0) return Read::Ended;
    int wait = -1;
    if (timeoutMs > 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return Read::TimedOut;
      wait = static_cast<int>(left.count());
    }
    pollfd ready{fromPlugin_, POLLIN, 0};
    const int polled = poll(&ready, 1, wait);
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) return Read::TimedOut;
    char chunk[4096];
    const ssize_t n = read(fromPlugin_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      CloseFd(fromPlugin_);
      // A last line without its line feed still counts.
      if (buffer_.empty()) return Read::Ended;
      buffer_ += '\n';
      continue;
    }
    buffer_.append(chunk, static_cast<size_t>(n));
  }
  return Read::Line;
}

void PluginProcess::CloseInput() { CloseFd(toPlugin_); }

std::string PluginProcess::WaitForEnd(int timeoutMs) {
  if (pid_ < 0) return "already ended";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (timeoutMs > 0 && std::chrono::steady_clock::now() >= deadline) {
      End();
      return "did not end in time and was killed";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
  endedWell_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return DescribeStatus(status);
}

void PluginProcess::End() {
  if (pid_ < 0) return;
  kill(-pid_, SIGKILL);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

}  // namespace director
