#include <gmock/gmock.h>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "point_fixture.h"
#include "points/nv/number_points.h"
#include "runtime/convert.h"

namespace points::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using orvex::test::ErrorNumberOf;

class NumberTest : public PointTest {
 protected:
  template <class T>
  double Read(const char* nvName, const char* format, const lns::Bytes& bytes) {
    SetFormat(nvName, format);
    SetBytes(nvName, bytes);
    auto point = Bound<T>(nvName);
    point->ReadNV();
    return point->get_Value();
  }
};

// --- SNVT_temp_p -------------------------------------------------------------------------------

TEST_F(NumberTest, TemperatureWritesTheNumberInEveryFormattedFormat) {
  struct Case {
    const char* format;
    double value;
    const char* sent;
  };
  // Celsius in "#SI", though the value is Fahrenheit like every temperature of the program.
  for (const Case& c : {Case{"SNVT_temp_p#US", 72.5, "72.5"}, Case{"SNVT_temp_p", 72.5, "72.5"},
                        Case{"SNVT_temp_p#SI", 72.5, "22.5"}, Case{"SNVT_temp_p#US_diff", 40.5, "40.5"}}) {
    EXPECT_THAT(Write<SNVT_temp_p>("nviTemp", c.format, c.value), ElementsAre(c.sent)) << c.format;
    EXPECT_EQ(BytesOf("nviTemp"), (lns::Bytes{8, 202})) << c.format;
  }
  auto recorded = Record<SNVT_temp_p>("SNVT_temp_p#US", rt::Variant());
  recorded.point->put_Value(72.5);
  recorded.point->WriteNV();
  EXPECT_THAT(recorded.variable->Puts(), ElementsAre(rt::Variant::Double(72.5)));
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(NumberTest, TemperatureRawWriteSendsHundredthsOfADegreeCelsiusAndLogsTheTextGrowing) {
  struct Case {
    double value;
    std::string sent;
  };
  for (const Case& c : {Case{72.5, "8\t202"}, Case{621.806, "127\t255"}, Case{32, "0\t0"}, Case{28.4, "255\t56"}}) {
    ClearLog();
    EXPECT_THAT(Write<SNVT_temp_p>("nviTemp", "RAW", c.value), ElementsAre(Quoted(c.sent))) << c.value;
    std::string hi = c.sent.substr(0, c.sent.find(Tab));
    EXPECT_THAT(Log(), ElementsAre("SNVT_temp_p.WriteNV - vOut>" + hi + "\t<", "SNVT_temp_p.WriteNV - vOut>" + c.sent + "<"));
  }
}

TEST_F(NumberTest, ARawTemperatureBeyondSixteenBitsIsRefusedNotWrapped) {
  EXPECT_THAT(Write<SNVT_temp_p>("nviTemp", "RAW", 700), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("Error-Overflow Line 20 SNVT_temp_p.WriteNV"));
}

TEST_F(NumberTest, TemperatureReadsEveryFormat) {
  struct Case {
    const char* format;
    lns::Bytes bytes;
    double value;
  };
  for (const Case& c : {Case{"SNVT_temp_p#US", {8, 202}, 72.5}, Case{"SNVT_temp_p", {8, 202}, 72.5},
                        Case{"SNVT_temp_p#SI", {8, 202}, 72.5}, Case{"SNVT_temp_p#US_diff", {8, 202}, 40.5},
                        Case{"RAW", {8, 202}, 72.5}, Case{"Raw", {127, 255}, 621.806}, Case{"", {255, 56}, 28.4}}) {
    EXPECT_NEAR(Read<SNVT_temp_p>("nviTemp", c.format, c.bytes), c.value, 1e-9) << c.format;
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(NumberTest, ARawTextWithASurplusTabFailsItsByteAndKeepsTheValue) {
  auto recorded = Record<SNVT_temp_p>("RAW", Text("8\t202\t1"));
  recorded.point->put_Value(50);
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.point->get_Value(), 50);
  EXPECT_THAT(Log(), ElementsAre("Err.Number(13)-Type mismatch Line 30 SNVT_temp_p.ReadNV >nviRec<"));
}

struct Refusal {
  const char* format;
  const char* text;
};

TEST_F(NumberTest, TemperatureRefusesAFormattedTextWithATabAndARawTextWithout) {
  for (const Refusal& c : {Refusal{"SNVT_temp_p#US", "72.5\t1"}, Refusal{"RAW", "2250"}}) {
    ClearLog();
    auto recorded = Record<SNVT_temp_p>(c.format, Text(c.text));
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), 0) << c.text;
    EXPECT_THAT(Log(), ElementsAre("SNVT_temp_p.ReadNV - Unsupported format. Reset format in browser..")) << c.text;
  }
}

TEST_F(NumberTest, AFormattedTextThatIsNoNumberIsLoggedAndKeepsTheValue) {
  auto recorded = Record<SNVT_temp_p>("SNVT_temp_p#US", Text("72,5"));
  recorded.point->put_Value(70);
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.point->get_Value(), 70);
  EXPECT_THAT(Log(), ElementsAre("Err.Number(13)-Type mismatch Line 30 SNVT_temp_p.ReadNV >nviRec<"));
}

TEST_F(NumberTest, TemperatureForcesAnUnknownFormatOnReadAndOnWrite) {
  SetFormat("nviTemp", "snvt_temp_p#us");
  auto point = Bound<SNVT_temp_p>("nviTemp");
  point->ReadNV();
  EXPECT_DOUBLE_EQ(point->get_Value(), 72.5);
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp_p.ReadNV - Unsupported DS format.", "            Data = >72.5<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
  ClearLog();
  SetFormat("nviTemp", "raw");
  point->put_Value(32);
  point->WriteNV();
  EXPECT_EQ(BytesOf("nviTemp"), (lns::Bytes{0, 0}));
  EXPECT_THAT(Log(), ElementsAre("SNVT_temp-StrToNV->raw< not supported for >8\t202<", "            Data = >8\t202<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success",
                                 "SNVT_temp_p.WriteNV - vOut>0\t<", "SNVT_temp_p.WriteNV - vOut>0\t0<"));
}

// --- SNVT_temp_p_US_diff -----------------------------------------------------------------------

TEST_F(NumberTest, DifferenceInATemperatureFormatTravelsWithTheOffsetAsAWholeNumber) {
  struct Case {
    double value;
    int32_t sent;
  };
  for (const Case& c : {Case{2.4, 34}, Case{2.5, 34}, Case{3.5, 36}}) {
    auto recorded = Record<SNVT_temp_p_US_diff>("SNVT_temp_p#US", rt::Variant());
    recorded.point->put_Value(c.value);
    recorded.point->WriteNV();
    EXPECT_THAT(recorded.variable->Puts(), ElementsAre(rt::Variant::Long(c.sent))) << c.value;
  }
  auto recorded = Record<SNVT_temp_p_US_diff>("SNVT_temp_p", Text("35"));
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.point->get_Value(), 3);
  EXPECT_THAT(Write<SNVT_temp_p_US_diff>("nviDiff", "SNVT_temp_p#US", 3.6), ElementsAre("36"));
  EXPECT_NEAR(Read<SNVT_temp_p_US_diff>("nviDiff", "SNVT_temp_p#US", {0, 200}), 3.6, 1e-9);
}

TEST_F(NumberTest, DifferenceInADifferenceFormatTravelsAsItIs) {
  for (const char* format : {"SNVT_temp_p#US_diff", "#0000000000000000[0].SNVT_temp_p#US_diff"}) {
    EXPECT_THAT(Write<SNVT_temp_p_US_diff>("nviDiff", format, 3.6), ElementsAre("3.6")) << format;
    EXPECT_EQ(BytesOf("nviDiff"), (lns::Bytes{0, 200})) << format;
    EXPECT_NEAR(Read<SNVT_temp_p_US_diff>("nviDiff", format, {255, 56}), -3.6, 1e-9) << format;
  }
  // Kelvins in "#SI".
  EXPECT_THAT(Write<SNVT_temp_p_US_diff>("nviDiff", "SNVT_temp_p#SI", 3.6), ElementsAre("2"));
  EXPECT_EQ(BytesOf("nviDiff"), (lns::Bytes{0, 200}));
  EXPECT_NEAR(Read<SNVT_temp_p_US_diff>("nviDiff", "SNVT_temp_p#SI", {255, 56}), -3.6, 1e-9);
}

TEST_F(NumberTest, DifferenceRawWriteIsTheInverseOfItsRawRead) {
  struct Case {
    double value;
    std::string sent;
    lns::Bytes bytes;
  };
  for (const Case& c : {Case{3.6, "0\t200", {0, 200}}, Case{-3.6, "255\t56", {255, 56}}, Case{0, "0\t0", {0, 0}}}) {
    EXPECT_THAT(Write<SNVT_temp_p_US_diff>("nviDiff", "RAW", c.value), ElementsAre(Quoted(c.sent))) << c.value;
    EXPECT_NEAR(Read<SNVT_temp_p_US_diff>("nviDiff", "RAW", c.bytes), c.value, 1e-9) << c.value;
  }
  EXPECT_THAT(Log(), IsEmpty());
}

// --- SNVT_lev_percent --------------------------------------------------------------------------

TEST_F(NumberTest, LevelTravelsInItsFormatsAndRawInFiveThousandthsOfAPercent) {
  for (const char* format : {"SNVT_lev_percent", "#0000000000000000[0].SNVT_lev_percent"}) {
    EXPECT_THAT(Write<SNVT_lev_percent>("nviLevel", format, 35.5), ElementsAre("35.5")) << format;
    EXPECT_NEAR(Read<SNVT_lev_percent>("nviLevel", format, {39, 16}), 50, 1e-9) << format;
  }
  ClearLog();
  EXPECT_THAT(Write<SNVT_lev_percent>("nviLevel", "RAW", 50), ElementsAre(Quoted("39\t16")));
  EXPECT_THAT(Log(), ElementsAre("SNVT_lev_percent.WriteNV - vOut>39\t<", "SNVT_lev_percent.WriteNV - vOut>39\t16<"));
  EXPECT_NEAR(Read<SNVT_lev_percent>("nviLevel", "RAW", {39, 16}), 50, 1e-9);
  EXPECT_NEAR(Read<SNVT_lev_percent>("nviLevel", "", {255, 255}), -0.005, 1e-12);
}

// --- SNVT_count, SNVT_time_min, SNVT_time_sec --------------------------------------------------

TEST_F(NumberTest, CountReadsItsFormattedTextIntoAWholeNumber) {
  struct Case {
    rt::Variant value;
    double expected;
  };
  for (const Case& c : {Case{Text("123"), 123}, Case{Text("12.5"), 12}, Case{Text("13.5"), 14},
                        Case{rt::Variant::Long(300), 300}}) {
    auto recorded = Record<SNVT_count>("SNVT_count", c.value);
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), c.expected) << c.value.ToString();
  }
  EXPECT_EQ(Read<SNVT_count>("nviCount", "SNVT_count", {1, 44}), 300);
}

TEST_F(NumberTest, CountRefusalNamesTheVariable) {
  for (const Refusal& c : {Refusal{"SNVT_count", "1\t44"}, Refusal{"RAW", "300"}}) {
    ClearLog();
    auto recorded = Record<SNVT_count>(c.format, Text(c.text), "nviCount");
    recorded.point->ReadNV();
    EXPECT_EQ(recorded.point->get_Value(), 0);
    EXPECT_THAT(Log(), ElementsAre("SNVT_count.ReadNV - Error >nviCount< data not initialized.")) << c.text;
  }
}

TEST_F(NumberTest, TimeRefusalsAreTheUsualLine) {
  auto minutes = Record<SNVT_time_min>("RAW", Text("300"));
  minutes.point->ReadNV();
  auto seconds = Record<SNVT_time_sec>("SNVT_time_sec", Text("2\t5"));
  seconds.point->ReadNV();
  EXPECT_THAT(Log(), ElementsAre("SNVT_time_min.ReadNV - Unsupported format. Reset format in browser..",
                                 "SNVT_time_sec.ReadNV - Unsupported format. Reset format in browser.."));
}

TEST_F(NumberTest, CountAndTimeRawValuesAreUnsigned) {
  struct Case {
    lns::Bytes bytes;
    double count;
  };
  for (const Case& c : {Case{{1, 44}, 300}, Case{{255, 255}, 65535}, Case{{128, 0}, 32768}}) {
    EXPECT_EQ(Read<SNVT_count>("nviCount", "RAW", c.bytes), c.count);
    EXPECT_EQ(Read<SNVT_time_min>("nviMinutes", "Raw", c.bytes), c.count);
    EXPECT_DOUBLE_EQ(Read<SNVT_time_sec>("nviSeconds", "", c.bytes), c.count / 10);
  }
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(NumberTest, CountAndTimeRawWritesAreTheInverseOfTheirReads) {
  EXPECT_THAT(Write<SNVT_count>("nviCount", "RAW", 300), ElementsAre(Quoted("1\t44")));
  EXPECT_THAT(Write<SNVT_time_min>("nviMinutes", "RAW", 65535), ElementsAre(Quoted("255\t255")));
  EXPECT_THAT(Write<SNVT_time_sec>("nviSeconds", "RAW", 2.5), ElementsAre(Quoted("0\t25")));
  EXPECT_EQ(BytesOf("nviSeconds"), (lns::Bytes{0, 25}));
  EXPECT_THAT(Write<SNVT_time_sec>("nviSeconds", "SNVT_time_sec", 2.5), ElementsAre("2.5"));
  EXPECT_EQ(BytesOf("nviSeconds"), (lns::Bytes{0, 25}));
  EXPECT_DOUBLE_EQ(Read<SNVT_time_sec>("nviSeconds", "SNVT_time_sec", {0, 25}), 2.5);
  EXPECT_THAT(Log(), IsEmpty());
}

TEST_F(NumberTest, WholeValuesRoundOnLetAndRefuseWhatALongCannotHold) {
  SNVT_count count;
  count.put_Value(2.5);
  EXPECT_EQ(count.get_Value(), 2);
  count.put_Value(70000);
  EXPECT_EQ(count.get_Value(), 70000);
  SNVT_time_min minutes;
  EXPECT_EQ(ErrorNumberOf([&] { minutes.put_Value(3e9); }), rt::err::Overflow);
  EXPECT_EQ(minutes.get_Value(), 0);
  EXPECT_FALSE(minutes.get_Changed());
  SNVT_time_sec seconds;
  seconds.put_Value(2.25);
  EXPECT_EQ(seconds.get_Value(), 2.25);
}

TEST_F(NumberTest, AWholeValueBeyondTheRawRangeIsSentFormattedButNotRaw) {
  auto recorded = Record<SNVT_count>("SNVT_count", rt::Variant());
  recorded.point->put_Value(70000);
  recorded.point->WriteNV();
  EXPECT_THAT(recorded.variable->Puts(), ElementsAre(rt::Variant::Long(70000)));
  EXPECT_THAT(Write<SNVT_count>("nviCount", "RAW", 70000), IsEmpty());
  EXPECT_THAT(Log(), ElementsAre("Error-Overflow Line 0 SNVT_count.WriteNV"));
}

TEST_F(NumberTest, CountReadNumbersItsSteps) {
  auto point = Bound<SNVT_count>("nviCount");
  lns::FailMember("NetworkVariable:nviCount", "DsFormatType", lns::err::InjectedFault, lns::Repeat::Once);
  point->ReadNV();
  ASSERT_FALSE(Log().empty());
  EXPECT_THAT(Log().front(), ::testing::StartsWith("Err.Number(-2147203317)-"));
  EXPECT_THAT(Log().front(), ::testing::EndsWith(" Line 10 SNVT_count.ReadNV >nviCount<"));
}

TEST_F(NumberTest, AFormatNameWithASuffixIsUnknownToTheCountAndTimeClasses) {
  auto recorded = Record<SNVT_time_sec>("SNVT_time_sec#SI", Text("2.5"));
  recorded.variable->SetValue(Text("0\t25"));
  recorded.point->ReadNV();
  EXPECT_EQ(recorded.variable->Format(), "RAW");
  EXPECT_DOUBLE_EQ(recorded.point->get_Value(), 2.5);
  EXPECT_THAT(Log(), ElementsAre("SNVT_time_sec.ReadNV - Unsupported DS format.", "            Data = >0\t25<",
                                 "            Attempting to force to >RAW< DSformatType...", "            Success"));
}

}  // namespace
}  // namespace points::testing
