#include "lns/demo.h"

#include "lns/fcu_unit.h"
#include "lns/server.h"

namespace lns {

bool CreateDemoNetwork(const std::string& xifSearchRoot) {
  AddNetworkInterface(DemoNetworkInterface);
  if (ServerStore::Load(nullptr)->NetworkList()->Find(DemoNetworkName)) return false;
  CreateNetwork({DemoNetworkName, DemoSystemName, DemoNetworkInterface, xifSearchRoot, 0}, [](System& system) {
    auto deviceTemplate = system.Library().Templates().AddNew(DemoTemplateName, 1);
    deviceTemplate->Fill(std::string(FcuProgramId), UnitInterface());
    auto subsystem = system.AddSubsystem(DemoSubsystemName);
    subsystem->AddDevice(DemoDeviceName, *deviceTemplate, std::string(FcuNeuronId));
    subsystem->AddDevice(DemoSecondDeviceName, *deviceTemplate, std::string(FcuSecondNeuronId));
  });
  return true;
}

}  // namespace lns
