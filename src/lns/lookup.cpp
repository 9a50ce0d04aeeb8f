#include "lns/lookup.h"

#include <string>
#include <vector>

#include "lns/platform.h"
#include "lns/server.h"

namespace lns {
namespace {

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

std::shared_ptr<AppDevice> FindOpenDevice(std::string_view path) {
  const auto parts = DevicePathParts(path);
  const auto session = FindOpenNetwork(parts.front());
  if (!session) Fail(err::NotOpen, "the network " + parts.front());
  return DeviceIn(*session, parts, path);
}

std::shared_ptr<Session> HoldNetwork(std::string_view networkName) {
  if (auto open = FindOpenNetwork(networkName)) return open;
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

}  // namespace lns
