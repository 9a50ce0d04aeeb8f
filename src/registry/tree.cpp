#include "registry/tree.h"

#include <algorithm>

#include "runtime/text.h"

namespace reg {
namespace {

bool NameBefore(const Key& key, const std::string& upperName) { return rt::UCase(key.name) < upperName; }

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

Key* Key::FindSubkey(std::string_view wanted) { return FindNamed(subkeys, wanted); }

const Key* Key::FindSubkey(std::string_view wanted) const { return FindNamed(subkeys, wanted); }

Key& Key::AddSubkey(std::string subkeyName) {
  auto place = std::lower_bound(subkeys.begin(), subkeys.end(), rt::UCase(subkeyName), NameBefore);
  return *subkeys.insert(place, Key{std::move(subkeyName), {}, {}});
}

void Key::RemoveSubkey(std::string_view gone) {
  auto found = Named(subkeys, gone);
  if (found != subkeys.end()) subkeys.erase(found);
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
