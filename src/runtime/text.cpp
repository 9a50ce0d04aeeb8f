#include "runtime/text.h"

#include <algorithm>

namespace rt {
namespace {
// ASCII only, so that the machine's locale never changes a comparison.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string LTrim(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string RTrim(std::string_view s) {
  size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string_view TrimmedView(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Trim(std::string_view s) { return std::string(TrimmedView(s)); }

std::string UCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Upper);
  return out;
}

std::string LCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

size_t InStr(std::string_view s, std::string_view what, size_t start, bool ignoreCase) {
  if (start == 0) start = 1;
  if (s.empty() || start > s.size() + 1) return 0;
  std::string hay = ignoreCase ? UCase(s) : std::string(s);
  std::string needle = ignoreCase ? UCase(what) : std::string(what);
  size_t pos = hay.find(needle, start - 1);
  return pos == std::string::npos ? 0 : pos + 1;
}

std::string Left(std::string_view s, size_t n) { return std::string(s.substr(0, n)); }

std::string Right(std::string_view s, size_t n) { return std::string(n >= s.size() ? s : s.substr(s.size() - n)); }

std::string Mid(std::string_view s, size_t start, size_t n) {
  if (start == 0 || start > s.size()) return {};
  return std::string(s.substr(start - 1, n));
}

}  // namespace rt
