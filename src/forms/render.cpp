#include "forms/render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/internal.h"
#include "forms/layout.h"
#include "forms/metrics.h"
#include "runtime/text.h"

namespace forms {
namespace {

double Px(double twips) { return twips / kTwipsPerPixel; }

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  std::string s = text;
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

// The characters XML 1.0 allows; a surrogate never reaches here, as it is no UTF-8 character.
bool IsXmlCharacter(char32_t code) {
  return code == '\t' || code == '\n' || code == '\r' || (code >= 0x20 && code <= 0xFFFD) || code >= 0x10000;
}

// A text as character data or a quoted attribute value. A control's text keeps whatever bytes it
// was given, so a byte that begins no UTF-8 character, and a character that XML forbids, is drawn
// as U+FFFD (as the protocol's replies show it): the document always parses.
std::string Escape(std::string_view text) {
  static const std::string replacement = rt::Utf8(0xFFFD);
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const rt::Character character = rt::FirstCharacter(text.substr(at));
    switch (character.code) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // U+FFFD is also what a byte that begins no character reads as.
      case 0xFFFD: out += replacement; break;
      default: out += IsXmlCharacter(character.code) ? text.substr(at, character.bytes) : replacement;
    }
    at += character.bytes;
  }
  return out;
}

std::string Base64(std::string_view data) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < data.size(); i += 3) {
    uint32_t chunk = static_cast<uint8_t>(data[i]) << 16;
    if (i + 1 < data.size()) chunk |= static_cast<uint8_t>(data[i + 1]) << 8;
    if (i + 2 < data.size()) chunk |= static_cast<uint8_t>(data[i + 2]);
    out += digits[(chunk >> 18) & 63];
    out += digits[(chunk >> 12) & 63];
    out += i + 1 < data.size() ? digits[(chunk >> 6) & 63] : '=';
    out += i + 2 < data.size() ? digits[chunk & 63] : '=';
  }
  return out;
}

// A caption with its access-key marker: "E&xit" shows "Exit" with the x underlined; "&&" is "&".
struct Mnemonic {
  std::string text;
  int underline = -1;
};

Mnemonic StripMnemonic(std::string_view caption) {
  Mnemonic m;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && m.underline < 0) m.underline = static_cast<int>(m.text.size());
    }
    m.text += caption[i];
  }
  return m;
}

std::string FontAttributes(const Font& font) {
  std::string a = " font-family=\"" + DrawingFamily(font) + "\" font-size=\"" + Num(font.size * 96.0 / 72.0) + "\"";
  if (font.bold) a += " font-weight=\"bold\"";
  if (font.italic) a += " font-style=\"italic\"";
  if (font.underline) a += " text-decoration=\"underline\"";
  return a;
}

std::string DashArray(int borderStyle, int width) {
  double w = std::max(width, 1);
  switch (borderStyle) {
    case vbBSDash: return " stroke-dasharray=\"" + Num(6 * w) + " " + Num(2 * w) + "\"";
    case vbBSDot: return " stroke-dasharray=\"" + Num(w) + " " + Num(w) + "\"";
    case vbBSDashDot: return " stroke-dasharray=\"" + Num(6 * w) + " " + Num(2 * w) + " " + Num(w) + " " + Num(2 * w) + "\"";
    case vbBSDashDotDot:
      return " stroke-dasharray=\"" + Num(6 * w) + " " + Num(2 * w) + " " + Num(w) + " " + Num(2 * w) + " " + Num(w) +
             " " + Num(2 * w) + "\"";
    default: return "";
  }
}

bool IsDrawn(Kind kind) {
  return kind != Kind::Timer && kind != Kind::CommonDialog && kind != Kind::Menu && kind != Kind::ObjectControl;
}

class SvgWriter {
 public:
  SvgWriter(const Form& form, const RenderView& view) : form_(form), view_(view) {}

  std::string Document() {
    if (view_.only) {
      const Control& c = *view_.only;
      std::string body = "<g transform=\"translate(" + Num(-Px(c.Left())) + "," + Num(-Px(c.Top())) + ")\">\n" +
                         ControlGroup(c) + "</g>\n";
      return Svg(Px(c.Width()), Px(c.Height()), form_.Caption() + " - " + c.DisplayName(), body);
    }
    std::string window = Window();
    return Svg(Px(form_.Width()), Px(form_.Height()), form_.Caption(), window);
  }

 private:
  std::string Svg(double width, double height, const std::string& title, const std::string& body) const {
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(width) << "\" height=\"" << Num(height)
        << "\" viewBox=\"0 0 " << Num(width) << " " << Num(height) << "\" data-form=\"" << Escape(form_.Name())
        << "\">\n<title>" << Escape(title) << "</title>\n<defs>\n"
        << defs_ << "</defs>\n" << body << "</svg>\n";
    return svg.str();
  }

  int ShownPage(const TabControl& tabs) const { return &tabs == view_.tabs ? view_.page : tabs.Tab(); }

  std::string Window() {
    const double w = Px(form_.Width()), h = Px(form_.Height());
    const double border = Px(form_.BorderSize()), caption = Px(form_.CaptionHeight()), menu = Px(form_.MenuBarHeight());
    std::string out = "<g id=\"" + Escape(form_.Name()) + "\" class=\"Form\">\n";
    out += Rect(0, 0, w, h, CssColor(syscolor::ButtonFace), CssColor(syscolor::ThreeDDKShadow));
    if (caption > 0) out += TitleBar(border, border, w - 2 * border, caption);
    if (menu > 0) out += MenuBar(border, border + caption, w - 2 * border, menu);
    out += "<g class=\"client\" transform=\"translate(" + Num(border) + "," + Num(border + caption + menu) + ")\">\n";
    out += Rect(0, 0, Px(form_.ScaleWidth()), Px(form_.ScaleHeight()), CssColor(form_.BackColor()), "");
    out += Children(form_.TopLevelControls(), nullptr);
    out += "</g>\n</g>\n";
    return out;
  }

  std::string TitleBar(double x, double y, double w, double h) {
    OleColor bar = form_.IsActive() ? syscolor::ActiveTitleBar : OleColor{syscolor::Of(3)};
    std::string out = "<g class=\"TitleBar\">" + Rect(x, y, w, h, CssColor(bar), "");
    Font font{"MS Sans Serif", 8.25, true};
    double textLeft = x + 4;
    if (!form_.Icon().empty()) {
      const double icon = 16;
      out += "<g transform=\"translate(" + Num(x + 2) + "," + Num(y + (h - icon) / 2) + ")\">" +
             PictureImage(form_.Icon(), std::pair<double, double>(icon, icon)) + "</g>";
      textLeft += icon + 2;
    }
    out += Text(textLeft, y + h / 2 + 4, "start", {form_.Caption(), -1}, font, syscolor::TitleBarText);
    if (form_.ControlBox()) {
      double size = h - 4;
      out += "<g class=\"CloseBox\">" + Rect(x + w - size - 2, y + 2, size, size, CssColor(syscolor::ButtonFace), "#404040") +
             "<path d=\"M" + Num(x + w - size + 2) + " " + Num(y + 6) + " l" + Num(size - 8) + " " + Num(size - 8) + " m0 " +
             Num(-(size - 8)) + " l" + Num(-(size - 8)) + " " + Num(size - 8) + "\" stroke=\"#000000\" stroke-width=\"1.5\"/></g>";
    }
    return out + "</g>\n";
  }

  std::string MenuBar(double x, double y, double w, double h) {
    std::string out = "<g class=\"MenuBar\">" + Rect(x, y, w, h, CssColor(syscolor::ButtonFace), "");
    double at = x + 6;
    Font font;
    for (const Control* c : form_.TopLevelControls()) {
      const auto* menu = dynamic_cast<const Menu*>(c);
      if (!menu || !menu->Visible()) continue;
      Mnemonic caption = StripMnemonic(menu->Caption());
      OleColor color = menu->Enabled() ? syscolor::ButtonText : syscolor::GrayText;
      out += Text(at, y + h / 2 + 4, "start", caption, font, color);
      at += Px(TextWidthTwips(caption.text, font)) + 14;
    }
    return out + "</g>\n";
  }

  // Windowless controls lie beneath the windowed ones, each group in z-order.
  std::string Children(const std::vector<Control*>& children, const TabControl* tabs) {
    std::string out;
    for (bool windowless : {true, false}) {
      for (const Control* c : children) {
        if (IsWindowless(c->GetKind()) != windowless || !IsDrawn(c->GetKind()) || !c->Visible()) continue;
        if (tabs && c->Page() != ShownPage(*tabs)) continue;
        out += ControlGroup(*c);
      }
    }
    return out;
  }

  std::string ControlGroup(const Control& c) {
    std::string id = c.Index() < 0 ? c.Name() : c.Name() + "." + std::to_string(c.Index());
    std::string out = "<g id=\"" + Escape(id) + "\" class=\"" + std::string(KindName(c.GetKind())) + "\" data-name=\"" +
                      Escape(c.Name()) + "\"";
    if (c.Index() >= 0) out += " data-index=\"" + std::to_string(c.Index()) + "\"";
    if (!c.IsEffectivelyEnabled()) out += " data-disabled=\"true\"";
    if (c.GetKind() != Kind::Line) out += " transform=\"translate(" + Num(Px(c.Left())) + "," + Num(Px(c.Top())) + ")\"";
    out += ">";
    out += Body(c);
    return out + "</g>\n";
  }

  std::string Body(const Control& c) {
    switch (c.GetKind()) {
      case Kind::Label: return LabelBody(static_cast<const Label&>(c));
      case Kind::TextBox: return TextBoxBody(static_cast<const TextBox&>(c));
      case Kind::ComboBox: return ComboBody(static_cast<const ComboBox&>(c));
      case Kind::ListBox: return ListBody(static_cast<const ListBox&>(c));
      case Kind::CommandButton: return ButtonBody(static_cast<const CommandButton&>(c));
      case Kind::Frame: return FrameBody(static_cast<const Frame&>(c));
      case Kind::PictureBox: return PictureBody(static_cast<const PictureBox&>(c));
      case Kind::Image: return ImageBody(static_cast<const Image&>(c));
      case Kind::Line: return LineBody(static_cast<const Line&>(c));
      case Kind::Shape: return ShapeBody(static_cast<const Shape&>(c));
      case Kind::TabControl: return TabBody(static_cast<const TabControl&>(c));
      default: return "";
    }
  }

  std::string LabelBody(const Label& label) {
    const double w = Px(label.Width()), h = Px(label.Height());
    // Not clipped: the model's metrics fit the caption, the drawing font may run a little wider.
    std::string out;
    if (label.BackStyle() == 1) out += Rect(0, 0, w, h, CssColor(label.BackColor()), "");
    if (label.BorderStyle() == 1) out += Rect(0, 0, w, h, "none", "#000000");
    OleColor color = label.IsEffectivelyEnabled() ? label.ForeColor() : syscolor::GrayText;
    Mnemonic caption = StripMnemonic(label.Caption());
    bool wrap = !label.AutoSize() || label.WordWrap();
    auto lines = LayoutLines(caption.text, label.GetFont(), wrap, static_cast<int>(label.Width()));
    const double lineHeight = Px(LineHeightTwips(label.GetFont()));
    const char* anchor = label.Alignment() == vbRightJustify ? "end" : label.Alignment() == vbCenter ? "middle" : "start";
    double x = label.Alignment() == vbRightJustify ? w : label.Alignment() == vbCenter ? w / 2 : 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      out += Text(x, lineHeight * static_cast<double>(i) + Baseline(label.GetFont()), anchor,
                  {lines[i], i == 0 ? caption.underline : -1}, label.GetFont(), color);
    }
    return out;
  }

  std::string TextBoxBody(const TextBox& box) {
    const double w = Px(box.Width()), h = Px(box.Height());
    std::string out = Sunken(w, h, box.BackColor(), box.BorderStyle() == 1) + Clipped(w, h);
    const char* anchor = box.Alignment() == vbRightJustify ? "end" : box.Alignment() == vbCenter ? "middle" : "start";
    double x = box.Alignment() == vbRightJustify ? w - 3 : box.Alignment() == vbCenter ? w / 2 : 3;
    OleColor color = box.IsEffectivelyEnabled() ? box.ForeColor() : syscolor::GrayText;
    out += Text(x, (h - Px(LineHeightTwips(box.GetFont()))) / 2 + Baseline(box.GetFont()), anchor, {box.Text(), -1},
                box.GetFont(), color);
    return out + "</g>";
  }

  std::string ComboBody(const ComboBox& combo) {
    const double w = Px(combo.Width()), h = Px(combo.Height());
    const double button = std::min(16.0, w / 2);
    std::string out = Sunken(w, h, combo.BackColor(), true) + Clipped(w - button, h);
    OleColor color = combo.IsEffectivelyEnabled() ? combo.ForeColor() : syscolor::GrayText;
    out += Text(3, (h - Px(LineHeightTwips(combo.GetFont()))) / 2 + Baseline(combo.GetFont()), "start",
                {combo.Text(), -1}, combo.GetFont(), color);
    out += "</g><g class=\"DropButton\">" + Raised(w - button - 2, 2, button, h - 4, syscolor::ButtonFace);
    double cx = w - button / 2 - 2, cy = h / 2;
    out += "<path d=\"M" + Num(cx - 4) + " " + Num(cy - 2) + " h8 l-4 4 z\" fill=\"" +
           CssColor(combo.IsEffectivelyEnabled() ? syscolor::ButtonText : syscolor::GrayText) + "\"/></g>";
    return out;
  }

  std::string ListBody(const ListBox& list) {
    const double w = Px(list.Width()), h = Px(list.Height());
    std::string out = Sunken(w, h, list.BackColor(), true) + Clipped(w - 2, h - 2);
    const double lineHeight = Px(LineHeightTwips(list.GetFont()));
    for (int i = list.TopIndex(); i < list.ListCount() && i < list.TopIndex() + list.VisibleRows(); ++i) {
      double top = 2 + lineHeight * (i - list.TopIndex());
      bool selected = i == list.ListIndex();
      if (selected) out += Rect(2, top, w - 4, lineHeight, CssColor(syscolor::Highlight), "");
      OleColor color = selected ? syscolor::HighlightText : list.ForeColor();
      out += Text(4, top + Baseline(list.GetFont()), "start", {list.List(i), -1}, list.GetFont(), color);
    }
    return out + "</g>";
  }

  std::string ButtonBody(const CommandButton& button) {
    const double w = Px(button.Width()), h = Px(button.Height());
    std::string out;
    if (button.Default()) out += Rect(0, 0, w, h, "none", "#000000");
    out += Raised(0, 0, w, h, button.BackColor()) + Clipped(w, h);
    OleColor color = button.IsEffectivelyEnabled() ? syscolor::ButtonText : syscolor::GrayText;
    out += Text(w / 2, (h - Px(LineHeightTwips(button.GetFont()))) / 2 + Baseline(button.GetFont()), "middle",
                StripMnemonic(button.Caption()), button.GetFont(), color);
    return out + "</g>";
  }

  std::string FrameBody(const Frame& frame) {
    const double w = Px(frame.Width()), h = Px(frame.Height());
    const double half = Px(LineHeightTwips(frame.GetFont())) / 2;
    std::string out = Clipped(w, h) + Rect(0, 0, w, h, CssColor(frame.BackColor()), "");
    if (frame.BorderStyle() == 1) {
      out += Rect(0.5, half + 0.5, w - 1, h - half - 1, "none", CssColor(syscolor::ButtonShadow));
      out += Rect(1.5, half + 1.5, w - 3, h - half - 3, "none", CssColor(syscolor::ThreeDHighlight));
    }
    if (!frame.Caption().empty()) {
      Mnemonic caption = StripMnemonic(frame.Caption());
      double textWidth = Px(TextWidthTwips(caption.text, frame.GetFont()));
      out += Rect(6, 0, textWidth + 4, half * 2, CssColor(frame.BackColor()), "");
      OleColor color = frame.IsEffectivelyEnabled() ? frame.ForeColor() : syscolor::GrayText;
      out += Text(8, Baseline(frame.GetFont()), "start", caption, frame.GetFont(), color);
    }
    out += Children(frame.Children(), nullptr);
    return out + "</g>";
  }

  std::string PictureBody(const PictureBox& picture) {
    const double w = Px(picture.Width()), h = Px(picture.Height());
    std::string out = picture.BorderStyle() == 1 ? Sunken(w, h, picture.BackColor(), true)
                                                 : Rect(0, 0, w, h, CssColor(picture.BackColor()), "");
    out += Clipped(w, h);
    if (!picture.Picture().empty()) out += PictureImage(picture.Picture(), std::nullopt);
    out += Children(picture.Children(), nullptr);
    return out + "</g>";
  }

  std::string ImageBody(const Image& image) {
    const double w = Px(image.Width()), h = Px(image.Height());
    std::string out = Clipped(w, h);
    if (!image.Picture().empty()) {
      out += PictureImage(image.Picture(), image.Stretch() ? std::optional<std::pair<double, double>>({w, h}) : std::nullopt);
    }
    if (image.BorderStyle() == 1) out += Rect(0, 0, w, h, "none", "#000000");
    return out + "</g>";
  }

  std::string LineBody(const Line& line) {
    if (line.BorderStyle() == vbTransparent) return "";
    // An odd width on whole pixels would straddle two rows of pixels: centre it on one.
    const double crisp = line.BorderWidth() % 2 == 1 ? 0.5 : 0;
    return "<line x1=\"" + Num(Px(line.X1()) + crisp) + "\" y1=\"" + Num(Px(line.Y1()) + crisp) + "\" x2=\"" +
           Num(Px(line.X2()) + crisp) + "\" y2=\"" + Num(Px(line.Y2()) + crisp) + "\" stroke=\"" + CssColor(line.BorderColor()) + "\" stroke-width=\"" +
           std::to_string(line.BorderWidth()) + "\"" + DashArray(line.BorderStyle(), line.BorderWidth()) + "/>";
  }

  std::string ShapeBody(const Shape& shape) {
    double w = Px(shape.Width()), h = Px(shape.Height()), x = 0, y = 0;
    const int kind = shape.ShapeKind();
    if (kind == vbShapeSquare || kind == vbShapeCircle || kind == vbShapeRoundedSquare) {
      double side = std::min(w, h);
      x = (w - side) / 2;
      y = (h - side) / 2;
      w = h = side;
    }
    std::string stroke = shape.BorderStyle() == vbTransparent ? "" : CssColor(shape.BorderColor());
    std::string strokeAttributes = stroke.empty() ? " stroke=\"none\""
                                                  : " stroke=\"" + stroke + "\" stroke-width=\"" +
                                                        std::to_string(shape.BorderWidth()) + "\"" +
                                                        DashArray(shape.BorderStyle(), shape.BorderWidth());
    std::string out;
    if (shape.BackStyle() == 1) out += Outline(kind, x, y, w, h, " fill=\"" + CssColor(shape.BackColor()) + "\" stroke=\"none\"");
    std::string fill = "none";
    if (shape.FillStyle() == vbFSSolid) fill = CssColor(shape.FillColor());
    if (shape.FillStyle() >= vbHorizontalLine) fill = "url(#" + Hatch(shape.FillStyle(), shape.FillColor()) + ")";
    out += Outline(kind, x, y, w, h, " fill=\"" + fill + "\"" + strokeAttributes);
    return out;
  }

  std::string TabBody(const TabControl& tabs) {
    const double w = Px(tabs.Width()), h = Px(tabs.Height()), row = Px(tabs.TabHeight());
    std::string out = Clipped(w, h);
    out += Raised(0, row, w, h - row, tabs.BackColor());
    std::vector<int> shown;
    for (int page = 0; page < tabs.Tabs(); ++page) {
      if (tabs.TabVisible(page)) shown.push_back(page);
    }
    const double tabWidth = shown.empty() ? 0 : w / static_cast<double>(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) out += TabHead(tabs, shown[i], tabWidth * static_cast<double>(i), tabWidth, row);
    out += Children(tabs.Children(), &tabs);
    return out + "</g>";
  }

  // A tab is open at the bottom: the current one stands two pixels higher and runs into its page.
  std::string TabHead(const TabControl& tabs, int page, double x, double w, double row) {
    const bool current = page == ShownPage(tabs);
    std::string out = "<g class=\"Tab" + std::string(current ? " current" : "") +
                      std::string(tabs.TabEnabled(page) ? "" : " disabled") + "\" data-page=\"" + std::to_string(page) + "\">";
    const double top = current ? 0 : 2;
    const double bottom = current ? row + 1 : row;
    out += Rect(x, top, w, bottom - top, CssColor(tabs.BackColor()), "");
    out += "<path d=\"M" + Num(x + 0.5) + " " + Num(bottom) + " V" + Num(top + 2.5) + " L" + Num(x + 2.5) + " " +
           Num(top + 0.5) + " H" + Num(x + w - 2.5) + "\" fill=\"none\" stroke=\"" + CssColor(syscolor::ThreeDHighlight) +
           "\"/><path d=\"M" + Num(x + w - 2.5) + " " + Num(top + 0.5) + " L" + Num(x + w - 0.5) + " " + Num(top + 2.5) +
           " V" + Num(bottom) + "\" fill=\"none\" stroke=\"" + CssColor(syscolor::ThreeDDKShadow) + "\"/>";
    OleColor color = tabs.TabEnabled(page) && tabs.IsEffectivelyEnabled() ? tabs.ForeColor() : syscolor::GrayText;
    out += Text(x + w / 2, top + (row - top) / 2 + 4, "middle", StripMnemonic(tabs.TabCaption(page)), tabs.GetFont(), color);
    return out + "</g>";
  }

  // ---- pieces

  double Baseline(const Font& font) const {
    double sizePx = font.size * 96.0 / 72.0;
    return (Px(LineHeightTwips(font)) - sizePx) / 2 + sizePx * 0.9;
  }

  std::string Rect(double x, double y, double w, double h, const std::string& fill, const std::string& stroke) const {
    std::string out = "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(std::max(w, 0.0)) + "\" height=\"" +
                      Num(std::max(h, 0.0)) + "\" fill=\"" + (fill.empty() ? "none" : fill) + "\"";
    if (!stroke.empty()) out += " stroke=\"" + stroke + "\" stroke-width=\"1\"";
    return out + "/>";
  }

  std::string Sunken(double w, double h, OleColor fill, bool border) const {
    std::string out = Rect(0, 0, w, h, CssColor(fill), "");
    if (!border) return out;
    return out + Edge(0, 0, w, h, syscolor::ButtonShadow, syscolor::ThreeDHighlight);
  }

  std::string Raised(double x, double y, double w, double h, OleColor fill) const {
    return Rect(x, y, w, h, CssColor(fill), "") + Edge(x, y, w, h, syscolor::ThreeDHighlight, syscolor::ThreeDDKShadow);
  }

  // A 3D edge: `light` on the top and left, `dark` on the bottom and right.
  std::string Edge(double x, double y, double w, double h, OleColor light, OleColor dark) const {
    return "<path d=\"M" + Num(x + 0.5) + " " + Num(y + h - 0.5) + " V" + Num(y + 0.5) + " H" + Num(x + w - 0.5) +
           "\" fill=\"none\" stroke=\"" + CssColor(light) + "\"/><path d=\"M" + Num(x + w - 0.5) + " " + Num(y + 0.5) +
           " V" + Num(y + h - 0.5) + " H" + Num(x + 0.5) + "\" fill=\"none\" stroke=\"" + CssColor(dark) + "\"/>";
  }

  // Opens a group clipped to the control's own rectangle (closed by the caller).
  std::string Clipped(double w, double h) {
    std::string id = "clip" + std::to_string(++clips_);
    defs_ += "<clipPath id=\"" + id + "\"><rect x=\"0\" y=\"0\" width=\"" + Num(std::max(w, 0.0)) + "\" height=\"" +
             Num(std::max(h, 0.0)) + "\"/></clipPath>\n";
    return "<g clip-path=\"url(#" + id + ")\">";
  }

  std::string Text(double x, double y, const char* anchor, const Mnemonic& text, const Font& font, OleColor color) const {
    const std::string& body = text.text;
    std::string content;
    if (text.underline >= 0 && static_cast<size_t>(text.underline) < body.size()) {
      const size_t u = static_cast<size_t>(text.underline);
      const size_t marked = rt::FirstCharacter(std::string_view(body).substr(u)).bytes;
      content = Escape(body.substr(0, u)) + "<tspan text-decoration=\"underline\">" + Escape(body.substr(u, marked)) +
                "</tspan>" + Escape(body.substr(u + marked));
    } else {
      content = Escape(body);
    }
    return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" + anchor + "\"" + FontAttributes(font) +
           " fill=\"" + CssColor(color) + "\" xml:space=\"preserve\">" + content + "</text>";
  }

  std::string Outline(int kind, double x, double y, double w, double h, const std::string& attributes) const {
    if (kind == vbShapeOval || kind == vbShapeCircle) {
      return "<ellipse cx=\"" + Num(x + w / 2) + "\" cy=\"" + Num(y + h / 2) + "\" rx=\"" + Num(w / 2) + "\" ry=\"" +
             Num(h / 2) + "\"" + attributes + "/>";
    }
    std::string rounded;
    if (kind == vbShapeRoundedRectangle || kind == vbShapeRoundedSquare) {
      rounded = " rx=\"" + Num(std::min(w, h) / 6) + "\"";
    }
    return "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" + Num(h) + "\"" +
           rounded + attributes + "/>";
  }

  // The hatch pattern of a fill style in a colour, defined once per document.
  std::string Hatch(int style, OleColor color) {
    std::string css = CssColor(color);
    std::string id = "hatch" + std::to_string(style) + "-" + css.substr(1);
    if (!hatches_.insert(id).second) return id;
    static const char* strokes[] = {"", "", "M0 4.5 H8", "M4.5 0 V8", "M0 8 L8 0", "M0 0 L8 8", "M0 4.5 H8 M4.5 0 V8",
                                    "M0 8 L8 0 M0 0 L8 8"};
    defs_ += "<pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\"><path d=\"" +
             strokes[style] + "\" stroke=\"" + css + "\" stroke-width=\"1\" fill=\"none\"/></pattern>\n";
    return id;
  }

  std::string PictureImage(const std::string& name, std::optional<std::pair<double, double>> stretch) const {
    auto svg = PictureSvg(name);
    auto size = PictureSizeOf(name);
    if (!svg) return "";
    double w = stretch ? stretch->first : size ? size->width : 0;
    double h = stretch ? stretch->second : size ? size->height : 0;
    return "<image class=\"Picture\" data-picture=\"" + Escape(name) + "\" x=\"0\" y=\"0\" width=\"" + Num(w) +
           "\" height=\"" + Num(h) + "\" preserveAspectRatio=\"none\" href=\"data:image/svg+xml;base64," + Base64(*svg) +
           "\"/>";
  }

  const Form& form_;
  const RenderView& view_;
  std::string defs_;
  int clips_ = 0;
  std::set<std::string> hatches_;
};

}  // namespace

std::string RenderSvg(const Form& form, const RenderView& view) { return SvgWriter(form, view).Document(); }

}  // namespace forms
