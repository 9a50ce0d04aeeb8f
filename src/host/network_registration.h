#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The registration in networks as a whole: its removal and the resource catalog come with it.
#include "host/network_deregistration.h"
#include "host/resource_catalog.h"

namespace lns {
class ComponentApp;
class ComponentApps;
class DeviceTemplates;
}  // namespace lns

namespace host {

// The registration of the plug-in's commands in the network LNSPlugInAPI has open: a component
// application per command on each device template of the unit's program IDs, the template made
// from the unit's XIF file when the network has none.

// The Object Server's Remote as recorded at the last command registration.
extern bool& g_Remote;

// Director command 50. True when every command is registered and the resource files are in the
// catalog (or the user chose to ignore that they are not); false after a failure message or
// Abort. Errors before the template search (no open system, a development program ID whose
// last two characters are not hexadecimal) are raised.
bool RegisterCommands();

// A new component application for command `commandIndex` under the first free name, or nullptr
// (after a message) when LNS refuses it.
std::shared_ptr<lns::ComponentApp> CreateComponentApp(lns::ComponentApps& componentApps, int16_t commandIndex);
// The first free template name among `baseName` and `baseName` " (1)" to " (999)", else the
// unchecked " (1000)".
std::string FindName(const std::string& baseName, const lns::DeviceTemplates& deviceTemplates);

}  // namespace host
