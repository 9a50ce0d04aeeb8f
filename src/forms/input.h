#pragma once

#include <memory>
#include <string_view>

#include "forms/control.h"
#include "forms/form.h"

// A person's hands on the windows: what the automation channel and tests do to a form. Each action
// runs its events at once, in the toolkit's order, on the calling (UI) thread. Input the window
// would not take (a hidden or disabled control, a form behind a modal window or an open message
// box, a control of another kind) is refused with error 32001 and changes nothing. Errors raised by
// the handlers reach the caller.
namespace forms::input {

// Mouse click: activates the form, moves the focus to a control that takes it (Validate,
// LostFocus, GotFocus; a cancelled Validate keeps the focus and drops the click), then MouseDown,
// MouseUp and Click. A menu item raises Click. A display box (a locked text box that is no tab
// stop) keeps no focus: clicking it leaves the focus where it was, and focus, typing and keys
// are refused.
void Click(Control& control);
// Focus only, as a click into a box without releasing anything else.
void Focus(Control& control);
// Types into a text box or combo box after focusing it: each character goes through KeyDown,
// KeyPress and KeyUp (key preview first); CR or LF is Enter, TAB is Tab, BS is Backspace. With
// `replace` the current text is selected first, so the typing replaces it.
void TypeText(Control& control, std::string_view text, bool replace = true);
// One key (a key code with shift state) to the control, focusing it first; refused, as the focus
// is, for a control that cannot take the focus.
void Key(Control& control, int keyCode, int shift = 0);
// One key to whatever has the focus on the form (the form itself when nothing does).
void Key(Form& form, int keyCode, int shift = 0);
// Clicks a page's tab: focus to the tab control, then the page and its Click(previous tab).
void SelectTab(TabControl& tabs, int page);
// Picks an item of a combo box or list box with the mouse.
void SelectItem(Control& list, int index);
// Moves the mouse over the control (MouseMove, no button).
void MouseOver(Control& control, float x = 0, float y = 0);
// The window's close box: QueryUnload and Unload with unload mode 0.
void Close(Form& form);

// A point in twips.
struct Point {
  float x = 0;
  float y = 0;
};
// A point of a control (from its top-left corner) in its form's client area, to aim the mouse at;
// refused when the control is not shown.
Point PointOn(const Control& control, Point local);

// A mouse button (vbLeftButton, vbRightButton, vbMiddleButton) going down at a point of the form's
// client area. The control shown topmost there takes it, with the point in its own coordinates:
// graphical controls (labels, images) lie beneath the other controls of their container, lines
// and shapes let the mouse through. The form is activated; the left button first moves the focus
// as a click does (a cancelled Validate drops the press), and on a tab head it selects that page.
// A disabled control takes no events. Gives the control under the point, nullptr where none is.
std::shared_ptr<Control> MouseDown(Form& form, int button, int shift, Point at);
// The button coming up: the control it went down on takes it wherever the point is (capture),
// otherwise the control under the point. The left button coming up inside the control it went
// down on clicks it (buttons, boxes, labels, pictures; not lists, combos or tab controls).
std::shared_ptr<Control> MouseUp(Form& form, int button, int shift, Point at);
// Down, then up at the same point while the form still takes input.
std::shared_ptr<Control> MousePress(Form& form, int button, int shift, Point at);

}  // namespace forms::input
