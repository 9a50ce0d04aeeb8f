#pragma once

#include <string>
#include <string_view>

namespace rt {

// Texts are UTF-8. Lengths and positions count 16-bit code units (UTF-16), positions 1-based, as
// the system's code counts them: a character outside the Basic Multilingual Plane counts two.
// A cut never splits a character; one that the cut would split is left out whole. A byte that
// begins no valid UTF-8 sequence counts one unit and is kept as it is: a cut never makes a valid
// text invalid, and never repairs an invalid one (a file path must keep its bytes).
size_t Len(std::string_view s);
bool IsUtf8(std::string_view s);
// The first character of `s`: its code point and its bytes; U+FFFD and one byte for a byte that
// begins no valid sequence, {0, 0} for an empty text.
struct Character {
  char32_t code = 0;
  size_t bytes = 0;
  size_t Units() const noexcept { return bytes == 0 ? 0 : code > 0xFFFF ? 2 : 1; }
};
Character FirstCharacter(std::string_view s);
// The last character of `s` as a reading from its start divides it; {0, 0} for an empty text.
Character LastCharacter(std::string_view s);
// A place between characters: its byte offset and the code units it stands after.
struct TextPlace {
  size_t byte = 0;
  size_t units = 0;
};
// From byte `from` of `s`, past the whole characters that fit in `units` code units; the place's
// units count those passed.
TextPlace FitUnits(std::string_view s, size_t from, size_t units);
// A code point as UTF-8; empty for one that is no character (a surrogate, or beyond U+10FFFF).
std::string Utf8(char32_t code);
std::string Trim(std::string_view s);   // blanks only, both ends
// The same part of `s` without copying it.
std::string_view TrimmedView(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// Case is ASCII only: other letters compare and convert as they are.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Position of `what` in `s` at or after `start`; 0 when absent.
size_t InStr(std::string_view s, std::string_view what, size_t start = 1, bool ignoreCase = false);
// Each cut counts from the start of `s`: Mid over a long text in a loop is quadratic (no caller
// does that); a walk over its characters takes FirstCharacter on a view.
std::string Left(std::string_view s, size_t n);
std::string Right(std::string_view s, size_t n);
std::string Mid(std::string_view s, size_t start, size_t n = std::string_view::npos);

}  // namespace rt
