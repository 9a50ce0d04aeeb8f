#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

// The "Input/Output" page: its binary and analog points, then the application status and faults.
void InputOutputPage(Refresh&) {}

}  // namespace mainwindow::refresh
