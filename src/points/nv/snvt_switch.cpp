#include "points/nv/snvt_switch.h"

#include <array>

#include "host/log.h"
#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr PointClass SwitchClass{
    .name = "SNVT_switch",
    .gated = false,
    .writeForcePrefix = "SNVT_switch-StrToNV->",
    .writeErrors = WriteErrorLine::Named,
    .readErrors = ReadErrorLine::ErrNumber,
    .bindingFailure = BindingFailure::Raise,
    .readSteps = {10, 20, 30, 40},
    .writeSteps = {10, 20, 40},
};

constexpr std::array<std::string_view, 2> FormattedNames{"#0000000000000000[0].SNVT_switch", "SNVT_switch"};

// The formatted text has a level and a state around exactly one blank; the raw one two bytes.
constexpr char FormattedDelimiter = ' ';
constexpr int FormattedLimit = 5;
constexpr int RawLimit = 2;

// The device keeps the state in one byte: the null state -1 travels as 255.
uint8_t StateByte(int16_t state) {
  if (state < -128 || state > 255) rt::Raise(rt::err::Overflow);
  return static_cast<uint8_t>(state < 0 ? state + 256 : state);
}

}  // namespace

SNVT_switch::SNVT_switch() : NetworkVariablePoint(SwitchClass) {}

void SNVT_switch::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(FormattedNames, formatName)) {
    PutValue(steps, lines.send, [&] {
      return rt::Variant::String(rt::Join({rt::OneDecimalText(m_Value), rt::NumberText(m_State)}, FormattedDelimiter));
    });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    SendRaw(steps);
  }
}

// The level travels in half-percent steps, rounded to a whole byte.
void SNVT_switch::SendRaw(rt::Steps& steps) {
  PutValue(steps, Class().writeSteps.send, [&] {
    uint8_t level = rt::DoubleToByte(m_Value * 2);
    return rt::Variant::String(rt::Join({std::to_string(level), std::to_string(StateByte(m_State))}, Tab));
  });
}

void SNVT_switch::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (IsListed(FormattedNames, formatName)) {
    DecodeFormatted(steps);
    return;
  }
  if (IsRawFormat(formatName)) {
    DecodeRaw(steps);
    return;
  }
  ForceLines force = ReadForceLines(NvForceTexts, Class().name);
  force.attempt = "            Attempting to force >" + formatName + "< to >RAW< DSformatType...";
  if (ForceOnRead(steps, force)) DecodeRaw(steps);
}

void SNVT_switch::DecodeFormatted(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), FormattedDelimiter, FormattedLimit, 1);
  if (!fields) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  int line = Class().readSteps.decode;
  steps(line, [&] { m_Value = rt::Val((*fields)[0]); });
  steps(line, [&] { m_State = rt::DoubleToInteger(rt::Val((*fields)[1])); });
}

void SNVT_switch::DecodeRaw(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), Tab, RawLimit, 1);
  if (!fields) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  int line = Class().readSteps.decode;
  steps(line, [&] { m_Value = rt::Val((*fields)[0]) / 2; });
  steps(line, [&] { m_State = rt::DoubleToInteger(rt::Val((*fields)[1])); });
}

rt::Variant SNVT_switch::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<SNVT_switch> members{
      rt::Get("State", &SNVT_switch::get_State),
      rt::Let("State", &SNVT_switch::put_State),
      rt::Get("Value", &SNVT_switch::get_Value),
      rt::Let("Value", &SNVT_switch::put_Value),
  };
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
