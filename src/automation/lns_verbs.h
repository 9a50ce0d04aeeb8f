#pragma once

#include "automation/channel.h"

namespace automation {

// unit-set, unit-read, unit-device, unit-state, journal, journal-clear and lns-event, with the
// verbs below: the simulated unit's own side of the Object Server stand-in, its fault knobs, its
// journal, its events, its state and the changes of other clients. A device is named
// "network/subsystem[/subsystem...]/device" of a network of the machine, open in this process or
// not (unit-device: open). These verbs act as the unit, the test bench or another client, so they
// are not journaled and meet no injected member fault.
void AddLnsVerbs(Channel& channel);

// fault and faults-clear.
void AddFaultVerbs(Channel& channel);
// lns-state, client-device, client-template and client-system.
void AddClientVerbs(Channel& channel);

}  // namespace automation
