#pragma once

#include "automation/channel.h"

namespace automation {

// unit-set, unit-read, unit-device, unit-state, fault, faults-clear, journal, journal-clear and
// lns-event: the simulated unit's own side of the Object Server stand-in, its fault knobs, its
// journal and its events. A device is named "network/subsystem[/subsystem...]/device" of a network
// open in this process. These verbs act as the unit or the test bench, so they are not journaled
// and ignore faults and engineered mode.
void AddLnsVerbs(Channel& channel);

}  // namespace automation
