#include "forms/control.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "forms/app.h"
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

void RequireRange(int value, int low, int high) {
  if (value < low || value > high) throw rt::Error(rt::err::InvalidPropertyValue);
}

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

// The selection index after an insertion or removal at `at`, the selected item staying selected.
int ShiftedSelection(int selected, int at, bool inserted) {
  if (selected < 0) return selected;
  if (inserted) return at <= selected ? selected + 1 : selected;
  if (at == selected) return -1;
  return at < selected ? selected - 1 : selected;
}

void RequirePicture(const std::string& name) {
  if (!name.empty() && !PictureSvg(name)) throw rt::Error(err::InvalidPicture, {}, "Invalid picture: " + name);
}

std::string FileTitleOf(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

std::string_view KindName(Kind kind) { return InfoOf(kind).name; }

std::optional<Kind> KindFromName(std::string_view name) {
  for (const auto& info : kKinds) {
    if (rt::EqualsNoCase(info.name, name)) return info.kind;
  }
  return std::nullopt;
}

bool KindRaises(Kind kind, Event event) { return (EventsOf(kind) & Bit(event)) != 0; }

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

bool Control::AtDesign() const noexcept { return FormInternals::IsDesign(*form_); }

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

// ---- Label

Label::Label(Form& form, std::string name, int index) : Control(Kind::Label, form, std::move(name), index) {}

void Label::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  FitToCaption();
}

void Label::SetAlignment(int v) {
  RequireRange(v, 0, 2);
  alignment_ = v;
}

void Label::SetAutoSize(bool v) {
  autoSize_ = v;
  FitToCaption();
}

void Label::SetWordWrap(bool v) {
  wordWrap_ = v;
  FitToCaption();
}

void Label::SetBackStyle(int v) {
  RequireRange(v, 0, 1);
  backStyle_ = v;
}

void Label::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

void Label::SetFont(Font font) {
  Control::SetFont(std::move(font));
  FitToCaption();
}

// AutoSize: the label takes the size of its caption at once, because code reads the new size.
void Label::FitToCaption() {
  if (!autoSize_) return;
  auto lines = LayoutLines(caption_, GetFont(), wordWrap_, static_cast<int>(Width()));
  int widest = 0;
  for (const auto& line : lines) widest = std::max(widest, TextWidthTwips(line, GetFont()));
  if (!wordWrap_) SetWidth(static_cast<float>(widest));
  SetHeight(static_cast<float>(LineHeightTwips(GetFont()) * static_cast<int>(lines.size())));
}

// ---- TextControl

void TextControl::SetText(std::string text) {
  ReplaceText(std::move(text));
  selStart_ = 0;
  selLength_ = 0;
}

void TextControl::SetSelStart(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  selStart_ = std::min(v, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void TextControl::SetSelLength(int v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  selLength_ = std::min(v, static_cast<int>(text_.size()) - selStart_);
}

void TextControl::AssignText(std::string text) {
  text_ = std::move(text);
  selStart_ = std::min(selStart_, static_cast<int>(text_.size()));
  selLength_ = std::min(selLength_, static_cast<int>(text_.size()) - selStart_);
  TextChanged();
}

void TextControl::ReplaceText(std::string text) {
  if (text == text_) return;
  AssignText(std::move(text));
  Raise(Event::Change);
}

void TextControl::TypeCharacter(int keyAscii) {
  if (locked_) return;
  std::string text = text_;
  int start = selStart_;
  int length = selLength_;
  if (keyAscii == vbKeyBack) {
    if (length == 0 && start > 0) {
      --start;
      length = 1;
    }
    text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
  } else if (keyAscii >= 32 && keyAscii <= 255) {
    text.replace(static_cast<size_t>(start), static_cast<size_t>(length), 1, static_cast<char>(keyAscii));
    ++start;
  } else {
    return;
  }
  selStart_ = start;
  selLength_ = 0;
  ReplaceText(std::move(text));
}

// ---- TextBox

TextBox::TextBox(Form& form, std::string name, int index) : TextControl(Kind::TextBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void TextBox::SetAlignment(int v) {
  RequireRange(v, 0, 2);
  alignment_ = v;
}

void TextBox::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

// ---- ListItems

const std::string& ListItems::At(int index) const {
  if (index < 0 || index >= Count()) throw rt::Error(381, {}, "Invalid property array index");
  return items_[static_cast<size_t>(index)];
}

void ListItems::Set(int index, std::string item) {
  At(index);
  items_[static_cast<size_t>(index)] = std::move(item);
}

void ListItems::Insert(std::string item, int index) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) throw rt::Error(rt::err::InvalidProcedureCall);
  items_.insert(items_.begin() + index, std::move(item));
}

void ListItems::Remove(int index) {
  if (index < 0 || index >= Count()) throw rt::Error(rt::err::InvalidProcedureCall);
  items_.erase(items_.begin() + index);
}

int ListItems::Find(std::string_view text) const noexcept {
  auto it = std::find(items_.begin(), items_.end(), text);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---- ComboBox

ComboBox::ComboBox(Form& form, std::string name, int index)
    : TextControl(Kind::ComboBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void ComboBox::SetStyle(int v) {
  if (v != 0 && v != 1 && v != 2) throw rt::Error(rt::err::InvalidPropertyValue);
  if (!AtDesign()) throw rt::Error(err::PropertyReadOnly, {}, "'Style' property is read-only");
  style_ = v;
}

void ComboBox::SetText(std::string text) {
  if (style_ != 2) {
    TextControl::SetText(std::move(text));
    return;
  }
  int found = items_.Find(text);
  if (found < 0) throw rt::Error(err::PropertyReadOnly, {}, "'Text' property is read-only");
  SetListIndex(found);
}

void ComboBox::TextChanged() { listIndex_ = items_.Find(Text()); }

void ComboBox::TypeCharacter(int keyAscii) {
  if (style_ != 2) {
    TextControl::TypeCharacter(keyAscii);
    return;
  }
  if (keyAscii < 32 || keyAscii > 255) return;
  // A drop-down list takes no free text: a letter picks the next item that starts with it.
  for (int step = 1; step <= ListCount(); ++step) {
    int i = (listIndex_ + step) % ListCount();
    const std::string& item = items_.At(i);
    if (!item.empty() && std::toupper(static_cast<unsigned char>(item[0])) == std::toupper(keyAscii)) {
      SetListIndex(i);
      return;
    }
  }
}

void ComboBox::SetList(int index, std::string item) {
  items_.Set(index, std::move(item));
  if (index == listIndex_) AssignText(items_.At(index));
}

void ComboBox::SetListIndex(int index) {
  RequireRange(index, -1, ListCount() - 1);
  if (index == listIndex_ && (index < 0 || Text() == items_.At(index))) return;
  AssignText(index < 0 ? std::string() : items_.At(index));
  listIndex_ = index;
  Raise(Event::Click);
}

void ComboBox::AddItem(std::string item, int index) {
  int at = index == -1 ? ListCount() : index;
  items_.Insert(std::move(item), index);
  listIndex_ = ShiftedSelection(listIndex_, at, true);
}

void ComboBox::RemoveItem(int index) {
  items_.Remove(index);
  listIndex_ = ShiftedSelection(listIndex_, index, false);
}

void ComboBox::Clear() {
  items_.Clear();
  AssignText({});
}

// ---- ListBox

ListBox::ListBox(Form& form, std::string name, int index) : Control(Kind::ListBox, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
  SetForeColor(syscolor::WindowText);
}

void ListBox::SetList(int index, std::string item) { items_.Set(index, std::move(item)); }

void ListBox::SetListIndex(int index) {
  RequireRange(index, -1, ListCount() - 1);
  if (index == listIndex_) return;
  listIndex_ = index;
  if (index >= 0 && index < topIndex_) topIndex_ = index;
  if (index >= topIndex_ + VisibleRows()) topIndex_ = index - VisibleRows() + 1;
  Raise(Event::Click);
}

std::string ListBox::Text() const { return listIndex_ < 0 ? std::string() : items_.At(listIndex_); }

void ListBox::SetTopIndex(int index) {
  RequireRange(index, 0, std::max(0, ListCount() - 1));
  topIndex_ = index;
}

void ListBox::AddItem(std::string item, int index) {
  int at = index == -1 ? ListCount() : index;
  items_.Insert(std::move(item), index);
  listIndex_ = ShiftedSelection(listIndex_, at, true);
}

void ListBox::RemoveItem(int index) {
  items_.Remove(index);
  listIndex_ = ShiftedSelection(listIndex_, index, false);
  KeepInRange();
}

void ListBox::Clear() {
  items_.Clear();
  listIndex_ = -1;
  topIndex_ = 0;
}

int ListBox::VisibleRows() const {
  int inner = static_cast<int>(Height()) - 4 * kTwipsPerPixel;
  return std::max(1, inner / LineHeightTwips(GetFont()));
}

void ListBox::KeepInRange() { topIndex_ = std::clamp(topIndex_, 0, std::max(0, ListCount() - VisibleRows())); }

// ---- CommandButton

CommandButton::CommandButton(Form& form, std::string name, int index)
    : Control(Kind::CommandButton, form, std::move(name), index) {}

void CommandButton::SetDefault(bool v) {
  if (v) {
    for (Control* c : Parent().Controls()) {
      if (auto* b = dynamic_cast<CommandButton*>(c)) b->default_ = false;
    }
  }
  default_ = v;
}

void CommandButton::SetCancel(bool v) {
  if (v) {
    for (Control* c : Parent().Controls()) {
      if (auto* b = dynamic_cast<CommandButton*>(c)) b->cancel_ = false;
    }
  }
  cancel_ = v;
}

char CommandButton::AccessKey() const noexcept {
  for (size_t i = 0; i + 1 < caption_.size(); ++i) {
    if (caption_[i] != '&') continue;
    if (caption_[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption_[i + 1])));
  }
  return 0;
}

// ---- Frame, PictureBox, Image

Frame::Frame(Form& form, std::string name, int index) : Control(Kind::Frame, form, std::move(name), index) {}

void Frame::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

PictureBox::PictureBox(Form& form, std::string name, int index)
    : Control(Kind::PictureBox, form, std::move(name), index) {
  SetTabStop(false);
}

void PictureBox::SetPicture(std::string name) {
  RequirePicture(name);
  picture_ = std::move(name);
}

void PictureBox::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

Image::Image(Form& form, std::string name, int index) : Control(Kind::Image, form, std::move(name), index) {}

void Image::SetPicture(std::string name) {
  RequirePicture(name);
  picture_ = std::move(name);
}

void Image::SetBorderStyle(int v) {
  RequireRange(v, 0, 1);
  borderStyle_ = v;
}

// ---- Line

Line::Line(Form& form, std::string name, int index) : Control(Kind::Line, form, std::move(name), index) {}

void Line::SetX1(float v) {
  x1_ = v;
  UpdateBounds();
}
void Line::SetY1(float v) {
  y1_ = v;
  UpdateBounds();
}
void Line::SetX2(float v) {
  x2_ = v;
  UpdateBounds();
}
void Line::SetY2(float v) {
  y2_ = v;
  UpdateBounds();
}

void Line::SetBorderWidth(int v) {
  RequireRange(v, 1, 8192);
  borderWidth_ = v;
}

void Line::SetBorderStyle(int v) {
  RequireRange(v, 0, 6);
  borderStyle_ = v;
}

// The box around the end points, so containment and z-order treat a line like other controls.
void Line::UpdateBounds() {
  Move(std::min(x1_, x2_), std::min(y1_, y2_), std::fabs(x2_ - x1_), std::fabs(y2_ - y1_));
}

// ---- Shape

Shape::Shape(Form& form, std::string name, int index) : Control(Kind::Shape, form, std::move(name), index) {
  SetBackColor(syscolor::WindowBackground);
}

void Shape::SetShapeKind(int v) {
  RequireRange(v, 0, 5);
  shape_ = v;
}

void Shape::SetFillStyle(int v) {
  RequireRange(v, 0, 7);
  fillStyle_ = v;
}

void Shape::SetBackStyle(int v) {
  RequireRange(v, 0, 1);
  backStyle_ = v;
}

void Shape::SetBorderWidth(int v) {
  RequireRange(v, 1, 8192);
  borderWidth_ = v;
}

void Shape::SetBorderStyle(int v) {
  RequireRange(v, 0, 6);
  borderStyle_ = v;
}

// ---- Timer

Timer::Timer(Form& form, std::string name, int index) : Control(Kind::Timer, form, std::move(name), index) {
  State().timers.push_back(this);
}

Timer::~Timer() {
  auto& timers = State().timers;
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetEnabled(bool v) {
  bool wasEnabled = Enabled();
  Control::SetEnabled(v);
  if (v != wasEnabled) TimerInternals::Schedule(*this);
}

void Timer::SetInterval(int32_t ms) {
  RequireRange(ms, 0, 65535);
  interval_ = ms;
  TimerInternals::Schedule(*this);
}

// ---- TabControl

TabControl::TabControl(Form& form, std::string name, int index)
    : Control(Kind::TabControl, form, std::move(name), index) {}

void TabControl::SetTab(int page) {
  RequireRange(page, 0, Tabs() - 1);
  if (page == tab_) return;
  EventArgs args;
  args.previousTab = tab_;
  tab_ = page;
  Raise(Event::Click, args);
}

void TabControl::SetTabs(int count) {
  RequireRange(count, 1, 256);
  pages_.resize(static_cast<size_t>(count));
  tab_ = std::min(tab_, count - 1);
}

const TabControl::PageInfo& TabControl::PageAt(int page) const {
  if (page < 0 || page >= Tabs()) throw rt::Error(381, {}, "Invalid property array index");
  return pages_[static_cast<size_t>(page)];
}

TabControl::PageInfo& TabControl::PageAt(int page) {
  return const_cast<PageInfo&>(static_cast<const TabControl*>(this)->PageAt(page));
}

const std::string& TabControl::TabCaption(int page) const { return PageAt(page).caption; }
void TabControl::SetTabCaption(int page, std::string caption) { PageAt(page).caption = std::move(caption); }
bool TabControl::TabEnabled(int page) const { return PageAt(page).enabled; }
void TabControl::SetTabEnabled(int page, bool v) { PageAt(page).enabled = v; }
bool TabControl::TabVisible(int page) const { return PageAt(page).visible; }
void TabControl::SetTabVisible(int page, bool v) { PageAt(page).visible = v; }

void TabControl::SetTabHeight(float v) {
  if (v < 0) throw rt::Error(rt::err::InvalidPropertyValue);
  tabHeight_ = v;
}

int TabControl::NextSelectablePage(int from, int step) const {
  for (int page = from + step; page >= 0 && page < Tabs(); page += step) {
    if (TabVisible(page) && TabEnabled(page)) return page;
  }
  return -1;
}

// ---- Menu, CommonDialog, ObjectControl

Menu::Menu(Form& form, std::string name, int index) : Control(Kind::Menu, form, std::move(name), index) {}

CommonDialog::CommonDialog(Form& form, std::string name, int index)
    : Control(Kind::CommonDialog, form, std::move(name), index) {}

void CommonDialog::SetFileName(std::string v) {
  fileTitle_ = FileTitleOf(v);
  fileName_ = std::move(v);
}

void CommonDialog::ShowOpen() { Ask(false); }
void CommonDialog::ShowSave() { Ask(true); }

void CommonDialog::Ask(bool save) {
  FileDialogRecord record;
  record.save = save;
  record.title = dialogTitle_;
  record.initDir = initDir_;
  record.filter = filter_;
  record.flags = flags_;
  FileChoice choice = AskFile(std::move(record));
  if (choice.cancelled) {
    if (cancelError_) throw rt::Error(rt::err::CancelPressed, "CommonDialog", "Cancel was selected.");
    return;
  }
  SetFileName(choice.path);
}

ObjectControl::ObjectControl(Form& form, std::string name, int index)
    : Control(Kind::ObjectControl, form, std::move(name), index) {}

void ObjectControl::SetProgID(std::string v) {
  if (!AtDesign()) throw rt::Error(err::PropertyReadOnly, {}, "'ProgID' property is read-only");
  auto it = ObjectClasses().find(Lower(v));
  if (it != ObjectClasses().end()) object_ = it->second();
  progId_ = std::move(v);
}

void RegisterObjectControlClass(std::string progId, ObjectFactory factory) {
  ObjectClasses()[Lower(progId)] = std::move(factory);
}

}  // namespace forms
