#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

// The "General" page's rows, with the setpoint source between the remote setpoint and its offset.
void GeneralPage(Refresh& refresh) { ShowSetpointSource(refresh, SourcePage::General); }

}  // namespace mainwindow::refresh
