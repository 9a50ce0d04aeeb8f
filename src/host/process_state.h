#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/resource_catalog.h"
#include "host/xif_files.h"
#include "runtime/variant.h"

namespace lns {
class ObjectServer;
class Network;
class System;
}  // namespace lns

namespace host {

// The host's process-wide state, as a fresh process starts with it. The code reaches each member
// by its own g_ name, declared beside the functions that use it.
struct ProcessState {
  // The one LNS connection (connection.h).
  rt::Ref<lns::ObjectServer> g_ObjectServer;
  bool g_ObjectServerOpen = false;
  rt::Ref<lns::Network> g_Network;
  rt::Ref<lns::System> g_System;
  bool g_NetworkOpen = false;
  std::string g_NetworkName;
  int16_t g_InstanceCount = 0;
  std::string g_DevelopmentProgramId;
  // The command table and the last parsed object path (commands.h).
  std::array<PlugInCommand, CommandCount> g_Commands;
  std::vector<std::string> g_PathElements;
  int16_t g_PathCount = 0;
  // The countdown of fMain.tmrShort (short_timer.h).
  int32_t g_ShortTimerCount = 0;
  // The network could not be put OnNet (main_window.h).
  int16_t g_CannotConfigure = 0;
  // The registration of the plug-in in networks (network_registration.h, network_deregistration.h).
  bool g_Remote = false;
  int16_t g_ShowProgress = rt::VbFalse;
  // The XIF search and conversion (xif_files.h).
  std::string g_XifDir;
  std::chrono::milliseconds g_XifToolTimeLimit = DefaultXifToolTimeLimit;
  // The resource table and its check (resource_catalog.h).
  std::array<ResourceEntry, ResourceCount> g_Resources;
  int16_t g_ResourcesChecked = rt::VbFalse;
};

// Clears the host's process-wide state and the main window seam, so that every test starts as a
// fresh process does.
void ResetProcessState();

}  // namespace host
