#include "registered_classes.h"

#include <algorithm>
#include <optional>

#include "registry/registry.h"
#include "runtime/text.h"

namespace director {
namespace {

const std::string ClassesKey = "SOFTWARE\\Classes\\";
const std::string ClassIdsKey = ClassesKey + "CLSID";
constexpr reg::DWORD LongestKeyName = 256;

std::optional<std::string> DefaultValue(const std::string& key) {
  std::string buffer(LongestKeyName, '\0');
  reg::LONG size = static_cast<reg::LONG>(buffer.size());
  reg::LONG status = reg::RegQueryValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), buffer.data(), &size);
  if (status == reg::ERROR_MORE_DATA) {
    buffer.assign(static_cast<size_t>(size), '\0');
    status = reg::RegQueryValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), buffer.data(), &size);
  }
  if (status != reg::ERROR_SUCCESS) return std::nullopt;
  return std::string(buffer.c_str());
}

bool KeyExists(const std::string& key) {
  reg::HKEY handle{};
  if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, key.c_str(), 0, reg::KEY_READ, &handle) != reg::ERROR_SUCCESS) {
    return false;
  }
  reg::RegCloseKey(handle);
  return true;
}

std::vector<std::string> ClassIds() {
  std::vector<std::string> ids;
  reg::HKEY classIds{};
  if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, ClassIdsKey.c_str(), 0, reg::KEY_READ, &classIds) !=
      reg::ERROR_SUCCESS) {
    return ids;
  }
  std::string name(LongestKeyName, '\0');
  for (reg::DWORD i = 0;; ++i) {
    const reg::LONG status = reg::RegEnumKey(classIds, i, name.data(), LongestKeyName);
    if (status == reg::ERROR_MORE_DATA) continue;  // no class id is that long
    if (status != reg::ERROR_SUCCESS) break;
    ids.emplace_back(name.c_str());
  }
  reg::RegCloseKey(classIds);
  return ids;
}

// The ProgID the class id is registered under, when the registration is whole.
std::optional<std::string> ProgIdOf(const std::string& classId) {
  const std::string classKey = ClassIdsKey + "\\" + classId;
  const std::optional<std::string> progId = DefaultValue(classKey + "\\ProgID");
  if (!progId || progId->empty() || !KeyExists(classKey + "\\LocalServer32")) return std::nullopt;
  const std::optional<std::string> named = DefaultValue(ClassesKey + *progId + "\\CLSID");
  if (!named || !rt::EqualsNoCase(*named, classId)) return std::nullopt;
  return progId;
}

}  // namespace

std::vector<std::string> RegisteredProgIds() {
  std::vector<std::string> progIds;
  for (const std::string& classId : ClassIds()) {
    if (const auto progId = ProgIdOf(classId)) progIds.push_back(*progId);
  }
  std::ranges::sort(progIds);
  return progIds;
}

}  // namespace director
