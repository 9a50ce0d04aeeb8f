#include "points/nv/text_points.h"

#include "host/log.h"
#include "runtime/convert.h"
#include "runtime/members.h"
#include "runtime/text.h"

namespace points {

namespace {

constexpr PointClass StrAscClass{
    .name = "SNVT_str_asc",
    .gated = true,
    .writeForcePrefix = "SNVT_str_asc-StrToNV->",
    .writeErrors = WriteErrorLine::Plain,
    .readErrors = ReadErrorLine::ErrNumber,
    .bindingFailure = BindingFailure::Raise,
    .readSteps = {0, 0, 0, 0},
    .writeSteps = {0, 0, 0},
};

constexpr std::string_view StrAscFormat = "SNVT_str_asc";
constexpr size_t MaxTextLength = 30;

constexpr PointClass ByteClass{
    .name = "UNVT_Byte",
    .gated = true,
    .writeForcePrefix = "",
    .writeErrors = WriteErrorLine::Plain,
    .readErrors = ReadErrorLine::ErrNumber,
    .bindingFailure = BindingFailure::MessageBoxNamed,
    .readSteps = {0, 0, 0, 0},
    .writeSteps = {10, 20, 40},
};

constexpr std::string_view ByteFormat = "UNVT_Byte";

}  // namespace

// --- SNVT_str_asc ----------------------------------------------------------------------------

SNVT_str_asc::SNVT_str_asc() : TypedValue(StrAscClass) {}

void SNVT_str_asc::Send(rt::Steps& steps) {
  std::string formatName = ReadFormat(steps, Class().writeSteps.format);
  if (formatName == StrAscFormat) {
    PutValue(steps, Class().writeSteps.send, [&] { return rt::Variant::String(m_Value); });
  } else {
    host::WriteLog(NotSupportedForLine(Class().writeForcePrefix, formatName, vIN));
  }
}

void SNVT_str_asc::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (formatName != StrAscFormat) {
    PutFormat(steps, lines.format, StrAscFormat);
    formatName = ReadFormat(steps, lines.format, formatName);
  }
  ReadValue(steps, lines.value);
  if (formatName != StrAscFormat) {
    host::WriteLog(UnsupportedDsFormatLine(Class().name));
    return;
  }
  std::string text = InText();
  if (rt::Len(text) > MaxTextLength) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  m_Value = text;
}

rt::Variant SNVT_str_asc::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<SNVT_str_asc> members(ValueMembers<SNVT_str_asc>());
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

// --- UNVT_Byte -------------------------------------------------------------------------------

UNVT_Byte::UNVT_Byte() : TypedValue(ByteClass) {}

// A format named like the variable itself is this type's formatted form too.
void UNVT_Byte::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (formatName == ByteFormat || formatName == m_NvName) {
    PutValue(steps, lines.send, [&] { return rt::Variant::Byte(m_Value); });
    return;
  }
  if (IsRawFormat(formatName)) {
    SendRawText(steps, lines.send);
    return;
  }
  if (ForceQuietlyOnWrite(steps)) SendRawText(steps, lines.force);
}

void UNVT_Byte::SendRawText(rt::Steps& steps, int line) {
  PutValue(steps, line, [&] { return rt::Variant::String(rt::NumberText(m_Value)); });
}

void UNVT_Byte::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  if (ReadFormat(steps, lines.format) != "RAW") PutFormat(steps, lines.format, "RAW");
  ReadValue(steps, lines.value);
  steps(lines.decode, [&] { m_Value = vIN.ToByte(); });
}

rt::Variant UNVT_Byte::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<UNVT_Byte> members(ValueMembers<UNVT_Byte>());
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
