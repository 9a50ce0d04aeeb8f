#pragma once

#include <cstdint>
#include <functional>

namespace mainwindow {

class fMain;

// How fMain::RefreshMainForm brings a page up to date: the page refresh above this layer installs
// its own at start, a test may install a stand-in. It must never raise. `page` is the page index
// whose points are to be read (0 to 5; any other value reads every point); what it draws is the
// page that is current in tabData.
using PageRefresh = std::function<void(fMain& window, int16_t& page)>;

// An empty function goes back to the stand-in of this layer, which refuses while the network
// cannot be configured, waits out the device's binding and reads the page without drawing it.
void SetPageRefresh(PageRefresh refresh);

}  // namespace mainwindow
