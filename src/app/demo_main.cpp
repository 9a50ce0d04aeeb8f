// The demo: a round trip through the registry stand-in on the simulated machine.
#include <cstring>
#include <iostream>
#include <string>

#include "registry/dump.h"
#include "registry/machine.h"
#include "registry/registry.h"

namespace {

constexpr const char* kDemoKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Demo";

bool Check(reg::LONG status, const char* what) {
  if (status == reg::ERROR_SUCCESS) return true;
  std::cerr << what << " failed: " << reg::StatusText(status) << " " << reg::LastFailure() << "\n";
  return false;
}

bool SetText(reg::HKEY key, const char* name, const std::string& text) {
  return Check(reg::RegSetValueEx(key, name, 0, reg::REG_SZ, reinterpret_cast<const reg::BYTE*>(text.c_str()),
                                  static_cast<reg::DWORD>(text.size() + 1)),
               name);
}

}  // namespace

int main() {
  std::cout << "Simulated machine: " << reg::MachineFolder().string() << "\n\n";
  reg::HKEY key{};
  if (!Check(reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, kDemoKey, &key), "RegCreateKey")) return 1;
  bool written = SetText(key, nullptr, "OrvexUC_FCU.LNSPlugInAPI") && SetText(key, "Version", "1.1") &&
                 SetText(key, "LcaVersion", "3.0");
  reg::RegCloseKey(key);
  if (!written) return 1;

  std::string tree;
  if (!Check(reg::DumpTree(reg::HKEY_LOCAL_MACHINE, kDemoKey, tree), "DumpTree")) return 1;
  std::cout << tree << "\n";
  if (!Check(reg::RegDeleteKey(reg::HKEY_LOCAL_MACHINE, kDemoKey), "RegDeleteKey")) return 1;
  std::cout << "Removed again: " << kDemoKey << "\n";
  return 0;
}
