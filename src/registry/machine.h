#pragma once

#include <filesystem>

namespace reg {

// The simulated machine's folder, where the registry file, the LonWorks installation and the
// network databases live: $ORVEX_MACHINE when set, else $XDG_DATA_HOME/orvexuc_fcu/machine, else
// ~/.local/share/orvexuc_fcu/machine. Looked up on every call, so a test points it elsewhere by
// changing the environment. A look does not make it: whatever writes there makes its own folder.
std::filesystem::path MachineFolder();
// The same folder, made when it is not there; raises error 76 when it cannot be made.
std::filesystem::path MadeMachineFolder();

}  // namespace reg
