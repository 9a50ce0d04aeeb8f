#include "host/process_state.h"

#include "host/commands.h"
#include "host/connection.h"
#include "host/main_window.h"
#include "host/network_registration.h"
#include "host/short_timer.h"
#include "host/xif_files.h"

namespace host {

void ResetProcessState() {
  ResetConnection();
  g_Commands = {};
  g_PathElements.clear();
  g_PathCount = 0;
  g_ShortTimerCount = 0;
  g_CannotConfigure = 0;
  g_Remote = false;
  g_ShowProgress = 0;
  g_XifDir.clear();
  g_XifToolTimeLimit = DefaultXifToolTimeLimit;
  g_Resources = {};
  g_ResourcesChecked = 0;
  SetMainWindow(nullptr);
}

}  // namespace host
