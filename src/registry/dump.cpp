#include "registry/dump.h"

#include <array>
#include <cstdio>

#include "registry/handles.h"
#include "registry/store.h"

namespace reg {
namespace {

constexpr size_t kIndent = 2;

std::string TextUpToNul(const std::vector<BYTE>& data) {
  std::string text(data.begin(), data.end());
  return text.substr(0, text.find('\0'));
}

std::string HexList(const std::vector<BYTE>& data) {
  std::string list;
  for (BYTE b : data) {
    std::array<char, 4> digits{};
    std::snprintf(digits.data(), digits.size(), " %02x", b);
    list += digits.data();
  }
  return list;
}

std::string DataText(const Value& value) {
  switch (value.type) {
    case REG_SZ:
      // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
      return '"' + TextUpToNul(value.data) + '"';
    case REG_EXPAND_SZ:
      return "expand \"" + TextUpToNul(value.data) + "\"";
    case REG_DWORD:
      if (value.data.size() == sizeof(DWORD)) {
        const auto& b = value.data;
        return "dword " + std::to_string(DWORD{b[0]} | DWORD{b[1]} << 8 | DWORD{b[2]} << 16 | DWORD{b[3]} << 24);
      }
      break;
  }
  return "hex(" + std::to_string(value.type) + ")" + HexList(value.data);
}

void DescribeKey(const Key& key, size_t depth, std::string& text) {
  std::string indent(depth * kIndent, ' ');
  for (const Value& value : key.Values()) {
    std::string name = value.name.empty() ? "(Default)" : "\"" + value.name + "\"";
    text += indent + name + " = " + DataText(value) + "\n";
  }
  for (const Key& subkey : key.subkeys) {
    text += indent + subkey.name + "\n";
    DescribeKey(subkey, depth + 1, text);
  }
}

}  // namespace

LONG DumpTree(HKEY hKey, const char* lpSubKey, std::string& text) {
  return Guarded([&] {
    OpenKey parent = Resolve(hKey);
    Path sub = ParsePath(lpSubKey);
    const Hives& hives = store::Read();
    const Key* key = Descend(KeyOf(hives, parent), sub);
    if (key == nullptr) return ERROR_FILE_NOT_FOUND;
    std::string dump = PathText(Child(parent, sub, KEY_READ)) + "\n";
    DescribeKey(*key, 1, dump);
    text = std::move(dump);
    return ERROR_SUCCESS;
  });
}

}  // namespace reg
