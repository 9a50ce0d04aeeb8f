#pragma once

#include <filesystem>

#include "registry/registry.h"
#include "support/temp_machine.h"

namespace automation::testing {

// A fresh, empty machine folder (and so an empty registry) for one test.
class ScopedMachineFolder {
 public:
  ScopedMachineFolder() : temp_("automation") {
    std::filesystem::create_directories(temp_.Machine());
    reg::Reset();
  }
  ~ScopedMachineFolder() { reg::Reset(); }
  ScopedMachineFolder(const ScopedMachineFolder&) = delete;
  ScopedMachineFolder& operator=(const ScopedMachineFolder&) = delete;
  std::filesystem::path Path() const { return temp_.Machine(); }

 private:
  orvex::test::TempMachine temp_;
};

}  // namespace automation::testing
