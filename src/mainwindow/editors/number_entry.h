#pragma once

#include <string>
#include <string_view>

// How the editors read a typed number: the decimal number at the start of the text, blanks
// skipped, "." the decimal separator whatever the machine's locale.
namespace mainwindow::editors {

inline constexpr const char* Tenths = "#0.0";
inline constexpr const char* Whole = "#0";

// The entry's number, 0 when it starts with none; error 6 beyond the range of a Double.
double ReadNumber(std::string_view text);

// An entry without a number whose 0 the range takes without a word: written, it would change
// the device though the technician gave no value.
bool GivesNoValue(std::string_view text, double max, double min);

// The entry's number clamped to min..max: a bound it passes is shown in a message box first
// ("This value cannot be greater than 5" / "... less than 1", then "Please try again.").
double LimitValue(const std::string& text, double max, double min);

// The whole text as a number, or the text unchanged when it is none, in a display format.
std::string Reformatted(const std::string& text, const char* format);

// Rounded to whole units, a half to the even neighbour.
double RoundWhole(double value);

}  // namespace mainwindow::editors
