#pragma once

#include <string>

namespace lns {

// What the machine's Object Server keeps, as JSON text for people and tests: the store's network
// interfaces, networks and component applications; a network's system with its component
// applications, device templates, subsystems and devices, each interface with its values (as
// hexadecimal bytes). err::ObjectNotFound for a network the store does not have. A dump never
// writes: not the files, their WALs or their indexes, whoever else has them open.
std::string DumpObjectServer();
std::string DumpNetwork(const std::string& networkName);

}  // namespace lns
