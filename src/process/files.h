#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace proc {

// The whole file, or nothing when it is not a file or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// The file's first `count` lines with their line ends (all of a shorter file), read no further;
// nothing when it is not a file or cannot be read. The path is taken as it is stored.
std::optional<std::string> ReadFirstLines(const std::string& path, size_t count);

}  // namespace proc
