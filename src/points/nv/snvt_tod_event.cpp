#include "points/nv/snvt_tod_event.h"

#include <array>
#include <climits>

#include "host/log.h"
#include "points/nv/enumerations.h"
#include "runtime/convert.h"
#include "runtime/members.h"

namespace points {

namespace {

constexpr PointClass TodEventClass{
    .name = "SNVT_tod_event",
    .gated = true,
    .writeForcePrefix = "SNVT_tod_event-StrToNV->",
    .writeErrors = WriteErrorLine::Plain,
    .readErrors = ReadErrorLine::NameFirst,
    .bindingFailure = BindingFailure::MessageBox,
    .readSteps = {10, 20, 30, 40},
    .writeSteps = {10, 20, 40},
};

// Both names take the same text: the two occupancy texts and the minutes, comma-separated.
constexpr std::array<std::string_view, 2> FormattedNames{"SNVT_tod_event", "SNVT_hvac_mode"};
constexpr char FormattedDelimiter = ',';
constexpr int FormattedDelimiters = 2;
constexpr int RawDelimiters = 3;
constexpr std::string_view FailedLineBeforeName = "            Failed...  >";
constexpr std::string_view FailedLineAfterName = "< DSFormatType = >";

}  // namespace

SNVT_tod_event::SNVT_tod_event() : NetworkVariablePoint(TodEventClass) {}

void SNVT_tod_event::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(FormattedNames, formatName)) {
    PutValue(steps, lines.send, [&] {
      return rt::Variant::String(rt::Join({Occupancies.TextOf(m_current_state), Occupancies.TextOf(m_next_state),
                                           rt::NumberText(get_time_to_next_state())},
                                          FormattedDelimiter));
    });
  } else if (IsRawFormat(formatName) || ForceOnWrite(steps, formatName)) {
    SendRaw(steps);
  }
}

void SNVT_tod_event::SendRaw(rt::Steps& steps) {
  PutValue(steps, Class().writeSteps.send, [&] {
    uint8_t hi = 0;
    uint8_t lo = 0;
    WordToBytes(get_time_to_next_state(), RawWord::Unsigned, hi, lo, Class().name);
    return rt::Variant::String(rt::Join(
        {std::to_string(m_current_state), std::to_string(m_next_state), std::to_string(hi), std::to_string(lo)}, Tab));
  });
}

void SNVT_tod_event::Receive(rt::Steps& steps) {
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
  force.failedPrefix = std::string(FailedLineBeforeName) + m_NvName + std::string(FailedLineAfterName);
  if (ForceOnRead(steps, force)) DecodeRaw(steps);
}

void SNVT_tod_event::DecodeFormatted(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), FormattedDelimiter, INT_MAX, FormattedDelimiters);
  if (!fields) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  m_current_state = Occupancies.ValueOf((*fields)[0]);
  m_next_state = Occupancies.ValueOf((*fields)[1]);
  steps(Class().readSteps.decode, [&] { put_time_to_next_state(rt::Val((*fields)[2])); });
}

void SNVT_tod_event::DecodeRaw(rt::Steps& steps) {
  auto fields = rt::CountAndSplit(InText(), Tab, INT_MAX, RawDelimiters);
  if (!fields) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  int line = Class().readSteps.decode;
  steps(line, [&] { m_current_state = rt::DoubleToByte(rt::Val((*fields)[0])); });
  steps(line, [&] { m_next_state = rt::DoubleToByte(rt::Val((*fields)[1])); });
  steps(line, [&] { put_time_to_next_state(rt::Val((*fields)[2]) * 256 + rt::Val((*fields)[3])); });
}

rt::Variant SNVT_tod_event::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<SNVT_tod_event> members{
      rt::Get("current_state", &SNVT_tod_event::get_current_state),
      rt::Let("current_state", &SNVT_tod_event::put_current_state),
      rt::Get("next_state", &SNVT_tod_event::get_next_state),
      rt::Let("next_state", &SNVT_tod_event::put_next_state),
      rt::Get("time_to_next_state", &SNVT_tod_event::get_time_to_next_state),
      rt::Let("time_to_next_state", &SNVT_tod_event::put_time_to_next_state),
  };
  return members.Invoke<NetworkVariablePoint>(*this, member, kind, args);
}

}  // namespace points
