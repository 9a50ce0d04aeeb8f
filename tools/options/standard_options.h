#pragma once

#include <iostream>
#include <optional>
#include <string_view>

// The two options every program of this project answers before it does anything else.
namespace tool {

struct Tool {
  std::string_view name;
  // "usage: NAME ..." and what the program does; each line ends with "\n".
  std::string_view usage;
};

// When a word before any "--" is --help or --version, writes the usage or the version line to
// `out` and gives the exit code 0; otherwise gives nothing, and the program goes on. Either way
// nothing is read or written elsewhere.
std::optional<int> AnswerHelpOrVersion(const Tool& tool, int argc, const char* const* argv,
                                       std::ostream& out = std::cout);

}  // namespace tool
