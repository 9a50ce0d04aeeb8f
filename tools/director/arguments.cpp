#include "arguments.h"

#include <charconv>
#include <stdexcept>

#include "standard_options.h"

namespace director {
namespace {

constexpr double LongestTimeout = 86400;

int SecondsToMs(const std::string& text) {
  double seconds = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || !(seconds >= 0 && seconds <= LongestTimeout)) {
    throw std::invalid_argument("--timeout takes a number of seconds from 0 to 86400, not \"" + text + "\"");
  }
  return static_cast<int>(seconds * 1000);
}

}  // namespace

const char* const Usage =
    "usage: director [--virtual-clock] [--timeout SECONDS] [--quiet] PROGRAM [SCRIPT] [-- PROGRAM-OPTIONS...]\n"
    "  Starts PROGRAM with -Embedding and runs SCRIPT (\"-\" or none: standard input) over the protocol.\n"
    "  Script lines are protocol lines, \"# comments\" and \"expect ...\" checks of the last reply.\n";

Arguments ReadArguments(const std::vector<std::string>& words) {
  Arguments arguments;
  std::vector<std::string> positional;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "--") {
      arguments.pluginOptions.insert(arguments.pluginOptions.end(), words.begin() + static_cast<long>(i) + 1, words.end());
      break;
    }
    if (word == "--virtual-clock") {
      arguments.pluginOptions.push_back(word);
    } else if (word == "--quiet") {
      arguments.session.echo = false;
    } else if (word == "--timeout") {
      if (i + 1 == words.size()) throw std::invalid_argument("--timeout needs a number of seconds");
      arguments.session.replyTimeoutMs = SecondsToMs(words[++i]);
    } else if (tool::IsOption(word) || positional.size() == 2) {
      throw std::invalid_argument(tool::UnexpectedArgument(word));
    } else {
      positional.push_back(word);
    }
  }
  if (positional.empty()) throw std::invalid_argument("no program given");
  arguments.program = positional[0];
  if (positional.size() == 2 && positional[1] != "-") arguments.script = positional[1];
  return arguments;
}

}  // namespace director
