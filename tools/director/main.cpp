// director: starts the plug-in in its COM mode and drives it over the line protocol, from a
// script file or from lines typed at a terminal.
#include <csignal>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "plugin_process.h"
#include "session.h"

namespace {

constexpr const char* Usage =
    "usage: director [--virtual-clock] [--timeout SECONDS] [--quiet] PROGRAM [SCRIPT] [-- PROGRAM-OPTIONS...]\n"
    "  Starts PROGRAM with -Embedding and runs SCRIPT (\"-\" or none: standard input) over the protocol.\n"
    "  Script lines are protocol lines, \"# comments\" and \"expect ...\" checks of the last reply.\n";

struct Arguments {
  std::string program;
  std::optional<std::string> script;
  std::vector<std::string> pluginOptions{"-Embedding"};
  director::SessionOptions session;
};

int SecondsToMs(const std::string& text) {
  size_t used = 0;
  const double seconds = std::stod(text, &used);
  if (used != text.size() || seconds < 0 || seconds > 86400) throw std::invalid_argument("bad --timeout");
  return static_cast<int>(seconds * 1000);
}

// Raises std::invalid_argument on a command line it cannot read.
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
    } else if (word == "--timeout" && i + 1 < words.size()) {
      arguments.session.replyTimeoutMs = SecondsToMs(words[++i]);
    } else if (word.starts_with("--") || positional.size() == 2) {
      throw std::invalid_argument("unexpected argument " + word);
    } else {
      positional.push_back(word);
    }
  }
  if (positional.empty()) throw std::invalid_argument("no program given");
  arguments.program = positional[0];
  if (positional.size() == 2 && positional[1] != "-") arguments.script = positional[1];
  return arguments;
}

int RunSession(const Arguments& arguments) {
  director::SessionOptions options = arguments.session;
  std::ifstream scriptFile;
  std::istream* lines = &std::cin;
  std::string sourceName = "<input>";
  if (arguments.script) {
    scriptFile.open(*arguments.script);
    if (!scriptFile) {
      std::cerr << "director: cannot read the script " << *arguments.script << "\n";
      return director::UsageError;
    }
    lines = &scriptFile;
    sourceName = *arguments.script;
  } else if (isatty(STDIN_FILENO)) {
    options.echo = false;
    options.stopOnFailure = false;
    options.idleInputFd = STDIN_FILENO;
    std::cerr << "director: type protocol lines (\"verbs\" lists them); end with Ctrl-D.\n";
  }
  director::PluginProcess plugin(arguments.program, arguments.pluginOptions);
  director::Session session(plugin, std::cout, std::cerr, options);
  return session.Run(*lines, sourceName);
}

}  // namespace

int main(int argc, char** argv) {
  // The terminal's lines are read through std::cin's own buffer, so that a typed-ahead line is seen.
  std::ios_base::sync_with_stdio(false);
  // A plug-in that ends while we write to it must not end the director too.
  std::signal(SIGPIPE, SIG_IGN);
  Arguments arguments;
  try {
    arguments = ReadArguments(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& bad) {
    std::cerr << "director: " << bad.what() << "\n" << Usage;
    return director::UsageError;
  }
  try {
    return RunSession(arguments);
  } catch (const std::runtime_error& failure) {
    std::cerr << "director: " << failure.what() << "\n";
    return director::UsageError;
  }
}
