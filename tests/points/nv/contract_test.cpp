#include <gmock/gmock.h>

#include "forms/msgbox.h"
#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/points.h"

namespace points::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

using Kind = rt::Object::CallKind;

// {d} stands for the error's description, {n} for its number.
struct ContractCase {
  const char* className;
  const char* nvName;  // of "Bench 1"
  const char* property;
  rt::Variant value;
  bool gated;
  const char* readLine;
  const char* writeLine;  // when Value fails; SNVT_hvac_status puts nothing, so its format read fails
  bool logsNotResponding;
  // What a failed binding gives: "raise", "log:" & line, or "box:" & prompt & "|" & title.
  const char* bindingFailure;
};

std::ostream& operator<<(std::ostream& out, const ContractCase& c) { return out << c.className; }

const ContractCase Cases[] = {
    {"SNVT_switch", "nviSwitch", "State", rt::Variant::Integer(1), false,
     "Err.Number({n})-{d} Line 20 SNVT_switch.ReadNV >nviSwitch<", "Error-{d} Line 20 SNVT_switch.WriteNV >nviSwitch<",
     false, "raise"},
    {"SNVT_state", "nviState", "Bit3", rt::Variant::Boolean(true), false,
     "Err.Number({n})-{d} Line 0 SNVT_state.ReadNV >nviState<", "Error-{d} Line 0 SNVT_state.WriteNV", false, "raise"},
    {"SNVT_temp_p", "nviTemp", "Value", rt::Variant::Double(70), true,
     "Err.Number({n})-{d} Line 20 SNVT_temp_p.ReadNV >nviTemp<", "Error-{d} Line 20 SNVT_temp_p.WriteNV", false,
     "raise"},
    {"SNVT_count", "nviCount", "Value", rt::Variant::Double(5), true,
     "Err.Number({n})-{d} Line 15 SNVT_count.ReadNV >nviCount<", "Error-{d} Line 0 SNVT_count.WriteNV", false, "raise"},
    {"SNVT_str_asc", "nviText", "Value", rt::Variant::String("Hello"), true,
     "Err.Number({n})-{d} Line 0 SNVT_str_asc.ReadNV >nviText<", "Error-{d} Line 0 SNVT_str_asc.WriteNV", false,
     "raise"},
    {"SNVT_time_min", "nviMinutes", "Value", rt::Variant::Double(5), true,
     "Error-{d} Line 0 SNVT_time_min.ReadNV >nviMinutes<", "Error-{d} Line 0 SNVT_time_min.WriteNV", true, "raise"},
    {"SNVT_time_sec", "nviSeconds", "Value", rt::Variant::Double(5), true,
     "Error-{d} Line 0 SNVT_time_sec.ReadNV >nviSeconds<", "Error-{d} Line 0 SNVT_time_sec.WriteNV", true, "raise"},
    {"SNVT_temp_setpt", "nviSetpts", "standby_heat", rt::Variant::Double(60), true,
     "Err.Number({n})-{d} Line 20 SNVT_temp_setpt.ReadNV >nviSetpts<", "Error-{d} Line 20 SNVT_temp_setpt.WriteNV",
     false, "log:SNVT_temp_setpt-Can't find nviNone"},
    {"SNVT_hvac_status", "nviStatus", "Mode", rt::Variant::Byte(3), true,
     "Err.Number({n})-{d} Line 20 SNVT_hvac_status.ReadNV >nviStatus<", "Error-{d} Line 10 SNVT_hvac_status.WriteNV",
     false, "raise"},
    {"SNVT_hvac_mode", "nviMode", "Value", rt::Variant::Byte(3), true,
     "Err.Number({n})-{d} Line 20 SNVT_hvac_mode.ReadNV >nviMode<", "Error-{d} Line 20 SNVT_hvac_mode.WriteNV", false,
     "box:Error - {d} Line 0|SNVT_hvac_mode.NvName"},
    {"SNVT_occupancy", "nviOcc", "Value", rt::Variant::Byte(2), true,
     "Err.Number({n})-{d} Line 20 SNVT_occupancy.ReadNV >nviOcc<", "Error-{d} Line 20 SNVT_occupancy.WriteNV", false,
     "box:Error - {d} Line 0|SNVT_occupancy.NvName"},
    {"SNVT_tod_event", "nviSchedule", "time_to_next_state", rt::Variant::Double(45), true,
     "nviSchedule.ReadNV-{d} Line 20", "Error-{d} Line 20 SNVT_tod_event.WriteNV", true,
     "box:Error - {d} Line 0|SNVT_tod_event.NvName"},
    {"SNVT_lev_percent", "nviLevel", "Value", rt::Variant::Double(50), true,
     "Error-{d} Line 20 SNVT_lev_percent.ReadNV", "Error-{d} Line 20 SNVT_lev_percent.WriteNV", true, "raise"},
    {"SNVT_state_64", "nviState64", "Bit31", rt::Variant::Boolean(true), false,
     "Err.Number({n})-{d} Line 0 SNVT_state_64.ReadNV >nviState64<", "Error-{d} Line 0 SNVT_state_64.WriteNV", false,
     "raise"},
    {"UNVT_Byte", "nviByte", "Value", rt::Variant::Byte(7), true,
     "Err.Number({n})-{d} Line 0 UNVT_Byte.ReadNV >nviByte<", "Error-{d} Line 20 UNVT_Byte.WriteNV", false,
     "box:Error - (nviNone){d} Line 0|UNVT_Byte.NvName"},
    {"SNVT_temp_p_US_diff", "nviDiff", "Value", rt::Variant::Double(2), true,
     "Error-{d} Line 20 SNVT_temp_p_US_diff.ReadNV", "Error-{d} Line 20 SNVT_temp_p_US_diff.WriteNV", true, "raise"},
};

class ContractTest : public PointTest, public ::testing::WithParamInterface<ContractCase> {
 protected:
  rt::Ref<NetworkVariablePoint> NewPoint() const { return CreateNetworkVariablePoint(GetParam().className); }
  rt::Ref<NetworkVariablePoint> BoundPoint() const {
    auto point = NewPoint();
    point->putref_Device(Bench());
    point->put_NvName(GetParam().nvName);
    return point;
  }
  void SetProperty(const rt::Ref<NetworkVariablePoint>& point) const {
    std::vector<rt::Variant> args{GetParam().value};
    point->Invoke(GetParam().property, Kind::Let, args);
  }
  // The error the stand-in raises for the variable's member now.
  rt::Error ValueError() const { return ErrorOf([&] { Variable(GetParam().nvName)->get_Value(); }); }
  rt::Error FormatError() const { return ErrorOf([&] { Variable(GetParam().nvName)->get_DsFormatType(); }); }
  bool WritesNothing() const { return std::string(GetParam().className) == "SNVT_hvac_status"; }

  // Checks what a failed NvName Let did, for the error `error`.
  void ExpectBindingFailureReported(const std::function<void()>& bind, const rt::Error& error) {
    std::string expected = GetParam().bindingFailure;
    if (expected == "raise") {
      EXPECT_EQ(ErrorOf(bind).Number(), error.Number());
      return;
    }
    EXPECT_EQ(ErrorOf(bind).Number(), 0);
    if (expected.rfind("log:", 0) == 0) {
      EXPECT_THAT(Log(), Contains(Expand(expected.substr(4), error)));
      return;
    }
    std::string box = expected.substr(4);
    ASSERT_FALSE(forms::MsgBoxRecords().empty());
    const forms::MsgBoxRecord& shown = forms::MsgBoxRecords().back();
    EXPECT_EQ(shown.prompt, Expand(box.substr(0, box.find('|')), error));
    EXPECT_EQ(shown.title, box.substr(box.find('|') + 1));
    EXPECT_EQ(shown.style, forms::vbOKOnly + forms::vbCritical);
  }
};

TEST_P(ContractTest, ANewPointIsUnboundAndUnchanged) {
  auto point = NewPoint();
  ASSERT_FALSE(point.IsNothing());
  EXPECT_EQ(point->TypeName(), GetParam().className);
  EXPECT_EQ(point->get_NvName(), "");
  EXPECT_FALSE(point->get_Changed());
}

TEST_P(ContractTest, BindingResolvesTheVariableByNameThroughTheDevice) {
  auto point = BoundPoint();
  EXPECT_EQ(point->get_NvName(), GetParam().nvName);
  lns::ClearJournal();
  point->ReadNV();
  EXPECT_TRUE(FormatRead(GetParam().nvName));
}

TEST_P(ContractTest, ANameTheDeviceLacksLeavesThePointUnboundNotOnTheFormerVariable) {
  auto point = BoundPoint();
  rt::Error missing =
      ErrorOf([&] { Bench()->get_Interface()->get_NetworkVariables()->Item(rt::Variant::String("nviNone")); });
  ExpectBindingFailureReported([&] { point->put_NvName("nviNone"); }, missing);
  EXPECT_EQ(point->get_NvName(), "nviNone");
  lns::ClearJournal();
  point->ReadNV();
  EXPECT_FALSE(FormatRead(GetParam().nvName));
  EXPECT_THAT(Log(), Contains(HasSubstr("Object variable or With block variable not set")));
}

TEST_P(ContractTest, NamingBeforeTheDeviceIsABindingFailure) {
  auto point = NewPoint();
  ExpectBindingFailureReported([&] { point->put_NvName("nviNone"); }, rt::Error(rt::err::ObjectNotSet));
  EXPECT_EQ(point->get_NvName(), "nviNone");
}

TEST_P(ContractTest, AnUnboundPointLogsItsFailedCallsAndNeverRaises) {
  auto point = NewPoint();
  SetProperty(point);
  EXPECT_NO_THROW(point->WriteNV());
  EXPECT_NO_THROW(point->ReadNV());
  EXPECT_FALSE(point->get_Changed());
  EXPECT_THAT(Log(), Contains(HasSubstr("Object variable or With block variable not set")));
}

TEST_P(ContractTest, ChangedIsSetByATypedLetAndClearedByWriteAndRead) {
  auto point = BoundPoint();
  SetProperty(point);
  EXPECT_TRUE(point->get_Changed());
  point->WriteNV();
  EXPECT_FALSE(point->get_Changed());
  SetProperty(point);
  point->ReadNV();
  EXPECT_FALSE(point->get_Changed());
}

TEST_P(ContractTest, AFailedWriteStillClearsChanged) {
  auto point = BoundPoint();
  lns::FailMember(std::string("NetworkVariable:") + GetParam().nvName, "Value", lns::err::InjectedFault);
  SetProperty(point);
  point->WriteNV();
  EXPECT_FALSE(point->get_Changed());
}

TEST_P(ContractTest, AGatedWriteWithoutAChangeTouchesNothing) {
  auto point = BoundPoint();
  point->ReadNV();
  lns::ClearJournal();
  point->WriteNV();
  if (GetParam().gated) {
    EXPECT_FALSE(FormatRead(GetParam().nvName));
    EXPECT_TRUE(Sent(GetParam().nvName).empty());
  } else {
    EXPECT_EQ(Sent(GetParam().nvName).size(), 1u);
  }
}

TEST_P(ContractTest, AFailedReadStepIsLoggedInTheClassesWords) {
  auto point = BoundPoint();
  lns::FailMember(std::string("NetworkVariable:") + GetParam().nvName, "Value", lns::err::InjectedFault);
  rt::Error failure = ValueError();
  EXPECT_NO_THROW(point->ReadNV());
  EXPECT_THAT(Log(), Contains(Expand(GetParam().readLine, failure)));
}

TEST_P(ContractTest, TheDeviceNotRespondingIsLoggedOnlyByTheClassesThatSayItIs) {
  auto point = BoundPoint();
  lns::SetDeviceResponding("AppDevice:Bench 1", false);
  rt::Error failure = ValueError();
  ASSERT_EQ(failure.Number(), lns::err::DeviceNotResponding);
  point->ReadNV();
  if (GetParam().logsNotResponding) {
    EXPECT_THAT(Log(), Contains(Expand(GetParam().readLine, failure)));
  } else {
    EXPECT_THAT(Log(), Not(Contains(HasSubstr(failure.Description()))));
  }
}

TEST_P(ContractTest, AFailedWriteStepIsLoggedInTheClassesWords) {
  auto point = BoundPoint();
  lns::FailMember(std::string("NetworkVariable:") + GetParam().nvName, WritesNothing() ? "DsFormatType" : "Value",
                  lns::err::InjectedFault);
  rt::Error failure = WritesNothing() ? FormatError() : ValueError();
  SetProperty(point);
  EXPECT_NO_THROW(point->WriteNV());
  EXPECT_THAT(Log(), Contains(Expand(GetParam().writeLine, failure)));
}

TEST_P(ContractTest, EveryMemberIsReachableByName) {
  auto point = NewPoint();
  std::vector<rt::Variant> device{rt::Variant::Object(Bench())};
  point->Invoke("Device", Kind::Set, device);
  std::vector<rt::Variant> name{rt::Variant::String(GetParam().nvName)};
  point->Invoke("NvName", Kind::Let, name);
  std::vector<rt::Variant> none;
  EXPECT_EQ(point->Invoke("nvname", Kind::Get, none).ToString(), GetParam().nvName);
  SetProperty(point);
  EXPECT_EQ(point->Invoke(GetParam().property, Kind::Get, none).ToString(), GetParam().value.ToString());
  EXPECT_TRUE(point->Invoke("Changed", Kind::Get, none).ToBoolean());
  point->Invoke("WriteNV", Kind::Method, none);
  EXPECT_FALSE(point->Invoke("Changed", Kind::Get, none).ToBoolean());
  lns::ClearJournal();
  point->Invoke("ReadNV", Kind::Method, none);
  EXPECT_TRUE(FormatRead(GetParam().nvName));
  EXPECT_EQ(ErrorOf([&] { point->Invoke("NoSuchMember", Kind::Get, none); }).Number(),
            rt::err::ObjectNotSupportProperty);
  EXPECT_EQ(ErrorOf([&] { point->Invoke("Changed", Kind::Let, name); }).Number(), rt::err::ObjectNotSupportProperty);
}

INSTANTIATE_TEST_SUITE_P(Classes, ContractTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<ContractCase>& param) { return param.param.className; });

TEST(PointFactory, KnowsOnlyTheSixteenClasses) {
  EXPECT_TRUE(CreateNetworkVariablePoint("snvt_switch").IsNothing());
  EXPECT_TRUE(CreateNetworkVariablePoint("SCPTsetPnts").IsNothing());
  EXPECT_EQ(std::size(Cases), 16u);
}

}  // namespace
}  // namespace points::testing
