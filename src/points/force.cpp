#include "points/force.h"

#include "host/log.h"
#include "points/late_bound.h"
#include "points/value_text.h"

namespace points {

ForceLines WriteForceLines(const ForceTexts& texts, std::string_view prefix, std::string_view formatName,
                           const rt::Variant& vIN) {
  return {NotSupportedForLine(prefix, formatName, vIN), std::string(texts.attempt), std::string(texts.failedPrefix)};
}

ForceLines ReadForceLines(const ForceTexts& texts, std::string_view className) {
  return {UnsupportedDsFormatLine(className), std::string(texts.attempt), std::string(texts.failedPrefix)};
}

ForceLines ShortForceLines(const ForceTexts& texts) { return {{}, {}, std::string(texts.failedPrefix)}; }

bool ForceFormat(rt::Steps& steps, int line, const rt::Ref<rt::Object>& target, std::string_view formatMember,
                 std::string_view format, const rt::Variant& data, const ForceLines& lines) {
  bool full = !lines.unsupported.empty();
  if (full) {
    host::WriteLog(lines.unsupported);
    host::WriteLog("            Data = >" + ValueText(data) + "<");
    host::WriteLog(lines.attempt);
  }
  steps(line, [&] { LetProperty(target, formatMember, rt::Variant::String(std::string(format))); });
  std::string readBack;
  steps(line, [&] { readBack = GetProperty(target, formatMember).ToString(); });
  if (readBack != format) {
    std::string quoted = readBack;
    if (!lines.quotedMember.empty()) steps(line, [&] { quoted = GetProperty(target, lines.quotedMember).ToString(); });
    host::WriteLog(lines.failedPrefix + quoted + "<");
    return false;
  }
  if (full) host::WriteLog("            Success");
  return true;
}

}  // namespace points
