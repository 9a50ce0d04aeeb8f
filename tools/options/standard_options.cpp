#include "standard_options.h"

#include "host/identity.h"

namespace tool {

std::optional<int> AnswerHelpOrVersion(const Tool& tool, int argc, const char* const* argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--") break;
    if (word == "--help") {
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

}  // namespace tool
