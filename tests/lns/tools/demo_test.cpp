#include <gmock/gmock.h>

#include "lns/interface.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/tools/demo.h"
#include "lns/values/fcu_unit.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using orvex::test::ReadFile;
using rt::Variant;

class DemoTest : public LnsTest {};

TEST_F(DemoTest, MakesTheUnitReadyToConfigure) {
  ASSERT_TRUE(CreateDemoNetwork("/machine/LonWorks/Import"));
  auto server = OpenServer();
  EXPECT_EQ(server->get_NetworkInterfaces()->Item(Variant::String("LON1"))->Name(), "LON1");
  EXPECT_EQ(server->get_Networks()->Item(Variant::String("demo"))->get_Name(), "Demo");
  auto system = OpenSystem(server, "Demo");
  EXPECT_EQ(system->get_ManagementMode(), 0);
  EXPECT_EQ(system->get_XifSearchRoot(), "/machine/LonWorks/Import");
  auto device = system->get_Subsystems()->Item(Variant::String("Subsystem 1"))->get_AppDevices()->Item(Variant::String("FCU 1"));
  EXPECT_TRUE(device->get_IsCommissioned());
  EXPECT_EQ(device->get_State(), device_state::ConfigOnline);
  EXPECT_EQ(device->get_ProgramId(), FcuProgramId);
  EXPECT_EQ(device->get_NeuronId(), FcuNeuronId);
  EXPECT_EQ(device->get_DeviceTemplate()->get_Name(), "OrvexUC_FCU");
  EXPECT_EQ(system->get_TemplateLibrary()->get_DeviceTemplates()->ItemByProgramId(std::string(FcuProgramId))->get_Name(),
            "OrvexUC_FCU");
  EXPECT_EQ(device->get_Interface()->get_NetworkVariables()->get_Count(), 37);
}

TEST_F(DemoTest, EveryPointPresentsItsValueInItsDefaultFormat) {
  CreateDemoNetwork("/xif");
  auto server = OpenServer();
  OpenSystem(server, "Demo");
  auto device = FindOpenDevice("Demo/Subsystem 1/FCU 1");
  for (const auto& point : FcuUnitPoints()) {
    std::string designator(point.name);
    if (point.kind == PointKind::ConfigProperty) {
      designator = point.ownerNv.empty() ? std::string(FcuObjects.at(static_cast<size_t>(point.objectIndex) - 1).name) + "/" + designator
                                         : std::string(point.ownerNv) + "/" + designator;
    }
    auto found = device->FindPoint(designator);
    EXPECT_EQ(found->CurrentFormat(), point.defaultFormat) << designator;
    std::vector<Variant> none;
    EXPECT_EQ(ErrorNumberOf([&] { found->Invoke("Value", CallKind::Get, none); }), 0) << designator;
  }
}

TEST_F(DemoTest, ASecondRunLeavesTheNetworkAsItIs) {
  CreateDemoNetwork("/xif");
  {
    auto server = OpenServer();
    OpenSystem(server, "Demo");
    FindOpenDevice("Demo/Subsystem 1/FCU 1")->UnitSetState(device_state::SoftOffline);
  }
  ResetPlatform();
  std::string store = ReadFile(ServerStoreFile());
  auto database = OpenServer()->get_Networks()->Item(Variant::String("Demo"))->File();
  std::string before = ReadFile(database);

  EXPECT_FALSE(CreateDemoNetwork("/elsewhere"));
  EXPECT_EQ(ReadFile(ServerStoreFile()), store);
  EXPECT_EQ(ReadFile(database), before);
}

TEST_F(DemoTest, ASecondUnitOfTheSameProgramIdJoinsTheFirstOnce) {
  EXPECT_EQ(ErrorNumberOf([] { AddSecondDemoUnit(); }), err::ObjectNotFound);
  CreateDemoNetwork("/xif");
  EXPECT_TRUE(AddSecondDemoUnit());
  EXPECT_FALSE(AddSecondDemoUnit());
  auto server = OpenServer();
  OpenSystem(server, "Demo");
  auto second = FindOpenDevice("Demo/Subsystem 1/FCU 2");
  EXPECT_EQ(second->get_ProgramId(), FcuProgramId);
  EXPECT_EQ(second->get_NeuronId(), DemoSecondNeuronId);
  EXPECT_EQ(second->get_DeviceTemplate()->get_Name(), DemoTemplateName);
  EXPECT_EQ(second->get_State(), device_state::ConfigOnline);
}

}  // namespace
}  // namespace lns::testing
