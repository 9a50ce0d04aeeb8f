#include "registry/format.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "runtime/text.h"

namespace reg {
using Json = nlohmann::ordered_json;

namespace {

constexpr const char* kHexDigits = "0123456789abcdef";

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string HexText(const std::vector<BYTE>& data) {
  std::string text;
  for (BYTE b : data) {
    text += kHexDigits[b >> 4];
    text += kHexDigits[b & 0xF];
  }
  return text;
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

// Adds a member at the end of an object without looking for one of the same name, which the
// JSON library's own insertion does, making a large object quadratic.
Json& Append(Json& object, std::string name, Json value) {
  auto& members = static_cast<Json::object_t::Container&>(object.get_ref<Json::object_t&>());
  return members.emplace_back(std::move(name), std::move(value)).second;
}

template <class Items, class Convert>
void AppendAll(Json& node, const char* member, const Items& items, Convert convert) {
  if (items.empty()) return;
  Json& object = Append(node, member, Json::object());
  for (const auto& item : items) Append(object, item.name, convert(item));
}

Json KeyToJson(const Key& key) {
  Json node = Json::object();
  AppendAll(node, "values", key.Values(), ValueToJson);
  AppendAll(node, "keys", key.subkeys, KeyToJson);
  return node;
}

// The document as the JSON library reads it, each member appended (see Append): a name given
// twice stays twice, for the checks below to refuse.
class DocumentReader final : public nlohmann::json_sax<Json> {
 public:
  explicit DocumentReader(Json& document) : document_(document) {}

  bool null() override { return Put(nullptr) != nullptr; }
  bool boolean(bool value) override { return Put(value) != nullptr; }
  bool number_integer(number_integer_t value) override { return Put(value) != nullptr; }
  bool number_unsigned(number_unsigned_t value) override { return Put(value) != nullptr; }
  bool number_float(number_float_t value, const string_t&) override { return Put(value) != nullptr; }
  bool string(string_t& value) override { return Put(std::move(value)) != nullptr; }
  bool binary(binary_t& value) override { return Put(std::move(value)) != nullptr; }
  bool start_object(std::size_t) override { return Open(Json::object()); }
  bool start_array(std::size_t) override { return Open(Json::array()); }
  bool key(string_t& name) override {
    Append(*open_.back(), std::move(name), nullptr);
    return true;
  }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    throw Malformed(error.what());
  }

 private:
  // Where the value goes: the document, the end of the open array, or the member just named.
  Json* Put(Json value) {
    if (open_.empty()) return &(document_ = std::move(value));
    Json& container = *open_.back();
    if (container.is_array()) return &container.emplace_back(std::move(value));
    return &(container.get_ref<Json::object_t&>().back().second = std::move(value));
  }
  bool Open(Json container) {
    open_.push_back(Put(std::move(container)));
    return true;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }

  Json& document_;
  std::vector<Json*> open_;
};

void ExpectObject(const Json& node, const std::string& where) {
  if (!node.is_object()) throw Malformed(where + " is not a JSON object");
}

void ExpectOnly(const Json& node, const std::vector<std::string_view>& members, const std::string& where) {
  std::vector<std::string_view> met;
  for (const auto& member : node.items()) {
    if (std::find(members.begin(), members.end(), member.key()) == members.end()) {
      throw Malformed(where + " has an unknown member \"" + member.key() + "\"");
    }
    if (std::find(met.begin(), met.end(), member.key()) != met.end()) {
      throw Malformed(where + " has the member \"" + member.key() + "\" twice");
    }
    met.push_back(member.key());
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
  NamesMet names;
  for (const auto& member : values.items()) {
    std::string where = "value \"" + member.key() + "\" of " + KeyWhere(path);
    if (!names.IsNew(key.Values(), member.key())) throw Malformed(where + " is there twice");
    key.Values().push_back(ValueFromJson(member.key(), member.value(), where));
  }
}

Key KeyFromJson(const std::string& name, const Json& node, const std::string& path, int depth);

// Subkeys come in the file's order, and are sorted when that was not the registry's own.
void ReadSubkeys(Key& key, const Json& subkeys, const std::string& path, int depth) {
  ExpectObject(subkeys, "the subkeys of " + KeyWhere(path));
  NamesMet names;
  for (const auto& member : subkeys.items()) {
    std::string subkeyPath = path + "\\" + member.key();
    if (!IsKeyName(member.key())) throw Malformed(KeyWhere(subkeyPath) + " has an invalid name");
    if (!names.IsNew(key.subkeys, member.key())) throw Malformed(KeyWhere(subkeyPath) + " is there twice");
    key.subkeys.push_back(KeyFromJson(member.key(), member.value(), subkeyPath, depth + 1));
  }
  if (!names.InOrder()) key.SortSubkeys();
}

Key KeyFromJson(const std::string& name, const Json& node, const std::string& path, int depth) {
  if (depth > kDeepestKey) throw Malformed(KeyWhere(path) + " lies deeper than " + std::to_string(kDeepestKey) + " levels");
  ExpectObject(node, KeyWhere(path));
  ExpectOnly(node, {"values", "keys"}, KeyWhere(path));
  Key key(name);
  if (auto values = node.find("values"); values != node.end()) ReadValues(key, *values, path);
  if (auto subkeys = node.find("keys"); subkeys != node.end()) ReadSubkeys(key, *subkeys, path, depth);
  return key;
}

}  // namespace

Hives HivesFromDocument(const std::string& text) {
  // The JSON reader takes a NUL byte for the end of its input and would leave the rest unread.
  if (const auto nul = text.find('\0'); nul != std::string::npos) {
    throw Malformed("a NUL byte at offset " + std::to_string(nul));
  }
  Json document;
  DocumentReader reader(document);
  Json::sax_parse(text, &reader);
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

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw Malformed("\"" + std::string(1, c) + "\" is not a hex digit");
}

std::vector<BYTE> HexBytes(std::string_view text) {
  if (text.size() % 2 != 0) throw Malformed("hex data of odd length");
  std::vector<BYTE> data;
  for (size_t i = 0; i < text.size(); i += 2) {
    data.push_back(static_cast<BYTE>(HexDigit(text[i]) << 4 | HexDigit(text[i + 1])));
  }
  return data;
}

bool NamesMet::Remember(std::string_view name) { return upper_.insert(rt::UCase(name)).second; }

}  // namespace reg
