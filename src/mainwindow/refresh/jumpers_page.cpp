#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

// The "Configuration Jumpers" page.
void JumpersPage(Refresh&) {}

}  // namespace mainwindow::refresh
