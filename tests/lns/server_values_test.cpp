#include <gmock/gmock.h>

#include "lns/interface.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

class ValuesTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
    server_ = OpenServer();
    device_ = Device(OpenSystem(server_, "Plant"));
    face_ = device_->get_Interface();
  }
  std::shared_ptr<NetworkVariable> Variable(const char* name) {
    return face_->get_NetworkVariables()->Item(Variant::String(name));
  }
  std::shared_ptr<ConfigProperty> CoolKp() {
    return face_->get_LonMarkObjects()->Item(Variant::String("FCU"))->get_ConfigProperties()->Item(Variant::String("UCPTcoolKp"));
  }
  std::shared_ptr<ObjectServer> server_;
  std::shared_ptr<AppDevice> device_;
  std::shared_ptr<Interface> face_;
};

// nviSetpoint holds 22.00 °C (0x0898); each format presents it its own way.
struct PresentCase {
  const char* format;
  std::string text;
};

class PresentTest : public ValuesTest, public ::testing::WithParamInterface<PresentCase> {};

TEST_P(PresentTest, ValueFollowsTheFormatInForce) {
  auto setpoint = Variable("nviSetpoint");
  setpoint->put_DsFormatType(GetParam().format);
  EXPECT_EQ(setpoint->get_DsFormatType(), GetParam().format);
  EXPECT_EQ(setpoint->get_Value().ToString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Formats, PresentTest,
                         ::testing::Values(PresentCase{"SNVT_temp_p#SI", "22"}, PresentCase{"SNVT_temp_p#US", "71.6"},
                                           PresentCase{"RAW", "8\t152"}, PresentCase{"Raw", "8\t152"},
                                           PresentCase{"", "8\t152"}));

TEST_F(ValuesTest, AnUnknownFormatNameRaisesAndKeepsTheOldOne) {
  auto setpoint = Variable("nviSetpoint");
  setpoint->put_DsFormatType("RAW");
  for (const char* unknown : {"SNVT_temp_p#XX", "SNVT_switch", "#0000000000000000[0].SNVT_temp"}) {
    EXPECT_EQ(ErrorNumberOf([&] { setpoint->put_DsFormatType(unknown); }), err::FormatNotSupported) << unknown;
    EXPECT_EQ(setpoint->get_DsFormatType(), "RAW");
  }
}

TEST_F(ValuesTest, AWriteInTheFormatInForceChangesTheDeviceBytes) {
  auto setpoint = Variable("nviSetpoint");
  setpoint->put_DsFormatType("RAW");
  setpoint->put_Value(Variant::String("9\t196"));
  EXPECT_EQ(setpoint->DeviceBytes(), (Bytes{0x09, 0xC4}));
  setpoint->put_DsFormatType("SNVT_temp_p#SI");
  EXPECT_EQ(setpoint->get_Value().ToDouble(), 25.0);
  setpoint->put_Value(Variant::Double(21.5));
  EXPECT_EQ(setpoint->DeviceBytes(), (Bytes{0x08, 0x66}));
}

TEST_F(ValuesTest, ARefusedValueLeavesTheBytes) {
  auto setpoint = Variable("nviSetpoint");
  setpoint->put_DsFormatType("RAW");
  EXPECT_EQ(ErrorNumberOf([&] { setpoint->put_Value(Variant::String("9\t999")); }), err::InvalidValue);
  EXPECT_EQ(setpoint->DeviceBytes(), (Bytes{0x08, 0x98}));
}

TEST_F(ValuesTest, OutputVariablesChangeOnlyAsTheUnitChangesThem) {
  auto spaceTemp = Variable("nvoSpaceTemp");
  EXPECT_EQ(ErrorNumberOf([&] { spaceTemp->put_Value(Variant::Double(30)); }), err::InvalidArgument);
  EXPECT_EQ(spaceTemp->get_Value().ToDouble(), 20.0);
  spaceTemp->UnitWriteValue("SNVT_temp_p#SI", Variant::Double(23.5));
  EXPECT_EQ(spaceTemp->get_Value().ToDouble(), 23.5);
  spaceTemp->UnitWriteBytes({0x07, 0x6C});
  EXPECT_EQ(spaceTemp->get_Value().ToDouble(), 19.0);
  EXPECT_EQ(ErrorNumberOf([&] { spaceTemp->UnitWriteBytes({0x07}); }), err::InvalidValue);
}

TEST_F(ValuesTest, AConfigPropertyAnswersToBothFormatMemberNames) {
  auto coolKp = CoolKp();
  coolKp->put_DsFormatType("RAW");
  EXPECT_EQ(coolKp->get_FormatName(), "RAW");
  EXPECT_EQ(coolKp->get_Value().ToString(), "15\t160");
  coolKp->put_FormatName("UCPTcoolKp");
  EXPECT_EQ(coolKp->get_DsFormatType(), "UCPTcoolKp");
  coolKp->put_Value(Variant::Double(50));
  EXPECT_EQ(coolKp->get_Value().ToDouble(), 50.0);
}

TEST_F(ValuesTest, APropertyOfAVariableIsReachedThroughIt) {
  auto bypass = Variable("nviOccManCmd")->get_ConfigProperties()->Item(Variant::String("SCPTbypassTime"));
  EXPECT_EQ(bypass->get_Value().ToDouble(), 120.0);
  bypass->put_Value(Variant::Double(90));
  EXPECT_EQ(device_->FindPoint("nviOccManCmd/SCPTbypassTime")->DeviceBytes(), (Bytes{0, 90}));
}

TEST_F(ValuesTest, TheDeviceKeepsItsOwnCopyOfTheTemplateValues) {
  auto deviceTemplate = device_->get_DeviceTemplate();
  Variable("nviSetpoint")->put_Value(Variant::Double(25));
  auto templateSetpoint = deviceTemplate->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  EXPECT_EQ(templateSetpoint->get_Value().ToDouble(), 22.0);
}

// The unit's points by designator.
struct PointCase {
  const char* designator;
  const char* name;  // nullptr: not found
  int32_t error = 0;
};

class FindPointTest : public ValuesTest, public ::testing::WithParamInterface<PointCase> {};

TEST_P(FindPointTest, FindsAVariableOrProperty) {
  const PointCase& c = GetParam();
  if (c.name) {
    EXPECT_EQ(device_->FindPoint(c.designator)->Name(), c.name);
  } else {
    EXPECT_EQ(ErrorNumberOf([&] { device_->FindPoint(c.designator); }), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(Designators, FindPointTest,
                         ::testing::Values(PointCase{"nviSetpoint", "nviSetpoint"}, PointCase{"UCPTcoolKp", "UCPTcoolKp"},
                                           PointCase{"FCU/UCPTcoolKp", "UCPTcoolKp"},
                                           PointCase{"Node/SCPTdevMajVer", "SCPTdevMajVer"},
                                           PointCase{"nviOccManCmd/SCPTbypassTime", "SCPTbypassTime"},
                                           PointCase{"Node/UCPTcoolKp", nullptr, err::ObjectNotFound},
                                           PointCase{"nviSetPoint", nullptr, err::ObjectNotFound}));

}  // namespace
}  // namespace lns::testing
