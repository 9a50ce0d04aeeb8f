#pragma once

#include <string>

#include "forms/form.h"

namespace forms {

// Draws one window as an SVG document: its frame and title bar, then its controls back to front,
// twips to pixels at 15 twips per pixel, containers clipping their children, and of a tab control
// only the current page's children. Each control is a <g> with id "<name>" or "<name>.<index>",
// class "<Kind>" and data-name / data-index attributes, so tests and tools can find it.
//
// A view draws another page of a tab control as if it were current (nothing is selected, no event
// runs), or one control alone at its own size, wherever it stands (a picture parked off its page).
struct RenderView {
  const TabControl* tabs = nullptr;
  int page = -1;
  const Control* only = nullptr;
};
std::string RenderSvg(const Form& form, const RenderView& view = {});

}  // namespace forms
