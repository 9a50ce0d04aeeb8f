#include "points/value_text.h"

#include <algorithm>
#include <cstdio>

#include "host/log.h"
#include "runtime/convert.h"
#include "runtime/steps.h"
#include "runtime/text.h"

namespace points {

bool IsListed(FormatNames names, std::string_view formatName) {
  return std::find(names.begin(), names.end(), formatName) != names.end();
}

bool IsRawFormat(std::string_view formatName) { return IsListed(RawFormatNames, formatName); }

std::string ValueText(const rt::Variant& value) { return value.IsObject() ? std::string() : value.ToString(); }

void IntToBytes(double v, uint8_t& hi, uint8_t& lo, std::string_view className) {
  int32_t whole = rt::DoubleToLong(v);
  char hex[9];
  std::snprintf(hex, sizeof hex, "%X", static_cast<uint32_t>(whole));
  std::string lastFour = rt::Right("0000" + std::string(hex), 4);
  hi = HexToByte(rt::Left(lastFour, 2), className);
  lo = HexToByte(rt::Right(lastFour, 2), className);
}

void WordToBytes(double v, RawWord word, uint8_t& hi, uint8_t& lo, std::string_view className) {
  int32_t whole = rt::DoubleToLong(v);
  bool inRange = word == RawWord::Signed ? whole >= -32768 && whole <= 32767 : whole >= 0 && whole <= 65535;
  if (!inRange) rt::Raise(rt::err::Overflow);
  IntToBytes(whole, hi, lo, className);
}

uint8_t HexToByte(std::string_view s, std::string_view className) {
  uint8_t result = 0;
  rt::Steps steps = rt::Steps::LogAndResumeNext([className](int, const rt::Error& e) {
    host::WriteLog("Error: " + std::to_string(e.Number()) + ". " + e.Description() + std::string(className) +
                   ".HexToByte");
  });
  steps(0, [&] { result = rt::DoubleToByte(rt::ParseNumber("&h" + rt::Right(s, 2))); });
  return result;
}

int16_t SignedWord(uint8_t hi, uint8_t lo) { return static_cast<int16_t>(UnsignedWord(hi, lo) - (hi >= 128 ? 65536 : 0)); }

int32_t UnsignedWord(uint8_t hi, uint8_t lo) { return hi * 256 + lo; }

uint8_t ByteField(std::string_view field) { return rt::DoubleToByte(rt::ParseNumber(field)); }

std::string JoinLogged(const std::vector<std::string>& pieces, char delimiter, std::string_view logPrefix) {
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    text += pieces[i];
    if (i + 1 < pieces.size()) text += delimiter;
    host::WriteLog(std::string(logPrefix) + text + "<");
  }
  return text;
}

int CountDelimiters(std::string_view text, char delimiter, int limit) {
  int count = 0;
  for (size_t pos = text.find(delimiter); pos != std::string_view::npos && count < limit;
       pos = text.find(delimiter, pos + 1)) {
    ++count;
  }
  return count;
}

std::string UnsupportedFormatLine(std::string_view className) {
  return std::string(className) + ".ReadNV - Unsupported format. Reset format in browser..";
}

std::string UnsupportedDsFormatLine(std::string_view className) {
  return std::string(className) + ".ReadNV - Unsupported DS format.";
}

std::string NotSupportedForLine(std::string_view prefix, std::string_view formatName, const rt::Variant& vIN) {
  return std::string(prefix) + std::string(formatName) + "< not supported for >" + ValueText(vIN) + "<";
}

}  // namespace points
