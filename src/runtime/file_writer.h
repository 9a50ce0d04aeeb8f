#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>

namespace rt {

// Replaces the file whole, so that a reader, or a crash, meets either the old content or the
// new, never a part of it: the bytes go to a temporary file in the file's folder, are synced,
// renamed over the file, and the folder is synced. A symbolic link is written through: the file
// it leads to is replaced, the link stays. The new file gets `permissions` when given, else the
// mode of the file it replaces, else the mode the umask leaves of 0666.
// Returns the system's error, empty when the file was replaced; on an error the file is as it
// was and no temporary file is left. A write of a file waits for another writer of the same file
// to finish, and first removes what a killed writer of it left beside it.
[[nodiscard]] std::error_code ReplaceFile(const std::filesystem::path& file, std::string_view bytes,
                                          std::optional<std::filesystem::perms> permissions = std::nullopt);

// The steps of a replacement, in order; Keep links the old file aside so that it can come back
// when the folder cannot be synced.
enum class WriteStep { Open, Write, Sync, Keep, Rename, SyncFolder };

// A seam for the tests: runs before each step, and a nonzero result (an errno) fails the step.
// An empty hook removes it.
void SetWriteStepHook(std::function<int(WriteStep)> hook);

}  // namespace rt
