#include "registry/tree.h"

#include <algorithm>

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

}  // namespace

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
  return *subkeys.insert(place, Key{std::move(subkeyName), {}, {}});
}

void Key::RemoveSubkey(std::string_view gone) {
  if (Key* found = FindSubkey(gone)) subkeys.erase(subkeys.begin() + (found - subkeys.data()));
}

void Key::SortSubkeys() {
  std::sort(subkeys.begin(), subkeys.end(), [](const Key& a, const Key& b) { return NameBefore(a.name, b.name); });
}

const Value* Key::FindValue(std::string_view wanted) const { return FindNamed(values, wanted); }

void Key::SetValue(Value value) {
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
