#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// The open session of the network of that name (letter case ignored); nullptr when the network is
// not open in this process.
std::shared_ptr<Session> FindOpenNetwork(std::string_view networkName);

// Events are handed to the poster, which the host points at its UI loop; by default they run
// at once.
using EventPoster = std::function<void(std::function<void()>)>;
void SetEventPoster(EventPoster poster);
void PostEvent(std::function<void()> event);

// Closes every network and clears the journal, its scene probe, the faults and the event poster.
void ResetPlatform();

}  // namespace lns
