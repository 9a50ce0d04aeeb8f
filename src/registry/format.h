#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "registry/tree.h"

// The registry file's content: one JSON document with both hives.
namespace reg {

// The file's content does not describe a registry.
class Malformed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Through a JSON document, slower than the quick reader: what decides where it gives up. Raises
// Malformed, telling what is wrong first.
Hives HivesFromDocument(const std::string& text);
std::string HivesToJson(const Hives& hives);

// A hex digit's value, of either case, and the bytes of hex data, two digits a byte; raise Malformed.
int HexDigit(char c);
std::vector<BYTE> HexBytes(std::string_view text);

// A key's values or subkeys as a reader meets them in the file, to find a name given twice without
// regard to case. While the names come in the registry's order only the last one can match; after
// that the upper-cased names met are kept.
class NamesMet {
 public:
  template <class Items>  // values or subkeys read so far
  bool IsNew(const Items& items, std::string_view name) {
    if (upper_.empty()) {
      if (items.empty() || NameBefore(items.back().name, name)) return true;
      for (const auto& item : items) Remember(item.name);
    }
    return Remember(name);
  }
  bool InOrder() const { return upper_.empty(); }

 private:
  bool Remember(std::string_view name);

  std::unordered_set<std::string> upper_;
};

}  // namespace reg
