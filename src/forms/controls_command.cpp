#include "forms/controls_command.h"

#include "forms/app.h"
#include "forms/form.h"
#include "forms/internal.h"

namespace forms {
namespace {

std::string FileTitleOf(std::string_view path) {
  size_t cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

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
