#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lns/device.h"
#include "lns/store/session.h"

// The stand-in's process-wide state: where its files are, the networks open in this process,
// and how events reach the UI loop.
namespace lns {

// "lns" in the simulated machine's folder (reg::MachineFolder()).
std::filesystem::path StoreFolder();
// The Object Server's store: networks, network interfaces, server-scope component applications.
std::filesystem::path ServerStoreFile();

// The open session of a network database, opening it when it is not open yet.
std::shared_ptr<Session> OpenSession(const std::filesystem::path& file);
// nullptr when that database is not open.
std::shared_ptr<Session> FindSession(const std::filesystem::path& file);
void CloseSession(const std::filesystem::path& file);

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

// Events are handed to the poster, which the host points at its UI loop; by default they run
// at once.
using EventPoster = std::function<void(std::function<void()>)>;
void SetEventPoster(EventPoster poster);
void PostEvent(std::function<void()> event);

// Closes every network and clears the journal, its scene probe, the faults and the event poster.
void ResetPlatform();

}  // namespace lns
