#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "registry/registry.h"

namespace proc::test {

namespace fs = std::filesystem;

// Every test gets its own machine folder (children started by the test inherit it).
class TempMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvex_process_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    machine_ = root_ / "machine";
    setenv("ORVEX_MACHINE", machine_.c_str(), 1);
    reg::Reset();
  }
  void TearDown() override {
    reg::Reset();
    unsetenv("ORVEX_MACHINE");
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  fs::path root_;
  fs::path machine_;
};

}  // namespace proc::test
