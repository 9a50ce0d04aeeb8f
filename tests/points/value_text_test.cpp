#include "points/value_text.h"

#include <gmock/gmock.h>

#include "point_fixture.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;

using orvex::test::ErrorNumberOf;

class ValueTextTest : public PointTest {};

struct BytesCase {
  double value;
  int hi;
  int lo;
};

TEST_F(ValueTextTest, IntToBytesKeepsTheLowSixteenBitsHighByteFirst) {
  for (const BytesCase& c : {BytesCase{500, 1, 244}, BytesCase{-1, 255, 255}, BytesCase{70000, 17, 112},
                             BytesCase{72.5, 0, 72}, BytesCase{73.5, 0, 74}, BytesCase{-2, 255, 254},
                             BytesCase{0, 0, 0}, BytesCase{2250, 8, 202}}) {
    uint8_t hi = 9;
    uint8_t lo = 9;
    IntToBytes(c.value, hi, lo, "SNVT_temp_p");
    EXPECT_EQ(hi, c.hi) << c.value;
    EXPECT_EQ(lo, c.lo) << c.value;
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(ValueTextTest, IntToBytesRaisesOverflowBeyondTheLongRangeAndLeavesTheBytes) {
  uint8_t hi = 7;
  uint8_t lo = 8;
  EXPECT_EQ(ErrorNumberOf([&] { IntToBytes(3e9, hi, lo, "SNVT_temp_p"); }), rt::err::Overflow);
  EXPECT_EQ(hi, 7);
  EXPECT_EQ(lo, 8);
}

struct WordCase {
  double value;
  RawWord word;
  int32_t error;
};

TEST_F(ValueTextTest, WordToBytesRefusesWhatWouldWrapAround) {
  for (const WordCase& c : {WordCase{32767, RawWord::Signed, 0}, WordCase{-32768, RawWord::Signed, 0},
                            WordCase{32768, RawWord::Signed, rt::err::Overflow},
                            WordCase{-32769, RawWord::Signed, rt::err::Overflow},
                            WordCase{65535, RawWord::Unsigned, 0}, WordCase{65535.4, RawWord::Unsigned, 0},
                            WordCase{65536, RawWord::Unsigned, rt::err::Overflow},
                            WordCase{-1, RawWord::Unsigned, rt::err::Overflow}}) {
    uint8_t hi = 0;
    uint8_t lo = 0;
    EXPECT_EQ(ErrorNumberOf([&] { WordToBytes(c.value, c.word, hi, lo, "SNVT_count"); }), c.error) << c.value;
  }
  uint8_t hi = 0;
  uint8_t lo = 0;
  WordToBytes(-200, RawWord::Signed, hi, lo, "SNVT_temp_p");
  EXPECT_EQ(hi, 255);
  EXPECT_EQ(lo, 56);
}

TEST_F(ValueTextTest, HexToByteReadsTheLastTwoCharacters) {
  EXPECT_EQ(HexToByte("1F4", "SNVT_temp_p"), 244);
  EXPECT_EQ(HexToByte("FF", "SNVT_temp_p"), 255);
  EXPECT_EQ(HexToByte("0a", "SNVT_temp_p"), 10);
  EXPECT_EQ(HexToByte("7", "SNVT_temp_p"), 7);
  EXPECT_TRUE(Log().empty());
}

TEST_F(ValueTextTest, HexToByteLogsANonDigitWithTheClassNameAndGivesZero) {
  EXPECT_EQ(HexToByte("1FZ", "SNVT_temp_p"), 0);
  EXPECT_EQ(HexToByte("", "SNVT_count"), 0);
  EXPECT_THAT(Log(), ElementsAre("Error: 13. Type mismatchSNVT_temp_p.HexToByte",
                                 "Error: 13. Type mismatchSNVT_count.HexToByte"));
}

TEST_F(ValueTextTest, WordsFromTwoBytes) {
  EXPECT_EQ(SignedWord(1, 244), 500);
  EXPECT_EQ(SignedWord(255, 56), -200);
  EXPECT_EQ(SignedWord(127, 255), 32767);
  EXPECT_EQ(SignedWord(128, 0), -32768);
  EXPECT_EQ(UnsignedWord(255, 255), 65535);
  EXPECT_EQ(UnsignedWord(128, 0), 32768);
}

TEST_F(ValueTextTest, ByteFieldTakesOnlyADecimalByte) {
  EXPECT_EQ(ByteField("202"), 202);
  EXPECT_EQ(ByteField(" 7 "), 7);
  EXPECT_EQ(ErrorNumberOf([] { ByteField("202\t1"); }), rt::err::TypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { ByteField("x"); }), rt::err::TypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { ByteField("256"); }), rt::err::Overflow);
}

TEST_F(ValueTextTest, JoinLoggedShowsTheTextGrowingPieceByPiece) {
  EXPECT_EQ(JoinLogged({"8", "202"}, Tab, "X.WriteNV - vOut>"), "8\t202");
  EXPECT_EQ(JoinLogged({"7"}, Tab, "Y>"), "7");
  EXPECT_THAT(Log(), ElementsAre("X.WriteNV - vOut>8\t<", "X.WriteNV - vOut>8\t202<", "Y>7<"));
}

TEST_F(ValueTextTest, FormatNamesCompareExactly) {
  for (const char* raw : {"RAW", "Raw", ""}) EXPECT_TRUE(IsRawFormat(raw)) << raw;
  for (const char* other : {"raw", "RAW ", "rAW"}) EXPECT_FALSE(IsRawFormat(other)) << other;
}

}  // namespace
}  // namespace points::testing
