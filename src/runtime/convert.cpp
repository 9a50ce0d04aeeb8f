#include "runtime/convert.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/error.h"
#include "runtime/text.h"

namespace rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int base) {
  int value = -1;
  if (IsDigit(c)) value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

struct RadixScan {
  size_t length = 0;  // characters taken, prefix included; 0 when no radix number starts here
  double magnitude = 0;
  bool TooLarge() const { return magnitude > 4294967295.0; }
};

int RadixOf(std::string_view text) {
  if (text.size() < 2 || text[0] != '&') return 0;
  if (text[1] == 'H' || text[1] == 'h') return 16;
  if (text[1] == 'O' || text[1] == 'o') return 8;
  return 0;
}

RadixScan ScanRadix(std::string_view text) {
  RadixScan scan;
  int base = RadixOf(text);
  if (base == 0) return scan;
  size_t pos = 2;
  for (; pos < text.size() && DigitValue(text[pos], base) >= 0; ++pos) {
    scan.magnitude = scan.magnitude * base + DigitValue(text[pos], base);
  }
  if (pos > 2) scan.length = pos;
  return scan;
}

// Up to 16 bits read as a signed Integer ("&HFFFF" is -1), up to 32 bits as a signed Long.
double SignedRadixValue(double magnitude) {
  auto bits = static_cast<uint32_t>(magnitude);
  if (bits <= 0xFFFFu) return static_cast<int16_t>(static_cast<uint16_t>(bits));
  return static_cast<int32_t>(bits);
}

// Length of the decimal number at the start of `text` (sign, digits, ".", exponent); 0 if none.
size_t ScanDecimal(std::string_view text) {
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  size_t digits = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) ++digits;
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) ++digits;
  }
  if (digits == 0) return 0;
  size_t mantissaEnd = pos;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    size_t exponentStart = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    if (pos == exponentStart) return mantissaEnd;
  }
  return pos;
}

struct DecimalValue {
  double value = 0;
  bool overflow = false;
};

// Power of ten of the first significant digit of an unsigned decimal text with an "e" exponent
// or none; tells an overflow from an underflow when the text is out of range.
long LeadingPowerOfTen(std::string_view plain) {
  size_t e = plain.find('e');
  long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = plain.substr(e + 1);
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    if (ec == std::errc::result_out_of_range) exponent = digits[0] == '-' ? -100000 : 100000;
    plain = plain.substr(0, e);
  }
  size_t point = std::min(plain.find('.'), plain.size());
  size_t first = plain.find_first_of("123456789");
  long lead = first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
  return exponent + lead;
}

// Reads a text that ScanDecimal accepted whole.
DecimalValue ReadDecimal(std::string_view number) {
  bool negative = number[0] == '-';
  if (number[0] == '-' || number[0] == '+') number.remove_prefix(1);
  std::string plain(number);
  for (char& c : plain) {
    if (c == 'D' || c == 'd' || c == 'E') c = 'e';
  }
  DecimalValue result;
  if (std::from_chars(plain.data(), plain.data() + plain.size(), result.value).ec == std::errc::result_out_of_range) {
    result.overflow = LeadingPowerOfTen(plain) > 0;
    result.value = result.overflow ? DBL_MAX : 0.0;
  }
  if (negative) result.value = -result.value;
  return result;
}

// A decimal number as digits with the point after `point` of them (point may lie outside them).
struct Decimal {
  bool negative = false;
  std::string digits;
  int point = 0;
};

Decimal FifteenDigits(double v) {
  Decimal d;
  d.negative = std::signbit(v);
  char text[40];
  char* end = std::to_chars(text, text + sizeof text, std::fabs(v), std::chars_format::scientific, 14).ptr;
  std::string_view s(text, static_cast<size_t>(end - text));
  size_t e = s.find('e');
  d.digits.push_back(s[0]);
  d.digits.append(s.substr(2, e - 2));
  std::string_view exponent = s.substr(e + 1);
  if (exponent[0] == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.point);
  ++d.point;
  return d;
}

bool IsZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

enum class Tie { AwayFromZero, ToEven };

// Rounds to `decimals` places after the point.
Decimal RoundDecimal(Decimal d, int decimals, Tie tie) {
  int keep = d.point + decimals;
  if (keep >= static_cast<int>(d.digits.size())) return d;
  if (keep < 0) {
    d.digits.assign(1, '0');
    d.point = 1;
    return d;
  }
  std::string dropped = d.digits.substr(static_cast<size_t>(keep));
  d.digits.resize(static_cast<size_t>(keep));
  bool above = dropped[0] > '5' || (dropped[0] == '5' && dropped.find_first_not_of('0', 1) != std::string::npos);
  bool half = dropped[0] == '5' && !above;
  bool lastOdd = !d.digits.empty() && (d.digits.back() - '0') % 2 == 1;
  bool up = above || (half && (tie == Tie::AwayFromZero || lastOdd));
  if (up) {
    size_t i = d.digits.size();
    while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
    if (i == 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    } else {
      ++d.digits[i - 1];
    }
  }
  return d;
}

// Whole-part digits without leading zeros (empty for a magnitude below 1).
std::string IntegerDigits(const Decimal& d) {
  std::string whole;
  for (int i = 0; i < d.point; ++i) {
    whole.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0');
  }
  size_t first = whole.find_first_not_of('0');
  return first == std::string::npos ? std::string() : whole.substr(first);
}

std::string FractionDigits(const Decimal& d, int count) {
  std::string fraction;
  for (int i = d.point; i < d.point + count; ++i) {
    bool inside = i >= 0 && i < static_cast<int>(d.digits.size());
    fraction.push_back(inside ? d.digits[static_cast<size_t>(i)] : '0');
  }
  return fraction;
}

std::string DecimalText(const Decimal& d, int decimals) {
  std::string text = d.negative && !IsZero(d) ? "-" : "";
  std::string whole = IntegerDigits(d);
  text += whole.empty() ? "0" : whole;
  if (decimals > 0) text.append(".").append(FractionDigits(d, decimals));
  return text;
}

double DecimalToDouble(const Decimal& d, int decimals) {
  std::string text = DecimalText(d, decimals);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Number text in exponent form: "1E+15", "-2.5E-07".
std::string ScientificText(const Decimal& d) {
  std::string mantissa = d.digits.substr(0, d.digits.find_last_not_of('0') + 1);
  std::string text = d.negative ? "-" : "";
  text += mantissa.substr(0, 1);
  if (mantissa.size() > 1) text.append(".").append(mantissa, 1);
  int exponent = d.point - 1;
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + tail;
}

struct Pattern {
  int minIntegerDigits = 0;
  bool hasPoint = false;
  int requiredDecimals = 0;
  int decimals = 0;
};

Pattern ParsePattern(std::string_view pattern) {
  Pattern p;
  size_t pos = 0;
  // Every placeholder from the first '0' on shows a digit: "0#" gives 01 for 1.
  for (; pos < pattern.size() && (pattern[pos] == '#' || pattern[pos] == '0'); ++pos) {
    if (pattern[pos] == '0' || p.minIntegerDigits > 0) ++p.minIntegerDigits;
  }
  if (pos < pattern.size() && pattern[pos] == '.') {
    p.hasPoint = true;
    for (++pos; pos < pattern.size() && (pattern[pos] == '#' || pattern[pos] == '0'); ++pos) {
      ++p.decimals;
      if (pattern[pos] == '0') p.requiredDecimals = p.decimals;
    }
  }
  if (pos != pattern.size() || pattern.empty()) Raise(err::InvalidProcedureCall);
  return p;
}

std::string PadLeft(std::string digits, int width, char fill) {
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), fill);
  return digits;
}

std::string TrimOptionalDecimals(std::string fraction, int required) {
  while (static_cast<int>(fraction.size()) > required && fraction.back() == '0') fraction.pop_back();
  return fraction;
}

template <class T>
T RoundToWhole(double v, double low, double high) {
  double rounded = std::nearbyint(v);  // the default rounding mode: halves to even
  if (!(rounded >= low && rounded <= high)) Raise(err::Overflow);
  return static_cast<T>(rounded);
}

}  // namespace

namespace {

// The leading number of a text with every blank, TAB and line feed dropped; nothing when none.
std::optional<DecimalValue> ReadLeading(std::string_view text) {
  std::string squeezed;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') squeezed.push_back(c);
  }
  if (RadixOf(squeezed) != 0) {
    RadixScan scan = ScanRadix(squeezed);
    if (scan.length == 0) return std::nullopt;
    if (scan.TooLarge()) return DecimalValue{scan.magnitude, true};
    return DecimalValue{SignedRadixValue(scan.magnitude), false};
  }
  size_t length = ScanDecimal(squeezed);
  if (length == 0) return std::nullopt;
  return ReadDecimal(std::string_view(squeezed).substr(0, length));
}

}  // namespace

double Val(std::string_view text) {
  std::optional<DecimalValue> read = ReadLeading(text);
  return read ? read->value : 0;
}

std::optional<double> LeadingNumber(std::string_view text) {
  std::optional<DecimalValue> read = ReadLeading(text);
  if (!read) return std::nullopt;
  if (read->overflow) Raise(err::Overflow);
  return read->value;
}

double ParseNumber(std::string_view text) {
  text = TrimmedView(text);
  if (text.empty()) Raise(err::TypeMismatch);
  if (RadixOf(text) != 0) {
    RadixScan scan = ScanRadix(text);
    if (scan.length != text.size()) Raise(err::TypeMismatch);
    if (scan.TooLarge()) Raise(err::Overflow);
    return SignedRadixValue(scan.magnitude);
  }
  if (ScanDecimal(text) != text.size()) Raise(err::TypeMismatch);
  DecimalValue read = ReadDecimal(text);
  if (read.overflow) Raise(err::Overflow);
  return read.value;
}

int16_t DoubleToInteger(double v) { return RoundToWhole<int16_t>(v, -32768.0, 32767.0); }
int32_t DoubleToLong(double v) { return RoundToWhole<int32_t>(v, -2147483648.0, 2147483647.0); }
uint8_t DoubleToByte(double v) { return RoundToWhole<uint8_t>(v, 0.0, 255.0); }

std::string NumberText(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
  if (v == 0) return "0";
  Decimal d = FifteenDigits(v);
  if (d.point > 15 || d.point < -3) return ScientificText(d);
  int decimals = std::max(0, 15 - d.point);
  std::string text = DecimalText(d, decimals);
  if (decimals == 0) return text;
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string OneDecimalText(double v) { return Format(v, "0.0"); }

std::string Format(double v, std::string_view pattern) {
  Pattern p = ParsePattern(pattern);
  if (!std::isfinite(v)) return NumberText(v);
  Decimal d = RoundDecimal(FifteenDigits(v), p.decimals, Tie::AwayFromZero);
  std::string text = d.negative && !IsZero(d) ? "-" : "";
  text += PadLeft(IntegerDigits(d), p.minIntegerDigits, '0');
  if (p.hasPoint) text.append(".").append(TrimOptionalDecimals(FractionDigits(d, p.decimals), p.requiredDecimals));
  return text;
}

double RoundDecimalText(double v) {
  if (!std::isfinite(v)) return v;
  return DecimalToDouble(RoundDecimal(FifteenDigits(v), 1, Tie::ToEven), 1);
}

std::string Join(const std::vector<std::string>& pieces, char delimiter) {
  std::string text;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) text.push_back(delimiter);
    text += pieces[i];
  }
  return text;
}

std::optional<std::vector<std::string>> CountAndSplit(std::string_view text, char delimiter, int limit,
                                                      int required) {
  int count = 0;
  for (size_t pos = text.find(delimiter); pos != std::string_view::npos && count < limit;
       pos = text.find(delimiter, pos + 1)) {
    ++count;
  }
  if (count != required) return std::nullopt;
  std::vector<std::string> fields;
  size_t start = 0;
  for (int i = 0; i < required; ++i) {
    size_t pos = text.find(delimiter, start);
    fields.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  fields.emplace_back(text.substr(start));
  return fields;
}

}  // namespace rt
