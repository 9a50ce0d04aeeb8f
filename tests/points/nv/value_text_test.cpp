#include <gmock/gmock.h>

#include "lns/faults.h"
#include "points/nv/enumerations.h"
#include "points/nv/value_text.h"
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

// The force on a network variable's DsFormatType and on a configuration property's FormatName.
TEST_F(ValueTextTest, ForceToRawSucceedsWhenTheFormatReadsBackRaw) {
  SetFormat("nviTemp", "SNVT_temp_p#SI");
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  rt::Ref<rt::Object> variable = AsObject(Variable("nviTemp"));
  EXPECT_TRUE(ForceToRaw(steps, 40, variable, "DsFormatType", rt::Variant::String("22.5"),
                         WriteForceLines(NvForceTexts, "SNVT_temp-StrToNV->", "SNVT_temp_p#SI", rt::Variant())));
  EXPECT_EQ(FormatOf("nviTemp"), "RAW");
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp-StrToNV->SNVT_temp_p#SI< not supported for ><", "            Data = >22.5<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
}

TEST_F(ValueTextTest, ForceToRawReportsARefusedChangeWithTheNameReadBack) {
  SetFormat("nviTemp", "SNVT_temp_p#SI");
  lns::RefuseFormatChanges("NetworkVariable:nviTemp");
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  EXPECT_FALSE(ForceToRaw(steps, 40, AsObject(Variable("nviTemp")), "DsFormatType", rt::Variant(),
                          ReadForceLines(NvForceTexts, "SNVT_temp_p")));
  EXPECT_EQ(FormatOf("nviTemp"), "SNVT_temp_p#SI");
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = >SNVT_temp_p#SI<");
}

TEST_F(ValueTextTest, AForceWhoseReadBackFailsCountsAsRefused) {
  lns::FailMember("NetworkVariable:nviTemp", "DsFormatType", lns::err::InjectedFault);
  std::vector<int> failedLines;
  rt::Steps steps([&](int line, const rt::Error&) {
    failedLines.push_back(line);
    return rt::Resume::Next;
  });
  EXPECT_FALSE(ForceToRaw(steps, 40, AsObject(Variable("nviTemp")), "DsFormatType", rt::Variant(),
                          ReadForceLines(NvForceTexts, "SNVT_temp_p")));
  EXPECT_THAT(failedLines, ElementsAre(40, 40));
  EXPECT_EQ(Log().back(), "            Failed... DSFormatType = ><");
}

TEST_F(ValueTextTest, ForceToRawOnAConfigurationPropertyUsesItsFormatName) {
  rt::Ref<rt::Object> property =
      AsObject(Unit()->get_Interface()->Objects().Find("FCU")->PropertiesOf()->Find("UCPToccDiff"));
  rt::Steps steps = rt::Steps::LogAndResumeNext([](int, const rt::Error&) { FAIL(); });
  EXPECT_TRUE(ForceToRaw(steps, 0, property, "FormatName", rt::Variant(),
                         ReadForceLines(CpForceTexts, "UCPTtemp_Dif_p")));
  EXPECT_THAT(Log(), ElementsAre("UCPTtemp_Dif_p.ReadNV - Unsupported DS format.", "            Data = ><",
                                 "            Attempting to force to >RAW< FormatName...", "            Success"));
}

TEST_F(ValueTextTest, EnumerationsWriteUnknownValuesAsTheirNullTextAndReadUnknownTextsAs255) {
  EXPECT_EQ(HvacModes.TextOf(0), "HVAC_AUTO");
  EXPECT_EQ(HvacModes.TextOf(17), "HVAC_EMERG_STEAM");
  EXPECT_EQ(HvacModes.TextOf(18), "HVAC_NUL");
  EXPECT_EQ(HvacModes.TextOf(255), "HVAC_NUL");
  EXPECT_EQ(Occupancies.TextOf(3), "OC_STANDBY");
  EXPECT_EQ(Occupancies.TextOf(4), "OC_NUL");
  EXPECT_EQ(HvacModes.ValueOf("HVAC_EMERG_STEAM"), 17);
  EXPECT_EQ(Occupancies.ValueOf("OC_STANDBY"), 3);
  for (const char* text : {"HVAC_NUL", "hvac_heat", " HVAC_HEAT", "HVAC_HEAT ", ""}) {
    EXPECT_EQ(HvacModes.ValueOf(text), 255) << text;
  }
  EXPECT_EQ(Occupancies.ValueOf("OC_NUL"), 255);
  EXPECT_EQ(Occupancies.ValueOf(rt::Variant::Integer(1)), 255);
}

}  // namespace
}  // namespace points::testing
