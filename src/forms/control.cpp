#include "forms/control.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/form.h"
#include "forms/internal.h"
#include "forms/layout.h"
#include "forms/properties.h"
#include "runtime/clock.h"
#include "runtime/text.h"

namespace forms {
namespace {

struct KindInfo {
  Kind kind;
  std::string_view name;
  bool takesFocus;
};

constexpr std::array<KindInfo, 15> kKinds = {{
    {Kind::Label, "Label", false},
    {Kind::TextBox, "TextBox", true},
    {Kind::ComboBox, "ComboBox", true},
    {Kind::ListBox, "ListBox", true},
    {Kind::CommandButton, "CommandButton", true},
    {Kind::Frame, "Frame", false},
    {Kind::PictureBox, "PictureBox", true},
    {Kind::Image, "Image", false},
    {Kind::Line, "Line", false},
    {Kind::Shape, "Shape", false},
    {Kind::Timer, "Timer", false},
    {Kind::TabControl, "TabControl", true},
    {Kind::Menu, "Menu", false},
    {Kind::CommonDialog, "CommonDialog", false},
    {Kind::ObjectControl, "ObjectControl", false},
}};

const KindInfo& InfoOf(Kind kind) { return kKinds[static_cast<size_t>(kind)]; }

constexpr uint32_t Bit(Event e) { return 1u << static_cast<unsigned>(e); }
constexpr uint32_t kMouse = Bit(Event::MouseDown) | Bit(Event::MouseMove) | Bit(Event::MouseUp);
constexpr uint32_t kKeys = Bit(Event::KeyDown) | Bit(Event::KeyPress) | Bit(Event::KeyUp);
constexpr uint32_t kFocus = Bit(Event::GotFocus) | Bit(Event::LostFocus) | Bit(Event::Validate);
constexpr uint32_t kClicks = Bit(Event::Click);

uint32_t EventsOf(Kind kind) {
  switch (kind) {
    case Kind::Label:
    case Kind::Frame:
    case Kind::Image:
      return kClicks | kMouse;
    case Kind::TextBox:
    case Kind::ComboBox:
      return kClicks | kMouse | kKeys | kFocus | Bit(Event::Change);
    case Kind::ListBox:
    case Kind::CommandButton:
    case Kind::TabControl:
    case Kind::PictureBox:
      return kClicks | kMouse | kKeys | kFocus;
    case Kind::Timer:
      return Bit(Event::Timer);
    case Kind::Menu:
      return Bit(Event::Click);
    case Kind::Line:
    case Kind::Shape:
    case Kind::CommonDialog:
    case Kind::ObjectControl:
      return 0;
  }
  return 0;
}

}  // namespace

void RequireRange(int value, int low, int high) {
  if (value < low || value > high) throw rt::Error(rt::err::InvalidPropertyValue);
}

std::string_view KindName(Kind kind) { return InfoOf(kind).name; }

std::optional<Kind> KindFromName(std::string_view name) {
  for (const auto& info : kKinds) {
    if (rt::EqualsNoCase(info.name, name)) return info.kind;
  }
  return std::nullopt;
}

bool KindRaises(Kind kind, Event event) { return (EventsOf(kind) & Bit(event)) != 0; }

bool IsWindowless(Kind kind) {
  return kind == Kind::Label || kind == Kind::Line || kind == Kind::Shape || kind == Kind::Image;
}

bool FormRaises(Event event) {
  constexpr uint32_t kFormEvents = Bit(Event::Initialize) | Bit(Event::Load) | Bit(Event::Activate) |
                                   Bit(Event::Deactivate) | Bit(Event::QueryUnload) | Bit(Event::Unload) |
                                   Bit(Event::Resize) | Bit(Event::GotFocus) | Bit(Event::LostFocus) | kKeys;
  return (kFormEvents & Bit(event)) != 0;
}

// ---- Control

Control::Control(Kind kind, Form& form, std::string name, int index)
    : form_(&form), kind_(kind), name_(std::move(name)), index_(index), tabStop_(InfoOf(kind).takesFocus) {}

std::string Control::TypeName() const { return std::string(KindName(kind_)); }

std::string Control::DisplayName() const {
  return index_ < 0 ? name_ : name_ + "(" + std::to_string(index_) + ")";
}

void Control::SetLeft(float v) { left_ = v; }
void Control::SetTop(float v) { top_ = v; }

void Control::SetWidth(float v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  width_ = v;
}

void Control::SetHeight(float v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  height_ = v;
}

void Control::Move(float left, float top, float width, float height) {
  if (width < 0 || height < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void Control::SetTabIndex(int v) {
  RequireRange(v, 0, 32767);
  tabIndex_ = v;
}

void Control::ZOrder(int position) {
  std::vector<Control*>& siblings = container_ ? container_->children_ : form_->topLevel_;
  auto it = std::find(siblings.begin(), siblings.end(), this);
  if (it == siblings.end()) return;
  siblings.erase(it);
  if (position == 0) {
    siblings.push_back(this);
  } else {
    siblings.insert(siblings.begin(), this);
  }
}

void Control::SetFocus() {
  if (!CanReceiveFocus()) throw rt::Error(rt::err::InvalidProcedureCall);
  if (!form_->IsActive()) FormInternals::Activate(*form_);
  FormInternals::MoveFocus(*form_, this);
}

bool Control::TakesFocus() const noexcept { return InfoOf(kind_).takesFocus; }

bool Control::IsEffectivelyVisible() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->visible_) return false;
    const Control* holder = c->container_;
    if (holder && holder->kind_ == Kind::TabControl &&
        static_cast<const TabControl*>(holder)->Tab() != c->page_) {
      return false;
    }
  }
  return true;
}

bool Control::IsEffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->enabled_) return false;
  }
  return true;
}

bool Control::CanReceiveFocus() const {
  return !detached_ && TakesFocus() && form_->IsLoaded() && form_->Visible() && IsEffectivelyVisible() &&
         IsEffectivelyEnabled();
}

bool Control::HasFocus() const { return form_->ActiveControl() == this; }

bool Control::AtDesign() const noexcept { return form_->IsApplyingLayout(); }

bool Control::Raise(Event event, EventArgs& args) {
  if (detached_ || AtDesign()) return false;
  args.index = index_;
  return form_->Dispatch(this, event, args);
}

bool Control::Raise(Event event) {
  EventArgs args;
  return Raise(event, args);
}

rt::Variant Control::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  return InvokeMember(*this, member, kind, args);
}

}  // namespace forms
