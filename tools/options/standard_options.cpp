#include "standard_options.h"

#include "host/identity.h"

namespace tool {

std::optional<int> AnswerHelpOrVersion(const Tool& tool, int argc, const char* const* argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--") break;
    if (word == "--help" || word == "-h") {
      out << tool.usage;
      return 0;
    }
    if (word == "--version") {
      // The tools come with the plug-in and carry its version.
      out << tool.name << " " << host::PlugInVersion << "\n";
      return 0;
    }
  }
  return std::nullopt;
}

int RefuseCall(const Tool& tool, std::string_view reason, std::ostream& err) {
  err << tool.name << ": " << reason << "\n" << tool.usage;
  return WrongCall;
}

bool IsOption(std::string_view word) { return word.size() > 1 && word.front() == '-'; }

std::string UnknownOption(std::string_view word) { return "unknown option '" + std::string(word) + "'"; }

std::string UnexpectedArgument(std::string_view word) { return "unexpected argument " + std::string(word); }

}  // namespace tool
