#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Number and text conversions with the system's exact rounding and texts. The locale is fixed:
// "." is the decimal separator and there is no digit grouping, whatever the machine's locale.

// Leading-number conversion: drops every blank, TAB and line feed, then reads the longest leading
// number (sign, digits, ".", exponent; "&H" hexadecimal and "&O" octal). 0 when none; never fails
// (a number beyond the Double range gives the largest Double).
double Val(std::string_view text);
// The same leading number, or nothing when the text starts with none; error 6 for a number beyond
// the Double range.
std::optional<double> LeadingNumber(std::string_view text);

// Locale number conversion of a whole text (surrounding blanks allowed); "&H"/"&O" texts too
// (up to four hex digits read as a signed 16-bit value, up to eight as signed 32-bit).
// Error 13 when the text is not a number.
double ParseNumber(std::string_view text);

// Whole-number types: halves to even; error 6 outside the type's range.
int16_t DoubleToInteger(double v);
int32_t DoubleToLong(double v);
uint8_t DoubleToByte(double v);

// Number text: rounded to 15 significant digits, no trailing zeros, no decimal point when whole,
// no leading blank ("200", "72.5", "-1"); exponent form from 1E+15 up and below 0.0001 ("1E-05").
std::string NumberText(double v);

// One-decimal text: pattern "0.0", halves away from zero ("50.0", "0.3" for 0.25, "7.0").
std::string OneDecimalText(double v);

// Display formats ("#0.0", "#0", "#.0", "0.0", "0", "00", ...): halves away from zero, decided on
// the number's 15-digit decimal text, not on the binary double. A negative value that rounds to zero
// shows no minus sign. Other patterns raise error 5.
std::string Format(double v, std::string_view pattern);

// Decimal-text rounding: the 15-digit decimal text read back and rounded to one decimal place,
// ties to the even digit (2.25 gives 2.2, 2.75 gives 2.8).
double RoundDecimalText(double v);

// Joins pieces with a delimiter between them (n pieces, n - 1 delimiters).
std::string Join(const std::vector<std::string>& pieces, char delimiter);

// Counts delimiters up to `limit`; refuses (nullopt) unless the count is `required`; otherwise cuts
// `required` + 1 fields from the left, the surplus staying in the last field.
std::optional<std::vector<std::string>> CountAndSplit(std::string_view text, char delimiter, int limit,
                                                      int required);

}  // namespace rt
