#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/snvt_tod_event.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TodEventTest : public PointTest {
 protected:
  std::vector<std::string> Write(const char* format, uint8_t current, uint8_t next, double minutes) {
    SetFormat("nviSchedule", format);
    auto point = Bound<SNVT_tod_event>("nviSchedule");
    point->put_current_state(current);
    point->put_next_state(next);
    point->put_time_to_next_state(minutes);
    lns::ClearJournal();
    point->WriteNV();
    return Sent("nviSchedule");
  }
};

struct Event {
  uint8_t current;
  uint8_t next;
  double minutes;
};

void ExpectEvent(const SNVT_tod_event& point, const Event& e) {
  EXPECT_EQ(point.get_current_state(), e.current);
  EXPECT_EQ(point.get_next_state(), e.next);
  EXPECT_EQ(point.get_time_to_next_state(), e.minutes);
}

TEST_F(TodEventTest, WritesTheOccupancyTextsAndTheMinutes) {
  EXPECT_THAT(Write("SNVT_tod_event", 0, 255, 0), ElementsAre(Quoted("OC_OCCUPIED,OC_NUL,0")));
  EXPECT_EQ(BytesOf("nviSchedule"), (lns::Bytes{0, 255, 0, 0}));
  EXPECT_THAT(Write("SNVT_tod_event", 2, 4, 45), ElementsAre(Quoted("OC_BYPASS,OC_NUL,45")));
  auto recorded = Record<SNVT_tod_event>("SNVT_hvac_mode", rt::Variant());
  recorded.point->put_current_state(1);
  recorded.point->WriteNV();
  EXPECT_THAT(recorded.variable->Puts(), ElementsAre(Text("OC_UNOCCUPIED,OC_OCCUPIED,0")));
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TodEventTest, ReadsTheFormattedText) {
  SetBytes("nviSchedule", {1, 3, 0, 45});
  auto point = Bound<SNVT_tod_event>("nviSchedule");
  point->ReadNV();
  ExpectEvent(*point, {1, 3, 45});
  EXPECT_FALSE(point->get_Changed());
  struct Case {
    const char* text;
    Event event;
  };
  for (const Case& c : {Case{"OC_NUL,OC_NUL,0", {255, 255, 0}}, Case{"oc_occupied,OC_STANDBY,45", {255, 3, 45}},
                        Case{"OC_OCCUPIED,OC_STANDBY,45 minutes", {0, 3, 45}}}) {
    auto recorded = Record<SNVT_tod_event>("SNVT_hvac_mode", Text(c.text));
    recorded.point->ReadNV();
    ExpectEvent(*recorded.point, c.event);
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TodEventTest, ATextWithoutTwoCommasOrThreeTabsIsRefused) {
  struct Case {
    const char* format;
    const char* text;
  };
  for (const Case& c : {Case{"SNVT_tod_event", "OC_OCCUPIED,OC_STANDBY"}, Case{"SNVT_tod_event", "OC_OCCUPIED,OC_STANDBY,45,1"},
                        Case{"RAW", "0\t3\t1"}, Case{"RAW", "0\t3\t1\t44\t0"}}) {
    ClearLog();
    auto recorded = Record<SNVT_tod_event>(c.format, Text(c.text));
    recorded.point->put_next_state(2);
    recorded.point->ReadNV();
    ExpectEvent(*recorded.point, {0, 2, 0});
    EXPECT_THAT(Log(), ElementsAre("SNVT_tod_event.ReadNV - Unsupported format. Reset format in browser..")) << c.text;
  }
}

TEST_F(TodEventTest, RawFormIsFourBytesWithTheMinutesHighByteFirst) {
  EXPECT_THAT(Write("RAW", 0, 3, 300), ElementsAre(Quoted("0\t3\t1\t44")));
  auto reader = Bound<SNVT_tod_event>("nviSchedule");
  reader->ReadNV();
  ExpectEvent(*reader, {0, 3, 300});
  EXPECT_THAT(Write("Raw", 0, 3, 65535), ElementsAre(Quoted("0\t3\t255\t255")));
  reader->ReadNV();
  ExpectEvent(*reader, {0, 3, 65535});
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TodEventTest, MinutesBeyondSixteenBitsAreRefusedNotWrapped) {
  EXPECT_THAT(Write("RAW", 0, 3, 65536), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("Error-Overflow Line 20 SNVT_tod_event.WriteNV"));
}

TEST_F(TodEventTest, ARawStateOutsideAByteKeepsItsValue) {
  auto recorded = Record<SNVT_tod_event>("RAW", Text("256\t1\t0\t5"));
  recorded.point->put_current_state(2);
  recorded.point->ReadNV();
  ExpectEvent(*recorded.point, {2, 1, 5});
  EXPECT_THAT(Log(), ElementsAre("nviRec.ReadNV-Overflow Line 30"));
}

TEST_F(TodEventTest, AnUnknownFormatIsForcedOnRead) {
  SetFormat("nviSchedule", "raw");
  SetBytes("nviSchedule", {0, 3, 1, 44});
  auto point = Bound<SNVT_tod_event>("nviSchedule");
  point->ReadNV();
  ExpectEvent(*point, {0, 3, 300});
  EXPECT_THAT(Log(), ElementsAre("SNVT_tod_event.ReadNV - Unsupported DS format.", "            Data = >0\t3\t1\t44<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
}

TEST_F(TodEventTest, ARefusedForceNamesTheVariable) {
  SetFormat("nviSchedule", "raw");
  lns::RefuseFormatChanges("NetworkVariable:nviSchedule");
  auto point = Bound<SNVT_tod_event>("nviSchedule");
  point->ReadNV();
  EXPECT_EQ(Log().back(), "            Failed...  >nviSchedule< DSFormatType = >raw<");
  ClearLog();
  point->put_current_state(1);
  point->WriteNV();
  EXPECT_THAT(Sent("nviSchedule"), IsEmpty());
  EXPECT_EQ(Log().front(), "SNVT_tod_event-StrToNV->raw< not supported for >0\t0\t0\t0<");
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = >raw<");
}

}  // namespace
}  // namespace points::testing
