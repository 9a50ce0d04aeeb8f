#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant_json.h"

namespace automation {

// Lines a channel skips without a reply: blank lines and "#" comments.
bool IsBlankOrComment(std::string_view line);

// Reads one request line: a JSON object with a "verb", or the short form
// `verb field=value field=value ...`, whose values are JSON where they read as JSON
// (5, true, "two words", [1,2], {"type":"Byte","value":7}) and plain text otherwise.
// Raises 5 with the reason when the line is neither, or is not valid UTF-8.
Json ParseRequestLine(std::string_view line);

// One request's fields, read with clear errors: 5 for a missing field, 13 for a wrong kind.
class Request {
 public:
  explicit Request(Json body);

  std::string Verb() const { return Text("verb"); }
  bool Has(std::string_view field) const;
  const Json& Field(std::string_view field) const;
  // A text field; a number is taken as its text, as a person typing would mean it.
  std::string Text(std::string_view field) const;
  std::optional<std::string> OptionalText(std::string_view field) const;
  // A text field that names a file: error 75 when it holds a NUL, where the file's name would end.
  std::string FilePath(std::string_view field) const;
  std::optional<std::string> OptionalFilePath(std::string_view field) const;
  int64_t WholeNumber(std::string_view field) const;
  int64_t WholeNumber(std::string_view field, int64_t fallback) const;
  // A whole number within 32 bits (control indexes, key codes, pages).
  int Int(std::string_view field) const;
  int Int(std::string_view field, int fallback) const;
  bool Flag(std::string_view field, bool fallback) const;

 private:
  Json body_;
};

}  // namespace automation
