#pragma once

#include <string>
#include <string_view>

namespace rt {

// Text helpers on single-byte characters, positions 1-based as the system's code counts them.
std::string Trim(std::string_view s);   // blanks only, both ends
// The same part of `s` without copying it.
std::string_view TrimmedView(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Position of `what` in `s` at or after `start` (1-based); 0 when absent.
size_t InStr(std::string_view s, std::string_view what, size_t start = 1, bool ignoreCase = false);
std::string Left(std::string_view s, size_t n);
std::string Right(std::string_view s, size_t n);
std::string Mid(std::string_view s, size_t start, size_t n = std::string_view::npos);  // 1-based start

}  // namespace rt
