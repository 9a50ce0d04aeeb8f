#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session.h"

namespace director {

extern const char* const Usage;

struct Arguments {
  std::string program;
  std::optional<std::string> script;
  std::vector<std::string> pluginOptions{"-Embedding"};
  SessionOptions session;
};

// Raises std::invalid_argument, saying which word is wrong and what it should be, on a command
// line it cannot read.
Arguments ReadArguments(const std::vector<std::string>& words);

}  // namespace director
