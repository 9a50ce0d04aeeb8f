#pragma once

// The controls that act: command buttons, timers, the tab control, menus, the common dialog, and
// the controls that host an object.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "runtime/variant.h"

namespace forms {

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Default() const noexcept { return default_; }
  void SetDefault(bool v);
  bool Cancel() const noexcept { return cancel_; }
  void SetCancel(bool v);
  // The access key marked with "&" in the caption, upper case; 0 when none.
  char AccessKey() const noexcept;

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

// Ticks come only while the event loop runs (idle, DoEvents, waits, modal boxes).
class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int index);
  ~Timer() override;
  void SetEnabled(bool v) override;  // switching on restarts the countdown
  int32_t Interval() const noexcept { return interval_; }
  void SetInterval(int32_t ms);      // 0..65535, else error 380; restarts the countdown while on

 private:
  friend struct TimerInternals;
  int32_t interval_ = 0;
  std::optional<int64_t> due_;  // clock time of the next tick; empty while it cannot tick
  uint64_t sequence_ = 0;       // order of equal due times
  bool ticking_ = false;        // its handler runs: no re-entrant tick
};

// The tabbed dialog control: pages with captions; a child belongs to one page and shows only on it.
// A page switched off with TabEnabled keeps its tab in the row, greyed, and cannot be chosen;
// TabVisible takes the tab out of the row.
class TabControl : public Control {
 public:
  TabControl(Form& form, std::string name, int index);
  int Tab() const noexcept { return tab_; }
  void SetTab(int page);  // raises Click(previous tab) when the page changes; error 380 outside 0..Tabs-1
  int Tabs() const noexcept { return static_cast<int>(pages_.size()); }
  void SetTabs(int count);
  const std::string& TabCaption(int page) const;
  void SetTabCaption(int page, std::string caption);
  bool TabEnabled(int page) const;
  void SetTabEnabled(int page, bool v);
  bool TabVisible(int page) const;
  void SetTabVisible(int page, bool v);
  float TabHeight() const noexcept { return tabHeight_; }
  void SetTabHeight(float v);
  // The page shown after `from` in the given direction that a user may select, or -1.
  int NextSelectablePage(int from, int step) const;

 private:
  struct PageInfo {
    std::string caption;
    bool enabled = true;
    bool visible = true;
  };
  const PageInfo& PageAt(int page) const;
  PageInfo& PageAt(int page);
  std::vector<PageInfo> pages_;
  int tab_ = 0;
  float tabHeight_ = 300;
};

class Menu : public Control {
 public:
  Menu(Form& form, std::string name, int index);
  const std::string& Caption() const noexcept { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool v) { checked_ = v; }

 private:
  std::string caption_;
  bool checked_ = false;
};

// The common file dialog. ShowOpen / ShowSave ask for a file the way message boxes ask for an
// answer (forms/msgbox.h); Cancel raises 32755 when CancelError is set.
class CommonDialog : public Control {
 public:
  CommonDialog(Form& form, std::string name, int index);
  const std::string& DialogTitle() const noexcept { return dialogTitle_; }
  void SetDialogTitle(std::string v) { dialogTitle_ = std::move(v); }
  const std::string& InitDir() const noexcept { return initDir_; }
  void SetInitDir(std::string v) { initDir_ = std::move(v); }
  const std::string& Filter() const noexcept { return filter_; }
  void SetFilter(std::string v) { filter_ = std::move(v); }
  int FilterIndex() const noexcept { return filterIndex_; }
  void SetFilterIndex(int v) { filterIndex_ = v; }
  int32_t Flags() const noexcept { return flags_; }
  void SetFlags(int32_t v) { flags_ = v; }
  const std::string& FileName() const noexcept { return fileName_; }
  void SetFileName(std::string v);
  const std::string& FileTitle() const noexcept { return fileTitle_; }
  const std::string& DefaultExt() const noexcept { return defaultExt_; }
  void SetDefaultExt(std::string v) { defaultExt_ = std::move(v); }
  bool CancelError() const noexcept { return cancelError_; }
  void SetCancelError(bool v) { cancelError_ = v; }
  void ShowOpen();
  void ShowSave();

 private:
  void Ask(bool save);
  std::string dialogTitle_;
  std::string initDir_;
  std::string filter_;
  int filterIndex_ = 0;
  int32_t flags_ = 0;
  std::string fileName_;
  std::string fileTitle_;
  std::string defaultExt_;
  bool cancelError_ = false;
};

// Hosts a platform object on the form (the layout names its class by ProgID). The object comes from
// the factory registered for that ProgID when the form loads, or is set by the form's code.
class ObjectControl : public Control {
 public:
  ObjectControl(Form& form, std::string name, int index);
  const std::string& ProgID() const noexcept { return progId_; }
  void SetProgID(std::string v);
  const rt::ObjectRef& Object() const noexcept { return object_; }
  void SetObject(rt::ObjectRef object) { object_ = std::move(object); }

 private:
  std::string progId_;
  rt::ObjectRef object_;
};

using ObjectFactory = std::function<rt::ObjectRef()>;
void RegisterObjectControlClass(std::string progId, ObjectFactory factory);

}  // namespace forms
