#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "registry/registry.h"
#include "support/temp_machine.h"

namespace proc::test {

namespace fs = std::filesystem;
using orvex::test::WriteFile;

// Every test gets its own machine folder (children started by the test inherit it).
class TempMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.emplace("process");
    root_ = temp_->Root();
    machine_ = temp_->Machine();
    reg::Reset();
  }
  void TearDown() override {
    reg::Reset();
    temp_.reset();
  }

  std::optional<orvex::test::TempMachine> temp_;
  fs::path root_;
  fs::path machine_;
};

}  // namespace proc::test
