#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "registry/tree.h"

namespace reg {

// The registry file as the registry writes it, read in one pass without building a JSON document
// first. Nothing when the text holds anything it does not take for certain, a damaged file among
// them: the JSON library's reading then decides, and tells what is wrong.
std::optional<Hives> QuickRead(std::string_view text);

// Puts the text's next bytes at `into`, at most `room` of them, and tells how many; 0 at its end.
using ReadMore = std::function<size_t(char* into, size_t room)>;
// The same, the text read a piece at a time; `expectedSize`, the size it is thought to have, only
// decides how much room is made ahead.
std::optional<Hives> QuickRead(const ReadMore& readMore, size_t expectedSize);

}  // namespace reg
