#include <gmock/gmock.h>

#include "lns/interface.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

class CollectionsTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant East");
    server_ = OpenServer();
    system_ = OpenSystem(server_, "Plant East");
    face_ = Device(system_)->get_Interface();
  }
  std::shared_ptr<ObjectServer> server_;
  std::shared_ptr<System> system_;
  std::shared_ptr<Interface> face_;
};

// Item by name or position gives the stored name, or the error of a miss.
struct ItemCase {
  const char* collection;
  Variant key;
  std::string name;  // empty: the look-up fails
  int32_t error = 0;
};

class ItemTest : public CollectionsTest, public ::testing::WithParamInterface<ItemCase> {
 protected:
  std::string Lookup(const ItemCase& c) {
    std::string which = c.collection;
    if (which == "Networks") return server_->get_Networks()->Item(c.key)->Name();
    if (which == "NetworkInterfaces") return server_->get_NetworkInterfaces()->Item(c.key)->Name();
    if (which == "NetworkVariables") return face_->get_NetworkVariables()->Item(c.key)->Name();
    if (which == "LonMarkObjects") return face_->get_LonMarkObjects()->Item(c.key)->Name();
    if (which == "FCU properties") {
      auto fcu = face_->get_LonMarkObjects()->Item(Variant::Integer(2));
      return fcu->get_ConfigProperties()->Item(c.key)->Name();
    }
    return system_->get_Subsystems()->Item(c.key)->Name();
  }
};

TEST_P(ItemTest, FindsByNameOrPositionUnderItsRule) {
  const ItemCase& c = GetParam();
  if (c.name.empty()) {
    EXPECT_EQ(ErrorNumberOf([&] { Lookup(c); }), c.error);
  } else {
    EXPECT_EQ(Lookup(c), c.name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    NameRules, ItemTest,
    ::testing::Values(ItemCase{"Networks", Variant::String("plant EAST"), "Plant East"},
                      ItemCase{"Networks", Variant::Integer(1), "Plant East"},
                      ItemCase{"Networks", Variant::Integer(2), "", err::ObjectNotFound},
                      ItemCase{"Networks", Variant::String("Plant"), "", err::ObjectNotFound},
                      ItemCase{"NetworkInterfaces", Variant::String("lon1"), "LON1"},
                      ItemCase{"NetworkInterfaces", Variant::String("LON2"), "", err::InterfaceNotFound},
                      ItemCase{"NetworkVariables", Variant::String("nviSetpoint"), "nviSetpoint"},
                      ItemCase{"NetworkVariables", Variant::String("nviSetPoint"), "", err::ObjectNotFound},
                      ItemCase{"NetworkVariables", Variant::Long(3), "nvoSpaceTemp"},
                      ItemCase{"NetworkVariables", Variant::Double(1.5), "", err::ObjectNotFound},
                      ItemCase{"NetworkVariables", Variant(), "", err::InvalidArgument},
                      ItemCase{"LonMarkObjects", Variant::Integer(1), "Node"},
                      ItemCase{"LonMarkObjects", Variant::Integer(2), "FCU"},
                      ItemCase{"LonMarkObjects", Variant::Integer(0), "", err::ObjectNotFound},
                      ItemCase{"LonMarkObjects", Variant::String("FCU"), "FCU"},
                      ItemCase{"LonMarkObjects", Variant::String("fcu"), "", err::ObjectNotFound},
                      ItemCase{"FCU properties", Variant::String("UCPTcoolKp"), "UCPTcoolKp"},
                      ItemCase{"FCU properties", Variant::String("UCPTcoolkp"), "", err::ObjectNotFound},
                      ItemCase{"Subsystems", Variant::String("Sub 1"), "Sub 1"},
                      ItemCase{"Subsystems", Variant::String("sub 1"), "", err::ObjectNotFound}));

TEST_F(CollectionsTest, CountsItsItems) {
  EXPECT_EQ(face_->get_NetworkVariables()->get_Count(), 3);
  EXPECT_EQ(face_->get_LonMarkObjects()->get_Count(), 2);
  EXPECT_EQ(system_->get_Subnets()->get_Count(), 0);
}

TEST_F(CollectionsTest, ThreeParentStepsLeadFromALonMarkObjectToItsDevice) {
  rt::ObjectRef node = face_->get_LonMarkObjects()->Item(Variant::Integer(2));
  for (int step = 0; step < 3; ++step) {
    std::vector<Variant> none;
    node = node->Invoke("Parent", CallKind::Get, none).ToObject();
  }
  EXPECT_EQ(node, Device(system_));
}

TEST_F(CollectionsTest, LateBindingReachesMembersWithoutRegardToCase) {
  std::vector<Variant> none;
  auto variables = face_->Invoke("networkVariables", CallKind::Get, none).ToObject();
  std::vector<Variant> key{Variant::String("nviSetpoint")};
  auto setpoint = variables->Invoke("Item", CallKind::Method, key).ToObject();
  EXPECT_EQ(setpoint->Invoke("NAME", CallKind::Get, none).ToString(), "nviSetpoint");

  auto byDefault = variables->Invoke("", CallKind::Get, key).ToObject();
  EXPECT_EQ(byDefault, setpoint);

  std::vector<Variant> raw{Variant::String("RAW")};
  setpoint->Invoke("DsFormatType", CallKind::Let, raw);
  EXPECT_EQ(setpoint->Invoke("DsFormatType", CallKind::Get, none).ToString(), "RAW");

  EXPECT_EQ(ErrorNumberOf([&] { setpoint->Invoke("Colour", CallKind::Get, none); }), rt::err::ObjectNotSupportProperty);
  EXPECT_EQ(ErrorNumberOf([&] { variables->Invoke("Item", CallKind::Get, none); }), rt::err::ArgumentNotOptional);
}

TEST_F(CollectionsTest, DeviceTemplateAnswersItsDefaultMemberWithItsName) {
  std::vector<Variant> none;
  auto deviceTemplate = Device(system_)->Invoke("DeviceTemplate", CallKind::Get, none).ToObject();
  EXPECT_EQ(deviceTemplate->Invoke("", CallKind::Get, none).ToString(), "Unit");
}

TEST_F(CollectionsTest, PlaceholdersOfTheObjectPathWalkAreThere) {
  std::vector<Variant> none;
  for (const char* member : {"Subnets", "Connections", "ErrorObject", "RecoveryStatus", "TemplateLibrary"}) {
    EXPECT_TRUE(system_->Invoke(member, CallKind::Get, none).IsObject()) << member;
  }
  auto library = system_->get_TemplateLibrary();
  for (const char* member : {"HardwareTemplates", "BuildTemplates", "ProgramTemplates", "ConnectionDescriptionTemplates"}) {
    EXPECT_TRUE(library->Invoke(member, CallKind::Get, none).IsObject()) << member;
  }
  auto network = server_->get_Networks()->Item(Variant::Integer(1));
  EXPECT_EQ(network->get_Channels()->get_Count(), 0);
  EXPECT_EQ(network->get_NetworkServiceDevices()->get_Count(), 0);
  EXPECT_EQ(Device(system_)->Ancestor<Subsystem>()->get_Routers()->get_Count(), 0);
}

}  // namespace
}  // namespace lns::testing
