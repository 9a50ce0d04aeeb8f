#include "points/cp/scpt_set_pnts.h"

#include <array>

#include "host/log.h"
#include "points/value_text.h"

namespace points {

namespace {

constexpr PointClass SetPntsClass{.name = "SCPTsetPnts",
                                  .gated = true,
                                  .writeForcePrefix = "SNVT_temp-StrToNV->",
                                  .writeErrors = WriteErrorLine::Plain,
                                  .readErrors = ReadErrorLine::ErrorPlain,
                                  .bindingFailure = BindingFailure::LogCantFind,
                                  .readSteps = {0, 0, 40, 40},
                                  .writeSteps = {10, 10, 10},
                                  .writeProcedure = "WriteNV",
                                  .readProcedure = "ReadNV",
                                  .writeForceMember = "DsFormatType"};

constexpr std::string_view UsFormat = "SCPTsetPnts#US";
constexpr std::array<std::string_view, 2> FormattedNames{UsFormat, "SCPTsetPnts"};
constexpr std::array<std::string_view, 2> DifferenceNames{"SCPTsetPnts#US_diff",
                                                          "#0000000000000000[0].SCPTsetPnts#US_diff"};
constexpr int DifferenceStep = 30;
constexpr int DifferenceCommaLimit = 6;
constexpr std::string_view VOutPrefix = "SCPTsetPnts.WriteNV - vOut>";

ForceLines ReadForce() {
  return {"SCPTsetPnts.ReadNV - Unsupported Format",
          "            Attempting to force to >SCPTsetPnts#US< FormatName...", std::string(CpForceTexts.failedPrefix)};
}

using P = SCPTsetPnts;

}  // namespace

SCPTsetPnts::SCPTsetPnts() : SetpointsPoint(SetPntsClass) {}

void SCPTsetPnts::Send(rt::Steps& steps) { SendSetpoints(steps, FormattedNames, VOutPrefix); }

void SCPTsetPnts::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (IsListed(FormattedNames, formatName)) {
    DecodeFormatted();
  } else if (IsListed(DifferenceNames, formatName)) {
    DecodeDifference(steps);
  } else if (IsRawFormat(formatName)) {
    if (!TakeRawSetpoints(steps, lines.decode, InText(), m_Setpoints))
      host::WriteLog(UnsupportedFormatLine(Class().name));
  } else {
    ForceOnRead(steps, ReadForce(), UsFormat);
  }
}

void SCPTsetPnts::DecodeFormatted() {
  std::optional<Setpoints> read = ParseSetpointsText(InText());
  if (read) {
    m_Setpoints = *read;
  } else {
    host::WriteLog("SCPTsetPnts.ReadNV - Data Format Error.");
  }
}

// A difference format gives one number: the first setpoint's.
void SCPTsetPnts::DecodeDifference(rt::Steps& steps) {
  std::string text = InText();
  int commas = 0;
  for (size_t at = text.find(','); at != std::string::npos && commas < DifferenceCommaLimit;
       at = text.find(',', at + 1)) {
    ++commas;
    host::WriteLog("SCPTsetPnts - Delimiters in vIN=>" + std::to_string(commas) + "< tEnd=" + std::to_string(at + 1));
  }
  if (commas != 0) {
    host::WriteLog(UnsupportedFormatLine(Class().name));
    return;
  }
  steps(DifferenceStep, [&] { m_Setpoints[occupied_cool] = vIN.ToDouble(); });
}

rt::Variant SCPTsetPnts::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<P> members(SlotOrder<P>({}, SetpointMembers<P>()));
  return members.Invoke(*this, member, kind, args);
}

}  // namespace points
