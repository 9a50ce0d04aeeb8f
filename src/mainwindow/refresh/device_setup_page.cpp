#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

// The "Device Setup" page.
void DeviceSetupPage(Refresh&) {}

}  // namespace mainwindow::refresh
