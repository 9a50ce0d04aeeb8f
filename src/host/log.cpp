#include "host/log.h"

#include "forms/controls_text.h"
#include "forms/form.h"
#include "mainwindow/fmain_controls.h"
#include "runtime/error.h"

namespace host {
namespace {

constexpr int kMaxLogLines = 500;

std::function<forms::Form&()>& LogWindow() {
  static std::function<forms::Form&()> window;
  return window;
}

forms::ListBox& LogList() {
  if (!LogWindow()) rt::Raise(rt::err::ObjectNotSet);
  return LogWindow()().Ctl(mainwindow::controls::lstLog);
}

}  // namespace

void WriteLog(const std::string& message) {
  auto& list = LogList();
  list.AddItem(message);
  while (list.ListCount() > kMaxLogLines) list.RemoveItem(0);
  list.SetListIndex(list.ListCount() - 1);
}

std::vector<std::string> LogLines() { return LogList().Items().All(); }

void SetLogWindow(std::function<forms::Form&()> window) { LogWindow() = std::move(window); }

}  // namespace host
