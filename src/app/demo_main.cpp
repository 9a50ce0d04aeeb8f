// The demo: registers the plug-in on the simulated machine as an installer would
// ("orvexuc_fcu /regplugin") and shows the registry entries that made.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "process/program.h"
#include "registry/dump.h"
#include "registry/machine.h"
#include "registry/registry.h"

namespace {

constexpr const char* PlugInKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In";
constexpr const char* ClassKey = "SOFTWARE\\Classes\\OrvexUC_FCU.LNSPlugInAPI";
constexpr auto RegistrationWait = std::chrono::seconds(10);

std::filesystem::path PlugInProgram() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "orvexuc_fcu";
}

bool KeyExists(const char* key) {
  reg::HKEY handle{};
  if (reg::RegOpenKey(reg::HKEY_LOCAL_MACHINE, key, &handle) != reg::ERROR_SUCCESS) return false;
  reg::RegCloseKey(handle);
  return true;
}

// The plug-in starts its COM self-registration without waiting for it.
bool WaitForKey(const char* key) {
  const auto deadline = std::chrono::steady_clock::now() + RegistrationWait;
  while (!KeyExists(key)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

void Show(const char* key) {
  std::string tree;
  const reg::LONG status = reg::DumpTree(reg::HKEY_LOCAL_MACHINE, key, tree);
  if (status != reg::ERROR_SUCCESS) {
    std::cout << key << ": " << reg::StatusText(status) << "\n\n";
    return;
  }
  std::cout << tree << "\n";
}

}  // namespace

int main() {
  std::cout << "Simulated machine: " << reg::MachineFolder().string() << "\n";
  const std::string program = PlugInProgram().string();
  std::cout << "Running: " << program << " /regplugin\n\n";
  try {
    auto run = proc::Program::Start({program, "/regplugin"});
    const std::optional<int> exitCode = run.Wait(std::chrono::milliseconds(30000));
    if (exitCode != 0) {
      std::cerr << "orvexuc_fcu /regplugin did not end normally\n";
      return 1;
    }
  } catch (const std::exception& failure) {
    std::cerr << "Cannot start " << program << ": " << failure.what() << "\n";
    return 1;
  }
  if (!WaitForKey(ClassKey)) std::cerr << "The COM class registration did not appear in time.\n";
  std::cout << "The plug-in key (read by LNS directors):\n";
  Show(PlugInKey);
  std::cout << "The COM class registration (written by orvexuc_fcu /regserver):\n";
  Show(ClassKey);
  return 0;
}
