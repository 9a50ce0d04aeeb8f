#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// Reads "Arial 9 bold", "MS Sans Serif 8.25", "Courier New 8.25 bold underline"; false when the
// text has no size.
bool ParseFont(std::string_view text, Font& font);

// The CSS font family a font is drawn with: a Liberation face, then the generic family.
std::string DrawingFamily(const Font& font);

// Deterministic text metrics, the same for the model (label AutoSize) and the renderer: a fixed
// advance-width table per family, whole pixels, 15 twips per pixel.
int TextWidthTwips(std::string_view text, const Font& font);
int LineHeightTwips(const Font& font);
// Lines of `text` (split at CR LF, CR or LF), each broken at blanks to fit `widthTwips` when wrapping.
std::vector<std::string> LayoutLines(std::string_view text, const Font& font, bool wrap, int widthTwips);

}  // namespace forms
