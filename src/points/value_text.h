#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/variant.h"

// What every point shares about the value it exchanges with LNS: format names, the raw value
// text (one decimal number per byte, TAB-separated, most significant byte first), the byte
// helpers and the log texts.
namespace points {

inline constexpr char Tab = '\t';

using FormatNames = std::span<const std::string_view>;
inline constexpr std::array<std::string_view, 3> RawFormatNames{"RAW", "Raw", ""};

// Format names compare whole, exactly and case-sensitively: "raw" is not a raw name.
bool IsListed(FormatNames names, std::string_view formatName);
bool IsRawFormat(std::string_view formatName);

// A value as it is measured, searched, cut and quoted: a number by its number text.
std::string ValueText(const rt::Variant& value);

// The low 16 bits of `v` rounded halves to even, high byte first (500 gives 1 and 244, -1 gives
// 255 and 255). Error 6 beyond the signed 32-bit range; `hi` and `lo` are untouched then.
void IntToBytes(double v, uint8_t& hi, uint8_t& lo, std::string_view className);
// A raw 16-bit number: `v` rounded halves to even, then split by IntToBytes. Error 6 when the
// rounded number lies outside the word's range, so that nothing wraps around.
enum class RawWord { Signed, Unsigned };
void WordToBytes(double v, RawWord word, uint8_t& hi, uint8_t& lo, std::string_view className);
// The byte that the last two characters of `s` give as hexadecimal digits; 0, and a log line
// tagged className & ".HexToByte", when they are no hexadecimal digits.
uint8_t HexToByte(std::string_view s, std::string_view className);
// A 16-bit value from its two raw bytes.
int16_t SignedWord(uint8_t hi, uint8_t lo);
int32_t UnsignedWord(uint8_t hi, uint8_t lo);
// One raw byte field by the locale number conversion: error 13 for no number, 6 outside 0-255.
uint8_t ByteField(std::string_view field);

// Joins the pieces, logging logPrefix & the text so far & "<" after each piece and its delimiter,
// so the log shows the text growing.
std::string JoinLogged(const std::vector<std::string>& pieces, char delimiter, std::string_view logPrefix);
// The delimiters in `text`, counting stopping at `limit`.
int CountDelimiters(std::string_view text, char delimiter, int limit);

// className & ".ReadNV - Unsupported format. Reset format in browser.."
std::string UnsupportedFormatLine(std::string_view className);
// className & ".ReadNV - Unsupported DS format."
std::string UnsupportedDsFormatLine(std::string_view className);
// prefix & formatName & "< not supported for >" & vIN & "<"
std::string NotSupportedForLine(std::string_view prefix, std::string_view formatName, const rt::Variant& vIN);

}  // namespace points
