#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/text_points.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TextTest : public PointTest {
 protected:
  void SetText(const std::string& text) { Variable("nviText")->UnitWriteValue("SNVT_str_asc", Text(text)); }
};

// --- SNVT_str_asc ------------------------------------------------------------------------------

TEST_F(TextTest, TextTravelsInItsOwnFormat) {
  auto point = Bound<SNVT_str_asc>("nviText");
  point->put_Value("Dirty Air Filter");
  point->WriteNV();
  EXPECT_THAT(Sent("nviText"), ElementsAre(Quoted("Dirty Air Filter")));
  auto reader = Bound<SNVT_str_asc>("nviText");
  reader->ReadNV();
  EXPECT_EQ(reader->get_Value(), "Dirty Air Filter");
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TextTest, ATextOfThirtyCharactersIsReadAndOneOfThirtyOneRefused) {
  auto point = Bound<SNVT_str_asc>("nviText");
  std::string thirty(30, 'x');
  SetText(thirty);
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), thirty);
  SetText(thirty + "y");
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), thirty);
  EXPECT_THAT(Log(), ElementsAre("SNVT_str_asc.ReadNV - Unsupported format. Reset format in browser.."));
  SetText("");
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), "");
}

TEST_F(TextTest, TheReadLimitCountsCodeUnits) {
  for (const auto& [text, taken] : std::vector<std::pair<std::string, bool>>{
           {Repeated("\u00FC", 30), true}, {Repeated("\u00FC", 31), false},
           {Repeated("a", 29) + "\U0001F600", false}}) {  // a 4-byte character counts two
    ClearLog();
    auto recorded = Record<SNVT_str_asc>("SNVT_str_asc", Text(text));
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), taken ? text : "") << text;
    EXPECT_EQ(Log().empty(), taken) << text;
  }
}

TEST_F(TextTest, AReadSwitchesTheVariableToTheTextFormatSilently) {
  SetText("No Alarm");
  SetFormat("nviText", "RAW");
  auto point = Bound<SNVT_str_asc>("nviText");
  point->ReadNV();
  EXPECT_EQ(FormatOf("nviText"), "SNVT_str_asc");
  EXPECT_EQ(point->get_Value(), "No Alarm");
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TextTest, ARefusedSwitchKeepsTheTextWithoutForcing) {
  SetText("No Alarm");
  auto point = Bound<SNVT_str_asc>("nviText");
  point->ReadNV();
  SetFormat("nviText", "RAW");
  lns::RefuseFormatChanges("NetworkVariable:nviText");
  point->ReadNV();
  EXPECT_EQ(point->get_Value(), "No Alarm");
  EXPECT_EQ(FormatOf("nviText"), "RAW");
  EXPECT_THAT(Log(), ElementsAre("SNVT_str_asc.ReadNV - Unsupported DS format."));
}

TEST_F(TextTest, AWriteInAnyOtherFormatSendsNothingAndForcesNothing) {
  for (const char* format : {"RAW", "Raw", ""}) {
    ClearLog();
    SetFormat("nviText", format);
    auto point = Bound<SNVT_str_asc>("nviText");
    point->put_Value("Hello");
    lns::ClearJournal();
    point->WriteNV();
    EXPECT_THAT(Sent("nviText"), IsEmpty());
    EXPECT_EQ(FormatOf("nviText"), format);
    EXPECT_THAT(Log(), ElementsAre(std::string("SNVT_str_asc-StrToNV->") + format + "< not supported for ><"));
  }
}

TEST_F(TextTest, ALongTextIsSentWhole) {
  auto recorded = Record<SNVT_str_asc>("SNVT_str_asc", rt::Variant());
  std::string longText(40, 'z');
  recorded.point->put_Value(longText);
  recorded.point->WriteNV();
  EXPECT_THAT(recorded.variable->Puts(), ElementsAre(Text(longText)));
}

// --- UNVT_Byte ---------------------------------------------------------------------------------

TEST_F(TextTest, ByteWritesANumberInItsFormatsAndTextInRaw) {
  struct Case {
    const char* format;
    rt::Variant put;
  };
  for (const Case& c : {Case{"UNVT_Byte", rt::Variant::Byte(7)}, Case{"nviRec", rt::Variant::Byte(7)},
                        Case{"RAW", Text("7")}, Case{"Raw", Text("7")}, Case{"", Text("7")}}) {
    auto recorded = Record<UNVT_Byte>(c.format, rt::Variant());
    recorded.point->put_Value(7);
    recorded.point->WriteNV();
    EXPECT_THAT(recorded.variable->Puts(), ElementsAre(c.put)) << c.format;
  }
  auto point = Bound<UNVT_Byte>("nviByte");
  point->put_Value(7);
  point->WriteNV();
  EXPECT_THAT(Sent("nviByte"), ElementsAre("7"));
  EXPECT_EQ(BytesOf("nviByte"), lns::Bytes{7});
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TextTest, ByteSwitchesAnyOtherFormatToRawWithoutALogLine) {
  SetFormat("nviByte", "#80071A5501000000[4].UNVT_Byte");
  auto point = Bound<UNVT_Byte>("nviByte");
  point->put_Value(9);
  point->WriteNV();
  EXPECT_EQ(FormatOf("nviByte"), "RAW");
  EXPECT_THAT(Sent("nviByte"), ElementsAre(Quoted("9")));
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TextTest, ByteLogsOnlyTheFailedLineWhenTheSwitchIsRefused) {
  SetFormat("nviByte", "raw");
  lns::RefuseFormatChanges("NetworkVariable:nviByte");
  auto point = Bound<UNVT_Byte>("nviByte");
  point->put_Value(9);
  point->WriteNV();
  EXPECT_THAT(Sent("nviByte"), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("            Failed... DSFormatType = >raw<"));
}

TEST_F(TextTest, ByteWriteNumbersItsSteps) {
  auto point = Bound<UNVT_Byte>("nviByte");
  lns::FailMember("NetworkVariable:nviByte", "DsFormatType", lns::err::InjectedFault, lns::Repeat::Once);
  point->put_Value(1);
  point->WriteNV();
  lns::FailMember("NetworkVariable:nviByte", "Value", lns::err::InjectedFault);
  SetFormat("nviByte", "UNVT_Byte");
  point->put_Value(2);
  point->WriteNV();
  SetFormat("nviByte", "raw");
  point->put_Value(3);
  point->WriteNV();
  ASSERT_EQ(Log().size(), 3u);
  EXPECT_THAT(Log()[0], ::testing::EndsWith(" Line 10 UNVT_Byte.WriteNV"));
  EXPECT_THAT(Log()[1], ::testing::EndsWith(" Line 20 UNVT_Byte.WriteNV"));
  EXPECT_THAT(Log()[2], ::testing::EndsWith(" Line 40 UNVT_Byte.WriteNV"));
}

TEST_F(TextTest, ByteReadSwitchesToRawAndReadsTheDecimalByte) {
  for (const char* format : {"UNVT_Byte", "Raw", ""}) {
    SetFormat("nviByte", format);
    SetBytes("nviByte", {255});
    auto point = Bound<UNVT_Byte>("nviByte");
    point->ReadNV();
    EXPECT_EQ(point->get_Value(), 255) << format;
    EXPECT_EQ(FormatOf("nviByte"), "RAW") << format;
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(TextTest, ByteReadOfANonByteIsLoggedAndKeepsTheValue) {
  struct Case {
    const char* text;
    const char* line;
  };
  for (const Case& c : {Case{"256", "Err.Number(6)-Overflow Line 0 UNVT_Byte.ReadNV >nviRec<"},
                        Case{"3\t4", "Err.Number(13)-Type mismatch Line 0 UNVT_Byte.ReadNV >nviRec<"}}) {
    ClearLog();
    auto recorded = Record<UNVT_Byte>("RAW", Text(c.text));
    recorded.point->put_Value(5);
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), 5) << c.text;
    EXPECT_THAT(Log(), ElementsAre(c.line));
  }
}

}  // namespace
}  // namespace points::testing
