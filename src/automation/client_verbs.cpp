#include <cstdint>
#include <optional>

#include "automation/lns_verbs.h"
#include "automation/protocol_error.h"
#include "lns/catalog/catalog.h"
#include "lns/lookup.h"
#include "lns/server.h"

namespace automation {
namespace {

// --- what the Object Servers of the process hold ----------------------------------------------

Json TextOrNull(const std::string& text) { return text.empty() ? Json() : Json(text); }

Json SystemState(const lns::System& system) {
  return {{"name", system.Name()},
          {"open", system.IsOpenNow()},
          {"engineered", system.IsEngineered()},
          {"managementMode", system.StoredManagementMode()},
          {"networkInterface", TextOrNull(system.AttachedInterface())}};
}

Json ServerState(const lns::ObjectServer& server) {
  Json networks = Json::array();
  for (const auto& session : server.OpenNetworks()) {
    Json systems = Json::array();
    for (const auto& system : session->GetSystems()->Items()) systems.push_back(SystemState(*system));
    networks.push_back({{"name", session->NetworkName()}, {"systems", systems}});
  }
  return {{"open", server.IsOpenNow()},
          {"remote", server.IsRemote()},
          {"remoteFlags", server.RemoteFlagsNow()},
          {"preOpenFlag", server.PreOpenFlagNow()},
          {"activeNetworkInterface", TextOrNull(server.ActiveInterfaceName())},
          {"networks", networks}};
}

Json ServersState(const Request&) {
  Json servers = Json::array();
  for (const lns::ObjectServer* server : lns::ObjectServers()) servers.push_back(ServerState(*server));
  return {{"servers", servers}};
}

// --- changes another LNS client makes ---------------------------------------------------------

int16_t SixteenBits(const Request& request, std::string_view field) {
  const int64_t value = request.WholeNumber(field);
  if (value < INT16_MIN || value > INT16_MAX) RaiseWrongType(field, "a whole number within 16 bits");
  return static_cast<int16_t>(value);
}

Json DeviceState(const lns::AppDevice& device) {
  return {{"state", device.UnitState()},
          {"commissionStatus", device.UnitCommissionStatus()},
          {"programId", device.ProgramId()}};
}

// The state is asked for first, as a director asks for it: when the device refuses, nothing
// has changed. The other fields are checked before that.
Json ChangeDevice(const Request& request) {
  const auto held = lns::HoldDevice(request.Text("device"));
  lns::AppDevice& device = *held.device;
  const auto status = request.Has("commissionStatus") ? std::optional(SixteenBits(request, "commissionStatus"))
                                                      : std::nullopt;
  const auto programId = request.OptionalText("programId");
  if (programId && !lns::IsProgramIdText(*programId)) RaiseWrongType("programId", "16 hexadecimal digits");
  if (request.Has("state")) device.RequestState(SixteenBits(request, "state"));
  if (status) device.UnitSetCommission(device.UnitCommissioned(), *status);
  if (programId) device.SetProgramId(*programId);
  return DeviceState(device);
}

Json RenameTemplate(const Request& request) {
  const auto network = lns::HoldNetwork(request.Text("network"));
  const std::string name = request.Text("template");
  const auto deviceTemplate = network->GetSystem()->Library().Templates().Find(name);
  if (!deviceTemplate) lns::Fail(lns::err::ObjectNotFound, "device template " + name);
  deviceTemplate->Rename(request.Text("name"));
  return {{"name", deviceTemplate->Name()}};
}

Json ChangeSystem(const Request& request) {
  const auto network = lns::HoldNetwork(request.Text("network"));
  lns::System& system = *network->GetSystem();
  system.SetManagementMode(SixteenBits(request, "managementMode"));
  return SystemState(system);
}

}  // namespace

void AddClientVerbs(Channel& channel) {
  channel.AddVerb("lns-state",
                  "what each Object Server of the process holds: open and remote flags, the active network "
                  "interface, the open networks and their systems",
                  ServersState);
  channel.AddVerb("client-device",
                  "device=P [state=N] [commissionStatus=N] [programId=HEX]: changes a device as another LNS client",
                  ChangeDevice);
  channel.AddVerb("client-template", "network=N template=T name=NEW: renames a device template as another LNS client",
                  RenameTemplate);
  channel.AddVerb("client-system", "network=N managementMode=0|1: sets a system's mode as another LNS client",
                  ChangeSystem);
}

}  // namespace automation
