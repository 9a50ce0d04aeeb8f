#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace proc {

// The whole file, or nothing when it is not a file or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `target` and renames it over `target`, so that a
// reader, or a crash, never meets a half-written file. False, with no temporary file left, when
// that fails. `permissions` apply to the new file.
bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 std::filesystem::perms permissions = std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_write |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);

}  // namespace proc
