#include "forms/form.h"

#include <algorithm>

#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/internal.h"
#include "forms/layout.h"
#include "forms/properties.h"

namespace forms {
namespace {

constexpr float kBorderFixed = 3 * kTwipsPerPixel;
constexpr float kBorderSizable = 4 * kTwipsPerPixel;
constexpr float kCaptionHeight = 20 * kTwipsPerPixel;
constexpr float kToolCaptionHeight = 16 * kTwipsPerPixel;
constexpr float kMenuBarHeight = 20 * kTwipsPerPixel;

void RemoveWindow(Form* form) {
  auto& order = State().windowOrder;
  order.erase(std::remove(order.begin(), order.end(), form), order.end());
}

void RaiseFormEvent(Form& form, Event event) {
  EventArgs args;
  form.Dispatch(nullptr, event, args);
}

// Clears a flag however the scope is left.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
  for (auto& control : controls_) control->detached_ = true;
}

void Form::On(Event event, Handler handler) { handlers_[HandlerKey{"", event}] = std::move(handler); }

void Form::On(std::string_view control, Event event, Handler handler) {
  HandlerKey key{Lower(control), event};
  handlers_[key] = std::move(handler);
  handlerSpelling_[key] = std::string(control);
}

bool Form::Dispatch(Control* source, Event event, EventArgs& args) {
  auto it = handlers_.find(HandlerKey{source ? Lower(source->Name()) : std::string(), event});
  if (it == handlers_.end()) return false;
  auto keepForm = weak_from_this().lock();
  auto keepSource = source ? source->weak_from_this().lock() : nullptr;
  Handler handler = it->second;  // the handler may replace itself
  handler(args);
  return true;
}

// ---- life cycle

void Form::Load() {
  if (loaded_ || applyingLayout_) return;
  BuildFromLayout();
  loaded_ = true;
  auto& state = State();
  state.loaded.push_back(FormInternals::Share(*this));
  // Code that reaches a released default instance loads it again as the default, never beside it.
  if (defaultOf_ && state.defaults.count(*defaultOf_) == 0) state.defaults[*defaultOf_] = FormInternals::Share(*this);
  if (startUpPosition_ == 2 || startUpPosition_ == 1) {
    left_ = (Screen().Width() - width_) / 2;
    top_ = (Screen().Height() - height_) / 2;
  }
  for (Control* c : Controls()) {
    if (auto* timer = dynamic_cast<Timer*>(c)) TimerInternals::Schedule(*timer);
  }
  RaiseFormEvent(*this, Event::Load);
}

void Form::Show(int modal) {
  auto& state = State();
  if (modal == vbModal && visible_) {
    throw rt::Error(err::AlreadyDisplayed, {}, "Form already displayed; can't show modally");
  }
  if (modal != vbModal && !state.modalForms.empty() &&
      std::find(state.modalForms.begin(), state.modalForms.end(), this) == state.modalForms.end()) {
    throw rt::Error(err::ModelessOverModal, {}, "Can't show non-modal form when modal form is displayed");
  }
  auto keep = FormInternals::Share(*this);
  Load();
  if (!loaded_) return;
  visible_ = true;
  RemoveWindow(this);
  state.windowOrder.push_back(this);
  FormInternals::Activate(*this);
  if (modal != vbModal) return;
  state.modalForms.push_back(this);
  bool closed = ModalWaitWhile([this] { return loaded_ && visible_; });
  auto& modals = State().modalForms;
  modals.erase(std::remove(modals.begin(), modals.end(), this), modals.end());
  if (!closed && loaded_ && visible_) {
    Hide();
    throw rt::Error(err::ModalWithoutInput, {}, "The modal window " + name_ + " waits for input that cannot arrive");
  }
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  RemoveWindow(this);
  if (State().active == this) FormInternals::Deactivate(*this);
}

void Form::Unload(int unloadMode) {
  if (!loaded_ || unloading_) return;
  auto keep = FormInternals::Share(*this);
  {
    FlagGuard unloading(unloading_);
    EventArgs query;
    query.unloadMode = unloadMode;
    Dispatch(nullptr, Event::QueryUnload, query);
    if (query.cancel) return;
    EventArgs unload;
    Dispatch(nullptr, Event::Unload, unload);
    if (unload.cancel) return;
    auto& state = State();
    bool wasActive = state.active == this;
    visible_ = false;
    RemoveWindow(this);
    if (wasActive) state.active = nullptr;
    FormInternals::Retire(*this);
    loaded_ = false;
    auto& loaded = state.loaded;
    loaded.erase(std::remove(loaded.begin(), loaded.end(), keep), loaded.end());
    for (auto it = state.defaults.begin(); it != state.defaults.end(); ++it) {
      if (it->second.get() == this) {
        state.retired.push_back(it->second);
        state.defaults.erase(it);
        break;
      }
    }
    if (wasActive && !state.windowOrder.empty()) FormInternals::Activate(*state.windowOrder.back());
  }
}

// ---- properties

void Form::SetIcon(std::string picture) {
  if (!picture.empty() && !PictureSvg(picture)) throw rt::Error(err::InvalidPicture, {}, "Invalid picture: " + picture);
  icon_ = std::move(picture);
}

void Form::SetBorderStyle(int style) {
  if (!applyingLayout_) throw rt::Error(err::PropertyReadOnly, {}, "'BorderStyle' property is read-only");
  RequireRange(style, 0, 5);
  borderStyle_ = style;
}

void Form::SetWindowState(int state) {
  RequireRange(state, 0, 2);
  if (state == windowState_) return;
  windowState_ = state;
  if (loaded_) RaiseFormEvent(*this, Event::Resize);
}

void Form::SetLeft(float v) { left_ = v; }
void Form::SetTop(float v) { top_ = v; }

void Form::SetWidth(float v) { Move(left_, top_, v, height_); }
void Form::SetHeight(float v) { Move(left_, top_, width_, v); }

void Form::Move(float left, float top, float width, float height) {
  if (width < 0 || height < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized && loaded_ && !applyingLayout_) RaiseFormEvent(*this, Event::Resize);
}

float Form::BorderSize() const {
  switch (borderStyle_) {
    case vbBSNone:
      return 0;
    case vbSizable:
    case vbSizableToolWindow:
      return kBorderSizable;
    default:
      return kBorderFixed;
  }
}

float Form::CaptionHeight() const {
  if (borderStyle_ == vbBSNone) return 0;
  if (borderStyle_ == vbFixedToolWindow || borderStyle_ == vbSizableToolWindow) return kToolCaptionHeight;
  return kCaptionHeight;
}

float Form::MenuBarHeight() const {
  for (Control* c : topLevel_) {
    if (c->GetKind() == Kind::Menu && c->Visible()) return kMenuBarHeight;
  }
  return 0;
}

float Form::ScaleWidth() const { return std::max(0.0f, width_ - 2 * BorderSize()); }

float Form::ScaleHeight() const {
  return std::max(0.0f, height_ - CaptionHeight() - MenuBarHeight() - 2 * BorderSize());
}

void Form::SetVisible(bool visible) {
  if (visible) {
    Show(vbModeless);
  } else {
    Hide();
  }
}

void Form::SetStartUpPosition(int v) {
  RequireRange(v, 0, 3);
  startUpPosition_ = v;
}

bool Form::IsActive() const { return State().active == this; }

void Form::SetFocus() {
  if (!loaded_ || !visible_) throw rt::Error(rt::err::InvalidProcedureCall);
  FormInternals::Activate(*this);
}

// ---- controls

void Form::BuildFromLayout() {
  FlagGuard applying(applyingLayout_);
  try {
    TakeIn(BuildLayout(*this));
    CheckHandlers();
  } catch (...) {
    FormInternals::Retire(*this);
    throw;
  }
}

void Form::TakeIn(BuiltLayout built) {
  for (BuiltControl& placed : built.controls) {
    Control* c = placed.control.get();
    c->container_ = placed.container;
    c->page_ = placed.page;
    (placed.container ? placed.container->children_ : topLevel_).push_back(c);
    byName_[Lower(c->Name())].push_back(c);
    controls_.push_back(std::move(placed.control));
  }
  // Once the controls are in: a visible menu bar is part of the window, outside the client area.
  if (built.clientWidth) SetWidth(*built.clientWidth + 2 * BorderSize());
  if (built.clientHeight) SetHeight(*built.clientHeight + CaptionHeight() + MenuBarHeight() + 2 * BorderSize());
}

void Form::CheckHandlers() const {
  for (const auto& [key, handler] : handlers_) {
    const std::string event(EventName(key.event));
    if (key.control.empty()) {
      if (!FormRaises(key.event)) BadLayout(name_, "a form raises no " + event + " event");
      continue;
    }
    const std::string& name = handlerSpelling_.at(key);
    auto members = byName_.find(key.control);
    if (members == byName_.end()) BadLayout(name_, "there is no control '" + name + "' for its " + event + " handler");
    Kind kind = members->second.front()->GetKind();
    if (!KindRaises(kind, key.event)) {
      BadLayout(name_, "'" + name + "' (" + std::string(KindName(kind)) + ") raises no " + event + " event");
    }
  }
}

Control& Form::Find(std::string_view name, int index) {
  if (!loaded_ && !applyingLayout_) Load();
  auto it = byName_.find(Lower(name));
  if (it == byName_.end()) {
    throw rt::Error(err::ControlNotFound, {}, "Control '" + std::string(name) + "' not found on " + name_);
  }
  const auto& members = it->second;
  bool isArray = members.front()->Index() >= 0;
  if (index < 0) {
    if (isArray) {
      throw rt::Error(err::NotAnArray, {}, "'" + std::string(name) + "' is a control array: an index is needed");
    }
    return *members.front();
  }
  if (!isArray) throw rt::Error(err::NotAnArray, {}, "'" + std::string(name) + "' is not a control array");
  for (Control* member : members) {
    if (member->Index() == index) return *member;
  }
  throw rt::Error(err::ControlArrayElementMissing, {},
                  "Control array element '" + std::to_string(index) + "' doesn't exist in " + std::string(name));
}

bool Form::HasControl(std::string_view name, int index) const {
  auto it = byName_.find(Lower(name));
  if (it == byName_.end()) return false;
  return std::any_of(it->second.begin(), it->second.end(), [index](Control* c) { return c->Index() == index; });
}

std::vector<int> Form::Indexes(std::string_view name) const {
  std::vector<int> indexes;
  auto it = byName_.find(Lower(name));
  if (it != byName_.end()) {
    for (Control* c : it->second) {
      if (c->Index() >= 0) indexes.push_back(c->Index());
    }
  }
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

std::vector<Control*> Form::Controls() const {
  std::vector<Control*> all;
  all.reserve(controls_.size());
  for (const auto& c : controls_) all.push_back(c.get());
  return all;
}

rt::Variant Form::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  return InvokeMember(*this, member, kind, args);
}

// ---- activation and focus

std::shared_ptr<Form> FormInternals::Share(Form& form) {
  auto shared = std::static_pointer_cast<Form>(form.weak_from_this().lock());
  // A form made outside make_shared is not owned here: an empty owner keeps it unmanaged.
  return shared ? shared : std::shared_ptr<Form>(std::shared_ptr<Form>(), &form);
}

void FormInternals::Activate(Form& form) {
  auto& state = State();
  if (state.active == &form) return;
  Form* previous = state.active;
  state.active = &form;
  RemoveWindow(&form);
  if (form.visible_) state.windowOrder.push_back(&form);
  if (previous && previous->loaded_) {
    auto keepPrevious = Share(*previous);
    if (previous->activeControl_) previous->activeControl_->Raise(Event::LostFocus);
    RaiseFormEvent(*previous, Event::Deactivate);
  }
  RaiseFormEvent(form, Event::Activate);
  if (state.active != &form || !form.loaded_) return;
  if (form.activeControl_ && form.activeControl_->CanReceiveFocus()) {
    form.activeControl_->Raise(Event::GotFocus);
  } else {
    form.activeControl_ = nullptr;
    FocusFirst(form);
  }
}

void FormInternals::Deactivate(Form& form) {
  auto& state = State();
  state.active = nullptr;
  if (form.activeControl_) form.activeControl_->Raise(Event::LostFocus);
  RaiseFormEvent(form, Event::Deactivate);
  if (state.active == nullptr && !state.windowOrder.empty()) Activate(*state.windowOrder.back());
}

bool FormInternals::MoveFocus(Form& form, Control* target) {
  Control* from = form.activeControl_;
  if (from == target) return true;
  auto keepForm = Share(form);
  if (from && target && target->CausesValidation()) {
    EventArgs validate;
    from->Raise(Event::Validate, validate);
    if (validate.cancel || form.activeControl_ != from || !form.loaded_) return false;
  }
  form.activeControl_ = target;
  if (from) from->Raise(Event::LostFocus);
  if (target && form.loaded_ && form.activeControl_ == target) target->Raise(Event::GotFocus);
  return true;
}

std::vector<Control*> FormInternals::TabOrder(const Form& form) {
  std::vector<Control*> order;
  for (const auto& c : form.controls_) {
    if (c->TakesFocus()) order.push_back(c.get());
  }
  std::stable_sort(order.begin(), order.end(), [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  return order;
}

void FormInternals::FocusFirst(Form& form) {
  for (Control* c : TabOrder(form)) {
    if (c->TabStop() && c->CanReceiveFocus()) {
      MoveFocus(form, c);
      return;
    }
  }
  RaiseFormEvent(form, Event::GotFocus);
}

void FormInternals::Navigate(Form& form, int step) {
  std::vector<Control*> order = TabOrder(form);
  const int n = static_cast<int>(order.size());
  if (n == 0) return;
  auto at = std::find(order.begin(), order.end(), form.activeControl_);
  int position = at == order.end() ? (step > 0 ? -1 : n) : static_cast<int>(at - order.begin());
  for (int i = 1; i <= n; ++i) {
    Control* candidate = order[static_cast<size_t>(((position + step * i) % n + n) % n)];
    if (candidate->TabStop() && candidate->CanReceiveFocus()) {
      MoveFocus(form, candidate);
      return;
    }
  }
}

void FormInternals::Retire(Form& form) {
  auto& state = State();
  for (auto& c : form.controls_) {
    c->detached_ = true;
    if (auto* timer = dynamic_cast<Timer*>(c.get())) TimerInternals::Schedule(*timer);
    state.retired.push_back(std::move(c));
  }
  form.controls_.clear();
  form.byName_.clear();
  form.topLevel_.clear();
  form.activeControl_ = nullptr;
}

}  // namespace forms
