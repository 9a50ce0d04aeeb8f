#include <gmock/gmock.h>

#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/snvt_hvac_status.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Status = SNVT_hvac_status;

struct Expected {
  uint8_t mode;
  double primary, secondary, cool, econ, fan;
  uint8_t alarm;
};

void ExpectStatus(const Status& point, const Expected& e) {
  EXPECT_EQ(point.get_Mode(), e.mode);
  EXPECT_NEAR(point.get_heat_output_primary(), e.primary, 1e-9);
  EXPECT_NEAR(point.get_heat_output_secondary(), e.secondary, 1e-9);
  EXPECT_NEAR(point.get_cool_output(), e.cool, 1e-9);
  EXPECT_NEAR(point.get_econ_output(), e.econ, 1e-9);
  EXPECT_NEAR(point.get_fan_output(), e.fan, 1e-9);
  EXPECT_EQ(point.get_in_alarm(), e.alarm);
}

class HvacStatusTest : public PointTest {};

TEST_F(HvacStatusTest, ReadsTheSevenFieldsOfTheFormattedText) {
  SetBytes("nviStatus", {1, 39, 16, 0, 0, 0, 0, 0, 0, 78, 32, 0});
  auto point = Bound<Status>("nviStatus");
  point->ReadNV();
  ExpectStatus(*point, {1, 50, 0, 0, 0, 100, 0});
  auto recorded = Record<Status>("SNVT_hvac_status", Text("HVAC_HEAT,50.000,0.000,0.000,0.000,100.000,0"));
  recorded.point->ReadNV();
  ExpectStatus(*recorded.point, {1, 50, 0, 0, 0, 100, 0});
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(HvacStatusTest, AModeOutsideTheTableReads255) {
  for (const char* text : {"HVAC_NUL,0,0,0,0,0,1", " HVAC_HEAT,0,0,0,0,0,1"}) {
    auto recorded = Record<Status>("SNVT_hvac_status", Text(text));
    recorded.point->ReadNV();
    ExpectStatus(*recorded.point, {255, 0, 0, 0, 0, 0, 1});
  }
}

TEST_F(HvacStatusTest, AFormattedTextWithoutSixCommasChangesNothing) {
  for (const char* text : {"HVAC_HEAT,1,2,3,4,5", "HVAC_HEAT,1,2,3,4,5,6,7", ""}) {
    ClearLog();
    auto recorded = Record<Status>("SNVT_hvac_status", Text(text));
    recorded.point->put_Mode(6);
    recorded.point->ReadNV();
    ExpectStatus(*recorded.point, {6, 0, 0, 0, 0, 0, 0});
    EXPECT_THAT(Log(), ElementsAre("SNVT_hvac_status.ReadNV - Data Format Error")) << text;
  }
}

TEST_F(HvacStatusTest, ReadsTheTwelveRawBytes) {
  SetFormat("nviStatus", "RAW");
  SetBytes("nviStatus", {3, 78, 32, 0, 0, 0, 0, 128, 0, 127, 255, 1});
  auto point = Bound<Status>("nviStatus");
  point->ReadNV();
  ExpectStatus(*point, {3, 100, 0, 0, -163.84, 163.835, 1});
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(HvacStatusTest, ARawTextWithoutElevenTabsChangesNothing) {
  for (const char* text : {"3\t78\t32\t0\t0\t0\t0\t0\t0\t0\t0", "3\t78\t32\t0\t0\t0\t0\t0\t0\t0\t0\t1\t1"}) {
    ClearLog();
    auto recorded = Record<Status>("RAW", Text(text));
    recorded.point->ReadNV();
    ExpectStatus(*recorded.point, {0, 0, 0, 0, 0, 0, 0});
    EXPECT_THAT(Log(), ElementsAre("SNVT_hvac_status.ReadNV - Data Format Error."));
  }
}

TEST_F(HvacStatusTest, ALevelWhoseByteFailsKeepsItsValueAndTheNextLevelUsesItsOwnBytes) {
  auto recorded = Record<Status>("RAW", Text("1\t0\t200\t0\t200\t0\t200\t0\t200\t0\t200\t0"));
  recorded.point->ReadNV();
  ExpectStatus(*recorded.point, {1, 1, 1, 1, 1, 1, 0});
  recorded.variable->SetValue(Text("2\t0\t10\tx\t20\t0\t30\t0\t40\t0\t50\t300"));
  recorded.point->ReadNV();
  ExpectStatus(*recorded.point, {2, 0.05, 1, 0.15, 0.2, 0.25, 0});
  EXPECT_THAT(Log(), ElementsAre("Err.Number(13)-Type mismatch Line 30 SNVT_hvac_status.ReadNV >nviRec<",
                                 "Err.Number(6)-Overflow Line 30 SNVT_hvac_status.ReadNV >nviRec<"));
}

TEST_F(HvacStatusTest, AnUnknownFormatIsForcedAndTheRawTextParsed) {
  SetFormat("nviStatus", "raw");
  SetBytes("nviStatus", {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  auto point = Bound<Status>("nviStatus");
  point->ReadNV();
  EXPECT_EQ(point->get_Mode(), 3);
  EXPECT_EQ(FormatOf("nviStatus"), "RAW");
  EXPECT_EQ(Log().front(), "SNVT_hvac_status.ReadNV - Unsupported DS format.");
}

TEST_F(HvacStatusTest, WriteOnlyLogsThatItIsNotImplemented) {
  auto point = Bound<Status>("nviStatus");
  point->put_Mode(1);
  point->WriteNV();
  point->WriteNV();
  EXPECT_THAT(Sent("nviStatus"), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("SNVT_hvac_status.WriteNV(SNVT_hvac_status) ***NOT IMPLEMENTED***"));
}

}  // namespace
}  // namespace points::testing
