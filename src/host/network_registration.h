#pragma once

#include <cstdint>

namespace host {

// The plug-in's registration in LNS networks: its command as component applications, the XIF
// search and the resource catalog. The registration itself comes in a later step; these keep
// the callers' shape meanwhile.

// The Object Server's Remote as recorded at the last command registration.
extern bool g_Remote;
// Whether a deregistration from networks shows its progress and asks questions.
extern int16_t g_ShowProgress;

// True when the plug-in's commands are registered in the open network.
bool RegisterCommands();
void UnregisterCommands(bool& offerTemplateRemoval, bool& includeServerScope);
void DeregisterFromNetworks(bool exhaustive);
void InitResourceTable();

}  // namespace host
