#include "automation/request.h"

#include <cstdint>
#include <vector>

#include "automation/protocol_error.h"
#include "runtime/error.h"
#include "runtime/text.h"

namespace automation {
namespace {

// One set of blanks for trimming and splitting, whatever the locale.
constexpr std::string_view Blanks = " \t\n\v\f\r";

bool IsBlank(char c) { return Blanks.find(c) != std::string_view::npos; }

// Requests are flat; deep nesting would only exhaust the stack of the JSON code that copies it.
constexpr int MaxNesting = 32;

// Follows quotes and brackets through a line, one character at a time.
class Nesting {
 public:
  void Take(char c) {
    if (escaped_) {
      escaped_ = false;
    } else if (inQuotes_) {
      escaped_ = c == '\\';
      inQuotes_ = c != '"';
    } else if (c == '"') {
      inQuotes_ = true;
    } else if ((c == '[' || c == '{') && ++depth_ > MaxNesting) {
      RaiseMalformed("nested more than " + std::to_string(MaxNesting) + " levels deep");
    } else if ((c == ']' || c == '}') && depth_ > 0) {
      --depth_;
    }
  }
  bool AtTopLevel() const noexcept { return !inQuotes_ && depth_ == 0; }

 private:
  bool inQuotes_ = false;
  bool escaped_ = false;
  int depth_ = 0;
};

// A JSON object finds its keys by a linear search: a request's objects stay small, so that reading
// one costs no more than its length.
constexpr size_t MaxKeys = 64;

[[noreturn]] void RaiseTooManyKeys() {
  RaiseMalformed("an object with more than " + std::to_string(MaxKeys) + " fields");
}

// The JSON value of `text`, discarded when it is none; error 5 for an object with too many keys.
Json ParseJson(std::string_view text) {
  std::vector<size_t> keys;  // of each object being read
  return Json::parse(
      text,
      [&keys](int, Json::parse_event_t event, Json&) {
        if (event == Json::parse_event_t::object_start) keys.push_back(0);
        if (event == Json::parse_event_t::key && ++keys.back() > MaxKeys) RaiseTooManyKeys();
        if (event == Json::parse_event_t::object_end) keys.pop_back();
        return true;
      },
      false);
}

void RefuseDeepNesting(std::string_view line) {
  Nesting nesting;
  for (char c : line) nesting.Take(c);
}

// Splits the short form at blanks that stand outside quotes and brackets.
std::vector<std::string> SplitShortForm(std::string_view line) {
  std::vector<std::string> tokens;
  std::string token;
  Nesting nesting;
  for (char c : line) {
    if (nesting.AtTopLevel() && IsBlank(c)) {
      if (!token.empty()) tokens.push_back(std::move(token));
      token.clear();
      continue;
    }
    token += c;
    nesting.Take(c);
  }
  if (!nesting.AtTopLevel()) RaiseMalformed("unbalanced quotes or brackets");
  if (!token.empty()) tokens.push_back(std::move(token));
  return tokens;
}

Json ShortFormValue(const std::string& key, const std::string& text) {
  Json value = ParseJson(text);
  if (!value.is_discarded()) return value;
  if (!text.empty() && (text.front() == '"' || text.front() == '[' || text.front() == '{')) {
    RaiseMalformed("the value of \"" + key + "\" is not valid JSON");
  }
  return text;
}

Json ParseShortForm(std::string_view line) {
  const auto tokens = SplitShortForm(line);
  Json body = {{"verb", tokens.front()}};
  for (size_t i = 1; i < tokens.size(); ++i) {
    const auto equals = tokens[i].find('=');
    if (equals == std::string::npos || equals == 0) {
      RaiseMalformed("expected field=value, found \"" + tokens[i] + "\"");
    }
    const auto key = tokens[i].substr(0, equals);
    body[key] = ShortFormValue(key, tokens[i].substr(equals + 1));
    if (body.size() > MaxKeys) RaiseTooManyKeys();
  }
  return body;
}

Json ParseJsonLine(std::string_view line) {
  Json body = ParseJson(line);
  if (body.is_discarded()) RaiseMalformed("not valid JSON");
  if (!body.is_object()) RaiseMalformed("a JSON request must be an object");
  const auto verb = body.find("verb");
  if (verb == body.end() || !verb->is_string()) RaiseMalformed("no \"verb\" text");
  return body;
}

}  // namespace

bool IsBlankOrComment(std::string_view line) {
  const auto start = line.find_first_not_of(Blanks);
  return start == std::string_view::npos || line[start] == '#';
}

Json ParseRequestLine(std::string_view line) {
  const auto start = line.find_first_not_of(Blanks);
  if (start == std::string_view::npos) RaiseMalformed("empty line");
  line.remove_prefix(start);
  // The JSON reader would take a NUL byte for the end of the line.
  if (line.find('\0') != std::string_view::npos) RaiseMalformed("a NUL byte in the line");
  // Checked here for both forms: the short form would pass a plain value's bytes on as they are.
  if (!rt::IsUtf8(line)) RaiseMalformed("not valid UTF-8");
  RefuseDeepNesting(line);
  return line.front() == '{' ? ParseJsonLine(line) : ParseShortForm(line);
}

Request::Request(Json body) : body_(std::move(body)) {}

bool Request::Has(std::string_view field) const { return body_.contains(field); }

const Json& Request::Field(std::string_view field) const {
  const auto it = body_.find(field);
  if (it == body_.end()) RaiseMalformed("missing field \"" + std::string(field) + "\"");
  return *it;
}

std::string Request::Text(std::string_view field) const {
  const Json& value = Field(field);
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number()) return value.dump();
  RaiseWrongType(field, "a text");
}

std::optional<std::string> Request::OptionalText(std::string_view field) const {
  if (!Has(field)) return std::nullopt;
  return Text(field);
}

std::string Request::FilePath(std::string_view field) const {
  std::string path = Text(field);
  if (path.find('\0') != std::string::npos) {
    rt::Raise(rt::err::PathFileAccessError, std::string(ChannelErrorSource),
              rt::ErrorText(rt::err::PathFileAccessError) + ": \"" + std::string(field) + "\" holds a NUL character");
  }
  return path;
}

std::optional<std::string> Request::OptionalFilePath(std::string_view field) const {
  if (!Has(field)) return std::nullopt;
  return FilePath(field);
}

int64_t Request::WholeNumber(std::string_view field) const {
  const Json& value = Field(field);
  const bool beyondRange = value.is_number_unsigned() && value.get<uint64_t>() > INT64_MAX;
  if (!value.is_number_integer() || beyondRange) RaiseWrongType(field, "a whole number");
  return value.get<int64_t>();
}

int64_t Request::WholeNumber(std::string_view field, int64_t fallback) const {
  return Has(field) ? WholeNumber(field) : fallback;
}

int Request::Int(std::string_view field) const {
  const int64_t value = WholeNumber(field);
  if (value < INT32_MIN || value > INT32_MAX) RaiseWrongType(field, "a whole number within 32 bits");
  return static_cast<int>(value);
}

int Request::Int(std::string_view field, int fallback) const { return Has(field) ? Int(field) : fallback; }

bool Request::Flag(std::string_view field, bool fallback) const {
  if (!Has(field)) return fallback;
  const Json& value = Field(field);
  if (!value.is_boolean()) RaiseWrongType(field, "true or false");
  return value.get<bool>();
}

}  // namespace automation
