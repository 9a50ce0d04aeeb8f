#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "registry/dump.h"
#include "registry/registry.h"

namespace reg::test {

namespace fs = std::filesystem;

// Every test gets its own machine folder and a fresh handle table.
class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvex_registry_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    machine_ = root_ / "machine";
    setenv("ORVEX_MACHINE", machine_.c_str(), 1);
    Reset();
  }
  void TearDown() override {
    Reset();
    unsetenv("ORVEX_MACHINE");
    fs::remove_all(root_);
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

  fs::path root_;
  fs::path machine_;
};

}  // namespace reg::test
