#include "automation/start_setup.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "registry/machine.h"

namespace automation {
namespace {

// False, with the line and the error it met, at the first line that fails.
bool RunLines(Channel& channel, std::istream& lines, const std::string& source, std::ostream& errors) {
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const auto reply = channel.Execute(line);
    if (!reply) continue;
    const Json answer = Json::parse(*reply);
    if (answer.value("ok", false)) continue;
    errors << source << ":" << number << ": " << line << ": " << answer["error"].value("description", "") << "\n";
    return false;
  }
  return true;
}

}  // namespace

bool RunStartLines(Channel& channel, std::ostream& errors) {
  const auto script = reg::MachineFolder() / StartScriptName;
  std::ifstream file(script);
  if (file && !RunLines(channel, file, script.string(), errors)) return false;
  const char* variable = std::getenv(StartLinesVariable);
  std::istringstream lines(variable ? variable : "");
  return RunLines(channel, lines, StartLinesVariable, errors);
}

}  // namespace automation
