#pragma once

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// What every program of this project answers before it does anything else, and how each refuses a
// call it cannot take.
namespace tool {

struct Tool {
  std::string_view name;
  // "usage: NAME ..." and what the program does; each line ends with "\n".
  std::string_view usage;
};

// The exit code of a call the program cannot take.
inline constexpr int WrongCall = 2;

// When a word before any "--" is --help (or -h) or --version, writes the usage or the version line
// to `out` and gives the exit code 0; otherwise gives nothing, and the program goes on. Either way
// nothing is read or written elsewhere.
std::optional<int> AnswerHelpOrVersion(const Tool& tool, int argc, const char* const* argv,
                                       std::ostream& out = std::cout);

// Writes "NAME: reason" and the usage to `err` and gives WrongCall.
int RefuseCall(const Tool& tool, std::string_view reason, std::ostream& err = std::cerr);

// What `read` makes of the command line; when it raises std::invalid_argument, saying what is
// wrong, the call is refused (RefuseCall) and nothing comes back.
template <class Read>
auto ReadCommandLine(const Tool& tool, Read read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const std::invalid_argument& wrong) {
    RefuseCall(tool, wrong.what());
    return std::nullopt;
  }
}

// A word that starts with "-" names an option; no program takes such a word as a name or a path.
// "-" alone is none: it stands for the standard input.
bool IsOption(std::string_view word);
std::string UnknownOption(std::string_view word);
std::string UnexpectedArgument(std::string_view word);

}  // namespace tool
