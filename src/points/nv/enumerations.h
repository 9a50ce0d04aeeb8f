#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/variant.h"

namespace points {

struct EnumText {
  uint8_t value;
  std::string_view text;
};

// An enumeration both ways: values outside the table write as its null text; texts outside it
// (the null text too) read as 255. Texts compare exactly: case-sensitive, untrimmed.
struct Enumeration {
  std::span<const EnumText> texts;
  std::string_view nullText;

  std::string TextOf(uint8_t value) const;
  uint8_t ValueOf(std::string_view text) const;
  // A value read in an enumeration format: only a text can match.
  uint8_t ValueOf(const rt::Variant& value) const;
};

inline constexpr uint8_t NullValue = 255;

inline constexpr std::array<EnumText, 18> HvacModeTexts{{
    {0, "HVAC_AUTO"},         {1, "HVAC_HEAT"},       {2, "HVAC_MRNG_WRMUP"}, {3, "HVAC_COOL"},
    {4, "HVAC_NIGHT_PURGE"},  {5, "HVAC_PRE_COOL"},   {6, "HVAC_OFF"},        {7, "HVAC_TEST"},
    {8, "HVAC_EMERG_HEAT"},   {9, "HVAC_FAN_ONLY"},   {10, "HVAC_FREE_COOL"}, {11, "HVAC_ICE"},
    {12, "HVAC_MAX_HEAT"},    {13, "HVAC_ECONOMY"},   {14, "HVAC_DEHUMID"},   {15, "HVAC_CALIBRATE"},
    {16, "HVAC_EMERG_COOL"},  {17, "HVAC_EMERG_STEAM"},
}};

inline constexpr std::array<EnumText, 4> OccupancyTexts{{
    {0, "OC_OCCUPIED"}, {1, "OC_UNOCCUPIED"}, {2, "OC_BYPASS"}, {3, "OC_STANDBY"}}};

inline constexpr Enumeration HvacModes{HvacModeTexts, "HVAC_NUL"};
inline constexpr Enumeration Occupancies{OccupancyTexts, "OC_NUL"};

}  // namespace points
