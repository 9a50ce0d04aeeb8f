#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace director {

using Json = nlohmann::ordered_json;

// One `expect ...` line of a script, checked against the last reply:
//   expect ok                      the request succeeded
//   expect error [NUMBER]          it failed (with that error number)
//   expect PATH = VALUE            a reply field (dotted path, array items by number) equals
//                                  VALUE, read as JSON when it is JSON, else as text
//   expect PATH contains TEXT      a text field contains TEXT
//   expect ended                   the plug-in process has ended
struct Expectation {
  enum class Kind { Ok, Error, Equals, Contains, Ended };
  Kind kind = Kind::Ok;
  std::string path;
  Json value;
  std::optional<int64_t> errorNumber;
};

bool IsExpectLine(std::string_view line);
// Raises std::invalid_argument with the reason for a line it cannot read.
Expectation ParseExpectation(std::string_view line);
// Why the reply does not meet the expectation; nothing when it does. Not for Kind::Ended.
std::optional<std::string> CheckReply(const Expectation& expectation, const Json& reply);

}  // namespace director
