#include "host/log.h"
#include "host/main_window.h"
#include "mainwindow/fmain.h"

namespace mainwindow {

void fMain::RefreshMainForm(int16_t&) {
  if (host::g_CannotConfigure) {
    host::WriteLog("RefreshMainForm(g_CannotConfigure = True)");
    return;
  }
}

}  // namespace mainwindow
