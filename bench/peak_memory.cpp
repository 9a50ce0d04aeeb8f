// peak_memory FILE PROGRAM [ARGUMENTS...]: runs PROGRAM on this process's standard input, output
// and error and, when it has ended, writes its peak resident memory in KiB to FILE (what the
// kernel keeps as the process's VmHWM and wait4 reports). Ends as PROGRAM ended.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: peak_memory FILE PROGRAM [ARGUMENTS...]\n";
    return 2;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::execv(argv[2], argv + 2);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return 2;
  std::ofstream(argv[1]) << usage.ru_maxrss << "\n";
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
