#pragma once

#include <optional>
#include <string_view>

#include "registry/tree.h"

namespace reg {

// The registry file as the registry writes it, read in one pass without building a JSON document
// first. Nothing when the text holds anything it does not take for certain, a damaged file among
// them: the JSON library's reading then decides, and tells what is wrong.
std::optional<Hives> QuickRead(std::string_view text);

}  // namespace reg
