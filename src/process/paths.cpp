#include "process/paths.h"

#include <algorithm>
#include <cctype>
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

bool SortsBefore(const std::string& a, const std::string& b) {
  const std::string upperA = rt::UCase(a);
  const std::string upperB = rt::UCase(b);
  return upperA != upperB ? upperA < upperB : a < b;
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
  const fs::path resolved = ResolvePath(folder);
  const fs::path where = resolved.empty() ? fs::path(".") : resolved;
  std::error_code ec;
  if (!fs::is_directory(where, ec)) return {};
  fs::directory_iterator it(where, ec);
  if (ec) rt::Raise(rt::err::PathFileAccessError, {}, "Path/File access error: " + where.string());
  std::vector<DirEntry> entries;
  for (fs::directory_iterator end; it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!WildcardMatch(pattern, name)) continue;
    std::error_code statusError;
    entries.push_back({name, fs::is_directory(it->status(statusError)),
                       fs::is_symlink(it->symlink_status(statusError))});
  }
  if (ec) rt::Raise(rt::err::PathFileAccessError, {}, "Path/File access error: " + where.string());
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return SortsBefore(a.name, b.name); });
  return entries;
}

}  // namespace proc
