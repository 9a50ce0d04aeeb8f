#include "registry/store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <system_error>

#include "registry/failure.h"
#include "registry/machine.h"
#include "runtime/descriptor.h"
#include "runtime/file_writer.h"
#include "runtime/text.h"

namespace reg {
namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

namespace {

constexpr const char* kHexDigits = "0123456789abcdef";

// The file's content does not describe a registry.
class Malformed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string SystemText(int error) { return std::generic_category().message(error); }

[[noreturn]] void Unreadable(const fs::path& file, int error) {
  Refuse(ERROR_REGISTRY_IO_FAILED, "The registry file \"" + file.string() + "\" cannot be read: " + SystemText(error));
}

[[noreturn]] void Unwritable(const fs::path& file, int error) {
  Refuse(ERROR_REGISTRY_IO_FAILED,
         "The registry file \"" + file.string() + "\" cannot be written, nothing was changed: " + SystemText(error));
}

bool TakeLock(int fd) {
  int result = 0;
  do {
    result = flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Held while a change reads, alters and writes the file; the file itself is replaced whole, so
// the lock lives on a file of its own.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const fs::path& lockFile) : fd_(open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_.Get() < 0 || !TakeLock(fd_.Get())) {
      Refuse(ERROR_REGISTRY_IO_FAILED,
             "The registry lock \"" + lockFile.string() + "\" cannot be taken: " + SystemText(errno));
    }
  }

 private:
  rt::Descriptor fd_;
};

std::optional<std::string> ReadWhole(const fs::path& file) {
  rt::Descriptor fd(open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    Unreadable(file, errno);
  }
  std::string text;
  std::array<char, 65536> chunk;
  for (;;) {
    ssize_t count = read(fd.Get(), chunk.data(), chunk.size());
    if (count == 0) return text;
    if (count > 0) {
      text.append(chunk.data(), static_cast<size_t>(count));
    } else if (errno != EINTR) {
      Unreadable(file, errno);
    }
  }
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string HexText(const std::vector<BYTE>& data) {
  std::string text;
  for (BYTE b : data) {
    text += kHexDigits[b >> 4];
    text += kHexDigits[b & 0xF];
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw Malformed("\"" + std::string(1, c) + "\" is not a hex digit");
}

std::vector<BYTE> HexBytes(const std::string& text) {
  if (text.size() % 2 != 0) throw Malformed("hex data of odd length");
  std::vector<BYTE> data;
  for (size_t i = 0; i < text.size(); i += 2) {
    data.push_back(static_cast<BYTE>(HexDigit(text[i]) << 4 | HexDigit(text[i + 1])));
  }
  return data;
}

Json ValueToJson(const Value& value) {
  std::string bytes(value.data.begin(), value.data.end());
  Json stored{{"type", value.type}};
  if (IsText(value.type) && rt::IsUtf8(bytes)) {
    stored["text"] = bytes;
  } else {
    stored["hex"] = HexText(value.data);
  }
  return stored;
}

Json KeyToJson(const Key& key) {
  Json node = Json::object();
  for (const Value& value : key.values) node["values"][value.name] = ValueToJson(value);
  for (const Key& subkey : key.subkeys) node["keys"][subkey.name] = KeyToJson(subkey);
  return node;
}

void ExpectObject(const Json& node, const std::string& where) {
  if (!node.is_object()) throw Malformed(where + " is not a JSON object");
}

void ExpectOnly(const Json& node, const std::vector<std::string_view>& members, const std::string& where) {
  for (const auto& member : node.items()) {
    if (std::find(members.begin(), members.end(), member.key()) == members.end()) {
      throw Malformed(where + " has an unknown member \"" + member.key() + "\"");
    }
  }
}

DWORD TypeFromJson(const Json& stored, const std::string& where) {
  auto type = stored.find("type");
  if (type == stored.end() || !type->is_number_unsigned() || type->get<uint64_t>() > UINT32_MAX) {
    throw Malformed(where + " has no valid \"type\"");
  }
  return type->get<DWORD>();
}

std::vector<BYTE> DataFromJson(const Json& stored, const std::string& where) {
  auto text = stored.find("text");
  auto hex = stored.find("hex");
  if ((text == stored.end()) == (hex == stored.end())) throw Malformed(where + " needs either \"text\" or \"hex\"");
  const Json& data = text != stored.end() ? *text : *hex;
  if (!data.is_string()) throw Malformed(where + " has data that is not a JSON string");
  const std::string& chars = data.get_ref<const std::string&>();
  if (text != stored.end()) return {chars.begin(), chars.end()};
  try {
    return HexBytes(chars);
  } catch (const Malformed& bad) {
    throw Malformed(where + ": " + bad.what());
  }
}

Value ValueFromJson(const std::string& name, const Json& stored, const std::string& where) {
  ExpectObject(stored, where);
  ExpectOnly(stored, {"type", "text", "hex"}, where);
  return Value{name, TypeFromJson(stored, where), DataFromJson(stored, where)};
}

std::string KeyWhere(const std::string& path) { return "key \"" + path + "\""; }

void ReadValues(Key& key, const Json& values, const std::string& path) {
  ExpectObject(values, "the values of " + KeyWhere(path));
  for (const auto& member : values.items()) {
    std::string where = "value \"" + member.key() + "\" of " + KeyWhere(path);
    if (key.FindValue(member.key()) != nullptr) throw Malformed(where + " is there twice");
    key.values.push_back(ValueFromJson(member.key(), member.value(), where));
  }
}

Key KeyFromJson(const std::string& name, const Json& node, const std::string& path, int depth);

void ReadSubkeys(Key& key, const Json& subkeys, const std::string& path, int depth) {
  ExpectObject(subkeys, "the subkeys of " + KeyWhere(path));
  for (const auto& member : subkeys.items()) {
    std::string subkeyPath = path + "\\" + member.key();
    if (!IsKeyName(member.key())) throw Malformed(KeyWhere(subkeyPath) + " has an invalid name");
    if (key.FindSubkey(member.key()) != nullptr) throw Malformed(KeyWhere(subkeyPath) + " is there twice");
    Key subkey = KeyFromJson(member.key(), member.value(), subkeyPath, depth + 1);
    key.AddSubkey(member.key()) = std::move(subkey);
  }
}

Key KeyFromJson(const std::string& name, const Json& node, const std::string& path, int depth) {
  if (depth > kDeepestKey) throw Malformed(KeyWhere(path) + " lies deeper than " + std::to_string(kDeepestKey) + " levels");
  ExpectObject(node, KeyWhere(path));
  ExpectOnly(node, {"values", "keys"}, KeyWhere(path));
  Key key{name, {}, {}};
  if (auto values = node.find("values"); values != node.end()) ReadValues(key, *values, path);
  if (auto subkeys = node.find("keys"); subkeys != node.end()) ReadSubkeys(key, *subkeys, path, depth);
  return key;
}

Hives HivesFromJson(const std::string& text) {
  // The JSON reader takes a NUL byte for the end of its input and would leave the rest unread.
  if (const auto nul = text.find('\0'); nul != std::string::npos) {
    throw Malformed("a NUL byte at offset " + std::to_string(nul));
  }
  Json document;
  try {
    document = Json::parse(text);
  } catch (const Json::parse_error& bad) {
    throw Malformed(bad.what());
  }
  std::vector<std::string_view> rootNames;
  for (const Root& root : kRoots) rootNames.push_back(root.name);
  ExpectObject(document, "the document");
  ExpectOnly(document, rootNames, "the document");
  Hives hives;
  for (const Root& root : kRoots) {
    auto node = document.find(root.name);
    if (node != document.end()) hives.*root.key = KeyFromJson(root.name, *node, root.name, 0);
  }
  return hives;
}

std::string HivesToJson(const Hives& hives) {
  Json document = Json::object();
  for (const Root& root : kRoots) document[root.name] = KeyToJson(hives.*root.key);
  return document.dump(2) + "\n";
}

Hives Load(const fs::path& file) {
  std::optional<std::string> text = ReadWhole(file);
  if (!text) return Hives{};
  try {
    return HivesFromJson(*text);
  } catch (const Malformed& bad) {
    Refuse(ERROR_REGISTRY_CORRUPT,
           "The registry file \"" + file.string() + "\" is damaged and was left as it is: " + bad.what());
  }
}

}  // namespace

fs::path RegistryFile() { return MachineFolder() / "registry.json"; }

namespace store {

Hives Read() { return Load(RegistryFile()); }

void Change(const std::function<bool(Hives&)>& change) {
  fs::path file = RegistryFile();
  ExclusiveLock lock(file.parent_path() / "registry.lock");
  Hives hives = Load(file);
  if (!change(hives)) return;
  if (const std::error_code error = rt::ReplaceFile(file, HivesToJson(hives))) Unwritable(file, error.value());
}

}  // namespace store
}  // namespace reg
