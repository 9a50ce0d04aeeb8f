#include <gmock/gmock.h>

#include "forms/msgbox.h"
#include "lns/calls/faults.h"
#include "property_points.h"

namespace points::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// {d} stands for the error's description, {n} for its number.
struct ContractCase {
  const char* className;
  const char* cpName;  // of "FCU 1" and "FCU 2"
  int16_t objIdx;
  const char* format;  // set before binding; empty: the property's own
  const char* property;
  rt::Variant value;
  const char* readLine;     // Value cannot be read
  const char* writeLine;    // Value cannot be put
  const char* missingLine;  // binding "UCPTnone": a log line, or "box:" & prompt & "|" & title
};

std::ostream& operator<<(std::ostream& out, const ContractCase& c) { return out << c.className; }

const ContractCase Cases[] = {
    {"SCPT_time_sec", "SCPTminSendTime", 2, "", "Value", rt::Variant::Double(7.5),
     "Error-{d} Line 0 SCPT_time_sec.ReadCP >SCPTminSendTime<", "Error-{d} Line 0 SCPT_time_sec.WriteNV",
     "Error-{d} Line 60 SCPT_time_sec.Let CpName(UCPTnone)"},
    {"SCPT_time_min", "UCPTewtSampleTmr", 2, "", "Value", rt::Variant::Double(30),
     "Error-{d} Line 0 SCPT_time_min.ReadCP >UCPTewtSampleTmr<", "Error-{d} Line 0 SCPT_time_min.WriteNV",
     "Error-{d} Line 60 SCPT_time_min.Let CpName(UCPTnone)"},
    {"SCPT_time_hour", "UCPTfltrChangeHrs", 2, "", "Value", rt::Variant::Double(500),
     "Error-{d} Line 0 SCPT_time_hour.ReadCP >UCPTfltrChangeHrs<", "Error-{d} Line 0 SCPT_time_hour.WriteNV",
     "Error-{d} Line 60 SCPT_time_hour.Let CpName(UCPTnone)"},
    {"SCPT_lev_percent", "UCPTcoolKp", 2, "", "Value", rt::Variant::Double(25),
     "Error-{d} Line 0 SCPT_lev_percent.ReadCP >UCPTcoolKp<", "Error-{d} Line 0 SCPT_lev_percent.WriteNV",
     "Error-{d} Line 60 SCPT_lev_percent.Let CpName(UCPTnone)"},
    {"SCPTbypassTime", "SCPTbypassTime", 2, "", "Value", rt::Variant::Double(30),
     "Error-{d} Line 0 SCPTbypassTime.ReadCP >SCPTbypassTime<", "Error-{d} Line 0 SCPTbypassTime.WriteNV",
     "Error-{d} Line 60 SCPTbypassTime.Let CpName(UCPTnone)"},
    {"SCPT_str_asc", "SCPTlocation", 2, "", "Value", rt::Variant::String("Lab 2"),
     "Err.Number({n})-{d} Line 0 SCPT_str_asc.ReadCP >SCPTlocation<", "Error-{d} Line 0 SCPT_str_asc.WriteNV",
     "Error-{d} Line 60 SCPT_str_asc.Let CpName >UCPTnone<"},
    {"SCPThvacType", "SCPThvacType", 2, "", "Value", rt::Variant::String("HVT_VAV"), "SCPThvacType.ReadNV-{d} Line 0",
     "Error-{d} Line 20 SCPThvacType.WriteNV", "box:Error - {d} Line 60|SCPThvacType.CpName"},
    {"UCPT_Byte", "SCPTdevMajVer", 1, "", "Value", rt::Variant::Byte(2), "SCPTdevMajVer.ReadNV-{d} Line 20",
     "Error-{d} Line 20 UCPT_Byte.WriteNV", "Error - {d} Line 60 - UCPT_Byte.CpName >UCPTnone<"},
    {"UCPT_Boolean", "UCPTlocSptEnable", 2, "", "Value", rt::Variant::Byte(0), "UCPTlocSptEnable.ReadNV-{d} Line 20",
     "Error-{d} Line 20 UCPT_Boolean.WriteNV", "Error - {d} Line 60 - UCPT_Boolean.CpName"},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", 2, "", "Bit3", rt::Variant::Boolean(true),
     "Error-{d} Line 0 UCPTsoftJumpers.ReadCP", "Error-{d} Line 14 UCPTsoftJumpers.WriteCP",
     "UCPTsoftJumpers-Can't find UCPTnone"},
    {"SCPTsetPnts", "SCPTsetPnts", 2, "", "standby_heat", rt::Variant::Double(64.4),
     "Error-{d} Line 0 SCPTsetPnts.ReadNV", "Error-{d} Line 10 SCPTsetPnts.WriteNV", "SCPTsetPnts-Can't find UCPTnone"},
    {"UCPTtemp_p", "UCPTmaxDaSpt", 2, "", "Value", rt::Variant::Double(71.6), "Error-{d} Line 0 UCPTtemp_p.ReadNV",
     "Error-{d} Line 10 UCPTtemp_p.WriteNV", "UCPTtemp_p-Can't find UCPTnone"},
    {"UCPTtemp_Dif_p", "UCPToccDiff", 2, "", "Value", rt::Variant::Double(3.6),
     "Error-{d} Line 0 UCPTtemp_Dif_p.ReadCP >UCPToccDiff#US<", "Error-{d} Line 40 UCPTtemp_Dif_p.WriteCP",
     "UCPTtemp_Dif_p-Can't find UCPTnone"},
    {"UCPTulong", "UCPTfltrChangeHrs", 2, "RAW", "Value", rt::Variant::Double(500),
     "Error-{d} Line 0 UCPTulong.ReadNV", "Error-{d} Line 50 UCPTulong.WriteNV", "UCPTulong-Can't find UCPTnone"},
};

class ContractTest : public PointTest, public ::testing::WithParamInterface<ContractCase> {
 protected:
  rt::Ref<ConfigPropertyPoint> BoundPoint() const {
    for (const auto& unit : {Unit(), SecondUnit()}) {
      if (*GetParam().format) Property(GetParam().cpName, unit)->put_FormatName(GetParam().format);
    }
    auto point = CreateConfigPropertyPoint(GetParam().className);
    Bind(point, Unit(), GetParam().objIdx, GetParam().cpName);
    return point;
  }
  void SetProperty(const rt::Ref<ConfigPropertyPoint>& point) const {
    Call(point, GetParam().property, Kind::Let, GetParam().value);
  }
};

TEST_P(ContractTest, ABoundPointReadsItsPropertyWithoutALoggedErrorAndWritesOnlyAChange) {
  auto point = BoundPoint();
  EXPECT_EQ(Call(point, "CpName", Kind::Get).ToString(), GetParam().cpName);
  EXPECT_EQ(Call(point, "ObjIdx", Kind::Get).ToInteger(), GetParam().objIdx);
  Call(point, "ReadCP", Kind::Method);
  EXPECT_THAT(Log(), IsEmpty());
  lns::ClearJournal();
  Call(point, "WriteCP", Kind::Method);
  EXPECT_THAT(PropertySent(GetParam().cpName), IsEmpty());
  SetProperty(point);
  EXPECT_TRUE(Call(point, "Changed", Kind::Get).ToBoolean());
  Call(point, "WriteCP", Kind::Method);
  EXPECT_EQ(PropertySent(GetParam().cpName).size(), 1u);
  EXPECT_FALSE(point->get_Changed());
  EXPECT_EQ(Call(point, GetParam().property, Kind::Get).ToString(), GetParam().value.ToString());
}

TEST_P(ContractTest, FailuresAreLoggedInTheClassesWordsAndNeverRaised) {
  auto point = BoundPoint();
  lns::FailMember(std::string("ConfigProperty:") + GetParam().cpName, "Value", lns::err::InjectedFault);
  rt::Error failure = ErrorOf([&] { Property(GetParam().cpName)->get_Value(); });
  EXPECT_NO_THROW(point->ReadCP());
  EXPECT_THAT(Log(), Contains(Expand(GetParam().readLine, failure)));
  SetProperty(point);
  EXPECT_NO_THROW(point->WriteCP());
  EXPECT_THAT(Log(), Contains(Expand(GetParam().writeLine, failure)));
  EXPECT_FALSE(point->get_Changed());
}

// A point must not read or write the earlier device on the new device's behalf.
TEST_P(ContractTest, ReBindingReachesTheSecondUnitOnlyAndAMissingPropertyLeavesNothingBound) {
  auto point = BoundPoint();
  lns::Bytes before = Property(GetParam().cpName)->DeviceBytes();
  Bind(point, SecondUnit(), GetParam().objIdx, GetParam().cpName);
  SetProperty(point);
  point->WriteCP();
  EXPECT_EQ(Property(GetParam().cpName)->DeviceBytes(), before);
  EXPECT_NE(Property(GetParam().cpName, SecondUnit())->DeviceBytes(), before);

  rt::Error missing = ErrorOf([&] { Unit()->get_Interface()->get_ConfigProperties()->Item(Text("UCPTnone")); });
  ClearLog();
  Bind(point, SecondUnit(), GetParam().objIdx, "UCPTnone");
  std::string expected = GetParam().missingLine;
  if (expected.starts_with("box:")) {
    ASSERT_FALSE(forms::MsgBoxRecords().empty());
    const forms::MsgBoxRecord& box = forms::MsgBoxRecords().back();
    EXPECT_EQ(box.prompt + "|" + box.title, Expand(expected.substr(4), missing));
  } else {
    EXPECT_THAT(Log(), ElementsAre(Expand(expected, missing)));
  }
  lns::ClearJournal();
  SetProperty(point);
  point->WriteCP();
  point->ReadCP();
  for (const auto& entry : lns::JournalEntries()) EXPECT_THAT(entry.path, Not(HasSubstr("ConfigProperty:")));
}

INSTANTIATE_TEST_SUITE_P(Classes, ContractTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<ContractCase>& param) { return param.param.className; });

TEST(PropertyPointFactory, KnowsTheFourteenClassesByTheirExactNames) {
  EXPECT_EQ(ConfigPropertyClasses().size(), std::size(Cases));
  EXPECT_TRUE(CreateConfigPropertyPoint("scpt_time_sec").IsNothing());
  EXPECT_TRUE(CreateConfigPropertyPoint("SNVT_switch").IsNothing());
}

using BindingTest = PointTest;

TEST_F(BindingTest, NamingBeforeTheIndexFailsAtEveryStepThatDependsOnIt) {
  auto point = CreateConfigPropertyPoint("SCPT_time_sec");
  point->putref_Device(Unit());
  point->put_CpName("SCPTminSendTime");
  const std::string notSet = "Object variable or With block variable not set";
  EXPECT_THAT(Log(), ElementsAre("Error-Type mismatch Line 20 SCPT_time_sec.Let CpName(SCPTminSendTime)",
                                 "Error-" + notSet + " Line 20 SCPT_time_sec.Let CpName(SCPTminSendTime)",
                                 "Error-" + notSet + " Line 60 SCPT_time_sec.Let CpName(SCPTminSendTime)"));
}

TEST_F(BindingTest, TheBypassTimeOnADeviceWithoutItsVariableShowsTwoBoxesThenLogsTheChain) {
  Bind(CreateConfigPropertyPoint("SCPTbypassTime"), Bench(), 1, "SCPTbypassTime");
  ASSERT_EQ(forms::MsgBoxRecords().size(), 2u);
  EXPECT_THAT(forms::MsgBoxRecords()[0].prompt, EndsWith(" Line 0"));
  EXPECT_THAT(forms::MsgBoxRecords()[1].prompt, EndsWith(" Line 20"));
  EXPECT_EQ(forms::MsgBoxRecords()[1].title, "SCPTbypassTime.NvName");
  EXPECT_THAT(Log(), ElementsAre(EndsWith(" Line 20 SCPTbypassTime.Let CpName(SCPTbypassTime)"),
                                 EndsWith(" Line 60 SCPTbypassTime.Let CpName(SCPTbypassTime)")));
}

// Without a property there is nothing to read: the line names the property asked for.
TEST_F(BindingTest, AByteIsReadAsSoonAsItIsBoundButNotWhenNoPropertyWasFound) {
  auto point = CreateConfigPropertyPoint("UCPT_Byte");
  Bind(point, Unit(), 1, "SCPTdevMinVer");
  EXPECT_EQ(Call(point, "Value", Kind::Get).ToInteger(), 3);
  Bind(point, Unit(), 2, "SCPTdevMinVer");
  EXPECT_THAT(Log(), ElementsAre(EndsWith(" Line 60 - UCPT_Byte.CpName >SCPTdevMinVer<")));
}

// A value written raw (or in "#SI") reads back the same in the property's own format: both
// directions agree with the device's units.
struct RoundTrip {
  const char* className;
  const char* cpName;
  int16_t objIdx;
  const char* format;
  const char* fields;
  std::vector<rt::Variant> values;
};

const RoundTrip RoundTrips[] = {
    {"UCPTtemp_p", "UCPTmaxDaSpt", 2, "RAW", "Value", {rt::Variant::Double(71.6)}},
    {"UCPTtemp_p", "UCPTmaxDaSpt", 2, "UCPTmaxDaSpt#SI", "Value", {rt::Variant::Double(-4)}},
    {"UCPTtemp_Dif_p", "UCPToccDiff", 2, "RAW", "Value", {rt::Variant::Double(-3.6)}},
    {"UCPTtemp_Dif_p", "UCPToccDiff", 2, "UCPToccDiff#SI", "Value", {rt::Variant::Double(5.4)}},
    {"SCPTsetPnts", "SCPTsetPnts", 2, "RAW", "occupied_cool standby_cool unoccupied_cool occupied_heat standby_heat",
     {rt::Variant::Double(71.6), rt::Variant::Double(77), rt::Variant::Double(84.2), rt::Variant::Double(69.8),
     rt::Variant::Double(66.2)}},
    {"UCPTsoftJumpers", "UCPTsoftJumpers", 2, "RAW", "Bit0 Bit9 Bit31", {rt::Variant::Boolean(true)}},
    {"UCPT_Byte", "SCPTdevMinVer", 1, "RAW", "Value", {rt::Variant::Byte(9)}},
    {"UCPT_Boolean", "UCPTlocSptEnable", 2, "RAW", "Value", {rt::Variant::Byte(0)}},
};

TEST_F(BindingTest, AValueWrittenRawOrInCelsiusReadsBackTheSameInThePropertysOwnFormat) {
  for (const RoundTrip& trip : RoundTrips) {
    auto point = CreateConfigPropertyPoint(trip.className);
    Bind(point, Unit(), trip.objIdx, trip.cpName);
    std::string ownFormat = Property(trip.cpName)->CurrentFormat();
    Property(trip.cpName)->put_FormatName(trip.format);
    LetFields(point, trip.fields, trip.values);
    std::string written = Fields(point, trip.fields);
    point->WriteCP();
    Property(trip.cpName)->put_FormatName(ownFormat);
    LetFields(point, trip.fields, {rt::Variant::Double(50)});
    point->ReadCP();
    EXPECT_EQ(Fields(point, trip.fields), written) << trip.cpName << " " << trip.format;
  }
  EXPECT_THAT(Log(), Not(Contains(HasSubstr("Error"))));
}

// Its handler reads the format name for its line; that read must not let an error out either.
TEST_F(BindingTest, AFailedDifferenceReadNeverRaisesNorKeepsChanged) {
  auto point = CreateConfigPropertyPoint("UCPTtemp_Dif_p");
  Bind(point, Unit(), 2, "UCPToccDiff");
  lns::FailMember("ConfigProperty:UCPToccDiff", "FormatName", lns::err::InjectedFault);
  Call(point, "Value", Kind::Let, rt::Variant::Double(5));
  EXPECT_NO_THROW(point->ReadCP());
  EXPECT_FALSE(point->get_Changed());
  EXPECT_THAT(Log().back(), EndsWith(" Line 75 UCPTtemp_Dif_p.ReadCP ><"));
}

}  // namespace
}  // namespace points::testing
