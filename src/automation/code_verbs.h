#pragma once

#include "automation/channel.h"

namespace automation {

// fire: the program's own code raising a control's event (a Click of a button nobody can reach),
// apart from user input, which keeps refusing hidden and disabled controls.
void AddCodeVerbs(Channel& channel);

}  // namespace automation
