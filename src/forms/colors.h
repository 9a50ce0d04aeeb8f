#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

// An OLE colour: 0x00BBGGRR for a plain colour, 0x800000nn for system colour nn.
struct OleColor {
  uint32_t value = 0;
  friend bool operator==(OleColor a, OleColor b) { return a.value == b.value; }
};

constexpr OleColor RGB(int r, int g, int b) {
  return OleColor{static_cast<uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))};
}

// System colours by index (vbButtonFace and the rest).
namespace syscolor {
constexpr OleColor Of(int index) { return OleColor{0x80000000u | static_cast<uint32_t>(index)}; }
inline constexpr OleColor WindowBackground = Of(5);
inline constexpr OleColor WindowFrame = Of(6);
inline constexpr OleColor WindowText = Of(8);
inline constexpr OleColor ButtonFace = Of(15);
inline constexpr OleColor ButtonShadow = Of(16);
inline constexpr OleColor GrayText = Of(17);
inline constexpr OleColor ButtonText = Of(18);
inline constexpr OleColor Highlight = Of(13);
inline constexpr OleColor HighlightText = Of(14);
inline constexpr OleColor ThreeDHighlight = Of(20);
inline constexpr OleColor ThreeDDKShadow = Of(21);
inline constexpr OleColor ThreeDLight = Of(22);
inline constexpr OleColor ActiveTitleBar = Of(2);
inline constexpr OleColor TitleBarText = Of(9);
}  // namespace syscolor

// The colour as red, green, blue (system colours from the fixed table), as "#rrggbb".
std::string CssColor(OleColor color);
// "#RRGGBB" for a plain colour, the system colour's name ("ButtonFace") for a system colour.
std::string ColorText(OleColor color);
// Reads "#RRGGBB", a system colour name, "&H00BBGGRR&" or a decimal number; nullopt otherwise.
std::optional<OleColor> ParseColor(std::string_view text);

}  // namespace forms
