#include "support/temp_machine.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvex::test {

TempMachine::TempMachine(std::string_view tag) {
  if (const char* value = std::getenv("ORVEX_MACHINE")) previous_ = value;
  std::string pattern = (std::filesystem::temp_directory_path() / ("orvex_" + std::string(tag) + "_XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder: " + pattern);
  root_ = pattern;
  ::setenv("ORVEX_MACHINE", Machine().c_str(), 1);
}

TempMachine::~TempMachine() {
  if (previous_) {
    ::setenv("ORVEX_MACHINE", previous_->c_str(), 1);
  } else {
    ::unsetenv("ORVEX_MACHINE");
  }
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace orvex::test
