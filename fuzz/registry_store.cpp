// The registry file: read through the registry's own calls; a file that reads is rewritten and
// must read back the same, and one that does not is left as it was. What the quick reader takes
// must read the same through the JSON document.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "registry/dump.h"
#include "registry/format.h"
#include "registry/quick_reader.h"
#include "registry/registry.h"

namespace {

namespace fs = std::filesystem;

// Made once; never destroyed, so that the clean-up at exit still knows it.
const fs::path& MachineFolder() {
  static const fs::path* folder = [] {
    auto* made = new fs::path(fs::temp_directory_path() / ("orvex_fuzz_registry_" + std::to_string(getpid())));
    fs::create_directories(*made);
    setenv("ORVEX_MACHINE", made->c_str(), 1);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(MachineFolder(), ignored);
    });
    return made;
  }();
  return *folder;
}

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Both hives as text; false when the registry cannot be read.
bool Dump(std::string& text) {
  text.clear();
  for (reg::HKEY root : {reg::HKEY_LOCAL_MACHINE, reg::HKEY_CURRENT_USER}) {
    if (reg::DumpTree(root, "", text) != reg::ERROR_SUCCESS) return false;
  }
  return true;
}

// Another writer's file, new as the registry's own writes are: the registry sees it at once.
void Lay(const fs::path& file, const std::string& content) {
  const fs::path laid = fs::path(file) += ".laid";
  std::ofstream(laid, std::ios::binary | std::ios::trunc) << content;
  fs::rename(laid, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path file = MachineFolder() / "registry.json";
  const std::string content(reinterpret_cast<const char*>(data), size);
  if (const auto quick = reg::QuickRead(content)) {
    if (reg::HivesToJson(*quick) != reg::HivesToJson(reg::HivesFromDocument(content))) std::abort();
  }
  Lay(file, content);
  std::string before;
  if (!Dump(before)) {
    if (FileText(file) != content) std::abort();
    return 0;
  }
  // A change that leaves every value as it was still rewrites the whole file.
  reg::HKEY key{};
  if (reg::RegOpenKey(reg::HKEY_CURRENT_USER, "FuzzWritten", &key) == reg::ERROR_SUCCESS) {
    reg::RegCloseKey(key);
    return 0;
  }
  if (reg::RegCreateKey(reg::HKEY_CURRENT_USER, "FuzzWritten", &key) != reg::ERROR_SUCCESS) std::abort();
  reg::RegCloseKey(key);
  if (reg::RegDeleteKey(reg::HKEY_CURRENT_USER, "FuzzWritten") != reg::ERROR_SUCCESS) std::abort();
  std::string after;
  if (!Dump(after) || after != before) std::abort();
  return 0;
}
