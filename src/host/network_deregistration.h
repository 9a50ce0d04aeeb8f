#pragma once

#include <cstdint>
#include <string>

namespace host {

// The removal of the plug-in's commands from LNS networks: from the open network (director
// command 51), or from every network of the computer at a stand-alone deregistration.

// Whether a deregistration from networks shows its progress and asks questions (an Integer used
// as a Boolean; set from the registration dialog only).
extern int16_t& g_ShowProgress;

// Removes the plug-in's component applications from the open system: those of each command on
// the templates of the program IDs 00 to 07, and the plug-in's command-50 applications of the
// system. `includeServerScope` lets the Object Server's own collection be cleaned;
// `offerTemplateRemoval` (with g_ShowProgress) offers to delete templates no device uses.
// Without an open system the error is raised; later failures end it quietly.
void UnregisterCommands(bool& offerTemplateRemoval, bool& includeServerScope);

// Removes the plug-in's applications for `command` from one collection of the scope; silent.
void DeregisterCommand(int16_t scope, int32_t command, const std::string& templateProgramId,
                       const std::string& lonMarkObject);

// Opens the local Object Server and every network in turn (each system in engineered mode, or
// with its network interface when that fails) and unregisters the commands in each; leaves
// everything closed and released. Never raises.
void DeregisterFromNetworks(bool exhaustive);

}  // namespace host
