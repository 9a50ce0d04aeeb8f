#pragma once

#include <memory>
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

// Values packed one after another into blocks of bytes, as the quick reader keeps them until their
// key is asked for them: a registry of many keys is read without building the values of the keys
// nobody opens.
class ValuePacker {
 public:
  // `values` packed; each pack keeps the block it lies in.
  std::shared_ptr<const char> Pack(const std::vector<Value>& values);

 private:
  std::shared_ptr<char[]> block_;
  size_t blockSize_ = 0;
  size_t used_ = 0;
};

// A key as stored: values in the order first set, subkeys sorted without regard to case.
struct Key {
  explicit Key(std::string keyName);

  std::string name;
  std::vector<Key> subkeys;

  // Unpacks the values on first use.
  const std::vector<Value>& Values() const;
  std::vector<Value>& Values();
  // Values as a ValuePacker packed them, in place of the key's values.
  void KeepPacked(std::shared_ptr<const char> packedValues);

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

 private:
  mutable std::vector<Value> values_;
  mutable std::shared_ptr<const char> packed_;  // the values while not yet unpacked
};

using Path = std::vector<std::string>;

// Keys lie at most this many levels below their root.
inline constexpr int kDeepestKey = 512;

// The key at `path` below `from`, or nullptr when a key on the way is missing.
Key* Descend(Key& from, const Path& path);
const Key* Descend(const Key& from, const Path& path);

struct Hives {
  Key currentUser{""};
  Key localMachine{""};
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
