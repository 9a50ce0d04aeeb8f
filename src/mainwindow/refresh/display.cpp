#include "mainwindow/refresh/display.h"

#include "runtime/convert.h"

namespace mainwindow::refresh {

std::string FormatNumber(double value, std::string_view pattern) { return rt::Format(value, pattern); }

std::string FormatOrNull(double value, double limit, std::string_view pattern) {
  return value >= limit ? "NULL" : FormatNumber(value, pattern);
}

std::string TemperatureText(double value) { return FormatOrNull(value, NullLimit, OneDecimal); }

double DecimalTextRounded(double value) { return rt::RoundDecimalText(value); }

std::string BitCaption(const BitWords& words, bool set) {
  return std::string(words.name) + " = " + std::string(set ? words.set : words.clear);
}

}  // namespace mainwindow::refresh
