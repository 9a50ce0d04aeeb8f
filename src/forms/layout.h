#pragma once

#include <optional>
#include <string>
#include <string_view>

// Window layouts and pictures. The files under resources/layouts (<form name>.json) and
// resources/pictures are built into the program; tests and tools may register more.
//
// A layout is one JSON object: the form's properties by their toolkit names ("Caption",
// "BorderStyle", "ClientWidth"/"ClientHeight" or "Width"/"Height", "StartUpPosition", "Font", ...)
// and "Controls", a list of controls. Each control has "Name", "Kind" (Label, TextBox, ComboBox,
// ListBox, CommandButton, Frame, PictureBox, Image, Line, Shape, Timer, TabControl, Menu,
// CommonDialog, ObjectControl), optionally "Index" (a control-array member), its properties by
// their toolkit names, and, for containers, "Controls"; a tab control has "Pages", each with
// "Caption", optional "Enabled"/"Visible" and "Controls"; list and combo boxes take "List".
// Colours are "#RRGGBB", a system colour name ("ButtonFace") or "&H00BBGGRR&"; "Font" is a text
// such as "Arial 9 bold". "Ours" lists the keys of a control whose values the layout's authors
// chose where the design gave none ("Ours": ["Top", "Width"]). An unknown key, kind, picture or a
// duplicate control is a load error.
namespace forms {

void RegisterLayout(std::string name, std::string json);

// The SVG text of a picture, or nullopt.
std::optional<std::string> PictureSvg(std::string_view name);
// Natural size of a picture in pixels, from its root element's width and height.
struct PictureSize {
  int width = 0;
  int height = 0;
};
std::optional<PictureSize> PictureSizeOf(std::string_view name);

}  // namespace forms
