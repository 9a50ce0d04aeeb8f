#include "process/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>
#include <system_error>

#include "runtime/error.h"
#include "runtime/text.h"

namespace proc {
namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> components;
  std::string current;
  for (char c : path) {
    if (!IsSeparator(c)) {
      current += c;
      continue;
    }
    if (!current.empty()) components.push_back(std::move(current));
    current.clear();
  }
  if (!current.empty()) components.push_back(std::move(current));
  return components;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

unsigned char UpperByte(char c) { return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); }

// Letter case ignored, then the exact spelling; compared in place, since listings sort often.
bool SortsBefore(std::string_view a, std::string_view b) {
  const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return UpperByte(x) == UpperByte(y); });
  if (inA != a.end() && inB != b.end()) return UpperByte(*inA) < UpperByte(*inB);
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::vector<std::string> SortedNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), SortsBefore);
  return names;
}

// The stored spelling of `component` in `folder`, or nothing when no entry matches.
std::string StoredSpelling(const fs::path& folder, const std::string& component) {
  if (Exists(folder / component)) return component;
  for (const std::string& name : SortedNames(folder.empty() ? fs::path(".") : folder)) {
    if (rt::EqualsNoCase(name, component)) return name;
  }
  return {};
}

bool MatchFrom(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0;
  size_t starAt = std::string_view::npos, resumeAt = 0;
  auto sameChar = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || sameChar(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

[[noreturn]] void RaiseAccessError(const fs::path& folder) {
  rt::Raise(rt::err::PathFileAccessError, {}, "Path/File access error: " + folder.string());
}

// The entry's own type comes with the listing (on most file systems); only a link costs a look
// at what it leads to.
DirEntry EntryOf(int folder, const dirent& entry) {
  DirEntry result{entry.d_name};
  struct stat status {};
  unsigned char type = entry.d_type;
  if (type == DT_UNKNOWN && ::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
    type = IFTODT(status.st_mode);
  }
  result.isLink = type == DT_LNK;
  result.isDirectory = result.isLink ? ::fstatat(folder, entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode)
                                     : type == DT_DIR;
  return result;
}

}  // namespace

fs::path ResolvePath(std::string_view path) {
  fs::path resolved = !path.empty() && IsSeparator(path.front()) ? fs::path("/") : fs::path();
  bool matching = true;
  for (const std::string& component : SplitComponents(path)) {
    if (component == ".") continue;
    if (matching && component != "..") {
      const std::string stored = StoredSpelling(resolved, component);
      matching = !stored.empty();
      resolved /= matching ? stored : component;
    } else {
      resolved /= component;
    }
  }
  return resolved;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  return MatchFrom(pattern, name);
}

bool FileExists(std::string_view path) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(path), ec);
}

bool IsDirectory(std::string_view path) {
  std::error_code ec;
  return fs::is_directory(ResolvePath(path), ec);
}

std::vector<DirEntry> ListDirectory(std::string_view folder, std::string_view pattern) {
  return ListStoredDirectory(ResolvePath(folder), pattern);
}

std::vector<DirEntry> ListStoredDirectory(const fs::path& folder, std::string_view pattern) {
  const fs::path where = folder.empty() ? fs::path(".") : folder;
  std::error_code ec;
  if (!fs::is_directory(where, ec)) return {};
  const std::unique_ptr<DIR, FolderCloser> listing(::opendir(where.c_str()));
  if (!listing) RaiseAccessError(where);
  std::vector<DirEntry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing.get());
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !WildcardMatch(pattern, name)) continue;
    entries.push_back(EntryOf(dirfd(listing.get()), *entry));
  }
  if (errno != 0) RaiseAccessError(where);
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return SortsBefore(a.name, b.name); });
  return entries;
}

}  // namespace proc
