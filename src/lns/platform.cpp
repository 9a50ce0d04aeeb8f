#include "lns/platform.h"

#include <map>

#include "lns/faults.h"
#include "lns/journal.h"
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
  auto parts = PathParts(path);
  if (parts.size() < 3) Fail(err::InvalidArgument, "a device path is network/subsystem/device: " + std::string(path));
  std::shared_ptr<Session> session;
  for (const auto& [file, open] : State().sessions) {
    if (rt::EqualsNoCase(open->NetworkName(), parts.front())) session = open;
  }
  if (!session) Fail(err::NotOpen, "the network " + parts.front());
  session->Refresh();
  auto subsystem = session->GetSystem()->SubsystemList().Find(parts[1]);
  for (size_t i = 2; subsystem && i + 1 < parts.size(); ++i) subsystem = subsystem->Children().Find(parts[i]);
  auto device = subsystem ? subsystem->Devices().Find(parts.back()) : nullptr;
  if (!device) Fail(err::ObjectNotFound, std::string(path));
  return device;
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
  ClearFaults();
}

}  // namespace lns
