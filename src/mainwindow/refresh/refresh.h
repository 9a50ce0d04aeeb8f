#pragma once

#include <cstdint>

namespace mainwindow {
class fMain;
struct RefreshState;
}  // namespace mainwindow

namespace mainwindow::refresh {

// fMain::RefreshMainForm: refuses while the network cannot be configured, waits out the device
// object's binding, has the device object read the points of `page` under the traffic lamp, logs
// the device's state, resynchronises the configuration properties once per window, then draws
// the page that is current in tabData. Never raises.
void RefreshMainForm(fMain& window, RefreshState& state, int16_t& page);

// Installs RefreshMainForm as the main window's page refresh.
void UsePageRefresh();

}  // namespace mainwindow::refresh
