#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace proc {

// The whole file, or nothing when it is not a file or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace proc
