#include "points/nv/snvt_temp_setpt.h"

#include "host/log.h"
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
constexpr double FahrenheitOffset = 32;

constexpr char FormattedDelimiter = ',';
constexpr int RawBytes = 12;
constexpr std::string_view DataFormatError = "SNVT_temp_setpt.ReadNV - Data Format Error.";
constexpr std::string_view RawNotice = "SNVT_temp_setpt.ReadNV - RAW type not yet supported force to another type???";
constexpr std::string_view RawResultPrefix = "SNVT_temp_setpt.ReadNV - m_occupied_cool=>";
constexpr std::string_view VOutPrefix = "SNVT_temp_setpt.WriteNV - vOut>";

// Raw setpoints are hundredths of a degree Celsius.
double FahrenheitToRaw(double value) { return (value - 32) * 100 / 1.8; }
double RawToFahrenheit(int16_t count) { return count / 100.0 * 1.8 + 32; }

using Setpt = SNVT_temp_setpt;

}  // namespace

SNVT_temp_setpt::SNVT_temp_setpt() : NetworkVariablePoint(SetpointClass) {}

void SNVT_temp_setpt::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(WriteNames, formatName)) {
    PutValue(steps, lines.send, [&] {
      std::vector<std::string> pieces;
      for (double setpoint : m_Setpoints) pieces.push_back(rt::NumberText(setpoint));
      return rt::Variant::String(rt::Join(pieces, FormattedDelimiter));
    });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    SendRaw(steps);
  }
}

// Every setpoint splits into its bytes before any is logged or sent.
void SNVT_temp_setpt::SendRaw(rt::Steps& steps) {
  PutValue(steps, Class().writeSteps.send, [&] {
    std::vector<std::string> pieces;
    for (double setpoint : m_Setpoints) {
      uint8_t hi = 0;
      uint8_t lo = 0;
      WordToBytes(FahrenheitToRaw(setpoint), RawWord::Signed, hi, lo, Class().name);
      pieces.push_back(std::to_string(hi));
      pieces.push_back(std::to_string(lo));
    }
    return rt::Variant::String(JoinLogged(pieces, Tab, VOutPrefix));
  });
}

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
  auto fields = rt::CountAndSplit(InText(), FormattedDelimiter, SetpointCount, SetpointCount - 1);
  if (!fields) {
    host::WriteLog(std::string(DataFormatError));
    return;
  }
  for (int setpoint = 0; setpoint < SetpointCount; ++setpoint) {
    double value = rt::Val((*fields)[setpoint]);
    if (absolute && IsShiftVariable(steps)) value -= FahrenheitOffset;
    m_Setpoints[setpoint] = value;
  }
}

// Each setpoint converts on its own: one whose bytes do not convert keeps its value.
void SNVT_temp_setpt::DecodeRaw(rt::Steps& steps) {
  host::WriteLog(std::string(RawNotice));
  auto fields = rt::CountAndSplit(InText(), Tab, RawBytes, RawBytes - 1);
  if (!fields) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  for (int setpoint = 0; setpoint < SetpointCount; ++setpoint) {
    steps(Class().readSteps.decode, [&] {
      size_t hi = static_cast<size_t>(2 * setpoint);
      m_Setpoints[setpoint] = RawToFahrenheit(SignedWord(ByteField((*fields)[hi]), ByteField((*fields)[hi + 1])));
    });
  }
  host::WriteLog(std::string(RawResultPrefix) + rt::NumberText(m_Setpoints[occupied_cool]) + "<");
}

rt::Variant SNVT_temp_setpt::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<Setpt> members{
      rt::Get("occupied_cool", &Setpt::get_occupied_cool),
      rt::Let("occupied_cool", &Setpt::put_occupied_cool),
      rt::Get("unoccupied_cool", &Setpt::get_unoccupied_cool),
      rt::Let("unoccupied_cool", &Setpt::put_unoccupied_cool),
      rt::Get("standby_cool", &Setpt::get_standby_cool),
      rt::Let("standby_cool", &Setpt::put_standby_cool),
      rt::Get("occupied_heat", &Setpt::get_occupied_heat),
      rt::Let("occupied_heat", &Setpt::put_occupied_heat),
      rt::Get("unoccupied_heat", &Setpt::get_unoccupied_heat),
      rt::Let("unoccupied_heat", &Setpt::put_unoccupied_heat),
      rt::Get("standby_heat", &Setpt::get_standby_heat),
      rt::Let("standby_heat", &Setpt::put_standby_heat),
  };
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
