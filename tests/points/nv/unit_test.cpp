#include <gmock/gmock.h>

#include "lns/values/fcu_unit.h"
#include "point_fixture.h"
#include "points/nv/points.h"

namespace points::testing {
namespace {

using ::testing::IsEmpty;

// The class each of the unit's network variables is bound with.
struct UnitVariable {
  const char* nvName;
  const char* className;
};

const UnitVariable UnitVariables[] = {
    {"nviAuxHeatEnable", "SNVT_switch"},     {"nviClearAlarm", "SNVT_switch"},
    {"nviEconEnable", "SNVT_switch"},        {"nviEnergyHoldOff", "SNVT_switch"},
    {"nvoFanSpeed", "SNVT_switch"},          {"nvoBinaryIn", "SNVT_state"},
    {"nvoBinaryOut", "SNVT_state"},          {"nvoUnitAppStatus", "SNVT_state"},
    {"nvoUnitFaults", "SNVT_state"},         {"nviSetpoint", "SNVT_temp_p"},
    {"nviSpaceTemp", "SNVT_temp_p"},         {"nviEWT", "SNVT_temp_p"},
    {"nvoSpaceTemp", "SNVT_temp_p"},         {"nvoDischAirTemp", "SNVT_temp_p"},
    {"nvoEffectSetpt", "SNVT_temp_p"},       {"nvoEWT", "SNVT_temp_p"},
    {"nvoEffectEWT", "SNVT_temp_p"},         {"nvoLocalSpaceTmp", "SNVT_temp_p"},
    {"nvoOutdoorTemp", "SNVT_temp_p"},       {"nvoSetpoint", "SNVT_temp_p"},
    {"nvoCurrentAlarm", "SNVT_str_asc"},     {"nvoPreviousAlarm", "SNVT_str_asc"},
    {"nvoSetptShift", "SNVT_temp_setpt"},    {"nvoUnitStatus", "SNVT_hvac_status"},
    {"nviApplicMode", "SNVT_hvac_mode"},     {"nvoEffectOccup", "SNVT_occupancy"},
    {"nviOccManCmd", "SNVT_occupancy"},      {"nviOccSensor", "SNVT_occupancy"},
    {"nviOccSchedule", "SNVT_tod_event"},    {"nvoTerminalLoad", "SNVT_lev_percent"},
    {"nvoHeatVlvOut", "SNVT_lev_percent"},   {"nvoCoolVlvOut", "SNVT_lev_percent"},
    {"nvoEconOut", "SNVT_lev_percent"},      {"nvoTsnFcUnitStat", "UNVT_Byte"},
    {"nvoHeatCoolAuto", "UNVT_Byte"},        {"nvoFanModeSpdSw", "UNVT_Byte"},
    {"nviSetptOffset", "SNVT_temp_p_US_diff"},
};

class UnitTest : public PointTest {
 protected:
  std::vector<rt::Ref<NetworkVariablePoint>> BindAll() {
    std::vector<rt::Ref<NetworkVariablePoint>> points;
    for (const UnitVariable& variable : UnitVariables) {
      auto point = CreateNetworkVariablePoint(variable.className);
      point->putref_Device(Unit());
      point->put_NvName(variable.nvName);
      points.push_back(point);
    }
    return points;
  }
  // Every typed property of the point, as text.
  static std::vector<std::string> Fields(const rt::Ref<NetworkVariablePoint>& point) {
    static const char* const names[] = {"Value", "State", "Mode", "heat_output_primary", "cool_output", "fan_output",
                                        "in_alarm", "occupied_cool", "unoccupied_heat", "current_state", "next_state",
                                        "time_to_next_state", "Bit0", "Bit2", "Bit15"};
    std::vector<std::string> fields;
    for (const char* name : names) {
      std::vector<rt::Variant> none;
      try {
        fields.push_back(name + std::string("=") + point->Invoke(name, rt::Object::CallKind::Get, none).ToString());
      } catch (const rt::Error&) {
        // not a property of this class
      }
    }
    return fields;
  }
};

TEST_F(UnitTest, TheTableCoversEveryNetworkVariableOfTheUnit) {
  size_t variables = 0;
  for (const auto& point : lns::FcuUnitPoints()) variables += point.kind == lns::PointKind::NetworkVariable;
  EXPECT_EQ(variables, 37u);
  EXPECT_EQ(std::size(UnitVariables), 37u);
}

TEST_F(UnitTest, EveryPointReadsItsVariableWithoutALoggedError) {
  auto points = BindAll();
  for (const auto& point : points) point->ReadNV();
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(UnitTest, TheUnitsSampleValuesReadAsTheyWereGiven) {
  auto points = BindAll();
  auto field = [&](const char* nvName, const char* property) {
    for (const auto& point : points) {
      if (point->get_NvName() != nvName) continue;
      point->ReadNV();
      std::vector<rt::Variant> none;
      return point->Invoke(property, rt::Object::CallKind::Get, none).ToString();
    }
    return std::string("no point");
  };
  EXPECT_EQ(field("nviSetpoint", "Value"), "72.5");
  EXPECT_EQ(field("nvoOutdoorTemp", "Value"), "59");
  EXPECT_EQ(field("nvoFanSpeed", "Value"), "100");
  EXPECT_EQ(field("nvoFanSpeed", "State"), "1");
  EXPECT_EQ(field("nvoBinaryOut", "Bit2"), "True");
  EXPECT_EQ(field("nvoUnitAppStatus", "Bit15"), "True");
  EXPECT_EQ(field("nvoCurrentAlarm", "Value"), "No Alarm");
  EXPECT_EQ(field("nvoTsnFcUnitStat", "Value"), "6");
  EXPECT_EQ(field("nvoUnitStatus", "Mode"), "3");
  EXPECT_EQ(field("nvoUnitStatus", "cool_output"), "35.5");
  EXPECT_EQ(field("nvoUnitStatus", "fan_output"), "100");
  EXPECT_EQ(field("nviApplicMode", "Value"), "0");
  EXPECT_EQ(field("nviOccManCmd", "Value"), "255");
  EXPECT_EQ(field("nviOccSchedule", "next_state"), "1");
  EXPECT_EQ(field("nviOccSchedule", "time_to_next_state"), "480");
  EXPECT_EQ(field("nvoTerminalLoad", "Value"), "-35.5");
  EXPECT_EQ(field("nvoSetptShift", "occupied_cool"), "0");
  EXPECT_EQ(field("nviSetptOffset", "Value"), "0");
  EXPECT_THAT(Log(), IsEmpty());
}

// The stand-in's formatted texts and the points' raw decoders are written apart: reading every
// variable formatted and then raw must give the same fields.
TEST_F(UnitTest, EveryVariableReadsTheSameFormattedAndRaw) {
  auto points = BindAll();
  for (const auto& point : points) {
    point->ReadNV();
    std::vector<std::string> formatted = Fields(point);
    ASSERT_FALSE(formatted.empty()) << point->get_NvName();
    Variable(point->get_NvName(), Unit())->put_DsFormatType("RAW");
    point->ReadNV();
    EXPECT_EQ(Fields(point), formatted) << point->get_NvName();
  }
}

}  // namespace
}  // namespace points::testing
