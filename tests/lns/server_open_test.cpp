#include <gmock/gmock.h>

#include "lns/interface.h"
#include "lns_fixture.h"
#include "support/store_faults.h"

namespace lns::testing {
namespace {

using rt::Variant;

class OpenTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("North");
    MakeNetwork("South");
  }
  static std::shared_ptr<Network> NetworkOf(const std::shared_ptr<ObjectServer>& server, const char* name) {
    return server->get_Networks()->Item(Variant::String(name));
  }
};

TEST_F(OpenTest, ObjectServerServesItsCollectionsOnlyWhileOpen) {
  auto server = std::make_shared<ObjectServer>();
  EXPECT_EQ(ErrorNumberOf([&] { server->get_Networks(); }), err::NotOpen);
  EXPECT_EQ(ErrorNumberOf([&] { server->Close(); }), err::NotOpen);
  server->Open();
  server->Open();
  EXPECT_TRUE(server->get_IsOpen());
  EXPECT_EQ(server->get_Networks()->get_Count(), 2);
  server->Close();
  EXPECT_FALSE(server->get_IsOpen());
  EXPECT_EQ(ErrorNumberOf([&] { server->get_NetworkInterfaces(); }), err::NotOpen);
}

TEST_F(OpenTest, RemoteChangesOnlyWhileTheServerIsClosed) {
  auto server = std::make_shared<ObjectServer>();
  server->put_Remote(true);
  server->Open();
  EXPECT_EQ(ErrorNumberOf([&] { server->put_Remote(false); }), err::RemoteNotAllowed);
  EXPECT_TRUE(server->get_Remote());
  server->put_RemoteFlags(0x20);
  server->put_PreOpenFlag(false);
  server->putref_ActiveNetworkInterface(server->get_NetworkInterfaces()->Item(Variant::String("LON1")));
  EXPECT_EQ(server->get_ActiveNetworkInterface()->Name(), "LON1");
  EXPECT_EQ(server->get_RemoteFlags(), 0x20);
  EXPECT_FALSE(server->get_PreOpenFlag());
}

TEST_F(OpenTest, NetworkOpensTwiceAndClosesOnce) {
  auto server = OpenServer();
  auto north = NetworkOf(server, "NORTH");
  EXPECT_EQ(ErrorNumberOf([&] { north->get_Systems(); }), err::NotOpen);
  north->Open();
  north->Open();
  EXPECT_EQ(north->get_Name(), "North");
  EXPECT_EQ(north->get_Systems()->get_Count(), 1);
  north->Close();
  EXPECT_FALSE(north->get_IsOpen());
  EXPECT_EQ(ErrorNumberOf([&] { north->Close(); }), err::NotOpen);
}

TEST_F(OpenTest, SystemMembersWaitForTheSystemToOpen) {
  auto server = OpenServer();
  auto north = NetworkOf(server, "North");
  north->Open();
  auto system = north->get_Systems()->Item(Variant::Integer(1));
  EXPECT_EQ(system->get_Name(), "North system");
  EXPECT_FALSE(system->get_IsOpen());
  EXPECT_EQ(ErrorNumberOf([&] { system->get_Subsystems(); }), err::NotOpen);
  system->Open();
  system->Open();
  EXPECT_EQ(system->get_Subsystems()->get_Count(), 1);
  auto device = Device(system);
  system->Close();
  EXPECT_EQ(ErrorNumberOf([&] { device->get_Name(); }), err::NotOpen);
  EXPECT_EQ(ErrorNumberOf([&] { system->Close(); }), err::NotOpen);
}

TEST_F(OpenTest, ObjectsOfAClosedNetworkRefuseButIsOpenAnswers) {
  auto server = OpenServer();
  auto system = OpenSystem(server, "North");
  auto device = Device(system);
  NetworkOf(server, "North")->Close();
  EXPECT_FALSE(system->get_IsOpen());
  EXPECT_EQ(ErrorNumberOf([&] { device->get_State(); }), err::NotOpen);
  EXPECT_EQ(ErrorNumberOf([&] { system->get_ManagementMode(); }), err::NotOpen);
}

TEST_F(OpenTest, SeveralNetworksStayOpenTogether) {
  auto server = OpenServer();
  auto north = Device(OpenSystem(server, "North"));
  auto south = Device(OpenSystem(server, "South"));
  north->put_State(device_state::ConfigOffline);
  EXPECT_EQ(north->get_State(), device_state::ConfigOffline);
  EXPECT_EQ(south->get_State(), device_state::ConfigOnline);
}

TEST_F(OpenTest, ClosingTheServerClosesTheNetworksOpenedThroughIt) {
  auto server = OpenServer();
  auto system = OpenSystem(server, "North");
  server->Close();
  EXPECT_FALSE(system->get_IsOpen());
  server->Open();
  EXPECT_FALSE(NetworkOf(server, "North")->get_IsOpen());
}

TEST_F(OpenTest, EngineeredModeOpensTheDatabaseButNotTheDevices) {
  auto server = OpenServer();
  auto north = NetworkOf(server, "North");
  north->Open();
  auto system = north->get_Systems()->Item(Variant::Integer(1));
  auto attachment = system->get_Attachment();
  auto networkInterface = attachment->get_NetworkInterface();
  ASSERT_TRUE(networkInterface);
  EXPECT_EQ(networkInterface->get_Name(), "LON1");
  attachment->putref_NetworkInterface(nullptr);
  system->Open();

  auto device = Device(system);
  auto setpoint = device->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  EXPECT_EQ(ErrorNumberOf([&] { device->get_State(); }), err::EngineeredMode);
  EXPECT_EQ(ErrorNumberOf([&] { device->Wink(); }), err::EngineeredMode);
  EXPECT_EQ(ErrorNumberOf([&] { setpoint->get_Value(); }), err::EngineeredMode);
  EXPECT_EQ(device->get_CommissionStatus(), 0);
  EXPECT_EQ(system->get_ManagementMode(), 0);
  EXPECT_EQ(system->get_TemplateLibrary()->get_DeviceTemplates()->get_Count(), 1);

  system->Close();
  attachment->putref_NetworkInterface(networkInterface);
  system->Open();
  EXPECT_EQ(device->get_State(), device_state::ConfigOnline);
}

TEST_F(OpenTest, TheAttachmentIsStoredLikeEveryOtherChange) {
  orvex::test::StoreFaults faults;
  auto server = OpenServer();
  auto north = NetworkOf(server, "North");
  const auto lon1 = server->get_NetworkInterfaces()->Item(Variant::String("LON1"));
  auto attachmentAfterReopening = [&] {
    north->Close();
    north->Open();
    return north->get_Systems()->Item(Variant::Integer(1))->get_Attachment();
  };
  north->Open();
  attachmentAfterReopening()->putref_NetworkInterface(nullptr);
  EXPECT_FALSE(attachmentAfterReopening()->get_NetworkInterface());
  attachmentAfterReopening()->putref_NetworkInterface(lon1);
  auto attachment = attachmentAfterReopening();
  ASSERT_TRUE(attachment->get_NetworkInterface());
  EXPECT_EQ(attachment->get_NetworkInterface()->Name(), "LON1");

  faults.FailFrom(1);
  EXPECT_EQ(ErrorNumberOf([&] { attachment->putref_NetworkInterface(nullptr); }), rt::err::PathFileAccessError);
  EXPECT_TRUE(attachment->get_NetworkInterface());
}

TEST_F(OpenTest, ANetworkMadeWithoutInterfaceOpensEngineered) {
  MakeNetwork("Bench", "");
  auto server = OpenServer();
  auto system = OpenSystem(server, "Bench");
  EXPECT_FALSE(system->get_Attachment()->get_NetworkInterface());
  EXPECT_EQ(ErrorNumberOf([&] { Device(system)->get_State(); }), err::EngineeredMode);
}

}  // namespace
}  // namespace lns::testing
