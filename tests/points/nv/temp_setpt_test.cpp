#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/snvt_temp_setpt.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Setpt = SNVT_temp_setpt;
using Six = std::array<double, 6>;  // data order

Six SetpointsOf(const Setpt& point) {
  Six six{};
  for (int i = 0; i < 6; ++i) six[i] = point.get_Setpoint(static_cast<Setpoint>(i));
  return six;
}

void ExpectSetpoints(const Setpt& point, const Six& expected) {
  Six actual = SetpointsOf(point);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << "setpoint " << i;
}

void SetAll(Setpt& point, const Six& six) {
  point.put_occupied_cool(six[0]);
  point.put_standby_cool(six[1]);
  point.put_unoccupied_cool(six[2]);
  point.put_occupied_heat(six[3]);
  point.put_standby_heat(six[4]);
  point.put_unoccupied_heat(six[5]);
}

const char* const Sample = "74,76,80,70,68,62";
constexpr Six SampleValues{74, 76, 80, 70, 68, 62};

class SetpointTest : public PointTest {};

TEST_F(SetpointTest, ReadsSixValuesInDataOrder) {
  struct Case {
    const char* format;
    const char* nvName;
    Six expected;
  };
  for (const Case& c : {Case{"SNVT_temp_setpt#US_diff", "nviSetpts", SampleValues},
                        Case{"SNVT_temp_setpt#US_diff", "nvoSetptShift", SampleValues},
                        Case{"SNVT_temp_setpt#US", "nviSetpts", SampleValues},
                        Case{"SNVT_temp_setpt", "nviSetpts", SampleValues},
                        Case{"SNVT_temp_setpt#US", "nvoSetptShift", {42, 44, 48, 38, 36, 30}}}) {
    auto recorded = Record<Setpt>(c.format, Text(Sample), c.nvName);
    recorded.variable->RefuseFormatChanges();
    recorded.point->ReadNV();
    ExpectSetpoints(*recorded.point, c.expected);
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(SetpointTest, TheShiftVariableIsAskedForDifferencesOnEveryRead) {
  Variable("nvoSetptShift", Unit())->put_DsFormatType("SNVT_temp_setpt#US");
  SetBytes("nvoSetptShift", {0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100}, Unit());
  auto point = Bound<Setpt>("nvoSetptShift", Unit());
  point->ReadNV();
  EXPECT_EQ(Variable("nvoSetptShift", Unit())->CurrentFormat(), "SNVT_temp_setpt#US_diff");
  ExpectSetpoints(*point, {1.8, 1.8, 1.8, 1.8, 1.8, 1.8});
  auto other = Bound<Setpt>("nviSetpts");
  other->ReadNV();
  EXPECT_EQ(FormatOf("nviSetpts"), "SNVT_temp_setpt#US");
  ExpectSetpoints(*other, {32, 32, 32, 32, 32, 32});
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(SetpointTest, ATextWithoutFiveCommasChangesNothing) {
  for (const char* text : {"1,2,3,4,5", "1,2,3,4,5,6,7", "1,2,3,4,5,6,7,8"}) {
    ClearLog();
    auto recorded = Record<Setpt>("SNVT_temp_setpt#US_diff", Text(text));
    recorded.point->put_standby_heat(5);
    recorded.point->ReadNV();
    ExpectSetpoints(*recorded.point, {0, 0, 0, 0, 5, 0});
    EXPECT_THAT(Log(), ElementsAre("SNVT_temp_setpt.ReadNV - Data Format Error."));
  }
}

TEST_F(SetpointTest, FieldsAreReadByTheirLeadingNumber) {
  auto recorded = Record<Setpt>("SNVT_temp_setpt#US_diff", Text("74,,80,70,68,62 x"));
  recorded.point->ReadNV();
  ExpectSetpoints(*recorded.point, {74, 0, 80, 70, 68, 62});
}

TEST_F(SetpointTest, NamesOnNoListAreForcedToRaw) {
  for (const char* format : {"#0000000000000000[0].SNVT_temp_setpt#US_diff", "SNVT_temp_setpt#SI"}) {
    ClearLog();
    SetFormat("nviSetpts", format);
    auto point = Bound<Setpt>("nviSetpts");
    point->ReadNV();
    EXPECT_EQ(FormatOf("nviSetpts"), "RAW") << format;
    EXPECT_EQ(Log().front(), "SNVT_temp_setpt.ReadNV - Unsupported DS format.");
  }
}

TEST_F(SetpointTest, RawReadDecodesAllSixSetpoints) {
  SetFormat("nviSetpts", "RAW");
  SetBytes("nviSetpts", {255, 56, 0, 0, 8, 202, 3, 232, 1, 244, 127, 255});
  auto point = Bound<Setpt>("nviSetpts");
  point->ReadNV();
  ExpectSetpoints(*point, {28.4, 32, 72.5, 50, 41, 621.806});
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp_setpt.ReadNV - RAW type not yet supported force to another type???",
                                 "SNVT_temp_setpt.ReadNV - m_occupied_cool=>28.4<"));
}

TEST_F(SetpointTest, ARawSetpointWhoseByteFailsKeepsItsValue) {
  auto recorded = Record<Setpt>("RAW", Text("8\t202\tx\t0\t9\t196\t0\t0\t0\t0\t0\t0"));
  recorded.point->put_standby_cool(50);
  recorded.point->ReadNV();
  ExpectSetpoints(*recorded.point, {72.5, 50, 77, 32, 32, 32});
  EXPECT_EQ(Log()[1], "Err.Number(13)-Type mismatch Line 30 SNVT_temp_setpt.ReadNV >nviRec<");
}

TEST_F(SetpointTest, ARawTextWithoutElevenTabsIsRefused) {
  auto recorded = Record<Setpt>("RAW", Text("255\t56"));
  recorded.point->ReadNV();
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp_setpt.ReadNV - RAW type not yet supported force to another type???",
                                 "SNVT_temp_setpt.ReadNV - Unsupported format. Reset format in browser.."));
}

TEST_F(SetpointTest, FormattedWriteSendsTheSixNumbersInDataOrder) {
  for (const char* format : {"SNVT_temp_setpt#US", "SNVT_temp_setpt", "SNVT_temp_setpt#US_diff"}) {
    SetFormat("nviSetpts", format);
    auto point = Bound<Setpt>("nviSetpts");
    SetAll(*point, SampleValues);
    lns::ClearJournal();
    point->WriteNV();
    EXPECT_THAT(Sent("nviSetpts"), ElementsAre(Quoted(Sample))) << format;
  }
  auto point = Bound<Setpt>("nviSetpts");
  point->put_occupied_cool(72.5);
  lns::ClearJournal();
  point->WriteNV();
  EXPECT_THAT(Sent("nviSetpts"), ElementsAre(Quoted("72.5,0,0,0,0,0")));
}

TEST_F(SetpointTest, RawWriteSendsTwelveBytesLoggingEachStep) {
  SetFormat("nviSetpts", "RAW");
  auto point = Bound<Setpt>("nviSetpts");
  SetAll(*point, SampleValues);
  point->WriteNV();
  const char* bytes[] = {"9", "29", "9", "140", "10", "107", "8", "63", "7", "208", "6", "131"};
  std::string text;
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) {
    text += bytes[i];
    if (i < 11) text += Tab;
    lines.push_back("SNVT_temp_setpt.WriteNV - vOut>" + text + "<");
  }
  EXPECT_THAT(Sent("nviSetpts"), ElementsAre(Quoted(text)));
  EXPECT_THAT(Log(), ElementsAreArray(lines));
}

TEST_F(SetpointTest, ARawWriteReadsBackThroughTheRawRead) {
  SetFormat("nviSetpts", "RAW");
  auto point = Bound<Setpt>("nviSetpts");
  SetAll(*point, {72.5, 77, 86, 68, 64.4, 59});
  point->WriteNV();
  EXPECT_EQ(BytesOf("nviSetpts"), (lns::Bytes{8, 202, 9, 196, 11, 184, 7, 208, 7, 8, 5, 220}));
  auto reader = Bound<Setpt>("nviSetpts");
  reader->ReadNV();
  ExpectSetpoints(*reader, {72.5, 77, 86, 68, 64.4, 59});
}

TEST_F(SetpointTest, RawWriteOfTheLimits) {
  auto recorded = Record<Setpt>("RAW", rt::Variant());
  SetAll(*recorded.point, {32, 621.806, 32, 32, 32, 32});
  recorded.point->WriteNV();
  EXPECT_THAT(recorded.variable->Puts(), ElementsAre(Text("0\t0\t127\t255\t0\t0\t0\t0\t0\t0\t0\t0")));
  ClearLog();
  recorded.point->put_occupied_heat(700);
  recorded.point->WriteNV();
  EXPECT_EQ(recorded.variable->Puts().size(), 1u);
  EXPECT_THAT(Log(), ElementsAre("Error-Overflow Line 20 SNVT_temp_setpt.WriteNV"));
}

TEST_F(SetpointTest, AnUnboundPointLogsEachFailedCall) {
  auto point = Bound<Setpt>("nviNothing");
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0], "SNVT_temp_setpt-Can't find nviNothing");
  ClearLog();
  point->ReadNV();
  std::string failure = "Err.Number(91)-Object variable or With block variable not set Line ";
  EXPECT_THAT(Log(), ElementsAre(failure + "10 SNVT_temp_setpt.ReadNV >nviNothing<",
                                 failure + "10 SNVT_temp_setpt.ReadNV >nviNothing<",
                                 failure + "10 SNVT_temp_setpt.ReadNV >nviNothing<",
                                 failure + "20 SNVT_temp_setpt.ReadNV >nviNothing<",
                                 "SNVT_temp_setpt.ReadNV - RAW type not yet supported force to another type???",
                                 "SNVT_temp_setpt.ReadNV - Unsupported format. Reset format in browser.."));
}

}  // namespace
}  // namespace points::testing
