#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "registry/registry.h"

namespace automation::testing {

// A fresh, empty machine folder (and so an empty registry) for one test.
class ScopedMachineFolder {
 public:
  ScopedMachineFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("orvex-automation-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    ::setenv("ORVEX_MACHINE", path_.c_str(), 1);
    reg::Reset();
  }
  ~ScopedMachineFolder() {
    reg::Reset();
    ::unsetenv("ORVEX_MACHINE");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedMachineFolder(const ScopedMachineFolder&) = delete;
  ScopedMachineFolder& operator=(const ScopedMachineFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

}  // namespace automation::testing
