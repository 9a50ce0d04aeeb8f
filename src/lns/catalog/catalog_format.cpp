#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "lns/catalog/catalog.h"

namespace lns {

namespace {

constexpr const char* kHeader = "orvex resource file 1";
constexpr int16_t kHighestScope = 6;

template <class Number>
std::optional<Number> ParseWhole(const std::string& word) {
  Number value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::string RestOfLine(std::istringstream& in) {
  std::string rest;
  std::getline(in >> std::ws, rest);
  return rest;
}

std::optional<FunctionalProfile> ParseProfile(std::istringstream& in) {
  FunctionalProfile profile;
  int16_t* numbers[] = {&profile.index,           &profile.majorVersion,     &profile.minorVersion,
                        &profile.inheritsFrom,    &profile.mandatoryNvCount, &profile.optionalNvCount,
                        &profile.mandatoryCpCount, &profile.optionalCpCount};
  std::string word;
  for (int16_t* number : numbers) {
    if (!(in >> word)) return std::nullopt;
    const std::optional<int16_t> value = ParseWhole<int16_t>(word);
    if (!value) return std::nullopt;
    *number = *value;
  }
  if (!(in >> profile.key)) return std::nullopt;
  profile.description = RestOfLine(in);
  return profile;
}

// Reads one "keyword ..." line into `content`; false when the line is not one of the format's.
bool ParseLine(const std::string& line, ResourceFileContent& content) {
  std::istringstream in(line);
  std::string keyword, word;
  if (!(in >> keyword)) return true;
  if (keyword == "template") {
    return static_cast<bool>(in >> content.programIdTemplate) && IsProgramIdText(content.programIdTemplate);
  }
  if (keyword == "scope") {
    const auto scope = (in >> word) ? ParseWhole<int16_t>(word) : std::nullopt;
    content.scope = scope.value_or(-1);
    return scope && *scope >= 0 && *scope <= kHighestScope;
  }
  if (keyword == "version") {
    const auto version = (in >> word) ? ParseWhole<int32_t>(word) : std::nullopt;
    content.version = version.value_or(0);
    return version && *version > 0;
  }
  if (keyword == "kinds") {
    while (in >> word) {
      const std::optional<int16_t> kind = ParseWhole<int16_t>(word);
      if (!kind || !IsResourceKind(*kind)) return false;
      content.kinds.push_back(*kind);
    }
    return true;
  }
  if (keyword == "profile") {
    std::optional<FunctionalProfile> profile = ParseProfile(in);
    if (profile) content.profiles.push_back(std::move(*profile));
    return profile.has_value();
  }
  return false;
}

}  // namespace

bool IsProgramIdText(std::string_view text) {
  return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) {
           return std::isxdigit(static_cast<unsigned char>(c)) != 0;
         });
}

bool IsResourceKind(int16_t kind) { return kind >= ResourceTypes && kind <= ResourceFunctionalProfiles; }

std::string ResourceFileText(const ResourceFileContent& content) {
  std::ostringstream out;
  out << kHeader << "\n"
      << "template " << content.programIdTemplate << "\n"
      << "scope " << content.scope << "\n"
      << "version " << content.version << "\n"
      << "kinds";
  for (int16_t kind : content.kinds) out << " " << kind;
  out << "\n";
  for (const FunctionalProfile& p : content.profiles) {
    out << "profile " << p.index << " " << p.majorVersion << " " << p.minorVersion << " " << p.inheritsFrom << " "
        << p.mandatoryNvCount << " " << p.optionalNvCount << " " << p.mandatoryCpCount << " " << p.optionalCpCount
        << " " << p.key << " " << p.description << "\n";
  }
  return out.str();
}

std::optional<ResourceFileContent> ParseResourceFile(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  ResourceFileContent content;
  content.scope = -1;
  content.version = 0;
  while (std::getline(in, line)) {
    if (!ParseLine(line, content)) return std::nullopt;
  }
  if (content.programIdTemplate.empty() || content.scope < 0 || content.version <= 0) return std::nullopt;
  for (FunctionalProfile& profile : content.profiles) profile.scope = content.scope;
  return content;
}

}  // namespace lns
