#include "mainwindow/page_refresh.h"

#include "device/orvex_fcu.h"
#include "host/log.h"
#include "host/main_window.h"
#include "mainwindow/fmain.h"

namespace mainwindow {
namespace {

// Until the page refresh is installed: the page's points are read, nothing is drawn.
void ReadPageOnly(fMain& window, RefreshState&, int16_t& page) {
  if (host::g_CannotConfigure) {
    host::WriteLog("RefreshMainForm(g_CannotConfigure = True)");
    return;
  }
  if (window.FCU().get_Initializing()) return;
  window.FCU().ReadDevice(page);
}

PageRefresh& InstalledRefresh() {
  static PageRefresh refresh = ReadPageOnly;
  return refresh;
}

}  // namespace

void SetPageRefresh(PageRefresh refresh) { InstalledRefresh() = refresh ? std::move(refresh) : ReadPageOnly; }

void fMain::RefreshMainForm(int16_t& page) {
  // A copy, so that a refresh that installs another one finishes with its own.
  const PageRefresh refresh = InstalledRefresh();
  refresh(*this, m_RefreshState, page);
}

}  // namespace mainwindow
