#include "points/nv/snvt_temp_setpt.h"

#include "host/log.h"
#include "points/temperature.h"
#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr PointClass SetpointClass{
    .name = "SNVT_temp_setpt",
    .gated = true,
    .writeForcePrefix = "SNVT_temp-StrToNV->",
    .writeErrors = WriteErrorLine::Plain,
    .readErrors = ReadErrorLine::ErrNumber,
    .bindingFailure = BindingFailure::LogCantFind,
    .readSteps = {10, 20, 30, 40},
    .writeSteps = {10, 20, 40},
};

constexpr std::array<std::string_view, 3> WriteNames{"SNVT_temp_setpt#US", "SNVT_temp_setpt", "SNVT_temp_setpt#US_diff"};
constexpr std::string_view DifferenceFormat = "SNVT_temp_setpt#US_diff";
constexpr std::array<std::string_view, 2> AbsoluteNames{"SNVT_temp_setpt#US", "SNVT_temp_setpt"};

// The unit's setpoint shifts are differences: LNS is asked for them in a difference format, and
// absolute Fahrenheit values of that variable lose their 32-degree offset.
constexpr std::string_view ShiftVariable = "nvoSetptShift";

constexpr std::string_view DataFormatError = "SNVT_temp_setpt.ReadNV - Data Format Error.";
constexpr std::string_view RawNotice = "SNVT_temp_setpt.ReadNV - RAW type not yet supported force to another type???";
constexpr std::string_view RawResultPrefix = "SNVT_temp_setpt.ReadNV - m_occupied_cool=>";
constexpr std::string_view VOutPrefix = "SNVT_temp_setpt.WriteNV - vOut>";

using Setpt = SNVT_temp_setpt;

}  // namespace

SNVT_temp_setpt::SNVT_temp_setpt() : SetpointsPoint(SetpointClass) {}

void SNVT_temp_setpt::Send(rt::Steps& steps) { SendSetpoints(steps, WriteNames, VOutPrefix); }

bool SNVT_temp_setpt::IsShiftVariable(rt::Steps& steps) {
  return steps.If(Class().readSteps.format, [&] { return VariableName() == ShiftVariable; });
}

void SNVT_temp_setpt::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  if (IsShiftVariable(steps)) PutFormat(steps, lines.format, DifferenceFormat);
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (formatName == DifferenceFormat) {
    DecodeFormatted(steps, false);
  } else if (IsListed(AbsoluteNames, formatName)) {
    DecodeFormatted(steps, true);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    DecodeRaw(steps);
  }
}

void SNVT_temp_setpt::DecodeFormatted(rt::Steps& steps, bool absolute) {
  std::optional<Setpoints> read = ParseSetpointsText(InText());
  if (!read) {
    host::WriteLog(std::string(DataFormatError));
    return;
  }
  for (int setpoint = 0; setpoint < SetpointCount; ++setpoint) {
    double value = (*read)[setpoint];
    if (absolute && IsShiftVariable(steps)) value -= FahrenheitAtZeroCelsius;
    m_Setpoints[setpoint] = value;
  }
}

void SNVT_temp_setpt::DecodeRaw(rt::Steps& steps) {
  host::WriteLog(std::string(RawNotice));
  if (!TakeRawSetpoints(steps, Class().readSteps.decode, InText(), m_Setpoints)) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  host::WriteLog(std::string(RawResultPrefix) + rt::NumberText(m_Setpoints[occupied_cool]) + "<");
}

rt::Variant SNVT_temp_setpt::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<Setpt> members(SetpointMembers<Setpt>());
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
