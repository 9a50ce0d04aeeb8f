#include "lns/platform.h"

#include <map>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
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

std::shared_ptr<Session> FindOpenNetwork(std::string_view networkName) {
  for (const auto& [file, open] : State().sessions) {
    if (rt::EqualsNoCase(open->NetworkName(), networkName)) return open;
  }
  return nullptr;
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
