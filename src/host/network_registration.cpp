#include "host/network_registration.h"

#include "host/connection.h"

namespace host {

bool g_Remote = false;
int16_t g_ShowProgress = 0;

// Nothing can be registered without an open network.
bool RegisterCommands() { return g_NetworkOpen; }

void UnregisterCommands(bool&, bool&) {}

void DeregisterFromNetworks(bool) {}

void InitResourceTable() {}

}  // namespace host
