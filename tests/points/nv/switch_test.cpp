#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/snvt_switch.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;

class SwitchTest : public PointTest {};

struct SwitchWrite {
  const char* format;
  double value;
  int16_t state;
  std::string sent;
  lns::Bytes bytes;
};

TEST_F(SwitchTest, WriteSendsTheTextOfTheFormatInForce) {
  const SwitchWrite cases[] = {
      {"SNVT_switch", 100, 1, "100.0 1", {200, 1}},
      {"#0000000000000000[0].SNVT_switch", 0, -1, "0.0 -1", {0, 255}},
      {"SNVT_switch", 50.25, 1, "50.3 1", {101, 1}},
      {"RAW", 100, 1, "200\t1", {200, 1}},
      {"Raw", 0, -1, "0\t255", {0, 255}},
      {"", 50.25, 0, "100\t0", {100, 0}},
      {"RAW", 127.5, 255, "255\t255", {255, 255}},
  };
  for (const SwitchWrite& c : cases) {
    SetFormat("nviSwitch", c.format);
    auto point = Bound<SNVT_switch>("nviSwitch");
    point->put_Value(c.value);
    point->put_State(c.state);
    lns::ClearJournal();
    point->WriteNV();
    EXPECT_THAT(Sent("nviSwitch"), ElementsAre(Quoted(c.sent))) << c.format << " " << c.value;
    EXPECT_EQ(BytesOf("nviSwitch"), c.bytes) << c.format << " " << c.value;
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(SwitchTest, EveryWriteSendsEvenWithoutAChange) {
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->put_Value(100);
  point->put_State(1);
  point->WriteNV();
  point->WriteNV();
  EXPECT_THAT(Sent("nviSwitch"), ElementsAre(Quoted("100.0 1"), Quoted("100.0 1")));
}

TEST_F(SwitchTest, ARawWriteOutsideAByteSendsNothing) {
  SetFormat("nviSwitch", "RAW");
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->put_Value(200);
  point->WriteNV();
  point->put_Value(1);
  point->put_State(300);
  point->WriteNV();
  EXPECT_TRUE(Sent("nviSwitch").empty());
  EXPECT_THAT(Log(), ElementsAre("Error-Overflow Line 20 SNVT_switch.WriteNV >nviSwitch<",
                                 "Error-Overflow Line 20 SNVT_switch.WriteNV >nviSwitch<"));
}

struct SwitchRead {
  const char* format;
  lns::Bytes bytes;
  double value;
  int16_t state;
};

TEST_F(SwitchTest, ReadDecodesTheFormatInForce) {
  const SwitchRead cases[] = {
      {"SNVT_switch", {200, 1}, 100, 1},
      {"#0000000000000000[0].SNVT_switch", {101, 0}, 50.5, 0},
      {"RAW", {200, 1}, 100, 1},
      {"Raw", {255, 255}, 127.5, 255},
      {"", {0, 0}, 0, 0},
  };
  for (const SwitchRead& c : cases) {
    SetFormat("nviSwitch", c.format);
    SetBytes("nviSwitch", c.bytes);
    auto point = Bound<SNVT_switch>("nviSwitch");
    point->ReadNV();
    EXPECT_DOUBLE_EQ(point->get_Value(), c.value) << c.format;
    EXPECT_EQ(point->get_State(), c.state) << c.format;
  }
  EXPECT_TRUE(Log().empty());
}

struct SwitchRefusal {
  const char* format;
  const char* text;
};

TEST_F(SwitchTest, ATextWithoutExactlyOneDelimiterIsRefused) {
  for (const SwitchRefusal& c : {SwitchRefusal{"SNVT_switch", "100.0"}, SwitchRefusal{"SNVT_switch", "100.0  1"},
                                 SwitchRefusal{"SNVT_switch", "1 2 3 4 5 6 7"}, SwitchRefusal{"RAW", "200\t1\t3"},
                                 SwitchRefusal{"RAW", "200"}}) {
    ClearLog();
    auto recorded = Record<SNVT_switch>(c.format, Text(c.text));
    recorded.point->put_Value(12);
    recorded.point->put_State(3);
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), 12) << c.text;
    EXPECT_EQ(recorded.point->get_State(), 3) << c.text;
    EXPECT_THAT(Log(), ElementsAre("SNVT_switch.ReadNV - Unsupported format. Reset format in browser..")) << c.text;
  }
}

TEST_F(SwitchTest, FieldsAreReadByTheirLeadingNumber) {
  auto recorded = Record<SNVT_switch>("SNVT_switch", Text("12.5xyz on"));
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.point->get_Value(), 12.5);
  EXPECT_EQ(recorded.point->get_State(), 0);
}

TEST_F(SwitchTest, AStateBeyondSixteenBitsIsLoggedAndKeptWhileTheLevelIsRead) {
  auto recorded = Record<SNVT_switch>("SNVT_switch", Text("100.0 40000"));
  recorded.point->put_State(1);
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.point->get_Value(), 100);
  EXPECT_EQ(recorded.point->get_State(), 1);
  EXPECT_THAT(Log(), ElementsAre("Err.Number(6)-Overflow Line 30 SNVT_switch.ReadNV >nviRec<"));
}

TEST_F(SwitchTest, AnUnknownFormatIsForcedToRawOnRead) {
  SetFormat("nviSwitch", "raw");
  SetBytes("nviSwitch", {200, 1});
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), 100);
  EXPECT_EQ(point->get_State(), 1);
  EXPECT_EQ(FormatOf("nviSwitch"), "RAW");
  EXPECT_THAT(Log(), ElementsAre("SNVT_switch.ReadNV - Unsupported DS format.", "            Data = >200\t1<",
                                 "            Attempting to force >raw< to >RAW< DSformatType...",
                                 "            Success"));
  ClearLog();
  point->ReadNV();
  EXPECT_TRUE(Log().empty());
}

TEST_F(SwitchTest, ARefusedForceOnReadDecodesNothing) {
  SetFormat("nviSwitch", "raw");
  lns::RefuseFormatChanges("NetworkVariable:nviSwitch");
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), 0);
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = >raw<");
}

TEST_F(SwitchTest, AnUnknownFormatIsForcedToRawOnWrite) {
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->ReadNV();
  SetFormat("nviSwitch", "snvt_switch");
  point->put_Value(50);
  point->WriteNV();
  EXPECT_THAT(Sent("nviSwitch"), ElementsAre(Quoted("100\t0")));
  EXPECT_THAT(Log(), ElementsAre("SNVT_switch-StrToNV->snvt_switch< not supported for >0.0 0<",
                                 "            Data = >0.0 0<", "            Attempting to force to >RAW< DSformatType...",
                                 "            Success"));
}

TEST_F(SwitchTest, ARefusedForceOnWriteSendsNothing) {
  SetFormat("nviSwitch", "raw");
  lns::RefuseFormatChanges("NetworkVariable:nviSwitch");
  auto point = Bound<SNVT_switch>("nviSwitch");
  point->WriteNV();
  EXPECT_TRUE(Sent("nviSwitch").empty());
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = >raw<");
}

}  // namespace
}  // namespace points::testing
