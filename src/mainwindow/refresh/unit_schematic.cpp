#include "mainwindow/refresh/page_steps.h"

namespace mainwindow::refresh {

// The Status page's unit schematic: valves, coils, damper, condensate and fan.
void UnitSchematic(Refresh&) {}

}  // namespace mainwindow::refresh
