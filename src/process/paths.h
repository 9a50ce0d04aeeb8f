#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace proc {

// The system names files the Windows way ("\bin\XIF32BIN", "*.XIF"): on this file system a path
// is joined with "/" and each existing component is matched without regard to letter case.

// `path` with "\" and "/" both taken as separators; each component that exists under another
// spelling takes the stored spelling. From the first component that does not exist on, the
// rest is kept as written, so a path to a file yet to be made resolves too.
std::filesystem::path ResolvePath(std::string_view path);

// "*" and "?" wildcards, letter case ignored; "*.*" also matches names without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// True when the path names an existing file (following links).
bool FileExists(std::string_view path);
// True when the path names an existing folder (following links); false when it cannot be read.
bool IsDirectory(std::string_view path);

struct DirEntry {
  std::string name;
  bool isDirectory = false;  // the entry, or what its link leads to, is a folder
  bool isLink = false;       // the entry itself is a symbolic link
};

// The entries of `folder` whose names match `pattern`, without "." and "..", sorted by name
// without regard to case (then by exact spelling), so every listing comes in the same order.
// A folder that does not exist lists nothing; one that cannot be read raises error 75.
std::vector<DirEntry> ListDirectory(std::string_view folder, std::string_view pattern = "*");
// The same for a folder named with its stored spelling (as ResolvePath gives it), which is taken
// as it is: a walk down a tree resolves only its root.
std::vector<DirEntry> ListStoredDirectory(const std::filesystem::path& folder, std::string_view pattern = "*");

}  // namespace proc
