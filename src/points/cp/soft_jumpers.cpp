#include "points/cp/soft_jumpers.h"

#include <array>

#include "host/log.h"
#include "points/value_text.h"
#include "runtime/convert.h"

namespace points {

namespace {

constexpr PointClass SoftJumpersClass{.name = "UCPTsoftJumpers",
                                      .gated = true,
                                      .writeForcePrefix = "UCPTsoftJumpers-StrToNV->",
                                      .writeErrors = WriteErrorLine::Plain,
                                      .readErrors = ReadErrorLine::ErrorPlain,
                                      .bindingFailure = BindingFailure::LogCantFind,
                                      .readSteps = {0, 0, 30, 30},
                                      .writeSteps = {10, 20, 17},
                                      .writeProcedure = "WriteCP",
                                      .readProcedure = "ReadCP"};

constexpr int Flags = 32;
constexpr std::array<std::string_view, 2> FormattedNames{"#0000000000000000[0].UCPTsoftJumpers", "UCPTsoftJumpers"};
constexpr char EntryDelimiter = ' ';
constexpr int Entries = 64;
constexpr int FormattedWriteStep = 14;
// A formatted text holds 32 entries, or 64 or more; blanks are counted up to 63.
constexpr int BlankLimit = 63;
constexpr int ShortTextBlanks = 31;
// The raw text the class writes: four flag bytes, then four "0" entries. A read takes two to
// eight entries; entries after the fourth carry no flag.
constexpr int RawEntries = 8;
constexpr int TabLimit = RawEntries;

constexpr std::string_view RefusalLine = "UCPTsoftJumpers.ReadCP - Unsupported format. Reset format in browser..";

ForceLines ReadForce() {
  return {"UCPTsoftJumpers.ReadCP - Unsupported DS format.", std::string(NvForceTexts.attempt),
          "            Failed... CP.FormatName = >"};
}

}  // namespace

UCPTsoftJumpers::UCPTsoftJumpers() : FlagsOf(Flags, SoftJumpersClass) {}

void UCPTsoftJumpers::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (IsListed(FormattedNames, formatName)) {
    PutValue(steps, FormattedWriteStep,
             [&] { return rt::Variant::String(bits_.EntriesText(EntryDelimiter, Entries)); });
  } else if (IsRawFormat(formatName) ||
             ForceOnWrite(steps, WriteForceLines(NvForceTexts, Class().writeForcePrefix, formatName, vIN))) {
    PutValue(steps, lines.send, [&] { return rt::Variant::String(bits_.RawText(RawEntries)); });
  }
}

void UCPTsoftJumpers::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (IsListed(FormattedNames, formatName)) {
    DecodeFormatted(steps);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps, ReadForce())) {
    DecodeRaw(steps);
  }
}

void UCPTsoftJumpers::DecodeFormatted(rt::Steps& steps) {
  std::string text = InText();
  int blanks = CountDelimiters(text, EntryDelimiter, BlankLimit);
  if (blanks != ShortTextBlanks && blanks != BlankLimit) {
    host::WriteLog(std::string(RefusalLine));
    return;
  }
  steps(Class().readSteps.decode, [&] { bits_.TakeEntries(text); });
}

// An entry that is no byte is logged and counts as 0.
void UCPTsoftJumpers::DecodeRaw(rt::Steps& steps) {
  std::string text = InText();
  int tabs = CountDelimiters(text, Tab, TabLimit);
  if (tabs < 1 || tabs >= TabLimit) {
    host::WriteLog(std::string(RefusalLine));
    return;
  }
  auto fields = rt::CountAndSplit(text, Tab, tabs, tabs);
  for (int byte = 0; byte < std::min(tabs + 1, bits_.Bytes()); ++byte) {
    uint8_t value = steps.Get<uint8_t>(
        Class().readSteps.decode, [&] { return ByteField((*fields)[static_cast<size_t>(byte)]); }, 0);
    bits_.TakeByte(byte, value);
  }
}

rt::Variant UCPTsoftJumpers::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<UCPTsoftJumpers> members(
      SlotOrder<UCPTsoftJumpers>(BitMembers<UCPTsoftJumpers>(Flags, BitOrder::DescendingLetFirst), {}));
  return members.Invoke(*this, member, kind, args);
}

}  // namespace points
