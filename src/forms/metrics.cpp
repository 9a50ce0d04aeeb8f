#include "forms/metrics.h"

#include <array>
#include <cctype>
#include <cmath>
#include <sstream>

#include "runtime/text.h"

namespace forms {
namespace {

// Advance widths in 1/1000 em of the printable ASCII characters (32..126) of the sans-serif face,
// regular and bold (the Arial-compatible face every proportional font is drawn in).
constexpr std::array<int, 95> kSansRegular = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  // space../
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556,                                // 0..9
    278, 278, 584, 584, 584, 556, 1015,                                              // :..@
    667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833,                 // A..M
    722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611,                 // N..Z
    278, 278, 278, 469, 556, 333,                                                    // [..`
    556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833,                 // a..m
    556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500,                 // n..z
    334, 260, 334, 584};                                                             // {..~
constexpr std::array<int, 95> kSansBold = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278,
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556,
    333, 333, 584, 584, 584, 611, 975,
    722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833,
    722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611,
    333, 278, 333, 584, 556, 333,
    556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889,
    611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500,
    389, 280, 389, 584};
constexpr int kOtherGlyph = 556;  // characters beyond ASCII
constexpr int kMonospaceGlyph = 600;

double PixelSize(const Font& font) { return font.size * 96.0 / 72.0; }

bool IsMonospace(const Font& font) {
  std::string name = rt::LCase(font.name);
  return name.find("courier") != std::string::npos || name.find("mono") != std::string::npos ||
         name == "fixedsys" || name == "terminal";
}

int GlyphWidth(unsigned char ch, const Font& font) {
  if (IsMonospace(font)) return kMonospaceGlyph;
  if (ch < 32 || ch > 126) return kOtherGlyph;
  return (font.bold ? kSansBold : kSansRegular)[ch - 32];
}

bool IsContinuationByte(unsigned char ch) { return (ch & 0xC0) == 0x80; }

std::vector<std::string> SplitParagraphs(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += ch;
    }
  }
  return lines;
}

void WrapParagraph(const std::string& paragraph, const Font& font, int widthTwips, std::vector<std::string>& out) {
  std::istringstream words(paragraph);
  std::string word, line;
  while (words >> word) {
    std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidthTwips(candidate, font) > widthTwips) {
      out.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  out.push_back(line);
}

}  // namespace

bool ParseFont(std::string_view text, Font& font) {
  std::istringstream words{std::string(text)};
  std::string word, name;
  Font parsed;
  bool haveSize = false;
  while (words >> word) {
    std::string lower = rt::LCase(word);
    if (!haveSize && !word.empty() && (std::isdigit(static_cast<unsigned char>(word[0])) != 0)) {
      try {
        size_t used = 0;
        parsed.size = std::stod(word, &used);
        if (used != word.size() || parsed.size <= 0) return false;
      } catch (const std::exception&) {
        return false;
      }
      haveSize = true;
    } else if (haveSize && lower == "bold") {
      parsed.bold = true;
    } else if (haveSize && lower == "italic") {
      parsed.italic = true;
    } else if (haveSize && lower == "underline") {
      parsed.underline = true;
    } else if (!haveSize) {
      name += name.empty() ? word : " " + word;
    } else {
      return false;
    }
  }
  if (!haveSize || name.empty()) return false;
  parsed.name = name;
  font = parsed;
  return true;
}

// Debian's Liberation faces (fonts-liberation) have the advance widths of Arial and Courier New,
// so what is drawn matches the width tables above. Every other face (MS Sans Serif, which has no
// such twin, among them) is drawn, as it is measured, in the Arial-compatible sans.
std::string DrawingFamily(const Font& font) {
  return IsMonospace(font) ? "Liberation Mono, monospace" : "Liberation Sans, sans-serif";
}

int TextWidthTwips(std::string_view text, const Font& font) {
  long units = 0;
  for (char c : text) {
    auto ch = static_cast<unsigned char>(c);
    if (!IsContinuationByte(ch)) units += GlyphWidth(ch, font);
  }
  int pixels = static_cast<int>(std::ceil(static_cast<double>(units) * PixelSize(font) / 1000.0 - 1e-9));
  return pixels * kTwipsPerPixel;
}

int LineHeightTwips(const Font& font) {
  int pixels = static_cast<int>(std::ceil(PixelSize(font) * 1.15 - 1e-9)) + 1;
  return pixels * kTwipsPerPixel;
}

std::vector<std::string> LayoutLines(std::string_view text, const Font& font, bool wrap, int widthTwips) {
  std::vector<std::string> paragraphs = SplitParagraphs(text);
  if (!wrap) return paragraphs;
  std::vector<std::string> lines;
  for (const auto& paragraph : paragraphs) WrapParagraph(paragraph, font, widthTwips, lines);
  return lines;
}

}  // namespace forms
