#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "registry/dump.h"
#include "support/temp_machine.h"
#include "registry/registry.h"

namespace reg::test {

namespace fs = std::filesystem;

// Every test gets its own machine folder and a fresh handle table.
class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.emplace("registry");
    root_ = temp_->Root();
    machine_ = temp_->Machine();
    Reset();
  }
  void TearDown() override {
    Reset();
    temp_.reset();
  }

  static HKEY Create(const char* path, HKEY parent = HKEY_LOCAL_MACHINE) {
    HKEY key{};
    EXPECT_EQ(RegCreateKey(parent, path, &key), ERROR_SUCCESS) << path << ": " << LastFailure();
    return key;
  }

  static LONG SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    return RegSetValueEx(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  }

  // The whole value as stored, or the failing status's text.
  static std::string QueryBytes(HKEY key, const char* name) {
    DWORD size = 0;
    LONG status = RegQueryValueEx(key, name, nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) return StatusText(status);
    std::string data(size, '\0');
    status = RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    return status == ERROR_SUCCESS ? data : StatusText(status);
  }

  static std::vector<std::string> Subkeys(HKEY key) {
    std::vector<std::string> names;
    std::vector<char> name(260);
    for (DWORD i = 0; RegEnumKey(key, i, name.data(), static_cast<DWORD>(name.size())) == ERROR_SUCCESS; ++i) {
      names.emplace_back(name.data());
    }
    return names;
  }

  static std::string Dump(HKEY key = HKEY_LOCAL_MACHINE, const char* path = "") {
    std::string text;
    EXPECT_EQ(DumpTree(key, path, text), ERROR_SUCCESS) << LastFailure();
    return text;
  }

  std::optional<orvex::test::TempMachine> temp_;
  fs::path root_;
  fs::path machine_;
};

}  // namespace reg::test
