#include "process/program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

#include "process/paths.h"
#include "runtime/error.h"

namespace proc {

namespace {

// Programs whose handle went away while they ran; reaped whenever a program is started or ends.
std::vector<pid_t>& Orphans() {
  static std::vector<pid_t> orphans;
  return orphans;
}

void ReapOrphans() {
  std::erase_if(Orphans(), [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool NamesFolder(const std::string& program) { return program.find_first_of("/\\") != std::string::npos; }

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(const std::string& program, const std::vector<char*>& argv, bool searchPath,
                            int errorPipe) {
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  if (searchPath) {
    execvp(program.c_str(), argv.data());
  } else {
    execv(program.c_str(), argv.data());
  }
  const int failure = errno;
  ssize_t ignored = write(errorPipe, &failure, sizeof failure);
  (void)ignored;
  _exit(127);
}

// The child's exec error, or 0 once exec succeeded (the pipe closes on exec).
int ExecError(int readEnd) {
  int failure = 0;
  ssize_t got;
  do {
    got = read(readEnd, &failure, sizeof failure);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof failure) ? failure : 0;
}

int ExitCodeOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

Program Program::Start(const std::vector<std::string>& arguments) {
  ReapOrphans();
  if (arguments.empty()) rt::Raise(rt::err::InvalidProcedureCall);
  const bool searchPath = !NamesFolder(arguments[0]);
  const std::string program = searchPath ? arguments[0] : ResolvePath(arguments[0]).string();
  std::vector<std::string> args = arguments;
  args[0] = program;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int errorPipe[2];
  if (pipe2(errorPipe, O_CLOEXEC) != 0) rt::Raise(rt::err::FileNotFound, {}, "File not found: " + program);
  const pid_t pid = fork();
  if (pid == 0) {
    close(errorPipe[0]);
    ExecChild(program, argv, searchPath, errorPipe[1]);
  }
  close(errorPipe[1]);
  const int failure = pid < 0 ? errno : ExecError(errorPipe[0]);
  close(errorPipe[0]);
  if (failure != 0) {
    if (pid > 0) waitpid(pid, nullptr, 0);
    rt::Raise(rt::err::FileNotFound, {}, "File not found: " + program + " (" + std::strerror(failure) + ")");
  }
  return Program(pid);
}

Program::Program(Program&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), exitCode_(std::move(other.exitCode_)) {}

Program& Program::operator=(Program&& other) noexcept {
  if (this != &other) {
    Program old(std::move(*this));
    pid_ = std::exchange(other.pid_, -1);
    exitCode_ = std::move(other.exitCode_);
  }
  return *this;
}

Program::~Program() {
  if (pid_ > 0 && !exitCode_) Orphans().push_back(pid_);
  ReapOrphans();
}

std::optional<int> Program::Wait(std::chrono::milliseconds limit) {
  if (exitCode_ || pid_ <= 0) return exitCode_;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) return exitCode_ = ExitCodeOf(status);
    if (done < 0 && errno != EINTR) return exitCode_ = -1;  // reaped elsewhere: its code is lost
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace proc
