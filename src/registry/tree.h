#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/registry.h"

namespace reg {

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// A key as stored: values in the order first set, subkeys sorted without regard to case.
struct Key {
  std::string name;
  std::vector<Value> values;
  std::vector<Key> subkeys;

  Key* FindSubkey(std::string_view wanted);
  const Key* FindSubkey(std::string_view wanted) const;
  // The new subkey, put in its place in the order; the caller makes sure it is missing.
  Key& AddSubkey(std::string subkeyName);
  void RemoveSubkey(std::string_view gone);
  // Puts subkeys read in another order into the registry's.
  void SortSubkeys();

  const Value* FindValue(std::string_view wanted) const;
  // Replaces the data and type of a value of that name, keeping its spelling, or adds the value.
  void SetValue(Value value);
};

using Path = std::vector<std::string>;

// Keys lie at most this many levels below their root.
inline constexpr int kDeepestKey = 512;

// The key at `path` below `from`, or nullptr when a key on the way is missing.
Key* Descend(Key& from, const Path& path);
const Key* Descend(const Key& from, const Path& path);

struct Hives {
  Key currentUser;
  Key localMachine;
};

// The roots: their predefined handles, their names in the file and in messages, their keys.
struct Root {
  HKEY handle;
  const char* name;
  Key Hives::*key;
};
inline constexpr Root kRoots[] = {{HKEY_CURRENT_USER, "HKEY_CURRENT_USER", &Hives::currentUser},
                                  {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", &Hives::localMachine}};

bool SameName(std::string_view a, std::string_view b);
// The subkeys' order: names compared byte by byte, upper-cased.
bool NameBefore(std::string_view a, std::string_view b);

// Names must be storable as JSON text: valid UTF-8. A key name is also 1 to 255 characters
// without "\" (a 260-character buffer always holds it).
bool IsKeyName(std::string_view name);

}  // namespace reg
