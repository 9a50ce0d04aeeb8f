#include "registry/registry.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "registry/failure.h"
#include "registry/handles.h"
#include "registry/store.h"
#include "runtime/error.h"
#include "runtime/text.h"

namespace reg {
namespace {

struct StatusEntry {
  LONG status;
  const char* text;
};

constexpr StatusEntry kStatusTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_BAD_PATHNAME, "The specified path is invalid."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_NO_MORE_ITEMS, "No more data is available."},
    {ERROR_REGISTRY_CORRUPT, "The registry is corrupted."},
    {ERROR_REGISTRY_IO_FAILED, "An I/O operation initiated by the registry failed unrecoverably."},
    {ERROR_KEY_DELETED, "Illegal operation attempted on a registry key that has been marked for deletion."},
};

std::string ValueName(const char* name) {
  std::string text = name == nullptr ? "" : name;
  if (!rt::IsUtf8(text)) Refuse(ERROR_INVALID_PARAMETER, "A value name must be UTF-8 text");
  return text;
}

// Tells the size; copies the data only when the buffer holds all of it.
LONG CopyOut(const std::vector<BYTE>& data, BYTE* buffer, DWORD* size) {
  if (size == nullptr) return ERROR_SUCCESS;
  DWORD capacity = *size;
  *size = static_cast<DWORD>(data.size());
  if (buffer == nullptr) return ERROR_SUCCESS;
  if (capacity < data.size()) return ERROR_MORE_DATA;
  std::copy(data.begin(), data.end(), buffer);
  return ERROR_SUCCESS;
}

// Creates the keys of `sub` that are missing below the handle's key; whether any was.
bool CreateMissing(Hives& hives, const OpenKey& parent, const Path& sub) {
  Key* key = &KeyOf(hives, parent);
  bool created = false;
  for (const std::string& name : sub) {
    Key* next = key->FindSubkey(name);
    if (next == nullptr) {
      Require(parent, KEY_CREATE_SUB_KEY);
      next = &key->AddSubkey(name);
      created = true;
    }
    key = next;
  }
  return created;
}

// A new handle to the same key keeps that handle's rights: no way round a read-only handle.
REGSAM FullAccessUnlessSameKey(const OpenKey& parent, const Path& sub) {
  return sub.empty() ? parent.access : KEY_ALL_ACCESS;
}

LONG OpenExisting(HKEY hKey, const char* lpSubKey, std::optional<REGSAM> access, HKEY* phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = HKEY{};
  OpenKey parent = Resolve(hKey);
  Path sub = ParsePath(lpSubKey);
  OpenKey key = Child(parent, sub, access.value_or(FullAccessUnlessSameKey(parent, sub)));
  const Hives& hives = store::Read();
  if (Descend(KeyOf(hives, parent), sub) == nullptr) return ERROR_FILE_NOT_FOUND;
  *phkResult = Register(std::move(key));
  return ERROR_SUCCESS;
}

const std::vector<BYTE> kEmptyText{0};

// The facility of COM's error numbers for registry statuses.
constexpr uint32_t StatusFacility = 0x80070000u;

}  // namespace

std::string StatusText(LONG status) {
  for (const StatusEntry& entry : kStatusTexts) {
    if (entry.status == status) return entry.text;
  }
  return "Unknown status " + std::to_string(status) + ".";
}

bool IsStoreFailure(LONG status) { return status == ERROR_REGISTRY_CORRUPT || status == ERROR_REGISTRY_IO_FAILED; }

int32_t ErrorNumberOf(LONG status) { return static_cast<int32_t>(StatusFacility | static_cast<uint32_t>(status)); }

bool IsStoreFailureNumber(int32_t errorNumber) {
  const auto number = static_cast<uint32_t>(errorNumber);
  return (number & 0xFFFF0000u) == StatusFacility && IsStoreFailure(static_cast<LONG>(number & 0xFFFFu));
}

void RaiseIfStoreFailed(LONG status) {
  if (IsStoreFailure(status)) rt::Raise(ErrorNumberOf(status), "registry", LastFailure());
}

LONG RegOpenKey(HKEY hKey, const char* lpSubKey, HKEY* phkResult) {
  return Guarded([&] { return OpenExisting(hKey, lpSubKey, std::nullopt, phkResult); });
}

LONG RegOpenKeyEx(HKEY hKey, const char* lpSubKey, DWORD, REGSAM samDesired, HKEY* phkResult) {
  return Guarded([&] { return OpenExisting(hKey, lpSubKey, samDesired, phkResult); });
}

LONG RegCreateKey(HKEY hKey, const char* lpSubKey, HKEY* phkResult) {
  return Guarded([&] {
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = HKEY{};
    OpenKey parent = Resolve(hKey);
    Path sub = ParsePath(lpSubKey);
    OpenKey key = Child(parent, sub, FullAccessUnlessSameKey(parent, sub));
    store::Change([&](Hives& hives) { return CreateMissing(hives, parent, sub); });
    *phkResult = Register(std::move(key));
    return ERROR_SUCCESS;
  });
}

LONG RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD*, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
  return Guarded([&] {
    if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
    OpenKey key = Resolve(hKey);
    Require(key, KEY_QUERY_VALUE);
    const Hives& hives = store::Read();
    const Value* value = KeyOf(hives, key).FindValue(lpValueName == nullptr ? "" : lpValueName);
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr) *lpType = value->type;
    return CopyOut(value->data, lpData, lpcbData);
  });
}

LONG RegQueryValue(HKEY hKey, const char* lpSubKey, char* lpData, LONG* lpcbData) {
  return Guarded([&] {
    if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
    OpenKey parent = Resolve(hKey);
    Path sub = ParsePath(lpSubKey);
    if (sub.empty()) Require(parent, KEY_QUERY_VALUE);
    const Hives& hives = store::Read();
    const Key* key = Descend(KeyOf(hives, parent), sub);
    if (key == nullptr) return ERROR_FILE_NOT_FOUND;
    const Value* value = key->FindValue("");
    DWORD size = lpcbData == nullptr ? 0 : static_cast<DWORD>(std::max<LONG>(*lpcbData, 0));
    LONG status = CopyOut(value == nullptr ? kEmptyText : value->data, reinterpret_cast<BYTE*>(lpData),
                          lpcbData == nullptr ? nullptr : &size);
    if (lpcbData != nullptr) *lpcbData = static_cast<LONG>(size);
    return status;
  });
}

LONG RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  return Guarded([&] {
    if (lpData == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
    OpenKey key = Resolve(hKey);
    Require(key, KEY_SET_VALUE);
    Value value{ValueName(lpValueName), dwType, {}};
    if (lpData != nullptr) value.data.assign(lpData, lpData + cbData);
    store::Change([&](Hives& hives) {
      KeyOf(hives, key).SetValue(std::move(value));
      return true;
    });
    return ERROR_SUCCESS;
  });
}

LONG RegSetValue(HKEY hKey, const char* lpSubKey, DWORD dwType, const char* lpData, DWORD) {
  return Guarded([&] {
    if (dwType != REG_SZ || lpData == nullptr) return ERROR_INVALID_PARAMETER;
    OpenKey parent = Resolve(hKey);
    Path sub = ParsePath(lpSubKey);
    if (sub.empty()) Require(parent, KEY_SET_VALUE);
    OpenKey key = Child(parent, sub, KEY_ALL_ACCESS);
    std::string_view text(lpData);
    Value value{"", REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
    value.data.push_back(0);
    store::Change([&](Hives& hives) {
      CreateMissing(hives, parent, sub);
      KeyOf(hives, key).SetValue(std::move(value));
      return true;
    });
    return ERROR_SUCCESS;
  });
}

LONG RegEnumKey(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName) {
  return Guarded([&] {
    if (lpName == nullptr) return ERROR_INVALID_PARAMETER;
    OpenKey key = Resolve(hKey);
    Require(key, KEY_ENUMERATE_SUB_KEYS);
    const Hives& hives = store::Read();
    const std::vector<Key>& subkeys = KeyOf(hives, key).subkeys;
    if (dwIndex >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& name = subkeys[dwIndex].name;
    if (name.size() >= cchName) return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), lpName);
    lpName[name.size()] = '\0';
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteKey(HKEY hKey, const char* lpSubKey) {
  return Guarded([&] {
    OpenKey parent = Resolve(hKey);
    Path sub = ParsePath(lpSubKey);
    if (sub.empty()) Refuse(ERROR_ACCESS_DENIED, "A root, or a key through its own handle, cannot be deleted");
    OpenKey doomed = Child(parent, sub, KEY_ALL_ACCESS);
    Path ownerPath(sub.begin(), sub.end() - 1);
    store::Change([&](Hives& hives) {
      Key* owner = Descend(KeyOf(hives, parent), ownerPath);
      const Key* victim = owner == nullptr ? nullptr : owner->FindSubkey(sub.back());
      if (victim == nullptr) Refuse(ERROR_FILE_NOT_FOUND, "The key \"" + PathText(doomed) + "\" does not exist");
      if (!victim->subkeys.empty()) {
        Refuse(ERROR_ACCESS_DENIED, "The key \"" + PathText(doomed) + "\" has subkeys; delete them first");
      }
      owner->RemoveSubkey(sub.back());
      return true;
    });
    return ERROR_SUCCESS;
  });
}

LONG RegCloseKey(HKEY hKey) {
  return Guarded([&] {
    return Close(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  });
}

}  // namespace reg
