#include "lns_fixture.h"

#include <cstdlib>

#include "lns/platform.h"

namespace lns::testing {

void LnsTest::SetUp() {
  temp_.emplace("lns");
  machine_ = temp_->Machine();
  ResetPlatform();
}

void LnsTest::TearDown() {
  ResetPlatform();
  temp_.reset();
}

InterfaceDecl LnsTest::SmallInterface() {
  InterfaceDecl decl;
  decl.lonMarkObjects = {{"Node", 0, {{"SCPTdevMajVer", "SCPTdevMajVer", "SCPTdevMajVer", {1}}}},
                         {"FCU", 8500, {{"UCPTcoolKp", "UCPTcoolKp", "UCPTcoolKp", {0x0F, 0xA0}}}}};
  decl.networkVariables = {
      {{"nviSetpoint", "SNVT_temp_p", "SNVT_temp_p#SI", {0x08, 0x98}}, true, {}},
      {{"nviOccManCmd", "SNVT_occupancy", "SNVT_occupancy", {0}}, true,
       {{"SCPTbypassTime", "SCPTbypassTime", "SCPTbypassTime", {0, 120}}}},
      {{"nvoSpaceTemp", "SNVT_temp_p", "SNVT_temp_p#SI", {0x07, 0xD0}}, false, {}},
  };
  return decl;
}

void LnsTest::MakeNetwork(const std::string& name, const std::string& networkInterface) {
  if (!networkInterface.empty()) AddNetworkInterface(networkInterface);
  CreateNetwork({name, name + " system", networkInterface, "/xif", 0}, [](System& system) {
    auto unit = system.Library().Templates().AddNew("Unit", 1);
    unit->Fill("80071A5501030400", SmallInterface());
    system.AddSubsystem("Sub 1")->AddDevice("Dev 1", *unit, "05017A3C2E01");
  });
}

std::shared_ptr<ObjectServer> LnsTest::OpenServer() {
  auto server = std::make_shared<ObjectServer>();
  server->Open();
  return server;
}

std::shared_ptr<System> LnsTest::OpenSystem(const std::shared_ptr<ObjectServer>& server, const std::string& network) {
  auto found = server->get_Networks()->Item(rt::Variant::String(network));
  found->Open();
  auto system = found->get_Systems()->Item(rt::Variant::Integer(1));
  system->Open();
  return system;
}

std::shared_ptr<AppDevice> LnsTest::Device(const std::shared_ptr<System>& system, const std::string& name) {
  return system->get_Subsystems()->Item(rt::Variant::String("Sub 1"))->get_AppDevices()->Item(rt::Variant::String(name));
}

}  // namespace lns::testing
