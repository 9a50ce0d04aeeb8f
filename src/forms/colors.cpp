#include "forms/colors.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "runtime/text.h"

namespace forms {
namespace {

struct SystemColor {
  const char* name;
  int r, g, b;
};

// The fixed system colour scheme the renderer and the model use (index = system colour number).
constexpr std::array<SystemColor, 25> kSystemColors = {{
    {"ScrollBars", 212, 208, 200},
    {"Desktop", 58, 110, 165},
    {"ActiveTitleBar", 10, 36, 106},
    {"InactiveTitleBar", 128, 128, 128},
    {"MenuBar", 212, 208, 200},
    {"WindowBackground", 255, 255, 255},
    {"WindowFrame", 0, 0, 0},
    {"MenuText", 0, 0, 0},
    {"WindowText", 0, 0, 0},
    {"TitleBarText", 255, 255, 255},
    {"ActiveBorder", 212, 208, 200},
    {"InactiveBorder", 212, 208, 200},
    {"ApplicationWorkspace", 128, 128, 128},
    {"Highlight", 10, 36, 106},
    {"HighlightText", 255, 255, 255},
    {"ButtonFace", 212, 208, 200},
    {"ButtonShadow", 128, 128, 128},
    {"GrayText", 128, 128, 128},
    {"ButtonText", 0, 0, 0},
    {"InactiveCaptionText", 212, 208, 200},
    {"3DHighlight", 255, 255, 255},
    {"3DDKShadow", 64, 64, 64},
    {"3DLight", 212, 208, 200},
    {"InfoText", 0, 0, 0},
    {"InfoBackground", 255, 255, 225},
}};

bool IsSystem(OleColor c) { return (c.value & 0xFF000000u) == 0x80000000u; }

const SystemColor* SystemEntry(OleColor c) {
  uint32_t index = c.value & 0xFFFFFFu;
  return index < kSystemColors.size() ? &kSystemColors[index] : nullptr;
}

std::string Hex(int r, int g, int b, bool upper) {
  char text[8];
  std::snprintf(text, sizeof text, upper ? "#%02X%02X%02X" : "#%02x%02x%02x", r, g, b);
  return text;
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

std::optional<uint32_t> ParseHexDigits(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char ch : digits) {
    int d = HexValue(ch);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return value;
}

}  // namespace

std::string CssColor(OleColor color) {
  if (IsSystem(color)) {
    const SystemColor* entry = SystemEntry(color);
    return entry ? Hex(entry->r, entry->g, entry->b, false) : "#000000";
  }
  return Hex(color.value & 0xFF, (color.value >> 8) & 0xFF, (color.value >> 16) & 0xFF, false);
}

std::string ColorText(OleColor color) {
  if (IsSystem(color)) {
    const SystemColor* entry = SystemEntry(color);
    if (entry) return entry->name;
    char text[16];
    std::snprintf(text, sizeof text, "&H%08X&", color.value);
    return text;
  }
  return Hex(color.value & 0xFF, (color.value >> 8) & 0xFF, (color.value >> 16) & 0xFF, true);
}

std::optional<OleColor> ParseColor(std::string_view text) {
  std::string t = rt::Trim(text);
  if (t.size() == 7 && t[0] == '#') {
    auto rgb = ParseHexDigits(std::string_view(t).substr(1));
    if (!rgb) return std::nullopt;
    return RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
  }
  if (t.size() > 2 && (t[0] == '&') && (t[1] == 'H' || t[1] == 'h')) {
    std::string_view digits = std::string_view(t).substr(2);
    if (!digits.empty() && digits.back() == '&') digits.remove_suffix(1);
    auto value = ParseHexDigits(digits);
    if (!value) return std::nullopt;
    return OleColor{*value};
  }
  for (size_t i = 0; i < kSystemColors.size(); ++i) {
    if (rt::EqualsNoCase(t, kSystemColors[i].name)) return syscolor::Of(static_cast<int>(i));
  }
  if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos && t.size() <= 10) {
    unsigned long long value = std::strtoull(t.c_str(), nullptr, 10);
    if (value <= 0xFFFFFFFFull) return OleColor{static_cast<uint32_t>(value)};
  }
  return std::nullopt;
}

}  // namespace forms
