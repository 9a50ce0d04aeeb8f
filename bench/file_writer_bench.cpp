// One file replaced whole (rt::ReplaceFile) in a folder that holds 10, 1,000, 10,000 or 100,000
// other files; the cost of a write should not grow with its folder (docs/performance.md).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "runtime/file_writer.h"
#include "support/temp_machine.h"

namespace {

namespace fs = std::filesystem;

class FilledFolder {
 public:
  explicit FilledFolder(int files) : folder_(machine_.Root() / "folder") {
    fs::create_directories(folder_);
    for (int file = 0; file < files; ++file) {
      const fs::path name = folder_ / ("unit" + std::to_string(file) + ".xif");
      const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) throw std::runtime_error("cannot lay " + name.string());
      ::close(fd);
    }
    // Otherwise the first timed writes' syncs would pay for writing out the files just laid.
    const int folderFd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0 || ::syncfs(folderFd) != 0) throw std::runtime_error("cannot sync " + folder_.string());
    ::close(folderFd);
  }
  fs::path Target() const { return folder_ / "registry.json"; }

 private:
  orvex::test::TempMachine machine_{"file_writer_bench"};
  fs::path folder_;
};

// range(0): the files already in the folder.
void ReplaceFileInFolder(benchmark::State& state) {
  const FilledFolder folder(static_cast<int>(state.range(0)));
  const std::string bytes(4096, 'x');
  for (auto _ : state) {
    if (rt::ReplaceFile(folder.Target(), bytes)) throw std::runtime_error("the write failed");
  }
}

}  // namespace

BENCHMARK(ReplaceFileInFolder)
    ->ArgName("files")
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

BENCHMARK_MAIN();
