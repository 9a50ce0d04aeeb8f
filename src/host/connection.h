#pragma once

#include <cstdint>
#include <string>

#include "runtime/variant.h"

namespace lns {
class ObjectServer;
class Network;
class System;
}  // namespace lns

namespace host {

// The process's one LNS connection, shared by every LNSPlugInAPI object.
extern rt::Ref<lns::ObjectServer>& g_ObjectServer;
extern bool& g_ObjectServerOpen;
extern rt::Ref<lns::Network>& g_Network;
extern rt::Ref<lns::System>& g_System;
extern bool& g_NetworkOpen;
extern std::string& g_NetworkName;
extern int16_t& g_InstanceCount;
extern std::string& g_DevelopmentProgramId;

// fMain's Object Server control (LcaOS); reaching it loads fMain, hidden.
rt::Ref<lns::ObjectServer> MainWindowObjectServer();

// Opens the network of that name with its first system, remote exactly when the interface name
// is not empty; 20006 "Cannot open the network <name>" on any failure, followed for a damaged
// store by ": " and its file and reason, which the platform log gets too.
void OpenNetwork(const std::string& name, const std::string& networkInterfaceName);
// Switches the Object Server between local and remote, reopening it when it was open.
void SetObjectServerRemote(bool remote);
// Closes and releases system and network, closes the Object Server (the reference stays) and
// clears the open flags, ignoring every error.
void CloseConnection();

}  // namespace host
