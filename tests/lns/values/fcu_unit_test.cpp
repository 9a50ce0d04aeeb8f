#include "lns/values/fcu_unit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace lns {
namespace {

const UnitPoint& Point(std::string_view name) {
  const auto& points = FcuUnitPoints();
  auto it = std::find_if(points.begin(), points.end(), [&](const UnitPoint& p) { return p.name == name; });
  if (it == points.end()) throw std::runtime_error("no point " + std::string(name));
  return *it;
}

double Presented(std::string_view name) {
  const UnitPoint& p = Point(name);
  return PresentValue(p.typeName, p.defaultFormat, p.defaultBytes).ToDouble();
}

TEST(FcuUnit, Identity) {
  EXPECT_EQ(FcuProgramId, "80071A5501030400");
  EXPECT_EQ(FcuNeuronId.size(), 12u);
  EXPECT_EQ(FcuObjects[0].index, 1);
  EXPECT_EQ(FcuObjects[0].name, "Node");
  EXPECT_EQ(FcuObjects[1].index, 2);
  EXPECT_EQ(FcuObjects[1].name, "FCU");
}

TEST(FcuUnit, CarriesExactlyThePointsOfTheUnit) {
  const std::set<std::string> inputs = {"nviSetpoint",      "nviSpaceTemp",   "nviEWT",        "nviApplicMode",
                                        "nviAuxHeatEnable", "nviClearAlarm",  "nviEconEnable", "nviEnergyHoldOff",
                                        "nviOccManCmd",     "nviOccSchedule", "nviOccSensor",  "nviSetptOffset"};
  const std::set<std::string> outputs = {
      "nvoDischAirTemp",  "nvoEffectSetpt",   "nvoEWT",           "nvoEffectEWT",    "nvoLocalSpaceTmp",
      "nvoOutdoorTemp",   "nvoSetpoint",      "nvoTsnFcUnitStat", "nvoHeatCoolAuto", "nvoFanModeSpdSw",
      "nvoSetptShift",    "nvoEffectOccup",   "nvoSpaceTemp",     "nvoUnitStatus",   "nvoBinaryIn",
      "nvoBinaryOut",     "nvoUnitAppStatus", "nvoUnitFaults",    "nvoFanSpeed",     "nvoCurrentAlarm",
      "nvoPreviousAlarm", "nvoTerminalLoad",  "nvoHeatVlvOut",    "nvoCoolVlvOut",   "nvoEconOut"};
  const std::set<std::string> nodeCps = {"SCPTdevMajVer", "SCPTdevMinVer"};
  const std::set<std::string> fcuCps = {
      "SCPTminSendTime",   "UCPTewtFlowTmr",    "UCPTewtSampleTmr", "UCPTfanMinOffTmr", "UCPTfanMinOnTmr",
      "UCPTcoolIntStgTmr", "UCPTheatIntStgTmr", "SCPTmaxSendTime",  "SCPTmaxRcvTime",   "UCPTunitAppVer",
      "SCPTlocation",      "SCPTsetPnts",       "UCPTlocSptEnable", "SCPThvacType",     "UCPTsoftJumpers",
      "UCPToccDiff",       "UCPTunOccDiff",     "UCPTcoolEnDiff",   "UCPTheatEnDiff",   "UCPTcoolKp",
      "UCPTheatKp",        "UCPTcoolKi",        "UCPTheatKi",       "UCPTcoolDB",       "UCPTheatDB",
      "UCPTcoolVlvStroke", "UCPTheatVlvStroke", "UCPTeconOaEnSpt",  "UCPTeconOaEnDiff", "UCPTdaSptKp",
      "UCPTDaSptKi",       "UCPTmaxDaSpt",      "UCPTminDaSpt",     "UCPTeconPosKp",    "UCPTeconPosKi",
      "UCPTeconDB",        "UCPTeconStroke",    "UCPTeconLowMin",   "UCPTeconMedMin",   "UCPTeconHighMin",
      "UCPTsptAdjMax",     "UCPTsptAdjMin",     "UCPTfltrChangeHrs"};

  std::map<std::string, std::set<std::string>> seen;  // by container
  for (const UnitPoint& p : FcuUnitPoints()) {
    std::string name(p.name);
    bool isNv = p.kind == PointKind::NetworkVariable;
    std::string container = isNv ? "NVs" : "object " + std::to_string(p.objectIndex) + " " + std::string(p.ownerNv);
    EXPECT_TRUE(seen[container].insert(name).second) << "twice in " << container << ": " << name;
    if (isNv) {
      EXPECT_EQ(p.objectIndex, 2) << name;
      EXPECT_TRUE(p.ownerNv.empty()) << name;
      EXPECT_EQ(p.direction == Direction::Input ? inputs.count(name) : outputs.count(name), 1u) << name;
    } else if (!p.ownerNv.empty()) {
      EXPECT_EQ(name, "SCPTbypassTime");
      EXPECT_EQ(p.ownerNv, "nviOccManCmd");
    } else {
      EXPECT_EQ((p.objectIndex == 1 ? nodeCps : fcuCps).count(name), 1u) << name << " on " << p.objectIndex;
    }
  }
  EXPECT_EQ(FcuUnitPoints().size(), 83u);
  EXPECT_EQ(seen["NVs"].size(), inputs.size() + outputs.size());
  EXPECT_EQ(seen["object 1 "].size(), nodeCps.size());
  EXPECT_EQ(seen["object 2 "].size(), fcuCps.size());
  EXPECT_EQ(seen["object 2 nviOccManCmd"].size(), 1u);
}

TEST(FcuUnit, DefaultsArePresentableInTheirFormatAndRaw) {
  for (const UnitPoint& p : FcuUnitPoints()) {
    EXPECT_TRUE(IsKnownFormat(p.typeName, p.defaultFormat)) << p.name;
    EXPECT_EQ(p.defaultBytes.size(), TypeSize(p.typeName)) << p.name;
    EXPECT_NO_THROW(PresentValue(p.typeName, p.defaultFormat, p.defaultBytes)) << p.name;
    EXPECT_NO_THROW(PresentValue(p.typeName, "RAW", p.defaultBytes)) << p.name;
  }
}

TEST(FcuUnit, SamplesLieInTheEditorsRanges) {
  struct Range {
    std::string_view name;
    double min, max;
    bool nullAllowed;  // a "NULL" temperature, or 0 where the editor accepts "0"
  };
  const Range ranges[] = {{"UCPToccDiff", 1, 5, false},
                          {"UCPTunOccDiff", 2, 10, false},
                          {"UCPTsptAdjMax", 55, 95, false},
                          {"UCPTsptAdjMin", 55, 95, false},
                          {"UCPTcoolEnDiff", 2, 10, false},
                          {"UCPTcoolKp", 5, 160, false},
                          {"UCPTcoolKi", 0, 1200, false},
                          {"UCPTcoolDB", 3, 100, false},
                          {"UCPTcoolVlvStroke", 15, 600, false},
                          {"UCPTheatEnDiff", 2, 10, false},
                          {"UCPTheatKp", 5, 160, false},
                          {"UCPTheatKi", 0, 1200, false},
                          {"UCPTheatDB", 3, 100, false},
                          {"UCPTheatVlvStroke", 15, 600, false},
                          {"UCPTewtFlowTmr", 60, 600, false},
                          {"UCPTewtSampleTmr", 20, 120, true},
                          {"UCPTfanMinOffTmr", 120, 1200, false},
                          {"UCPTfanMinOnTmr", 120, 1200, false},
                          {"UCPTcoolIntStgTmr", 120, 1200, false},
                          {"UCPTheatIntStgTmr", 120, 1200, false},
                          {"UCPTfltrChangeHrs", 360, 4320, true},
                          {"UCPTeconOaEnSpt", 40, 80, false},
                          {"UCPTeconOaEnDiff", 1, 12, false},
                          {"UCPTdaSptKp", 5, 160, false},
                          {"UCPTDaSptKi", 0, 1200, false},
                          {"UCPTmaxDaSpt", 50, 80, false},
                          {"UCPTminDaSpt", 50, 80, false},
                          {"UCPTeconPosKp", 5, 160, false},
                          {"UCPTeconPosKi", 0, 1200, false},
                          {"UCPTeconDB", 3, 100, false},
                          {"UCPTeconStroke", 15, 600, false},
                          {"UCPTeconLowMin", 0, 100, false},
                          {"UCPTeconMedMin", 0, 100, false},
                          {"UCPTeconHighMin", 0, 100, false},
                          {"SCPTbypassTime", 30, 120, true},
                          {"SCPTmaxSendTime", 0, 6553.4, false},
                          {"SCPTminSendTime", 0, 6553.4, false},
                          {"SCPTmaxRcvTime", 0, 6553.4, false},
                          {"nviSetpoint", 50, 95, true},
                          {"nviEWT", 32, 212, true},
                          {"nviSpaceTemp", 14, 122, true},
                          {"nviSetptOffset", -17.78, 17.78, false}};
  for (const Range& r : ranges) {
    double v = Presented(r.name);
    bool isNull = r.nullAllowed && (v == 0 || v >= 621);
    EXPECT_TRUE(isNull || (v >= r.min && v <= r.max)) << r.name << " = " << v;
  }
}

TEST(FcuUnit, SetpointsKeepThePairingRule) {
  const UnitPoint& setpoints = Point("SCPTsetPnts");
  std::string text = PresentValue(setpoints.typeName, setpoints.defaultFormat, setpoints.defaultBytes).ToString();
  double v[6];  // occupied, standby, unoccupied cooling; then heating
  ASSERT_EQ(std::sscanf(text.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]), 6);
  double occDiff = Presented("UCPToccDiff");
  double unoccDiff = Presented("UCPTunOccDiff");
  EXPECT_GE(v[0] - v[3] - 0.9, occDiff);
  EXPECT_GE(v[1] - v[4] - 0.9, occDiff);
  EXPECT_GE(v[2] - v[5] - 0.9, unoccDiff);
}

}  // namespace
}  // namespace lns
