#include "expectation.h"

#include <charconv>
#include <stdexcept>
#include <vector>

namespace director {
namespace {

constexpr std::string_view ExpectWord = "expect";

std::string_view TrimBlanks(std::string_view text) {
  const auto start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  const auto end = text.find_last_not_of(" \t\r");
  return text.substr(start, end - start + 1);
}

Json ValueText(std::string_view text) {
  Json value = Json::parse(text, nullptr, false);
  if (value.is_discarded()) return std::string(text);
  return value;
}

std::optional<int64_t> WholeNumber(std::string_view text) {
  int64_t number = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (failure != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

Expectation ParseError(std::string_view rest) {
  Expectation expectation{Expectation::Kind::Error, {}, {}, {}};
  if (rest.empty()) return expectation;
  expectation.errorNumber = WholeNumber(rest);
  if (!expectation.errorNumber) throw std::invalid_argument("\"expect error\" takes an error number");
  return expectation;
}

Expectation ParseComparison(std::string_view body) {
  const auto space = body.find_first_of(" \t");
  if (space == std::string_view::npos) throw std::invalid_argument("expected \"PATH = VALUE\" or \"PATH contains TEXT\"");
  const auto path = std::string(body.substr(0, space));
  const auto rest = TrimBlanks(body.substr(space));
  if (rest.starts_with("=")) {
    return {Expectation::Kind::Equals, path, ValueText(TrimBlanks(rest.substr(1))), {}};
  }
  constexpr std::string_view ContainsWord = "contains";
  if (rest.starts_with(ContainsWord)) {
    const Json text = ValueText(TrimBlanks(rest.substr(ContainsWord.size())));
    return {Expectation::Kind::Contains, path, text.is_string() ? text : Json(text.dump()), {}};
  }
  throw std::invalid_argument("expected \"=\" or \"contains\" after " + path);
}

// The field a dotted path names, or nothing.
const Json* Find(const Json& reply, const std::string& path) {
  const Json* node = &reply;
  size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find('.', start), path.size());
    const auto part = path.substr(start, end - start);
    if (node->is_object() && node->contains(part)) {
      node = &(*node)[part];
    } else if (const auto index = WholeNumber(part); node->is_array() && index && *index >= 0 &&
                                                      static_cast<size_t>(*index) < node->size()) {
      node = &(*node)[static_cast<size_t>(*index)];
    } else {
      return nullptr;
    }
    start = end + 1;
  }
  return node;
}

std::string Shown(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::optional<std::string> CheckError(const Expectation& expectation, const Json& reply) {
  if (reply.value("ok", true)) return "the request succeeded, an error was expected";
  if (!expectation.errorNumber) return std::nullopt;
  const Json* number = Find(reply, "error.number");
  if (number && *number == *expectation.errorNumber) return std::nullopt;
  return "error " + (number ? Shown(*number) : std::string("?")) + ", expected error " +
         std::to_string(*expectation.errorNumber);
}

std::optional<std::string> CheckField(const Expectation& expectation, const Json& reply) {
  const Json* field = Find(reply, expectation.path);
  if (!field) return "the reply has no field " + expectation.path;
  if (expectation.kind == Expectation::Kind::Equals) {
    if (*field == expectation.value) return std::nullopt;
    return expectation.path + " is " + Shown(*field) + ", expected " + Shown(expectation.value);
  }
  if (field->is_string() && field->get<std::string>().find(expectation.value.get<std::string>()) != std::string::npos) {
    return std::nullopt;
  }
  return expectation.path + " is " + Shown(*field) + ", which does not contain " + Shown(expectation.value);
}

}  // namespace

bool IsExpectLine(std::string_view line) {
  const auto text = TrimBlanks(line);
  return text.starts_with(ExpectWord) && (text.size() == ExpectWord.size() || text[ExpectWord.size()] == ' ' ||
                                          text[ExpectWord.size()] == '\t');
}

Expectation ParseExpectation(std::string_view line) {
  const auto body = TrimBlanks(TrimBlanks(line).substr(ExpectWord.size()));
  if (body == "ok") return {};
  if (body == "ended") return {Expectation::Kind::Ended, {}, {}, {}};
  if (body == "error" || body.starts_with("error ")) return ParseError(TrimBlanks(body.substr(5)));
  if (body.empty()) throw std::invalid_argument("\"expect\" needs a condition");
  return ParseComparison(body);
}

std::optional<std::string> CheckReply(const Expectation& expectation, const Json& reply) {
  switch (expectation.kind) {
    case Expectation::Kind::Ok:
      if (reply.value("ok", false)) return std::nullopt;
      return "the request failed: " + Shown(reply.value("error", Json()));
    case Expectation::Kind::Error: return CheckError(expectation, reply);
    case Expectation::Kind::Ended: break;
    default: return CheckField(expectation, reply);
  }
  return "internal: \"expect ended\" is not a reply check";
}

}  // namespace director
