#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "registry/registry.h"

namespace host {

// The program's wrapper around the registry: string values of the local machine and of the
// plug-in's applet settings of the current user, subkey enumeration and whole-tree deletion.
// No member raises for a failed call; a damaged or unreadable registry file is raised as such
// (reg::RaiseIfStoreFailed), so that it is never taken for a missing key.
class CRegistry {
 public:
  // The error number a failed Let leaves behind.
  static constexpr int32_t WriteFailed = static_cast<int32_t>(0x80040201u);

  CRegistry() = default;
  ~CRegistry();
  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  std::string FindFirstMachineKey(const std::string& keyPath);
  std::string GetNextMachineKey();
  std::string get_AppSetting(const std::string& section, const std::string& valueName) const;
  void put_AppSetting(const std::string& section, const std::string& valueName, const std::string& text);
  std::string get_MachineSetting(const std::string& keyPath, const std::string& valueName) const;
  void put_MachineSetting(const std::string& keyPath, const std::string& valueName, const std::string& text);
  bool DeleteMachineKey(const std::string& keyPath);

  // 0, or WriteFailed after a Let that failed.
  int32_t ErrorNumber() const noexcept { return errorNumber_; }

 private:
  void CloseEnumeration();
  void SetOrMark(reg::HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& text);

  std::optional<reg::HKEY> enumerated_;
  int32_t enumerationIndex_ = 0;
  int32_t errorNumber_ = 0;
};

}  // namespace host
