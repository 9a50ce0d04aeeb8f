#pragma once

#include <string>
#include <string_view>

#include "runtime/steps.h"
#include "runtime/variant.h"

// The fallback for a format name that a class does not know: the member of the bound LNS object
// that holds the format name is set to a format the class knows (as a rule "RAW") and read back.
namespace points {

// The continuation lines of a force differ by the member that holds the format name.
struct ForceTexts {
  std::string_view attempt;
  std::string_view failedPrefix;
};
inline constexpr ForceTexts NvForceTexts{"            Attempting to force to >RAW< DSformatType...",
                                         "            Failed... DSFormatType = >"};
inline constexpr ForceTexts CpForceTexts{"            Attempting to force to >RAW< FormatName...",
                                         "            Failed... FormatName = >"};

struct ForceLines {
  std::string unsupported;   // the first line, naming what was not supported; empty: the short form
  std::string attempt;
  std::string failedPrefix;  // followed by the name read back and "<"
  std::string quotedMember = {};  // the failed line quotes this member instead; empty: the name read back
};
// A write's lines: prefix & "-StrToNV->" style first line quoting the last value read.
ForceLines WriteForceLines(const ForceTexts& texts, std::string_view prefix, std::string_view formatName,
                           const rt::Variant& vIN);
// A read's lines: className & ".ReadNV - Unsupported DS format." first.
ForceLines ReadForceLines(const ForceTexts& texts, std::string_view className);
// The short form, which logs a refused force and nothing else.
ForceLines ShortForceLines(const ForceTexts& texts);

// Sets the member `formatMember` of `target` to `format` and reads it back: true when it now reads
// exactly `format`. The full form logs the first line, "            Data = >" & data & "<" and
// the attempt line before, "            Success" after; a refusal logs the failed line with the
// name read back (or the quoted member). Each LNS call is step `line` of `steps`; a read-back
// that fails counts as a refused force.
bool ForceFormat(rt::Steps& steps, int line, const rt::Ref<rt::Object>& target, std::string_view formatMember,
                 std::string_view format, const rt::Variant& data, const ForceLines& lines);

inline bool ForceToRaw(rt::Steps& steps, int line, const rt::Ref<rt::Object>& target, std::string_view formatMember,
                       const rt::Variant& data, const ForceLines& lines) {
  return ForceFormat(steps, line, target, formatMember, "RAW", data, lines);
}

}  // namespace points
