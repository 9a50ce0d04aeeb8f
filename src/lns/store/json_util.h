#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace lns {

// A stored file that is not in the shape its reader expects.
class DamagedData : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `json` when it is an array; DamagedData naming `what` otherwise.
const nlohmann::json& AsArray(const nlohmann::json& json, const char* what);
// The array under `key`; DamagedData when it is missing or not an array.
const nlohmann::json& ArrayAt(const nlohmann::json& json, const char* key);

// The whole number under `key`, of the field's own type: DamagedData naming the key when it is
// missing, not a whole number, or beyond the type's range (never narrowed).
template <class Number>
Number WholeAt(const nlohmann::json& json, const char* key) {
  const nlohmann::json& value = json.at(key);
  if (value.is_number_unsigned() && value.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<Number>::max())) {
    return static_cast<Number>(value.get<uint64_t>());
  }
  if (value.is_number_integer() && !value.is_number_unsigned() && value.get<int64_t>() >= std::numeric_limits<Number>::min() &&
      value.get<int64_t>() <= std::numeric_limits<Number>::max()) {
    return static_cast<Number>(value.get<int64_t>());
  }
  throw DamagedData(std::string(key) + " " + value.dump() + " is not a whole number its field can hold");
}

}  // namespace lns
