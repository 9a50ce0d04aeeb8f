#include "host/cregistry.h"

#include <vector>

#include "host/identity.h"
#include "host/key_closer.h"

namespace host {
namespace {

constexpr reg::DWORD KeyNameBufferSize = 260;
constexpr const char* AppletsKey = "SOFTWARE\\LonWorks\\LCA\\Applets\\";

// The status of a call, raised when the registry file itself failed.
reg::LONG Checked(reg::LONG status) {
  reg::RaiseIfStoreFailed(status);
  return status;
}

std::string StripNulls(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string AppletKey(const std::string& section) { return AppletsKey + std::string(PlugInName) + "\\" + section; }

// Closes an opened key however the caller leaves.
std::optional<std::string> QueryStringValue(reg::HKEY root, const std::string& keyPath, const std::string& valueName) {
  reg::HKEY key{};
  if (Checked(reg::RegOpenKey(root, keyPath.c_str(), &key)) != reg::ERROR_SUCCESS) return std::nullopt;
  KeyCloser closer(key);
  reg::DWORD type = 0;
  reg::DWORD size = 0;
  reg::LONG status = Checked(reg::RegQueryValueEx(key, valueName.c_str(), nullptr, &type, nullptr, &size));
  std::string buffer;
  if (status == reg::ERROR_SUCCESS && size != 0 && type == reg::REG_SZ) {
    buffer.assign(size, '\0');
    status = Checked(reg::RegQueryValueEx(key, valueName.c_str(), nullptr, &type,
                                          reinterpret_cast<reg::BYTE*>(buffer.data()), &size));
  }
  if (status != reg::ERROR_SUCCESS || size == 0) return std::nullopt;
  return StripNulls(buffer);
}

bool SetStringValue(reg::HKEY root, const std::string& keyPath, const std::string& valueName, const std::string& text) {
  reg::HKEY key{};
  if (Checked(reg::RegCreateKey(root, keyPath.c_str(), &key)) != reg::ERROR_SUCCESS) return false;
  KeyCloser closer(key);
  return Checked(reg::RegSetValueEx(key, valueName.c_str(), 0, reg::REG_SZ,
                                    reinterpret_cast<const reg::BYTE*>(text.c_str()),
                                    static_cast<reg::DWORD>(text.size() + 1))) == reg::ERROR_SUCCESS;
}

std::optional<std::string> SubkeyName(reg::HKEY key, reg::DWORD index) {
  std::vector<char> name(KeyNameBufferSize, '\0');
  if (Checked(reg::RegEnumKey(key, index, name.data(), KeyNameBufferSize)) != reg::ERROR_SUCCESS) return std::nullopt;
  return std::string(name.data());
}

bool DeleteKeyTree(reg::HKEY parent, const std::string& keyPath) {
  if (Checked(reg::RegDeleteKey(parent, keyPath.c_str())) == reg::ERROR_SUCCESS) return true;
  {
    reg::HKEY key{};
    if (Checked(reg::RegOpenKeyEx(parent, keyPath.c_str(), 0, reg::KEY_ALL_ACCESS, &key)) != reg::ERROR_SUCCESS) {
      return false;
    }
    KeyCloser closer(key);
    while (auto subkey = SubkeyName(key, 0)) {
      if (!DeleteKeyTree(key, *subkey)) break;
    }
  }
  return Checked(reg::RegDeleteKey(parent, keyPath.c_str())) == reg::ERROR_SUCCESS;
}

}  // namespace

CRegistry::~CRegistry() { CloseEnumeration(); }

void CRegistry::CloseEnumeration() {
  if (enumerated_) reg::RegCloseKey(*enumerated_);
  enumerated_.reset();
}

std::string CRegistry::FindFirstMachineKey(const std::string& keyPath) {
  CloseEnumeration();
  reg::HKEY key{};
  if (Checked(reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, reg::KEY_ALL_ACCESS, &key)) !=
      reg::ERROR_SUCCESS) {
    return "";
  }
  enumerated_ = key;
  enumerationIndex_ = 0;
  return GetNextMachineKey();
}

std::string CRegistry::GetNextMachineKey() {
  const reg::DWORD index = static_cast<reg::DWORD>(enumerationIndex_++);
  if (!enumerated_) return "";
  return SubkeyName(*enumerated_, index).value_or("");
}

std::string CRegistry::get_AppSetting(const std::string& section, const std::string& valueName) const {
  return QueryStringValue(reg::HKEY_CURRENT_USER, AppletKey(section), valueName).value_or("");
}

void CRegistry::put_AppSetting(const std::string& section, const std::string& valueName, const std::string& text) {
  SetOrMark(reg::HKEY_CURRENT_USER, AppletKey(section), valueName, text);
}

std::string CRegistry::get_MachineSetting(const std::string& keyPath, const std::string& valueName) const {
  return QueryStringValue(reg::HKEY_LOCAL_MACHINE, keyPath, valueName).value_or("");
}

void CRegistry::put_MachineSetting(const std::string& keyPath, const std::string& valueName, const std::string& text) {
  SetOrMark(reg::HKEY_LOCAL_MACHINE, keyPath, valueName, text);
}

bool CRegistry::DeleteMachineKey(const std::string& keyPath) { return DeleteKeyTree(reg::HKEY_LOCAL_MACHINE, keyPath); }

void CRegistry::SetOrMark(reg::HKEY root, const std::string& keyPath, const std::string& valueName,
                          const std::string& text) {
  if (!SetStringValue(root, keyPath, valueName, text)) errorNumber_ = WriteFailed;
}

}  // namespace host
