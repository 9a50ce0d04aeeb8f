#include "com/classes.h"

#include <algorithm>
#include <optional>

#include "registry/registry.h"
#include "runtime/error.h"
#include "runtime/text.h"

namespace com {
namespace {

constexpr std::string_view ClassesKey = "SOFTWARE\\Classes\\";
// COM's own code for a failed self-registration.
constexpr int32_t ClassRegistrationFailed = static_cast<int32_t>(0x80040201u);

constexpr size_t LongestKeyName = 256;

std::string ProgIdKey(const ComClass& c) { return std::string(ClassesKey) + c.progId; }
std::string ProgIdClassIdKey(std::string_view progId) { return std::string(ClassesKey) + std::string(progId) + "\\CLSID"; }
std::string ClassIdsKey() { return std::string(ClassesKey) + "CLSID"; }
std::string ClassIdKey(std::string_view classId) { return ClassIdsKey() + "\\" + std::string(classId); }
std::string ClassIdProgIdKey(std::string_view classId) { return ClassIdKey(classId) + "\\ProgID"; }
std::string LocalServerKey(std::string_view classId) { return ClassIdKey(classId) + "\\LocalServer32"; }

std::optional<std::string> ReadDefaultValue(const std::string& key) {
  std::string buffer(LongestKeyName, '\0');
  reg::LONG size = static_cast<reg::LONG>(buffer.size());
  reg::LONG status = reg::RegQueryValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), buffer.data(), &size);
  if (status == reg::ERROR_MORE_DATA) {
    buffer.assign(static_cast<size_t>(size), '\0');
    status = reg::RegQueryValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), buffer.data(), &size);
  }
  reg::RaiseIfStoreFailed(status);
  if (status != reg::ERROR_SUCCESS) return std::nullopt;
  return std::string(buffer.c_str());
}

bool KeyExists(const std::string& key) {
  reg::HKEY handle{};
  const reg::LONG status = reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, key.c_str(), 0, reg::KEY_READ, &handle);
  reg::RaiseIfStoreFailed(status);
  if (status != reg::ERROR_SUCCESS) return false;
  reg::RegCloseKey(handle);
  return true;
}

bool IsRegistered(std::string_view progId, std::string_view classId) {
  const auto registered = ReadDefaultValue(ProgIdClassIdKey(progId));
  return registered && rt::EqualsNoCase(*registered, classId) && KeyExists(LocalServerKey(classId));
}

std::vector<std::string> RegisteredClassIds() {
  std::vector<std::string> ids;
  reg::HKEY classIds{};
  const reg::LONG status = reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, ClassIdsKey().c_str(), 0, reg::KEY_READ, &classIds);
  reg::RaiseIfStoreFailed(status);
  if (status != reg::ERROR_SUCCESS) return ids;
  std::string name(LongestKeyName, '\0');
  for (reg::DWORD i = 0;; ++i) {
    const reg::LONG entry = reg::RegEnumKey(classIds, i, name.data(), LongestKeyName);
    if (entry == reg::ERROR_MORE_DATA) continue;  // no class id is that long
    if (entry != reg::ERROR_SUCCESS) break;
    ids.emplace_back(name.c_str());
  }
  reg::RegCloseKey(classIds);
  return ids;
}

void WriteDefaultValue(const std::string& key, const std::string& text) {
  const reg::LONG status = reg::RegSetValue(reg::HKEY_LOCAL_MACHINE, key.c_str(), reg::REG_SZ, text.c_str(), 0);
  if (status == reg::ERROR_SUCCESS) return;
  reg::RaiseIfStoreFailed(status);
  rt::Raise(ClassRegistrationFailed, "com", "Class registration failed: " + reg::StatusText(status) + " (" + key + ")");
}

// Deepest keys first: the registry refuses to delete a key that still has subkeys.
std::vector<std::string> KeysOf(const ComClass& c) {
  return {LocalServerKey(c.classId), ClassIdProgIdKey(c.classId), ClassIdKey(c.classId), ProgIdClassIdKey(c.progId),
          ProgIdKey(c)};
}

}  // namespace

void ClassTable::Add(ComClass comClass) {
  for (auto& existing : classes_) {
    if (rt::EqualsNoCase(existing.progId, comClass.progId)) {
      existing = std::move(comClass);
      return;
    }
  }
  classes_.push_back(std::move(comClass));
}

const ComClass* ClassTable::Find(std::string_view progId) const {
  for (const auto& comClass : classes_) {
    if (rt::EqualsNoCase(comClass.progId, progId)) return &comClass;
  }
  return nullptr;
}

ClassTable& Classes() {
  static ClassTable table;
  return table;
}

rt::ObjectRef CreateObject(std::string_view progId) {
  const ComClass* comClass = Classes().Find(progId);
  if (!comClass || !IsRegistered(comClass->progId, comClass->classId)) rt::Raise(rt::err::ClassNotRegistered);
  rt::ObjectRef object = comClass->create();
  if (!object) rt::Raise(rt::err::CannotCreateObject);
  return object;
}

void RegisterServer(const std::filesystem::path& program) {
  for (const auto& c : Classes().All()) {
    WriteDefaultValue(ProgIdKey(c), c.description);
    WriteDefaultValue(ProgIdClassIdKey(c.progId), c.classId);
    WriteDefaultValue(ClassIdKey(c.classId), c.description);
    WriteDefaultValue(ClassIdProgIdKey(c.classId), c.progId);
    WriteDefaultValue(LocalServerKey(c.classId), program.string());
  }
}

std::vector<std::string> RegisteredProgIds() {
  std::vector<std::string> progIds;
  for (const std::string& classId : RegisteredClassIds()) {
    const auto progId = ReadDefaultValue(ClassIdProgIdKey(classId));
    if (progId && !progId->empty() && IsRegistered(*progId, classId)) progIds.push_back(*progId);
  }
  std::ranges::sort(progIds);
  return progIds;
}

void UnregisterServer() {
  for (const auto& c : Classes().All()) {
    for (const auto& key : KeysOf(c)) reg::RaiseIfStoreFailed(reg::RegDeleteKey(reg::HKEY_LOCAL_MACHINE, key.c_str()));
  }
}

}  // namespace com
