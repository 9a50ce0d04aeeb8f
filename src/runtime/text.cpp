#include "runtime/text.h"

#include <algorithm>

namespace rt {
namespace {
// ASCII only, so that the machine's locale never changes a comparison.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the UTF-8 sequence that starts at `at`, 0 when it is not one (overlong forms and
// surrogates are not).
size_t SequenceLength(std::string_view text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (size_t i = at + 2; i < at + length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// Past the character at `place`; a byte that begins no sequence stands alone.
TextPlace Next(std::string_view s, TextPlace place) {
  const size_t length = SequenceLength(s, place.byte);
  if (length == 0) return {place.byte + 1, place.units + 1};
  return {place.byte + length, place.units + (length == 4 ? 2 : 1)};
}

// Past whole characters until `units` code units are passed; a character that
// straddles the count is passed too, so that what follows starts on a character.
TextPlace Skip(std::string_view s, size_t units) {
  TextPlace place;
  while (place.byte < s.size() && place.units < units) place = Next(s, place);
  return place;
}

// Position of the first `what` in `s` at or after `place` that starts on a character; 0 when none.
size_t FindOnCharacter(std::string_view s, std::string_view what, TextPlace place) {
  for (size_t found = s.find(what, place.byte); found != std::string_view::npos; found = s.find(what, place.byte)) {
    while (place.byte < found) place = Next(s, place);
    if (place.byte == found) return place.units + 1;
  }
  return 0;
}

}  // namespace

size_t Len(std::string_view s) { return Skip(s, std::string_view::npos).units; }

bool IsUtf8(std::string_view s) {
  for (size_t at = 0; at < s.size();) {
    const size_t length = SequenceLength(s, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

Character FirstCharacter(std::string_view s) {
  if (s.empty()) return {};
  const size_t length = SequenceLength(s, 0);
  if (length == 0) return {0xFFFD, 1};
  // The lead byte's payload is what its length marker leaves.
  char32_t code = static_cast<unsigned char>(s[0]) & (0xFFu >> (length == 1 ? 1 : length + 1));
  for (size_t i = 1; i < length; ++i) code = code << 6 | (static_cast<unsigned char>(s[i]) & 0x3Fu);
  return {code, length};
}

// A lead byte is never a continuation byte, so a reading from the start stops where a valid
// sequence that ends the text begins.
Character LastCharacter(std::string_view s) {
  for (size_t length = 2; length <= 4 && length <= s.size(); ++length) {
    if (SequenceLength(s, s.size() - length) == length) return FirstCharacter(s.substr(s.size() - length));
  }
  return FirstCharacter(s.substr(s.empty() ? 0 : s.size() - 1));
}

TextPlace FitUnits(std::string_view s, size_t from, size_t units) {
  TextPlace place{from, 0};
  for (TextPlace next; place.byte < s.size(); place = next) {
    next = Next(s, place);
    if (next.units > units) break;
  }
  return place;
}

std::string Utf8(char32_t code) {
  if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return {};
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  const size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  std::string bytes(length, '\0');
  for (size_t i = length - 1; i > 0; --i, code >>= 6) bytes[i] = static_cast<char>(0x80 | (code & 0x3F));
  bytes[0] = static_cast<char>((0xF00u >> length) | code);
  return bytes;
}

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
  const TextPlace place = Skip(s, start - 1);
  if (s.empty() || place.units < start - 1) return 0;
  if (!ignoreCase) return FindOnCharacter(s, what, place);
  // Case changes no byte outside ASCII, so the searched part divides into the same characters.
  return FindOnCharacter(UCase(s.substr(place.byte)), UCase(what), {0, place.units});
}

std::string Left(std::string_view s, size_t n) { return std::string(s.substr(0, FitUnits(s, 0, n).byte)); }

std::string Right(std::string_view s, size_t n) {
  const size_t length = Len(s);
  return n >= length ? std::string(s) : std::string(s.substr(Skip(s, length - n).byte));
}

std::string Mid(std::string_view s, size_t start, size_t n) {
  if (start == 0) return {};
  const size_t from = Skip(s, start - 1).byte;
  return std::string(s.substr(from, FitUnits(s, from, n).byte - from));
}

}  // namespace rt
