#include "host/registration_names.h"

#include <array>
#include <cstdio>
#include <limits>
#include <string_view>

#include "runtime/error.h"
#include "runtime/text.h"

namespace host {
namespace {

constexpr std::string_view HexDigits = "0123456789ABCDEF";

// Everything up to and including the first "H", or else the first "X", goes ("&H1F", "0x1F").
std::string WithoutHexPrefix(const std::string& upper) {
  for (char marker : {'H', 'X'}) {
    const size_t at = upper.find(marker);
    if (at != std::string::npos) return upper.substr(at + 1);
  }
  return upper;
}

// Each character counts as its place among the digits; any other character as -1.
double DigitSum(const std::string& digits) {
  double sum = 0;
  double weight = 1;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    const size_t place = HexDigits.find(*it);
    sum += (place == std::string_view::npos ? -1.0 : static_cast<double>(place)) * weight;
    weight *= 16;
  }
  return sum;
}

// The object classes by id; nullptr where LNS names none.
constexpr std::array<const char*, 53> ObjectClassNames = {
    "Object Server", "Network", "Networks", "System", "Systems", "Subsystem", "Subsystems",
    "Application Device", "Application Devices", "Router", "Routers", "Router Side", "Channel", "Channels",
    "Network Interface", "Network Interfaces", "Subnet", "Subnets", "Connections", "Interface", "Interfaces",
    "Template Library", "Network Variable", "Network Variables", "Message Tag", "Message Tags",
    "Configuration Property", "Configuration Properties", "LonMark Object", "LonMark Objects",
    "Component Application", "Component Applications", "Hardware Template", "Hardware Templates",
    "Build Template", "Build Templates", "Device Template", "Device Templates", "Program Template",
    "Program Templates", "Network Service Device", "Network Service Devices", "Connection Description Template",
    "Connection Description Templates", "Error", "LonMark Alarm", "Object Status", "Network Variable Field",
    "Detail Info", nullptr, "Extension", "Extensions", "Recovery Status",
};

struct NamedCommand {
  int32_t id;
  const char* name;
};

constexpr NamedCommand CommandNames[] = {
    {1, "New"},         {2, "Edit Source"},  {10, "Build Image"}, {11, "Commission"}, {12, "Load"},
    {13, "Configure"},  {14, "Calibrate"},   {15, "Connect"},     {20, "Browse"},     {21, "Monitor"},
    {22, "Control"},    {23, "Report"},      {30, "Online"},      {31, "Offline"},    {32, "Reset"},
    {33, "Test"},       {34, "Wink"},        {40, "Uninstall"},   {41, "Replace"},    {50, "Register"},
    {60, "Recover"},    {61, "Monitor Recovery"}, {70, "Security Level"},
};

}  // namespace

int32_t HexToLong(const std::string& text) {
  const std::string digits = WithoutHexPrefix(rt::UCase(text));
  const double sum = DigitSum(digits);
  // Written so that a sum that is not a number also counts as out of range.
  if (!(sum >= std::numeric_limits<int32_t>::min() && sum <= std::numeric_limits<int32_t>::max())) {
    rt::Raise(rt::err::Overflow);
  }
  // The width goes to HexPad as a 16-bit number.
  if (digits.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) rt::Raise(rt::err::Overflow);
  const auto value = static_cast<int32_t>(sum);
  if (digits != HexPad(value, static_cast<int16_t>(digits.size()))) rt::Raise(rt::err::InvalidProcedureCall);
  return value;
}

std::string HexPad(int32_t value, int16_t width) {
  if (width < 0) rt::Raise(rt::err::InvalidProcedureCall);
  char hex[9];
  std::snprintf(hex, sizeof hex, "%X", static_cast<uint32_t>(value));
  return rt::Right(std::string(static_cast<size_t>(width), '0') + hex, static_cast<size_t>(width));
}

std::string ObjectClassName(int16_t classId) {
  if (classId >= 0 && static_cast<size_t>(classId) < ObjectClassNames.size() && ObjectClassNames[classId]) {
    return ObjectClassNames[classId];
  }
  return "Custom ID = " + std::string(classId < 0 ? "" : " ") + std::to_string(classId);
}

std::string CommandName(int32_t command) {
  for (const NamedCommand& entry : CommandNames) {
    if (entry.id == command) return entry.name;
  }
  return "Custom command " + std::to_string(command);
}

}  // namespace host
