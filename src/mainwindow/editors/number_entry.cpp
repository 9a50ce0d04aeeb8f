#include "mainwindow/editors/number_entry.h"

#include "forms/msgbox.h"
#include "runtime/convert.h"
#include "runtime/error.h"

namespace mainwindow::editors {
namespace {

void TryAgain(const char* bound, double value) {
  forms::MsgBox(std::string("This value cannot be ") + bound + " than " + rt::NumberText(value) +
                "\r\nPlease try again.");
}

}  // namespace

double ReadNumber(std::string_view text) { return rt::LeadingNumber(text).value_or(0); }

bool GivesNoValue(std::string_view text, double max, double min) {
  return !rt::LeadingNumber(text) && min <= 0 && 0 <= max;
}

double LimitValue(const std::string& text, double max, double min) {
  double number = ReadNumber(text);
  if (number > max) {
    TryAgain("greater", max);
    number = max;
  }
  if (number < min) {
    TryAgain("less", min);
    number = min;
  }
  return number;
}

std::string Reformatted(const std::string& text, const char* format) {
  try {
    return rt::Format(rt::ParseNumber(text), format);
  } catch (const rt::Error& error) {
    if (error.Number() != rt::err::TypeMismatch) throw;
    return text;
  }
}

double RoundWhole(double value) { return rt::DoubleToLong(value); }

}  // namespace mainwindow::editors
