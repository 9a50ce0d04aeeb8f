#include "lns/platform.h"

#include <map>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "lns/server.h"
#include "registry/machine.h"
#include "runtime/text.h"

namespace lns {
namespace {

struct PlatformState {
  std::map<std::filesystem::path, std::shared_ptr<Session>> sessions;
  EventPoster poster;
};

PlatformState& State() {
  static PlatformState state;
  return state;
}

std::vector<std::string> PathParts(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    parts.emplace_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

std::vector<std::string> DevicePathParts(std::string_view path) {
  auto parts = PathParts(path);
  if (parts.size() < 3) Fail(err::InvalidArgument, "a device path is network/subsystem/device: " + std::string(path));
  return parts;
}

std::shared_ptr<Session> OpenSessionNamed(std::string_view networkName) {
  for (const auto& [file, open] : State().sessions) {
    if (rt::EqualsNoCase(open->NetworkName(), networkName)) return open;
  }
  return nullptr;
}

// Takes in what other processes committed first, so that a device another client added is found.
std::shared_ptr<AppDevice> DeviceIn(Session& session, const std::vector<std::string>& parts, std::string_view path) {
  session.Refresh();
  auto subsystem = session.GetSystem()->SubsystemList().Find(parts[1]);
  for (size_t i = 2; subsystem && i + 1 < parts.size(); ++i) subsystem = subsystem->Children().Find(parts[i]);
  auto device = subsystem ? subsystem->Devices().Find(parts.back()) : nullptr;
  if (!device) Fail(err::ObjectNotFound, std::string(path));
  return device;
}

}  // namespace

std::filesystem::path StoreFolder() { return reg::MachineFolder() / "lns"; }

std::filesystem::path ServerStoreFile() { return StoreFolder() / "server.db"; }

std::shared_ptr<Session> OpenSession(const std::filesystem::path& file) {
  if (auto open = FindSession(file)) return open;
  auto session = Session::Load(file);
  State().sessions[file] = session;
  return session;
}

std::shared_ptr<Session> FindSession(const std::filesystem::path& file) {
  auto& sessions = State().sessions;
  auto it = sessions.find(file);
  return it != sessions.end() ? it->second : nullptr;
}

void CloseSession(const std::filesystem::path& file) { State().sessions.erase(file); }

std::shared_ptr<AppDevice> FindOpenDevice(std::string_view path) {
  const auto parts = DevicePathParts(path);
  const auto session = OpenSessionNamed(parts.front());
  if (!session) Fail(err::NotOpen, "the network " + parts.front());
  return DeviceIn(*session, parts, path);
}

std::shared_ptr<Session> HoldNetwork(std::string_view networkName) {
  if (auto open = OpenSessionNamed(networkName)) return open;
  const auto stored = ServerStore::Load(nullptr)->NetworkList()->Find(networkName);
  if (!stored) Fail(err::ObjectNotFound, "the network " + std::string(networkName));
  return Session::Load(stored->File());
}

HeldDevice HoldDevice(std::string_view path) {
  const auto parts = DevicePathParts(path);
  auto network = HoldNetwork(parts.front());
  auto device = DeviceIn(*network, parts, path);
  return {std::move(network), std::move(device)};
}

void SetEventPoster(EventPoster poster) { State().poster = std::move(poster); }

void PostEvent(std::function<void()> event) {
  if (State().poster) {
    State().poster(std::move(event));
  } else {
    event();
  }
}

void ResetPlatform() {
  State() = PlatformState{};
  ClearJournal();
  SetSceneProbe(nullptr);
  SetCallHook(nullptr);
  ClearFaults();
}

}  // namespace lns
