#include "host/process_state.h"

#include "host/connection.h"
#include "host/main_window.h"
#include "host/network_registration.h"
#include "host/short_timer.h"

namespace host {
namespace {

ProcessState state;

}  // namespace

rt::Ref<lns::ObjectServer>& g_ObjectServer = state.g_ObjectServer;
bool& g_ObjectServerOpen = state.g_ObjectServerOpen;
rt::Ref<lns::Network>& g_Network = state.g_Network;
rt::Ref<lns::System>& g_System = state.g_System;
bool& g_NetworkOpen = state.g_NetworkOpen;
std::string& g_NetworkName = state.g_NetworkName;
int16_t& g_InstanceCount = state.g_InstanceCount;
std::string& g_DevelopmentProgramId = state.g_DevelopmentProgramId;
std::array<PlugInCommand, CommandCount>& g_Commands = state.g_Commands;
std::vector<std::string>& g_PathElements = state.g_PathElements;
int16_t& g_PathCount = state.g_PathCount;
int32_t& g_ShortTimerCount = state.g_ShortTimerCount;
int16_t& g_CannotConfigure = state.g_CannotConfigure;
bool& g_Remote = state.g_Remote;
int16_t& g_ShowProgress = state.g_ShowProgress;
std::string& g_XifDir = state.g_XifDir;
std::chrono::milliseconds& g_XifToolTimeLimit = state.g_XifToolTimeLimit;
std::array<ResourceEntry, ResourceCount>& g_Resources = state.g_Resources;
int16_t& g_ResourcesChecked = state.g_ResourcesChecked;

void ResetProcessState() {
  state = {};
  SetMainWindow(nullptr);
}

}  // namespace host
