#include "forms/input.h"

#include <cctype>
#include <map>

#include "forms/app.h"
#include "forms/constants.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "forms/internal.h"
#include "runtime/text.h"

namespace forms {
namespace {

struct Keystroke {
  int keyCode = 0;
  int shift = 0;
  int keyAscii = -1;  // -1: from the key code
};

bool IsTextControl(const Control& c) { return dynamic_cast<const TextControl*>(&c) != nullptr; }

// A locked text box outside the tab order only shows a value: a click leaves the focus where it
// is, and nothing can be typed or keyed into it.
bool IsDisplayBox(const Control& c) {
  const auto* box = dynamic_cast<const TextBox*>(&c);
  return box && box->Locked() && !box->TabStop();
}

bool IsLetterOrDigitKey(int keyCode) { return (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9'); }

// The character a key produces, 0 for keys that produce none.
int CharacterOf(int keyCode, int shift) {
  if (shift & (vbCtrlMask | vbAltMask)) return 0;
  if (keyCode >= 'A' && keyCode <= 'Z') return (shift & vbShiftMask) ? keyCode : keyCode - 'A' + 'a';
  if (keyCode >= '0' && keyCode <= '9' && !(shift & vbShiftMask)) return keyCode;
  switch (keyCode) {
    case vbKeyBack:
    case vbKeyReturn:
    case vbKeyEscape:
    case vbKeySpace:
      return keyCode;
    default:
      return 0;
  }
}

// The key that types a character, as a keyboard gives it.
Keystroke KeystrokeOf(char ch) {
  auto c = static_cast<unsigned char>(ch);
  switch (ch) {
    case '\r':
    case '\n': return {vbKeyReturn, 0, vbKeyReturn};
    case '\t': return {vbKeyTab, 0, 0};
    case '\b': return {vbKeyBack, 0, vbKeyBack};
    case 27: return {vbKeyEscape, 0, vbKeyEscape};
    default: break;
  }
  if (std::isupper(c)) return {c, vbShiftMask, c};
  if (std::islower(c)) return {std::toupper(c), 0, c};
  if (std::isdigit(c) || c == ' ') return {c, 0, c};
  static const std::map<char, int> punctuation = {{'.', 190}, {',', 188}, {'-', 189}, {'=', 187}, {';', 186},
                                                  {'/', 191}, {'`', 192}, {'[', 219}, {'\\', 220}, {']', 221},
                                                  {'\'', 222}};
  auto it = punctuation.find(ch);
  return {it == punctuation.end() ? 0 : it->second, 0, c};
}

void RequireAlive(const Control& c) {
  if (!c.IsAlive() || !c.Parent().IsLoaded()) RefuseInput(c.DisplayName() + " is not on a loaded form");
}

void RequireForm(const Form& form) {
  if (!form.IsLoaded()) RefuseInput("the form " + form.Name() + " is not loaded");
  if (!form.Visible()) RefuseInput("the form " + form.Name() + " is not visible");
  RequireInputAllowed(form);
}

// What any mouse action needs: a live control on a visible, reachable form, itself shown.
void RequireReachable(const Control& c) {
  RequireAlive(c);
  RequireForm(c.Parent());
  if (!c.IsEffectivelyVisible()) RefuseInput(c.DisplayName() + " is not visible");
}

void RequireUsable(const Control& c) {
  RequireReachable(c);
  if (!c.IsEffectivelyEnabled()) RefuseInput(c.DisplayName() + " is disabled");
}

// A key goes where the focus is: to a control that cannot hold it, a key would go to another.
void RequireFocusable(const Control& c) {
  RequireUsable(c);
  if (!c.TakesFocus() || IsDisplayBox(c)) RefuseInput(c.DisplayName() + " cannot take the focus");
}

void ActivateFor(Form& form) {
  if (!form.IsActive()) FormInternals::Activate(form);
}

// Focus for a mouse action: false when the control left would not let it go.
bool FocusFor(Control& c) {
  Form& form = c.Parent();
  ActivateFor(form);
  if (!c.TakesFocus() || IsDisplayBox(c) || c.HasFocus()) return true;
  return FormInternals::MoveFocus(form, &c) && c.HasFocus();
}

CommandButton* FindButton(Form& form, bool (CommandButton::*flag)() const noexcept) {
  for (Control* c : form.Controls()) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (button && (button->*flag)() && button->CanReceiveFocus()) return button;
  }
  return nullptr;
}

CommandButton* FindAccessKey(Form& form, int keyCode) {
  for (Control* c : form.Controls()) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (button && button->AccessKey() == keyCode && button->CanReceiveFocus()) return button;
  }
  return nullptr;
}

void PressButton(CommandButton& button) {
  auto keep = button.weak_from_this().lock();
  button.Raise(Event::Click);
}

// Keys that a control uses itself once the handlers let them through.
void ApplyKey(Control& target, int keyCode) {
  if (auto* tabs = dynamic_cast<TabControl*>(&target)) {
    int step = keyCode == vbKeyLeft ? -1 : keyCode == vbKeyRight ? 1 : 0;
    int page = step ? tabs->NextSelectablePage(tabs->Tab(), step) : -1;
    if (page >= 0) tabs->SetTab(page);
  } else if (auto* list = dynamic_cast<ListBox*>(&target)) {
    int step = keyCode == vbKeyUp ? -1 : keyCode == vbKeyDown ? 1 : 0;
    int index = list->ListIndex() + step;
    if (step && index >= 0 && index < list->ListCount()) list->SetListIndex(index);
  }
}

// Keys the window itself consumes before any handler sees them: Tab moves the focus, Enter and
// Esc press the default and cancel buttons, Alt with a letter presses the button it marks.
bool Consumed(Form& form, Control* target, int keyCode, int shift) {
  const bool plain = (shift & (vbCtrlMask | vbAltMask)) == 0;
  if (keyCode == vbKeyTab && plain) {
    FormInternals::Navigate(form, (shift & vbShiftMask) ? -1 : 1);
    return true;
  }
  if ((shift & vbAltMask) && IsLetterOrDigitKey(keyCode)) {
    if (CommandButton* button = FindAccessKey(form, keyCode)) {
      if (FormInternals::MoveFocus(form, button)) PressButton(*button);
    }
    return true;
  }
  auto* focusedButton = dynamic_cast<CommandButton*>(target);
  if (plain && focusedButton && (keyCode == vbKeyReturn || keyCode == vbKeySpace)) {
    PressButton(*focusedButton);
    return true;
  }
  CommandButton* button = nullptr;
  if (plain && keyCode == vbKeyReturn) button = FindButton(form, &CommandButton::Default);
  if (plain && keyCode == vbKeyEscape) button = FindButton(form, &CommandButton::Cancel);
  if (button) PressButton(*button);
  return button != nullptr;
}

bool Gone(const Form& form, const std::shared_ptr<rt::Object>& target) {
  return !form.IsLoaded() || (target && !static_cast<Control&>(*target).IsAlive());
}

std::shared_ptr<Control> Shared(Control* control) {
  return control ? std::static_pointer_cast<Control>(control->shared_from_this()) : nullptr;
}

// The left button going down on a control: the focus moves there first, then MouseDown. False when
// the press goes no further (the control left kept the focus, or the control is gone).
bool PressDown(Control& c, EventArgs& mouse) {
  if (!FocusFor(c)) return false;
  c.Raise(Event::MouseDown, mouse);
  return c.IsAlive();
}

// A button coming up; the left one over the control it went down on clicks it.
void Release(Control& c, EventArgs& mouse, bool clicks) {
  c.Raise(Event::MouseUp, mouse);
  const Kind kind = c.GetKind();
  clicks = clicks && mouse.button == vbLeftButton && kind != Kind::ComboBox && kind != Kind::ListBox &&
           kind != Kind::TabControl;
  if (clicks && c.IsAlive()) c.Raise(Event::Click);
}

input::Point OnForm(const Control& control, input::Point local) {
  for (const Control* c = &control; c; c = c->Container()) {
    local.x += c->Left();
    local.y += c->Top();
  }
  return local;
}

bool Inside(const Control& c, input::Point local) {
  return local.x >= 0 && local.y >= 0 && local.x < c.Width() && local.y < c.Height();
}

// The topmost control shown at a point of its container's coordinates that the mouse meets.
Control* ControlAt(const std::vector<Control*>& children, const TabControl* tabs, input::Point at) {
  for (bool windowless : {false, true}) {
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      Control& c = **child;
      const input::Point local{at.x - c.Left(), at.y - c.Top()};
      if (IsWindowless(c.GetKind()) != windowless || !c.Visible() || !KindRaises(c.GetKind(), Event::MouseDown) ||
          (tabs && c.Page() != tabs->Tab()) || !Inside(c, local)) {
        continue;
      }
      Control* inner = ControlAt(c.Children(), dynamic_cast<const TabControl*>(&c), local);
      return inner ? inner : &c;
    }
  }
  return nullptr;
}

// The page whose tab head is at a point of the tab control, -1 off the heads: the shown tabs share
// the row equally.
int TabHeadAt(const TabControl& tabs, input::Point local) {
  if (local.y >= tabs.TabHeight()) return -1;
  std::vector<int> shown;
  for (int page = 0; page < tabs.Tabs(); ++page) {
    if (tabs.TabVisible(page)) shown.push_back(page);
  }
  const auto at = static_cast<size_t>(local.x * static_cast<float>(shown.size()) / tabs.Width());
  return at < shown.size() ? shown[at] : -1;
}

EventArgs MouseArgs(const Control& c, int button, int shift, input::Point at) {
  const input::Point origin = OnForm(c, {});
  EventArgs mouse;
  mouse.button = button;
  mouse.shift = shift;
  mouse.x = at.x - origin.x;
  mouse.y = at.y - origin.y;
  return mouse;
}

// The control that took this button down, once: nothing when another button went down last.
std::shared_ptr<Control> TakeCapture(const Form& form, int button) {
  auto& state = State();
  auto captured = std::static_pointer_cast<Control>(state.mouseCapture.lock());
  if (state.capturedButton != button) return nullptr;
  state.mouseCapture.reset();
  return captured && captured->IsAlive() && &captured->Parent() == &form ? captured : nullptr;
}

}  // namespace

[[noreturn]] void RefuseInput(const std::string& reason) { throw rt::Error(err::InputRefused, "forms", reason); }

void RequireInputAllowed(const Form& form) {
  const auto& state = State();
  if (!state.openQuestions.empty()) {
    RefuseInput(state.openQuestions.back()->box ? "a message box is open" : "a file dialog is open");
  }
  if (!state.modalForms.empty() && state.modalForms.back() != &form) {
    RefuseInput("the modal window " + state.modalForms.back()->Name() + " is open");
  }
}

void DeliverKey(Form& form, int keyCode, int shift, int keyAscii) {
  auto keepForm = FormInternals::Share(form);
  Control* focused = form.ActiveControl();
  Control* target = focused && focused->CanReceiveFocus() ? focused : nullptr;
  auto keepTarget = target ? target->weak_from_this().lock() : nullptr;
  if (Consumed(form, target, keyCode, shift)) return;

  EventArgs down;
  down.keyCode = keyCode;
  down.shift = shift;
  if (keyCode != 0 && (form.KeyPreview() || !target)) form.Dispatch(nullptr, Event::KeyDown, down);
  if (Gone(form, keepTarget)) return;
  if (target && down.keyCode != 0) {
    target->Raise(Event::KeyDown, down);
    if (Gone(form, keepTarget)) return;
    if (down.keyCode != 0) ApplyKey(*target, down.keyCode);
  }

  EventArgs press;
  press.keyAscii = keyAscii >= 0 ? keyAscii : CharacterOf(keyCode, shift);
  if (press.keyAscii != 0) {
    if (form.KeyPreview() || !target) form.Dispatch(nullptr, Event::KeyPress, press);
    if (Gone(form, keepTarget)) return;
    if (target && press.keyAscii != 0) target->Raise(Event::KeyPress, press);
    if (Gone(form, keepTarget)) return;
    if (auto* text = dynamic_cast<TextControl*>(target); text && press.keyAscii != 0) text->TypeCharacter(press.keyAscii);
    if (Gone(form, keepTarget)) return;
  }

  if (keyCode == 0) return;
  EventArgs up;
  up.keyCode = keyCode;
  up.shift = shift;
  if (form.KeyPreview() || !target) form.Dispatch(nullptr, Event::KeyUp, up);
  if (target && !Gone(form, keepTarget) && up.keyCode != 0) target->Raise(Event::KeyUp, up);
}

// ---- SendKeys

namespace {

const std::map<std::string, int>& NamedKeys() {
  static const std::map<std::string, int> keys = {
      {"ENTER", vbKeyReturn}, {"TAB", vbKeyTab},       {"ESC", vbKeyEscape},   {"ESCAPE", vbKeyEscape},
      {"BACKSPACE", vbKeyBack}, {"BS", vbKeyBack},     {"BKSP", vbKeyBack},    {"LEFT", vbKeyLeft},
      {"RIGHT", vbKeyRight},  {"UP", vbKeyUp},         {"DOWN", vbKeyDown},    {"DELETE", vbKeyDelete},
      {"DEL", vbKeyDelete}};
  return keys;
}

[[noreturn]] void BadKeys(std::string_view keys) {
  throw rt::Error(rt::err::InvalidProcedureCall, "SendKeys", "Invalid key text: " + std::string(keys));
}

std::vector<Keystroke> ParseKeys(std::string_view keys) {
  std::vector<Keystroke> strokes;
  int shift = 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    char ch = keys[i];
    if (ch == '+' || ch == '^' || ch == '%') {
      shift |= ch == '+' ? vbShiftMask : ch == '^' ? vbCtrlMask : vbAltMask;
      continue;
    }
    Keystroke stroke;
    if (ch == '~') {
      stroke = {vbKeyReturn, 0, -1};
    } else if (ch == '{') {
      size_t close = keys.find('}', i + 2);  // "{}}" names the brace itself
      if (close == std::string_view::npos) BadKeys(keys);
      std::string name = rt::UCase(keys.substr(i + 1, close - i - 1));
      i = close;
      auto named = NamedKeys().find(name);
      if (named != NamedKeys().end()) {
        stroke = {named->second, 0, -1};
      } else if (name.size() == 1) {
        stroke = KeystrokeOf(keys[close - 1]);
      } else {
        BadKeys(keys);
      }
    } else if (ch == '}' || ch == '(' || ch == ')') {
      BadKeys(keys);
    } else {
      stroke = KeystrokeOf(ch);
    }
    stroke.shift |= shift;
    if (shift) stroke.keyAscii = -1;  // the modifiers decide the character
    shift = 0;
    strokes.push_back(stroke);
  }
  if (shift) BadKeys(keys);
  return strokes;
}

}  // namespace

void SendKeys(std::string_view keys) {
  for (const Keystroke& stroke : ParseKeys(keys)) {
    Post([stroke] {
      Form* form = ActiveForm();
      if (form && form->IsLoaded() && form->Visible()) DeliverKey(*form, stroke.keyCode, stroke.shift, stroke.keyAscii);
    });
  }
}

// ---- input actions

namespace input {

void Click(Control& control) {
  RequireUsable(control);
  auto keep = control.weak_from_this().lock();
  if (control.GetKind() == Kind::Menu) {
    ActivateFor(control.Parent());
    control.Raise(Event::Click);
    return;
  }
  EventArgs mouse;
  mouse.button = vbLeftButton;
  if (PressDown(control, mouse)) Release(control, mouse, true);
}

void Focus(Control& control) {
  RequireFocusable(control);
  FocusFor(control);
}

void TypeText(Control& control, std::string_view text, bool replace) {
  RequireUsable(control);
  if (!IsTextControl(control) || IsDisplayBox(control)) RefuseInput(control.DisplayName() + " takes no typing");
  auto keep = control.weak_from_this().lock();
  if (!FocusFor(control)) return;
  if (replace) {
    auto& box = static_cast<TextControl&>(control);
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
  }
  Form& form = control.Parent();
  auto keepForm = FormInternals::Share(form);
  for (char ch : text) {
    if (!form.IsLoaded() || !form.Visible()) return;
    Keystroke stroke = KeystrokeOf(ch);
    DeliverKey(form, stroke.keyCode, stroke.shift, stroke.keyAscii);
  }
}

void Key(Control& control, int keyCode, int shift) {
  RequireFocusable(control);
  auto keep = control.weak_from_this().lock();
  if (!FocusFor(control)) return;
  DeliverKey(control.Parent(), keyCode, shift);
}

void Key(Form& form, int keyCode, int shift) {
  RequireForm(form);
  ActivateFor(form);
  DeliverKey(form, keyCode, shift);
}

void SelectTab(TabControl& tabs, int page) {
  RequireUsable(tabs);
  if (page < 0 || page >= tabs.Tabs()) RefuseInput(tabs.DisplayName() + " has no page " + std::to_string(page));
  if (!tabs.TabVisible(page)) RefuseInput("page " + std::to_string(page) + " of " + tabs.DisplayName() + " is not shown");
  if (!tabs.TabEnabled(page)) RefuseInput("page " + std::to_string(page) + " of " + tabs.DisplayName() + " is disabled");
  auto keep = tabs.weak_from_this().lock();
  EventArgs mouse;
  mouse.button = vbLeftButton;
  if (!PressDown(tabs, mouse)) return;
  tabs.SetTab(page);
  if (tabs.IsAlive()) tabs.Raise(Event::MouseUp, mouse);
}

void SelectItem(Control& list, int index) {
  RequireUsable(list);
  auto* combo = dynamic_cast<ComboBox*>(&list);
  auto* box = dynamic_cast<ListBox*>(&list);
  if (!combo && !box) RefuseInput(list.DisplayName() + " has no items");
  int count = combo ? combo->ListCount() : box->ListCount();
  if (index < 0 || index >= count) RefuseInput(list.DisplayName() + " has no item " + std::to_string(index));
  auto keep = list.weak_from_this().lock();
  if (!FocusFor(list)) return;
  if (combo) {
    combo->SetListIndex(index);
  } else {
    box->SetListIndex(index);
  }
}

void MouseOver(Control& control, float x, float y) {
  RequireReachable(control);
  if (!control.IsEffectivelyEnabled()) return;  // a disabled control gets no mouse events
  EventArgs mouse;
  mouse.x = x;
  mouse.y = y;
  control.Raise(Event::MouseMove, mouse);
}

void Close(Form& form) {
  RequireForm(form);
  if (!form.ControlBox()) RefuseInput("the form " + form.Name() + " has no close box");
  form.Unload(vbFormControlMenu);
}

Point PointOn(const Control& control, Point local) {
  RequireReachable(control);
  return OnForm(control, local);
}

std::shared_ptr<Control> MouseDown(Form& form, int button, int shift, Point at) {
  RequireForm(form);
  auto keepForm = FormInternals::Share(form);
  State().mouseCapture.reset();
  ActivateFor(form);
  const auto target = Shared(ControlAt(form.TopLevelControls(), nullptr, at));
  if (!target || !target->IsEffectivelyEnabled()) return target;
  EventArgs mouse = MouseArgs(*target, button, shift, at);
  if (button != vbLeftButton) {
    target->Raise(Event::MouseDown, mouse);
  } else if (!PressDown(*target, mouse)) {
    return target;
  }
  State().mouseCapture = target;
  State().capturedButton = button;
  auto* tabs = dynamic_cast<TabControl*>(target.get());
  const int page = tabs && button == vbLeftButton ? TabHeadAt(*tabs, {mouse.x, mouse.y}) : -1;
  if (page >= 0 && tabs->IsAlive() && tabs->TabEnabled(page)) tabs->SetTab(page);
  return target;
}

std::shared_ptr<Control> MouseUp(Form& form, int button, int shift, Point at) {
  RequireForm(form);
  auto keepForm = FormInternals::Share(form);
  const auto captured = TakeCapture(form, button);
  const auto target = captured ? captured : Shared(ControlAt(form.TopLevelControls(), nullptr, at));
  if (!target || !target->IsEffectivelyEnabled()) return target;
  EventArgs mouse = MouseArgs(*target, button, shift, at);
  Release(*target, mouse, captured && Inside(*target, {mouse.x, mouse.y}));
  return target;
}

std::shared_ptr<Control> MousePress(Form& form, int button, int shift, Point at) {
  auto keepForm = FormInternals::Share(form);
  const auto target = MouseDown(form, button, shift, at);
  if (form.IsLoaded() && form.Visible()) MouseUp(form, button, shift, at);
  return target;
}

}  // namespace input
}  // namespace forms
