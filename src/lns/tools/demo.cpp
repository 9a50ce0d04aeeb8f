#include "lns/tools/demo.h"

#include "lns/lookup.h"
#include "lns/server.h"
#include "lns/values/fcu_unit.h"

namespace lns {

bool CreateDemoNetwork(const std::string& xifSearchRoot) {
  AddNetworkInterface(DemoNetworkInterface);
  if (ServerStore::Load(nullptr)->NetworkList()->Find(DemoNetworkName)) return false;
  CreateNetwork({DemoNetworkName, DemoSystemName, DemoNetworkInterface, xifSearchRoot, 0}, [](System& system) {
    auto deviceTemplate = system.Library().Templates().AddNew(DemoTemplateName, 1);
    deviceTemplate->Fill(std::string(FcuProgramId), UnitInterface());
    system.AddSubsystem(DemoSubsystemName)->AddDevice(DemoDeviceName, *deviceTemplate, std::string(FcuNeuronId));
  });
  return true;
}

bool AddSecondDemoUnit() {
  const auto network = HoldNetwork(DemoNetworkName);
  const System& system = *network->GetSystem();
  const auto subsystem = system.SubsystemList().Find(DemoSubsystemName);
  const auto deviceTemplate = system.Library().Templates().Find(DemoTemplateName);
  if (!subsystem || !deviceTemplate) Fail(err::ObjectNotFound, "the demo network's subsystem or template");
  if (subsystem->Devices().Find(DemoSecondDeviceName)) return false;
  subsystem->AddDevice(DemoSecondDeviceName, *deviceTemplate, DemoSecondNeuronId);
  return true;
}

}  // namespace lns
