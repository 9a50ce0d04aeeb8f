#include "lns/tools/dump.h"

#include <nlohmann/json.hpp>

#include "lns/server.h"
#include "lns/store/session.h"

namespace lns {

using nlohmann::json;

std::string DumpObjectServer() {
  auto store = ServerStore::Load(nullptr, Access::ReadOnly);
  json interfaces = json::array();
  for (const auto& networkInterface : store->Interfaces()->Items()) interfaces.push_back(networkInterface->Name());
  json networks = json::array();
  for (const auto& network : store->NetworkList()->Items()) networks.push_back(network->ToJson());
  return json{{"networkInterfaces", interfaces}, {"networks", networks}, {"componentApps", store->Apps()->ToJson()}}.dump(2);
}

std::string DumpNetwork(const std::string& networkName) {
  auto network = ServerStore::Load(nullptr, Access::ReadOnly)->NetworkList()->Find(networkName);
  if (!network) Fail(err::ObjectNotFound, "the network " + networkName);
  auto session = Session::Load(network->File(), Access::ReadOnly);
  return json{{"network", session->NetworkName()}, {"system", session->GetSystem()->ToJson()}}.dump(2);
}

}  // namespace lns
