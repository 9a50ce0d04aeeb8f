#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvex::test {

// A simulated machine of its own for one test: ORVEX_MACHINE points at `Machine()` while the
// object lives (programs the test starts inherit it); the previous value comes back and the
// folder is removed afterwards.
class TempMachine {
 public:
  explicit TempMachine(std::string_view tag);
  ~TempMachine();
  TempMachine(const TempMachine&) = delete;
  TempMachine& operator=(const TempMachine&) = delete;

  // The test's own folder; the machine folder lies inside it, so a test can keep files beside it.
  const std::filesystem::path& Root() const noexcept { return root_; }
  std::filesystem::path Machine() const { return root_ / "machine"; }

 private:
  std::filesystem::path root_;
  std::optional<std::string> previous_;
};

// Writes `text` to `path`, making the folders on the way.
void WriteFile(const std::filesystem::path& path, const std::string& text);
// The whole content of `path`; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace orvex::test
