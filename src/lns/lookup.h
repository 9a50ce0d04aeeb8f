#pragma once

#include <memory>
#include <string_view>

#include "lns/device.h"
#include "lns/store/session.h"

// Networks and devices of the simulated machine by name: what the protocol's unit and Object
// Server verbs, the test bench and the demo reach the Object Server's objects by.
namespace lns {

// A device of a network open in this process, by "network/subsystem[/subsystem...]/device"
// (the network's name without regard to case); err::ObjectNotFound or err::NotOpen.
std::shared_ptr<AppDevice> FindOpenDevice(std::string_view path);

// The test bench's hold on a network of the machine: its session when the network is open in
// this process, else its stored database loaded for as long as the hold is kept (the process
// does not count the network as open then). Changes are written to the database either way.
// err::ObjectNotFound when the machine has no network of that name (letter case ignored).
std::shared_ptr<Session> HoldNetwork(std::string_view networkName);
struct HeldDevice {
  std::shared_ptr<Session> network;  // keeps the device's database while the device is used
  std::shared_ptr<AppDevice> device;
};
// A device by "network/subsystem[/subsystem...]/device" through such a hold.
HeldDevice HoldDevice(std::string_view path);

}  // namespace lns
