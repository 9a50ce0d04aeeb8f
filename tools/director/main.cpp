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

#include "arguments.h"
#include "com/classes.h"
#include "plugin_process.h"
#include "registry/machine.h"
#include "runtime/error.h"
#include "session.h"
#include "standard_options.h"

namespace {

using director::Arguments;

const tool::Tool Director{"director", director::Usage};

// A registry that cannot be read registers none: the plug-in's own reply says what is wrong with it.
std::vector<std::string> RegisteredProgIds() {
  try {
    return com::RegisteredProgIds();
  } catch (const rt::Error&) {
    return {};
  }
}

int RunSession(const Arguments& arguments) {
  director::SessionOptions options = arguments.session;
  options.machineFolder = reg::MachineFolder().string();
  options.registeredProgIds = RegisteredProgIds;
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
  if (const auto answered = tool::AnswerHelpOrVersion(Director, argc, argv)) return *answered;
  // The terminal's lines are read through std::cin's own buffer, so that a typed-ahead line is seen.
  std::ios_base::sync_with_stdio(false);
  // A plug-in that ends while we write to it must not end the director too.
  std::signal(SIGPIPE, SIG_IGN);
  const auto arguments = tool::ReadCommandLine(
      Director, [&] { return director::ReadArguments(std::vector<std::string>(argv + 1, argv + argc)); });
  if (!arguments) return tool::WrongCall;
  try {
    return RunSession(*arguments);
  } catch (const std::exception& failure) {
    std::cerr << "director: " << failure.what() << "\n";
    return director::UsageError;
  }
}
