#include "host/log.h"

#include "forms/control.h"
#include "host/main_window.h"

namespace host {
namespace {

constexpr int kMaxLogLines = 500;

forms::ListBox& LogList() { return fMain().Window().Ctl<forms::ListBox>("lstLog"); }

}  // namespace

void WriteLog(const std::string& message) {
  auto& list = LogList();
  list.AddItem(message);
  while (list.ListCount() > kMaxLogLines) list.RemoveItem(0);
  list.SetListIndex(list.ListCount() - 1);
}

std::vector<std::string> LogLines() { return LogList().Items().All(); }

}  // namespace host
