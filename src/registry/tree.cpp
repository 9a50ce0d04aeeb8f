#include "registry/tree.h"

#include <algorithm>
#include <utility>

#include "runtime/text.h"

namespace reg {
namespace {

// ASCII only, as the names' comparison: the machine's locale never changes the order.
unsigned char Folded(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool KeyBefore(const Key& key, std::string_view name) { return NameBefore(key.name, name); }

// Works on const and non-const lists alike.
template <class Items>
auto Named(Items& items, std::string_view wanted) {
  return std::find_if(items.begin(), items.end(), [&](const auto& item) { return SameName(item.name, wanted); });
}

template <class Items>
auto* FindNamed(Items& items, std::string_view wanted) {
  auto found = Named(items, wanted);
  return found == items.end() ? nullptr : &*found;
}

// The subkeys are sorted, so a binary search finds one.
template <class Subkeys>
auto PlaceOf(Subkeys& subkeys, std::string_view wanted) {
  return std::lower_bound(subkeys.begin(), subkeys.end(), wanted, KeyBefore);
}

template <class Subkeys>
auto* FindSubkeyIn(Subkeys& subkeys, std::string_view wanted) {
  auto place = PlaceOf(subkeys, wanted);
  return place != subkeys.end() && SameName(place->name, wanted) ? &*place : nullptr;
}

template <class K>
K* DescendFrom(K& from, const Path& path) {
  K* key = &from;
  for (const std::string& name : path) {
    key = key->FindSubkey(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

constexpr size_t kLongestKeyName = 255;

// Packed numbers take seven bits a byte, the last byte's top bit clear: most take one byte.
constexpr unsigned kMoreBytes = 0x80;

size_t NumberSize(size_t number) {
  size_t bytes = 1;
  for (; number >= kMoreBytes; number >>= 7) ++bytes;
  return bytes;
}

char* PutNumber(char* at, size_t number) {
  for (; number >= kMoreBytes; number >>= 7) *at++ = static_cast<char>(number | kMoreBytes);
  *at++ = static_cast<char>(number);
  return at;
}

size_t TakeNumber(const char*& at) {
  size_t number = 0;
  for (unsigned shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*at++);
    number |= static_cast<size_t>(byte & (kMoreBytes - 1)) << shift;
    if (byte < kMoreBytes) return number;
  }
}

// A pack: the count of values, then each value's name, type and data, sizes before bytes.
size_t PackedSize(const std::vector<Value>& values) {
  size_t size = NumberSize(values.size());
  for (const Value& value : values) {
    size += NumberSize(value.name.size()) + value.name.size() + NumberSize(value.type) + NumberSize(value.data.size()) +
            value.data.size();
  }
  return size;
}

std::vector<Value> Unpack(const char* at) {
  std::vector<Value> values(TakeNumber(at));
  for (Value& value : values) {
    const size_t nameSize = TakeNumber(at);
    value.name.assign(at, nameSize);
    at += nameSize;
    value.type = static_cast<DWORD>(TakeNumber(at));
    const size_t dataSize = TakeNumber(at);
    value.data.assign(at, at + dataSize);
    at += dataSize;
  }
  return values;
}

}  // namespace

std::shared_ptr<const char> ValuePacker::Pack(const std::vector<Value>& values) {
  // Blocks are never cleared: only the bytes written are ever touched.
  constexpr size_t kBlockSize = 64 * 1024;
  if (values.empty()) return {};
  const size_t size = PackedSize(values);
  if (blockSize_ - used_ < size) {
    blockSize_ = std::max(size, kBlockSize);
    block_.reset(new char[blockSize_]);
    used_ = 0;
  }
  char* at = PutNumber(block_.get() + used_, values.size());
  for (const Value& value : values) {
    at = std::copy(value.name.begin(), value.name.end(), PutNumber(at, value.name.size()));
    at = PutNumber(at, value.type);
    at = std::copy(value.data.begin(), value.data.end(), PutNumber(at, value.data.size()));
  }
  std::shared_ptr<const char> pack(block_, block_.get() + used_);
  used_ += size;
  return pack;
}

Key::Key(std::string keyName) : name(std::move(keyName)) {}

const std::vector<Value>& Key::Values() const {
  if (packed_) {
    values_ = Unpack(packed_.get());
    packed_.reset();
  }
  return values_;
}

std::vector<Value>& Key::Values() {
  static_cast<const Key&>(*this).Values();
  return values_;
}

void Key::KeepPacked(std::shared_ptr<const char> packedValues) {
  values_.clear();
  packed_ = std::move(packedValues);
}

bool IsKeyName(std::string_view name) {
  return !name.empty() && name.size() <= kLongestKeyName && name.find('\\') == std::string_view::npos && rt::IsUtf8(name);
}

bool SameName(std::string_view a, std::string_view b) { return rt::EqualsNoCase(a, b); }

bool NameBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Folded(x) < Folded(y); });
}

Key* Key::FindSubkey(std::string_view wanted) { return FindSubkeyIn(subkeys, wanted); }

const Key* Key::FindSubkey(std::string_view wanted) const { return FindSubkeyIn(subkeys, wanted); }

Key& Key::AddSubkey(std::string subkeyName) {
  auto place = PlaceOf(subkeys, subkeyName);
  return *subkeys.insert(place, Key(std::move(subkeyName)));
}

void Key::RemoveSubkey(std::string_view gone) {
  if (Key* found = FindSubkey(gone)) subkeys.erase(subkeys.begin() + (found - subkeys.data()));
}

void Key::SortSubkeys() {
  std::sort(subkeys.begin(), subkeys.end(), [](const Key& a, const Key& b) { return NameBefore(a.name, b.name); });
}

const Value* Key::FindValue(std::string_view wanted) const { return FindNamed(Values(), wanted); }

void Key::SetValue(Value value) {
  std::vector<Value>& values = Values();
  auto found = Named(values, value.name);
  if (found == values.end()) {
    values.push_back(std::move(value));
    return;
  }
  found->type = value.type;
  found->data = std::move(value.data);
}

Key* Descend(Key& from, const Path& path) { return DescendFrom(from, path); }

const Key* Descend(const Key& from, const Path& path) { return DescendFrom(from, path); }

}  // namespace reg
