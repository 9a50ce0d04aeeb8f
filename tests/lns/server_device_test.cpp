#include <gmock/gmock.h>

#include "lns/interface.h"
#include "lns/lookup.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

class DeviceTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
    server_ = OpenServer();
    system_ = OpenSystem(server_, "Plant");
    device_ = Device(system_);
  }
  std::shared_ptr<ObjectServer> server_;
  std::shared_ptr<System> system_;
  std::shared_ptr<AppDevice> device_;
};

TEST_F(DeviceTest, TellsWhatItIs) {
  EXPECT_EQ(device_->get_Name(), "Dev 1");
  EXPECT_EQ(device_->get_DisplayText(), "Sub 1.Dev 1");
  EXPECT_EQ(device_->get_ProgramId(), "80071A5501030400");
  EXPECT_EQ(device_->get_NeuronId(), "05017A3C2E01");
  EXPECT_EQ(device_->get_DeviceTemplate()->get_Name(), "Unit");
  EXPECT_EQ(device_->get_CommissionStatus(), 0);
  EXPECT_TRUE(device_->get_IsCommissioned());
  EXPECT_FALSE(device_->get_TestBlocked());
  EXPECT_EQ(device_->get_State(), device_state::ConfigOnline);
}

TEST_F(DeviceTest, ReportsWhatTheUnitSets) {
  device_->UnitSetCommission(false, 2);
  device_->UnitSetTestBlocked(true);
  device_->UnitSetState(5);
  EXPECT_EQ(device_->get_CommissionStatus(), 2);
  EXPECT_FALSE(device_->get_IsCommissioned());
  EXPECT_TRUE(device_->get_TestBlocked());
  EXPECT_EQ(device_->get_State(), 5);
}

// Asking for a state: from `from`, asked `asked`, the state afterwards or the error.
struct StateCase {
  int16_t from;
  int16_t asked;
  int16_t after;
  int32_t error = 0;
};

class StateTest : public DeviceTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StateTest, OnlyTheRequestableStatesAreTaken) {
  const StateCase& c = GetParam();
  device_->UnitSetState(c.from);
  EXPECT_EQ(ErrorNumberOf([&] { device_->put_State(c.asked); }), c.error);
  EXPECT_EQ(device_->get_State(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    States, StateTest,
    ::testing::Values(StateCase{device_state::SoftOffline, device_state::ConfigOnline, device_state::ConfigOnline},
                      StateCase{device_state::ConfigOnline, device_state::ConfigOffline, device_state::ConfigOffline},
                      StateCase{device_state::ConfigOffline, device_state::ConfigOnline, device_state::ConfigOnline},
                      StateCase{device_state::ConfigOnline, device_state::SoftOffline, device_state::SoftOffline},
                      StateCase{device_state::ConfigBypass, device_state::ConfigOnline, device_state::ConfigOnline},
                      StateCase{device_state::Unconfigured, device_state::ConfigOnline, device_state::Unconfigured, err::InvalidValue},
                      StateCase{device_state::Applicationless, device_state::ConfigOnline, device_state::Applicationless,
                                err::InvalidValue},
                      StateCase{device_state::ConfigOnline, device_state::ConfigBypass, device_state::ConfigOnline, err::InvalidValue},
                      StateCase{device_state::ConfigOnline, 5, device_state::ConfigOnline, err::InvalidValue}));

TEST_F(DeviceTest, AnUncommissionedDeviceCannotBeSetOnline) {
  device_->UnitSetState(device_state::SoftOffline);
  device_->UnitSetCommission(false, 1);
  EXPECT_EQ(ErrorNumberOf([&] { device_->put_State(device_state::ConfigOnline); }), err::InvalidValue);
  EXPECT_EQ(device_->get_State(), device_state::SoftOffline);
}

TEST_F(DeviceTest, CommandsReachTheDevice) {
  ClearJournal();
  device_->Wink();
  device_->Reset();
  device_->SynchronizeCpValues(1);
  std::vector<std::string> members;
  for (const auto& entry : JournalEntries()) members.push_back(entry.member);
  EXPECT_THAT(members, ::testing::ElementsAre("Wink", "Reset", "SynchronizeCpValues"));
  EXPECT_EQ(JournalEntries().back().arguments, "1");
}

TEST_F(DeviceTest, IsFoundByItsPathWhileItsNetworkIsOpen) {
  EXPECT_EQ(FindOpenDevice("plant/Sub 1/Dev 1"), device_);
  EXPECT_EQ(ErrorNumberOf([] { FindOpenDevice("Plant/Sub 1/Dev 2"); }), err::ObjectNotFound);
  EXPECT_EQ(ErrorNumberOf([] { FindOpenDevice("Elsewhere/Sub 1/Dev 1"); }), err::NotOpen);
  EXPECT_EQ(ErrorNumberOf([] { FindOpenDevice("Plant/Dev 1"); }), err::InvalidArgument);
}

TEST_F(DeviceTest, DevicesInNestedSubsystemsAreFound) {
  auto inner = system_->SubsystemList().Find("Sub 1")->AddSubsystem("Floor 2");
  inner->AddDevice("Dev 9", *device_->get_DeviceTemplate(), "050000000009");
  EXPECT_EQ(FindOpenDevice("Plant/Sub 1/Floor 2/Dev 9")->get_DisplayText(), "Sub 1.Floor 2.Dev 9");
  EXPECT_EQ(device_->get_DeviceTemplate()->get_AppDevices()->get_Count(), 2);
}

}  // namespace
}  // namespace lns::testing
