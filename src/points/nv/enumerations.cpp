#include "points/nv/enumerations.h"

namespace points {

std::string Enumeration::TextOf(uint8_t value) const {
  for (const EnumText& entry : texts) {
    if (entry.value == value) return std::string(entry.text);
  }
  return std::string(nullText);
}

uint8_t Enumeration::ValueOf(std::string_view text) const {
  for (const EnumText& entry : texts) {
    if (entry.text == text) return entry.value;
  }
  return NullValue;
}

uint8_t Enumeration::ValueOf(const rt::Variant& value) const {
  return value.IsString() ? ValueOf(value.ToString()) : NullValue;
}

}  // namespace points
