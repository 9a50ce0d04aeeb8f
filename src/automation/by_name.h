#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "automation/protocol_error.h"
#include "automation/request.h"
#include "runtime/text.h"

namespace automation {

// One entry of a table of values a request names by text.
template <class Value>
struct Named {
  std::string_view name;
  Value value;
};

// The value a request's text field names (letter case ignored); error 9 for another text. With
// a fallback, a missing field gives the fallback.
template <class Value, size_t N>
Value ByName(const std::array<Named<Value>, N>& table, const Request& request, std::string_view field,
             std::string_view what, std::optional<Value> fallback = std::nullopt) {
  if (fallback && !request.Has(field)) return *fallback;
  const std::string name = request.Text(field);
  for (const auto& entry : table) {
    if (rt::EqualsNoCase(entry.name, name)) return entry.value;
  }
  RaiseUnknown(what, name);
}

}  // namespace automation
