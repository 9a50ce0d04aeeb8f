#pragma once

#include <cstdint>
#include <functional>

namespace mainwindow {

class fMain;

// What the page refresh keeps from one run to the next. fMain holds it for the refresh alone: the
// window's load sets m_FirstRefresh and the poll's traffic lamp reads m_CommOk.
struct RefreshState {
  // The device answered the last state query.
  bool m_CommOk = false;
  // The next refresh asks for the one resynchronisation of the configuration properties.
  bool m_FirstRefresh = false;
  // The member that the "Status" page writes of the arrays that repeat a value on several pages:
  // 0, its one-compressor schematic (member 1, on the two-compressor one, is never written).
  int16_t m_StatusIdx = 0;
};

// How fMain::RefreshMainForm brings a page up to date: the page refresh above this layer installs
// its own at start, a test may install a stand-in. It must never raise. `page` is the page index
// whose points are to be read (0 to 5; any other value reads every point); what it draws is the
// page that is current in tabData.
using PageRefresh = std::function<void(fMain& window, RefreshState& state, int16_t& page)>;

// An empty function goes back to the stand-in of this layer, which refuses while the network
// cannot be configured, waits out the device's binding and reads the page without drawing it.
void SetPageRefresh(PageRefresh refresh);

}  // namespace mainwindow
