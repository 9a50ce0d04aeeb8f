#include <gmock/gmock.h>

#include <deque>
#include <functional>

#include "lns/calls/faults.h"
#include "lns/interface.h"
#include "lns/platform.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

class FaultsTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
    server_ = OpenServer();
    system_ = OpenSystem(server_, "Plant");
    device_ = Device(system_);
    setpoint_ = device_->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  }
  std::shared_ptr<ObjectServer> server_;
  std::shared_ptr<System> system_;
  std::shared_ptr<AppDevice> device_;
  std::shared_ptr<NetworkVariable> setpoint_;
};

// The object patterns a member fault can name.
class PatternTest : public FaultsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(PatternTest, NamesTheObject) {
  FailMember(GetParam(), "Value", 91, Repeat::Always);
  EXPECT_EQ(ErrorNumberOf([&] { setpoint_->get_Value(); }), 91);
  EXPECT_EQ(ErrorNumberOf([&] { setpoint_->get_Value(); }), 91);
  EXPECT_EQ(ErrorNumberOf([&] { setpoint_->get_DsFormatType(); }), 0);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternTest,
                         ::testing::Values("*", "NetworkVariable", "NetworkVariable:nviSetpoint",
                                           "AppDevice:Dev 1/Interface/NetworkVariables/NetworkVariable:nviSetpoint",
                                           "ObjectServer/Networks/Network:Plant/Systems/System:Plant system/Subsystems/"
                                           "Subsystem:Sub 1/AppDevices/AppDevice:Dev 1/Interface/NetworkVariables/"
                                           "NetworkVariable:nviSetpoint"));

TEST_F(FaultsTest, AMemberFaultOnceFailsOneCall) {
  FailMember("AppDevice", "State", err::InjectedFault, Repeat::Once);
  EXPECT_EQ(ErrorNumberOf([&] { device_->get_State(); }), err::InjectedFault);
  EXPECT_EQ(device_->get_State(), device_state::ConfigOnline);
  FailMember("NetworkVariable:nvoSpaceTemp", "Value", 91);
  EXPECT_EQ(ErrorNumberOf([&] { setpoint_->get_Value(); }), 0);
}

TEST_F(FaultsTest, OpenFailsForTheChosenTarget) {
  FailOpen(OpenTarget::EngineeredSystem, err::InjectedFault, Repeat::Always);
  auto network = server_->get_Networks()->Item(Variant::String("Plant"));
  network->Close();
  network->Open();
  auto system = network->get_Systems()->Item(Variant::Integer(1));
  auto networkInterface = system->get_Attachment()->get_NetworkInterface();
  system->get_Attachment()->putref_NetworkInterface(nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { system->Open(); }), err::InjectedFault);
  EXPECT_FALSE(system->get_IsOpen());
  system->get_Attachment()->putref_NetworkInterface(networkInterface);
  system->Open();
  EXPECT_TRUE(system->get_IsOpen());

  FailOpen(OpenTarget::Network, err::DatabaseDamaged, Repeat::Once);
  network->Close();
  EXPECT_EQ(ErrorNumberOf([&] { network->Open(); }), err::DatabaseDamaged);
  network->Open();

  FailOpen(OpenTarget::ObjectServer, err::InjectedFault, Repeat::Always);
  auto another = std::make_shared<ObjectServer>();
  EXPECT_EQ(ErrorNumberOf([&] { another->Open(); }), err::InjectedFault);
  EXPECT_FALSE(another->get_IsOpen());
}

TEST_F(FaultsTest, ARefusedFormatChangeKeepsTheOldNameSilently) {
  RefuseFormatChanges("NetworkVariable:nviSetpoint");
  setpoint_->put_DsFormatType("RAW");
  EXPECT_EQ(setpoint_->get_DsFormatType(), "SNVT_temp_p#SI");
  RefuseFormatChanges("NetworkVariable:nviSetpoint", false);
  setpoint_->put_DsFormatType("RAW");
  EXPECT_EQ(setpoint_->get_DsFormatType(), "RAW");
}

TEST_F(FaultsTest, ManagementModeCanBeKeptOffNet) {
  KeepOffNet(true);
  EXPECT_EQ(system_->get_ManagementMode(), 1);
  system_->put_ManagementMode(0);
  EXPECT_EQ(system_->get_ManagementMode(), 1);
  KeepOffNet(false);
  EXPECT_EQ(system_->get_ManagementMode(), 0);
}

TEST_F(FaultsTest, ASilentDeviceRaisesNotRespondingOnEveryLiveCall) {
  SetDeviceResponding("AppDevice:Dev 1", false);
  auto coolKp = device_->FindPoint("FCU/UCPTcoolKp");
  std::vector<std::function<void()>> liveCalls = {
      [&] { device_->get_State(); },        [&] { device_->put_State(6); },    [&] { device_->Wink(); },
      [&] { device_->Reset(); },            [&] { device_->SynchronizeCpValues(1); },
      [&] { setpoint_->get_Value(); },      [&] { setpoint_->put_Value(Variant::Double(20)); },
      [&] { std::vector<Variant> none; coolKp->Invoke("Value", CallKind::Get, none); },
  };
  for (size_t i = 0; i < liveCalls.size(); ++i) EXPECT_EQ(ErrorNumberOf(liveCalls[i]), err::DeviceNotResponding) << i;
  EXPECT_EQ(device_->get_NeuronId(), "05017A3C2E01");
  EXPECT_EQ(device_->get_CommissionStatus(), 0);
  SetDeviceResponding("AppDevice:Dev 1", true);
  EXPECT_EQ(device_->get_State(), device_state::ConfigOnline);
}

TEST_F(FaultsTest, ClearFaultsRemovesEveryKnob) {
  FailMember("*", "Name", 5);
  KeepOffNet(true);
  SetDeviceResponding("*", false);
  RefuseFormatChanges("*");
  ClearFaults();
  EXPECT_EQ(device_->get_Name(), "Dev 1");
  EXPECT_EQ(system_->get_ManagementMode(), 0);
  EXPECT_EQ(device_->get_State(), device_state::ConfigOnline);
  setpoint_->put_DsFormatType("RAW");
  EXPECT_EQ(setpoint_->get_DsFormatType(), "RAW");
}

TEST_F(FaultsTest, OneFaultIsClearedOnItsOwnAndShowsItsOwnDescription) {
  const FaultId wink = FailMember("AppDevice", "Wink", {70, "Permission denied by the bench"});
  const FaultId reset = FailMember("AppDevice", "Reset", 71);
  const FaultId offNet = KeepOffNet(true);
  EXPECT_NE(wink, reset);
  EXPECT_EQ(ErrorDescriptionOf([&] { device_->Wink(); }), "Permission denied by the bench");
  EXPECT_TRUE(ClearFault(wink));
  EXPECT_FALSE(ClearFault(wink));
  EXPECT_EQ(ErrorNumberOf([&] { device_->Wink(); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { device_->Reset(); }), 71);
  EXPECT_TRUE(ClearFault(offNet));
  EXPECT_EQ(system_->get_ManagementMode(), 0);
  ClearFaults();
  EXPECT_GT(FailMember("*", "Name", 5), offNet) << "an old id never names a new fault";
}

TEST_F(FaultsTest, TheJournalRecordsTheSceneOfEachCallAndNamesObjectArguments) {
  int pointer = 11;
  SetSceneProbe([&] { return CallScene{pointer, {1}}; });
  ClearJournal();
  device_->get_Name();
  pointer = 0;
  server_->putref_ActiveNetworkInterface(server_->get_NetworkInterfaces()->Item(Variant::String("LON1")));
  const auto entries = JournalEntries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].scene.mousePointer, 11);
  EXPECT_EQ(entries[0].scene.lampsVisible, std::vector<int>{1});
  EXPECT_EQ(entries[3].scene.mousePointer, 0);
  EXPECT_EQ(entries[3].arguments, "<NetworkInterface:LON1>");
}

TEST_F(FaultsTest, TheJournalRecordsEveryCallWithItsOutcome) {
  ClearJournal();
  setpoint_->put_DsFormatType("RAW");
  ErrorNumberOf([&] { setpoint_->put_DsFormatType("BOGUS"); });
  setpoint_->get_Value();
  auto entries = JournalEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].member, "DsFormatType");
  EXPECT_EQ(entries[0].kind, CallKind::Let);
  EXPECT_EQ(entries[0].arguments, "\"RAW\"");
  EXPECT_EQ(entries[0].error, 0);
  EXPECT_EQ(entries[1].error, err::FormatNotSupported);
  EXPECT_EQ(entries[2].kind, CallKind::Get);
  EXPECT_LT(entries[0].sequence, entries[1].sequence);
  EXPECT_THAT(JournalLine(entries[1]),
              ::testing::EndsWith("NetworkVariable:nviSetpoint.DsFormatType Let (\"BOGUS\") error -2147203323"));
}

TEST_F(FaultsTest, TheJournalKeepsTheLatestCalls) {
  ClearJournal();
  for (size_t i = 0; i < MaxJournalEntries + 5; ++i) device_->get_Name();
  auto entries = JournalEntries();
  EXPECT_EQ(entries.size(), MaxJournalEntries);
  EXPECT_EQ(entries.back().sequence - entries.front().sequence, static_cast<int64_t>(MaxJournalEntries) - 1);
}

TEST_F(FaultsTest, EventsTravelThroughThePoster) {
  std::deque<std::function<void()>> loop;
  SetEventPoster([&](std::function<void()> event) { loop.push_back(std::move(event)); });
  int refreshes = 0;
  int32_t tag = 0;
  std::string value;
  server_->OnRefreshNotify([&] { ++refreshes; });
  server_->OnMonitorUpdate([&](int32_t t, const Variant& v, const rt::ObjectRef&) {
    tag = t;
    value = v.ToString();
  });
  RaiseRefreshNotifyEverywhere();
  RaiseMonitorUpdateEverywhere(7, Variant::String("72.5"), setpoint_);
  EXPECT_EQ(refreshes, 0);
  ASSERT_EQ(loop.size(), 2u);
  for (auto& event : loop) event();
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(tag, 7);
  EXPECT_EQ(value, "72.5");
}

}  // namespace
}  // namespace lns::testing
