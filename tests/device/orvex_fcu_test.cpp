#include <gmock/gmock.h>

#include <regex>

#include "device/orvex_fcu.h"
#include "lns/calls/faults.h"
#include "point_fixture.h"
#include "points/late_bound.h"

namespace device {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using Names = std::vector<std::string>;

const Names NetworkVariableList = {
    "nviSetPoint", "nviSpaceTemp", "nviEWT", "nvoDischAirTemp", "nvoEffectSetpt", "nvoEWT", "nvoEffectEWT",
    "nvoLocalSpaceTmp", "nvoOutdoorTemp", "nvoSetpoint", "nvoTsnFcUnitStat", "nvoHeatCoolAuto", "nvoFanModeSpdSw",
    "nvoSetptShift", "nvoEffectOccup", "nvoSpaceTemp", "nviApplicMode", "nviAuxHeatEnable", "nviClearAlarm",
    "nviEconEnable", "nviEnergyHoldOff", "nviOccManCmd", "nviOccSchedule", "nviOccSensor", "nviSetptOffset",
    "nvoUnitStatus", "nvoBinaryIn", "nvoBinaryOut", "nvoUnitAppStatus", "nvoUnitFaults", "nvoFanSpeed",
    "nvoCurrentAlarm", "nvoPreviousAlarm", "nvoTerminalLoad", "nvoHeatVlvOut", "nvoCoolVlvOut", "nvoEconOut"};

Names Join(std::initializer_list<Names> parts) {
  Names all;
  for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Names AllPoints = Join({NetworkVariableList,
                              {"nciSetpoints", "nciBypassTime", "nciMinOutTm", "nciEwtFlowTmr", "nciEwtSampleTmr",
                               "nciFanMinOffTmr", "nciFanMinOnTmr", "nciCoolIntStgTmr", "nciHeatIntStgTmr",
                               "nciSndHrtBt", "nciRcvHrtBt", "nciUnitAppVer", "nciLocation", "nciDevMajVer",
                               "nciDevMinVer", "nciLocSptEnable", "nciSoftJumpers", "nciOccDiff", "nciUnoccDiff",
                               "nciCoolEnDiff", "nciHeatEnDiff", "nciCoolKp", "nciHeatKp", "nciCoolKi", "nciHeatKi",
                               "nciCoolDB", "nciHeatDB", "nciCoolVlvStroke", "nciHeatVlvStroke", "nciEconOaEnSpt",
                               "nciEconOaEnDiff", "nciDaSptKp", "nciDaSptKi", "nciMaxDaSpt", "nciMinDaSpt",
                               "nciEconPosKp", "nciEconPosKi", "nciEconDB", "nciEconStroke", "nciEconLowMin",
                               "nciEconMedMin", "nciEconHighMin", "nciSptAdjMax", "nciSptAdjMin", "nciFltrChangeHrs",
                               "nciHVACType"}});

struct PageCase {
  int16_t range;
  Names reads;
};

const PageCase PageCases[] = {
    {0,
     {"nvoHeatCoolAuto", "nvoFanModeSpdSw", "nciDevMajVer", "nciDevMinVer", "nciBypassTime", "nvoCurrentAlarm",
      "nvoPreviousAlarm", "nvoTerminalLoad", "nvoHeatVlvOut", "nvoCoolVlvOut", "nvoEconOut", "nvoSpaceTemp",
      "nvoDischAirTemp", "nvoEffectSetpt", "nvoEWT", "nvoEffectEWT", "nvoLocalSpaceTmp", "nvoOutdoorTemp",
      "nvoSetpoint", "nvoTsnFcUnitStat", "nvoSetptShift", "nvoEffectOccup", "nvoUnitStatus", "nvoBinaryIn",
      "nvoBinaryOut", "nvoUnitAppStatus", "nvoUnitFaults", "nvoFanSpeed"}},
    {1,
     {"nviApplicMode", "nvoHeatCoolAuto", "nvoFanModeSpdSw", "nciBypassTime", "nvoCurrentAlarm", "nvoPreviousAlarm",
      "nvoTerminalLoad", "nvoHeatVlvOut", "nvoCoolVlvOut", "nvoEconOut", "nviSpaceTemp", "nviEWT", "nvoDischAirTemp",
      "nvoEffectSetpt", "nvoEWT", "nvoEffectEWT", "nvoLocalSpaceTmp", "nvoOutdoorTemp", "nviSetPoint", "nvoSetpoint",
      "nviOccManCmd", "nviOccSchedule", "nviOccSensor", "nvoBinaryIn", "nvoUnitAppStatus", "nvoUnitFaults",
      "nvoUnitStatus", "nciLocSptEnable", "nvoTsnFcUnitStat", "nvoSetptShift", "nvoEffectOccup", "nvoSpaceTemp",
      "nviAuxHeatEnable", "nviClearAlarm", "nviEconEnable", "nviEnergyHoldOff", "nviSetptOffset", "nvoBinaryOut",
      "nvoFanSpeed"}},
    {2, Join({{"nciOccDiff", "nciUnoccDiff", "nciCoolEnDiff", "nciHeatEnDiff", "nciCoolKp", "nciHeatKp", "nciCoolKi",
               "nciHeatKi", "nciCoolDB", "nciHeatDB", "nciCoolVlvStroke", "nciHeatVlvStroke", "nciEconOaEnSpt",
               "nciEconOaEnDiff", "nciDaSptKp", "nciDaSptKi", "nciMaxDaSpt", "nciMinDaSpt", "nciEconPosKp",
               "nciEconPosKi", "nciEconDB", "nciEconStroke", "nciEconLowMin", "nciEconMedMin", "nciEconHighMin",
               "nciSptAdjMax", "nciSptAdjMin", "nciFltrChangeHrs", "nciHVACType", "nciUnitAppVer", "nciLocation",
               "nciSetpoints"},
              NetworkVariableList,
              {"nciDevMajVer", "nciDevMinVer", "nciMinOutTm", "nciEwtFlowTmr", "nciEwtSampleTmr", "nciFanMinOffTmr",
               "nciFanMinOnTmr", "nciCoolIntStgTmr", "nciHeatIntStgTmr", "nciSndHrtBt", "nciRcvHrtBt",
               "nciSoftJumpers"}})},
    {3, NetworkVariableList},
    {4, {"nciSoftJumpers"}},
    {5, NetworkVariableList},
    {99, AllPoints},
    {6, AllPoints},
    {-1, AllPoints},
    {32767, AllPoints},
};

class DeviceTest : public points::testing::PointTest {
 protected:
  void SetUp() override {
    PointTest::SetUp();
    fcu_ = std::make_shared<Orvex_FCU>();
  }

  void Bind(const std::shared_ptr<lns::AppDevice>& device) { fcu_->putref_Device(device); }

  rt::Variant Call(std::string_view member, rt::Object::CallKind kind, std::vector<rt::Variant> args = {}) {
    return fcu_->Invoke(member, kind, args);
  }

  // The LNS name a point binds by: its property's, or else its variable's.
  std::string BoundName(const std::string& property) const {
    const rt::Ref<points::Point>& point = fcu_->Point(property);
    try {
      return points::GetProperty(point, "CpName").ToString();
    } catch (const rt::Error&) {
      return points::GetProperty(point, "NvName").ToString();
    }
  }

  // The objects whose Value was read, by their LNS name, each run of reads once.
  static Names ValueReads() {
    Names reads;
    for (const auto& entry : lns::JournalEntries()) {
      if (entry.member != "Value" || entry.kind != rt::Object::CallKind::Get) continue;
      std::string name = entry.path.substr(entry.path.rfind(':') + 1);
      if (reads.empty() || reads.back() != name) reads.push_back(std::move(name));
    }
    return reads;
  }

  Names ReadNamesOf(const Names& properties) const {
    Names names;
    for (const auto& property : properties) names.push_back(BoundName(property));
    return names;
  }

  static bool JournalMentions(const std::string& text) {
    for (const auto& entry : lns::JournalEntries()) {
      if (entry.path.find(text) != std::string::npos) return true;
    }
    return false;
  }

  std::shared_ptr<Orvex_FCU> fcu_;
};

class PageReadTest : public DeviceTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageReadTest, ReadsItsListInOrderAndLogsNothing) {
  Bind(Unit());
  ClearLog();
  lns::ClearJournal();
  fcu_->ReadDevice(GetParam().range);
  EXPECT_EQ(ValueReads(), ReadNamesOf(GetParam().reads));
  EXPECT_THAT(Log(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Ranges, PageReadTest, ::testing::ValuesIn(PageCases));

TEST_F(DeviceTest, BindsRowsInBindingOrderWithoutALogLine) {
  EXPECT_THAT(Log(), ElementsAre("OrvexUC_FCU - Initialization Complete"));
  ClearLog();
  lns::ClearJournal();
  Bind(Unit());
  Names lookups;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.member == "Item" && entry.arguments.starts_with('"')) {
      lookups.push_back(entry.arguments.substr(1, entry.arguments.size() - 2));
    }
  }
  // Rows 1-11, 51-83, 12-14, 50, 15-49 of the creation order.
  Names expected;
  for (auto [first, last] : {std::pair{1, 11}, {51, 83}, {12, 14}, {50, 50}, {15, 49}}) {
    for (int row = first; row <= last; ++row) {
      const std::string property(PointTable[row - 1].property);
      // The bypass time is the property of a variable, which it looks up first.
      if (property == "nciBypassTime") expected.push_back("nviOccManCmd");
      expected.push_back(BoundName(property));
    }
  }
  EXPECT_EQ(lookups, expected);
  EXPECT_FALSE(fcu_->get_Initializing());
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(DeviceTest, RefusesToReadWhileBindingAndWhileNotCommissioned) {
  ClearLog();
  fcu_->ReadDevice(99);
  EXPECT_THAT(Log(), ElementsAre(MatchesRegex("[0-9]{2}:[0-9]{2}:[0-9]{2} - SCC\\.ReadDevice\\(Initializing\\)")));
  EXPECT_THAT(lns::JournalEntries(), IsEmpty());

  Bind(Unit());
  Unit()->UnitSetCommission(true, 3);
  ClearLog();
  lns::ClearJournal();
  fcu_->ReadDevice(99);
  fcu_->WriteDevice();
  EXPECT_THAT(ValueReads(), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("SCC.ReadDevice ->FCU 1< is not commissioned.",
                                 "You must commission the device before it can be configured.",
                                 "SCC.WriteDevice()- TODO: finish populating list of NVs to write",
                                 "FCU 1 is not commisioned. (2nd)",
                                 "You must commission the device before it can be configured. (2nd)"));
}

TEST_F(DeviceTest, ChangedLooksOnlyAtItsPointsAndClearsAfterARead) {
  Bind(Unit());
  for (const char* outside : {"nviSpaceTemp", "nviApplicMode", "nvoPreviousAlarm"}) {
    points::LetProperty(fcu_->Point(outside), "Value", rt::Variant::Byte(1));
  }
  EXPECT_FALSE(fcu_->get_Changed());
  points::LetProperty(fcu_->Point("nciLocation"), "Value", rt::Variant::String("Lab"));
  EXPECT_TRUE(fcu_->get_Changed());
  fcu_->ReadDevice(99);
  EXPECT_FALSE(fcu_->get_Changed());
}

TEST_F(DeviceTest, WinkAndResetPassErrorsToTheCaller) {
  for (const char* command : {"Wink", "Reset"}) {
    EXPECT_EQ(orvex::test::ErrorNumberOf([&] { Call(command, rt::Object::CallKind::Method); }), rt::err::ObjectNotSet);
  }
  Bind(Unit());
  lns::SetDeviceResponding("AppDevice", false);
  for (const char* command : {"Wink", "Reset"}) {
    EXPECT_NE(orvex::test::ErrorNumberOf([&] { Call(command, rt::Object::CallKind::Method); }), 0) << command;
  }
}

TEST_F(DeviceTest, ReBindingKeepsThePointsAndLeavesNothingOfTheFirstUnit) {
  Bind(Unit());
  const rt::Ref<points::Point> setPoint = fcu_->Point("nviSetPoint");
  const std::string variables = SecondUnit()->Path() + "/Interface/NetworkVariables";
  lns::FailMember(variables, "Item", -2147203317, lns::Repeat::Once);
  ClearLog();
  Bind(SecondUnit());
  EXPECT_THAT(Log(), ElementsAre(MatchesRegex("OrvexUCFCU\\.Set\\(Device\\)-.* Line 12")));
  EXPECT_EQ(fcu_->Point("nviSetPoint"), setPoint);

  lns::ClearJournal();
  ClearLog();
  fcu_->ReadDevice(99);
  EXPECT_FALSE(JournalMentions("AppDevice:FCU 1/"));
  EXPECT_EQ(ValueReads().size(), PointCount - 1);
}

TEST_F(DeviceTest, PointSetsTakeTheirClassAndAMissingPointIsLoggedAndSkipped) {
  using Kind = rt::Object::CallKind;
  const rt::Variant setPoint = Call("nviSetPoint", Kind::Get);
  EXPECT_EQ(orvex::test::ErrorNumberOf([&] { Call("nviEWT", Kind::Set, {Call("nvoBinaryIn", Kind::Get)}); }),
            rt::err::TypeMismatch);
  EXPECT_EQ(orvex::test::ErrorNumberOf([&] { Call("nvoUnitFaults", Kind::Set, {Call("nvoBinaryIn", Kind::Get)}); }),
            rt::err::ObjectNotSupportProperty);
  Call("nvoUnitUnitFaults", Kind::Set, {Call("nvoBinaryIn", Kind::Get)});
  EXPECT_EQ(Call("nvoUnitFaults", Kind::Get), Call("nvoBinaryIn", Kind::Get));

  Call("nviEWT", Kind::Set, {rt::Variant::Nothing()});
  Bind(Unit());
  ClearLog();
  lns::ClearJournal();
  fcu_->ReadDevice(3);
  EXPECT_THAT(Log(), ElementsAre("Error - Object variable or With block variable not set Line 30 SCC.ReadDevice"));
  EXPECT_EQ(ValueReads().size(), 36u);
  EXPECT_EQ(Call("nviSetPoint", Kind::Get), setPoint);
}

}  // namespace
}  // namespace device
