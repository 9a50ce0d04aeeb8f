#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/flag_points.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using orvex::test::ErrorNumberOf;

std::string Entries(const std::vector<int>& ones, int count, char delimiter) {
  std::string text;
  for (int entry = 0; entry < count; ++entry) {
    if (entry > 0) text += delimiter;
    text += std::find(ones.begin(), ones.end(), entry) != ones.end() ? "1" : "0";
  }
  return text;
}

std::vector<int> SetBits(const FlagsPoint& point, int flags) {
  std::vector<int> set;
  for (int flag = 0; flag < flags; ++flag) {
    if (point.get_Bit(flag)) set.push_back(flag);
  }
  return set;
}

class FlagsTest : public PointTest {
 protected:
  template <class T>
  std::vector<std::string> Write(const char* nvName, const char* format, const std::vector<int>& bits) {
    SetFormat(nvName, format);
    auto point = Bound<T>(nvName);
    for (int bit : bits) point->put_Bit(bit, true);
    lns::ClearJournal();
    point->WriteNV();
    return Sent(nvName);
  }
  template <class T>
  std::vector<int> ReadText(const char* format, const std::string& text, const std::vector<int>& before = {}) {
    auto recorded = Record<T>(format, Text(text));
    for (int bit : before) recorded.point->put_Bit(bit, true);
    recorded.point->ReadNV();
    return SetBits(*recorded.point, std::is_same_v<T, SNVT_state> ? 16 : 32);
  }
};

// --- SNVT_state --------------------------------------------------------------------------------

TEST_F(FlagsTest, StateWritesSixteenEntriesSeparatedByTabs) {
  for (const std::vector<int>& bits : {std::vector<int>{}, {0}, {15}, {1, 9}}) {
    EXPECT_THAT(Write<SNVT_state>("nviState", "SNVT_state", bits), ElementsAre(Quoted(Entries(bits, 16, Tab))));
  }
  EXPECT_EQ(BytesOf("nviState"), (lns::Bytes{64, 64}));
  EXPECT_THAT(Write<SNVT_state>("nviState", "#0000000000000000[0].SNVT_state", {0}),
              ElementsAre(Quoted(Entries({0}, 16, Tab))));
  EXPECT_EQ(BytesOf("nviState"), (lns::Bytes{128, 0}));
}

TEST_F(FlagsTest, StateRawMapsBit0ToTheTopOfTheFirstByte) {
  struct Case {
    std::vector<int> bits;
    std::string sent;
  };
  for (const Case& c : {Case{{0}, "128\t0"}, Case{{15}, "0\t1"}, Case{{7, 8}, "1\t128"},
                        Case{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, "255\t255"}}) {
    EXPECT_THAT(Write<SNVT_state>("nviState", "RAW", c.bits), ElementsAre(Quoted(c.sent)));
  }
}

TEST_F(FlagsTest, StateSendsRightAfterARead) {
  SetBytes("nviState", {128, 1});
  auto point = Bound<SNVT_state>("nviState");
  point->ReadNV();
  point->WriteNV();
  EXPECT_THAT(Sent("nviState"), ElementsAre(Quoted(Entries({0, 15}, 16, Tab))));
}

TEST_F(FlagsTest, StateReadsTheCommaTextTheVariablePresents) {
  SetBytes("nviState", {128, 1});
  auto point = Bound<SNVT_state>("nviState");
  point->put_Bit(3, true);
  point->ReadNV();
  EXPECT_THAT(SetBits(*point, 16), ElementsAre(0, 15));
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(FlagsTest, StateTakesTheCharactersAtOddPositionsOfTheCommaText) {
  std::string fifteen = Entries({0, 15}, 16, ',');
  EXPECT_THAT(ReadText<SNVT_state>("SNVT_state", fifteen + ",1,1"), ElementsAre(0, 15));
  EXPECT_THAT(ReadText<SNVT_state>("SNVT_state", "1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1"),
              ElementsAre(0, 3, 6, 9, 12, 15));
  EXPECT_THAT(ReadText<SNVT_state>("SNVT_state", "x,9,a,0,5,0,0,0,0,0,0,0,0,0,0,1"), ElementsAre(1, 4, 15));
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(FlagsTest, StateRefusesAFormattedTextWithFewerThanFifteenCommas) {
  EXPECT_THAT(ReadText<SNVT_state>("SNVT_state", "1,0,0,0,0,0,0,0,0,0,0,0,0,0,1", {3}), ElementsAre(3));
  EXPECT_THAT(ReadText<SNVT_state>("SNVT_state", Entries({0}, 16, Tab), {3}), ElementsAre(3));
  EXPECT_THAT(Log(), ElementsAre("SNVT_state.ReadNV - Unsupported format. Reset format in browser..",
                                 "SNVT_state.ReadNV - Unsupported format. Reset format in browser.."));
}

TEST_F(FlagsTest, StateRawRead) {
  struct Case {
    lns::Bytes bytes;
    std::vector<int> bits;
  };
  for (const Case& c : {Case{{255, 255}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}, Case{{0, 0}, {}},
                        Case{{128, 1}, {0, 15}}}) {
    SetFormat("nviState", "RAW");
    SetBytes("nviState", c.bytes);
    auto point = Bound<SNVT_state>("nviState");
    point->put_Bit(5, true);
    point->ReadNV();
    EXPECT_EQ(SetBits(*point, 16), c.bits);
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(FlagsTest, StateRawRefusesAnyButOneTab) {
  for (const char* text : {"128", "128\t1\t0"}) {
    ClearLog();
    EXPECT_THAT(ReadText<SNVT_state>("RAW", text, {3}), ElementsAre(3)) << text;
    EXPECT_THAT(Log(), ElementsAre("SNVT_state.ReadNV - Unsupported format. Reset format in browser.."));
  }
}

TEST_F(FlagsTest, AStateByteThatDoesNotConvertKeepsItsFlags) {
  EXPECT_THAT(ReadText<SNVT_state>("RAW", "300\t1", {3, 9}), ElementsAre(3, 15));
  EXPECT_THAT(Log(), ElementsAre("Err.Number(6)-Overflow Line 30 SNVT_state.ReadNV >nviRec<"));
}

TEST_F(FlagsTest, StateForcesAnUnknownFormat) {
  SetFormat("nviState", "raw");
  SetBytes("nviState", {1, 0});
  auto point = Bound<SNVT_state>("nviState");
  point->ReadNV();
  EXPECT_THAT(SetBits(*point, 16), ElementsAre(7));
  EXPECT_THAT(Log(), ElementsAre("SNVT_state.ReadNV - Unsupported DS format.", "            Data = >1\t0<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
  ClearLog();
  SetFormat("nviState", "raw");
  point->WriteNV();
  EXPECT_THAT(Sent("nviState"), ElementsAre(Quoted("1\t0")));
  EXPECT_EQ(Log().front(), "SNVT_state-StrToNV->raw< not supported for >1\t0<");
}

TEST_F(FlagsTest, StateHasOnlySixteenBits) {
  SNVT_state point;
  EXPECT_EQ(ErrorNumberOf([&] { point.put_Bit(16, true); }), rt::err::SubscriptOutOfRange);
  std::vector<rt::Variant> args{rt::Variant::Boolean(true)};
  EXPECT_EQ(ErrorNumberOf([&] { point.Invoke("Bit16", rt::Object::CallKind::Let, args); }),
            rt::err::ObjectNotSupportProperty);
  point.Invoke("bit15", rt::Object::CallKind::Let, args);
  EXPECT_TRUE(point.get_Bit(15));
  EXPECT_TRUE(point.get_Changed());
}

// --- SNVT_state_64 -----------------------------------------------------------------------------

TEST_F(FlagsTest, State64WritesSixtyFourEntriesSeparatedByBlanks) {
  for (const std::vector<int>& bits : {std::vector<int>{}, {0}, {31}, {2, 17}}) {
    EXPECT_THAT(Write<SNVT_state_64>("nviState64", "SNVT_state_64", bits), ElementsAre(Quoted(Entries(bits, 64, ' '))));
  }
  EXPECT_EQ(BytesOf("nviState64"), (lns::Bytes{32, 0, 64, 0, 0, 0, 0, 0}));
}

TEST_F(FlagsTest, State64RawWritesFourFlagBytesAndFourZeros) {
  struct Case {
    std::vector<int> bits;
    std::string sent;
  };
  for (const Case& c : {Case{{0}, "128\t0\t0\t0\t0\t0\t0\t0"}, Case{{16}, "0\t0\t128\t0\t0\t0\t0\t0"},
                        Case{{31}, "0\t0\t0\t1\t0\t0\t0\t0"}}) {
    EXPECT_THAT(Write<SNVT_state_64>("nviState64", "RAW", c.bits), ElementsAre(Quoted(c.sent)));
  }
}

TEST_F(FlagsTest, State64ReadsWhatItWritesInBothForms) {
  for (const char* format : {"SNVT_state_64", "RAW"}) {
    Write<SNVT_state_64>("nviState64", format, {0, 9, 16, 31});
    auto reader = Bound<SNVT_state_64>("nviState64");
    reader->ReadNV();
    EXPECT_THAT(SetBits(*reader, 32), ElementsAre(0, 9, 16, 31)) << format;
  }
}

TEST_F(FlagsTest, State64AcceptsThirtyTwoOrSixtyFourEntries) {
  EXPECT_THAT(ReadText<SNVT_state_64>("SNVT_state_64", Entries({0, 31}, 32, ' ')), ElementsAre(0, 31));
  EXPECT_THAT(ReadText<SNVT_state_64>("SNVT_state_64", Entries({1, 30, 40}, 64, ' ')), ElementsAre(1, 30));
  EXPECT_THAT(Log(), IsEmpty());
  for (int entries : {31, 33, 63}) {
    ClearLog();
    EXPECT_THAT(ReadText<SNVT_state_64>("SNVT_state_64", Entries({0}, entries, ' '), {5}), ElementsAre(5)) << entries;
    EXPECT_THAT(Log(), ElementsAre("SNVT_state_64.ReadNV - Error >nviRec< not initialized. (A)"));
  }
}

TEST_F(FlagsTest, State64RawReadOfTwoBytesSetsTheFirstSixteenAndLogsTheDelimiter) {
  EXPECT_THAT(ReadText<SNVT_state_64>("RAW", "128\t1", {3, 20}), ElementsAre(0, 15, 20));
  EXPECT_THAT(Log(), ElementsAre("Delimiters in vIN=>1< tEnd=4"));
}

TEST_F(FlagsTest, State64RawRefusesOtherDelimiterCounts) {
  EXPECT_THAT(ReadText<SNVT_state_64>("RAW", "128", {3}), ElementsAre(3));
  EXPECT_THAT(Log(), ElementsAre("SNVT_state_64.ReadNV - Error >nviRec< not initialized (B)."));
  ClearLog();
  EXPECT_THAT(ReadText<SNVT_state_64>("RAW", "1\t2\t3\t4", {3}), ElementsAre(3));
  EXPECT_THAT(Log(), ElementsAre("Delimiters in vIN=>1< tEnd=2", "Delimiters in vIN=>2< tEnd=4",
                                 "Delimiters in vIN=>3< tEnd=6",
                                 "SNVT_state_64.ReadNV - Error >nviRec< not initialized (B)."));
}

TEST_F(FlagsTest, State64SendsRightAfterARead) {
  auto point = Bound<SNVT_state_64>("nviState64");
  point->ReadNV();
  point->WriteNV();
  EXPECT_EQ(Sent("nviState64").size(), 1u);
}

}  // namespace
}  // namespace points::testing
