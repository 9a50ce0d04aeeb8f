#include "runtime/convert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cfloat>
#include <cmath>
#include <functional>

#include "runtime/error.h"
#include "support/error_number.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using orvex::test::ErrorNumberOf;

struct TextToNumber {
  const char* text;
  double expected;
};

TEST(ValTest, ReadsTheLongestLeadingNumber) {
  const TextToNumber cases[] = {
      {"12.5xyz", 12.5},  {"no number", 0},     {"", 0},           {"72.5", 72.5},       {" 1 2\t.\n5", 12.5},
      {"-3.25", -3.25},   {"+7", 7},            {".5", 0.5},       {"5.", 5},            {"1e3", 1000},
      {"1E+2x", 100},     {"2.5e-1", 0.25},     {"1e", 1},         {"1e+", 1},           {"3D2", 300},
      {"1,000", 1},       {"72.5\t12", 72.512}, {"--5", 0},        {"1e-400", 0},        {"&hFFFF", -1},
      {"&H01F4", 500},    {"&h7F", 127},        {"&H8000", -32768}, {"&H10000", 65536},  {"&HFFFFFFFF", -1},
      {"&H1F4zz", 500},   {"&O17", 15},         {"&o177777", -1},  {"&hZZ", 0},          {"&", 0},
      {"&H123456789", 4886718345.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::Val(c.text), c.expected) << c.text;
}

TEST(ValTest, AHugeExponentGivesTheLargestNumberInsteadOfFailing) {
  EXPECT_EQ(rt::Val("1e400"), DBL_MAX);
  EXPECT_EQ(rt::Val("-1e400"), -DBL_MAX);
}

// The same rule, telling a text without a number from one that starts with 0, and refusing a
// number that does not fit.
TEST(LeadingNumberTest, GivesNothingWithoutANumberAndRefusesAnOverflow) {
  for (const char* none : {"", "no number", "--5", "&hZZ", "-", "."}) EXPECT_FALSE(rt::LeadingNumber(none)) << none;
  for (const TextToNumber& c : {TextToNumber{"0", 0}, {" 0.0abc", 0}, {"-1.5e2x", -150}, {"&H1F4", 500}}) {
    EXPECT_EQ(rt::LeadingNumber(c.text), c.expected) << c.text;
  }
  for (const char* huge : {"1e400", "-1e999", "&H123456789"}) {
    EXPECT_EQ(ErrorNumberOf([&] { rt::LeadingNumber(huge); }), rt::err::Overflow) << huge;
  }
}

TEST(ParseNumberTest, AcceptsWholeNumberTexts) {
  const TextToNumber cases[] = {
      {"72.5", 72.5},   {"  72.5  ", 72.5}, {"-1", -1},       {"+3", 3},          {"0", 0},
      {".5", 0.5},      {"5.", 5},          {"1e3", 1000},    {"2.5E-1", 0.25},   {"&hFF", 255},
      {"&h00", 0},      {"&hFFFF", -1},     {"&H8000", -32768}, {"&H10000", 65536}, {"&HFFFFFFFF", -1},
      {"&O10", 8},      {"1e-400", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::ParseNumber(c.text), c.expected) << c.text;
}

TEST(ParseNumberTest, RefusesWhatIsNotANumber) {
  struct Case {
    const char* text;
    int error;
  } const cases[] = {
      {"", 13},         {"   ", 13},       {"12.5xyz", 13}, {"72,5", 13}, {"1,000", 13}, {"abc", 13},
      {"1e", 13},       {"+", 13},         {".", 13},       {"&h", 13},   {"&hZZ", 13},   {"&h1G", 13},
      {"\t5", 13},      {"1 2", 13},       {"nan", 13},     {"inf", 13},  {"1e400", 6},   {"-1e400", 6},
      {"&H123456789", 6},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf([&] { rt::ParseNumber(c.text); }), c.error) << c.text;
}

// The machine's locale must not change any conversion: a decimal-comma locale would otherwise read
// "72.5" as 725 (with "." grouping) or fail.
TEST(ParseNumberTest, IgnoresTheMachineLocale) {
  const char* before = std::setlocale(LC_ALL, nullptr);
  std::string saved = before ? before : "C";
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      switched = true;
      break;
    }
  }
  EXPECT_DOUBLE_EQ(rt::ParseNumber("72.5"), 72.5);
  EXPECT_DOUBLE_EQ(rt::Val("72.5"), 72.5);
  EXPECT_EQ(rt::NumberText(72.5), "72.5");
  EXPECT_EQ(rt::OneDecimalText(0.25), "0.3");
  EXPECT_EQ(ErrorNumberOf([] { rt::ParseNumber("72,5"); }), 13);
  std::setlocale(LC_ALL, saved.c_str());
  if (!switched) GTEST_SKIP() << "no decimal-comma locale installed; checked under the default one";
}

TEST(WholeNumberTest, RoundsHalvesToEvenAndChecksTheRange) {
  struct Case {
    double value;
    int expected;  // -99999 for an overflow
  };
  const Case integers[] = {{72.5, 72},   {73.5, 74},        {-2.5, -2},      {0.5, 0},         {1.5, 2},
                           {-0.4, 0},    {32767.4, 32767},  {32767.5, -99999}, {-32768.5, -32768}, {-32768.6, -99999},
                           {NAN, -99999}, {INFINITY, -99999}};
  for (const auto& c : integers) {
    if (c.expected == -99999) {
      EXPECT_EQ(ErrorNumberOf([&] { rt::DoubleToInteger(c.value); }), 6) << c.value;
    } else {
      EXPECT_EQ(rt::DoubleToInteger(c.value), c.expected) << c.value;
    }
  }
  const Case bytes[] = {{255.4, 255}, {255.5, -99999}, {-0.5, 0}, {-0.6, -99999}, {254.5, 254}, {-1, -99999}};
  for (const auto& c : bytes) {
    if (c.expected == -99999) {
      EXPECT_EQ(ErrorNumberOf([&] { rt::DoubleToByte(c.value); }), 6) << c.value;
    } else {
      EXPECT_EQ(rt::DoubleToByte(c.value), c.expected) << c.value;
    }
  }
  EXPECT_EQ(rt::DoubleToLong(70000), 70000);
  EXPECT_EQ(rt::DoubleToLong(-2147483648.0), INT32_MIN);
  EXPECT_EQ(rt::DoubleToLong(2147483646.5), 2147483646);
  EXPECT_EQ(ErrorNumberOf([] { rt::DoubleToLong(2147483647.5); }), 6);
}

struct NumberToText {
  double value;
  const char* expected;
};

TEST(NumberTextTest, FifteenSignificantDigitsWithoutPadding) {
  const NumberToText cases[] = {
      {200, "200"},
      {72.5, "72.5"},
      {-1, "-1"},
      {0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {100000000000000.0, "100000000000000"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E+15"},
      {123456789012345678.0, "1.23456789012346E+17"},
      {0.0001, "0.0001"},
      {0.000123456789012345, "0.000123456789012345"},
      {0.00001, "1E-05"},
      {-2.5e-7, "-2.5E-07"},
      {1e300, "1E+300"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::NumberText(c.value), c.expected) << c.value;
}

TEST(OneDecimalTextTest, HalvesAwayFromZero) {
  const NumberToText cases[] = {
      {50, "50.0"}, {0.25, "0.3"}, {7, "7.0"}, {-0.25, "-0.3"}, {0.04, "0.0"}, {72.04, "72.0"}, {-7.15, "-7.2"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::OneDecimalText(c.value), c.expected) << c.value;
}

TEST(FormatTest, DisplayPatterns) {
  struct Case {
    double value;
    const char* pattern;
    const char* expected;
  } const cases[] = {
      {0, "#0.0", "0.0"},       {12, "#0.0", "12.0"},     {2.25, "#0.0", "2.3"},    {71.96, "#0.0", "72.0"},
      {-3.25, "#0.0", "-3.3"},  {-40, "#0.0", "-40.0"},   {620.96, "#0.0", "621.0"}, {1.05, "#0.0", "1.1"},
      {119.5, "#0", "120"},     {1200, "#0", "1200"},     {-119.5, "#0", "-120"},   {0.4, "#0", "0"},
      {0.46, "#.0", ".5"},      {72.04, "#.0", "72.0"},   {0, "#.0", ".0"},         {-0.46, "#.0", "-.5"},
      {7, "00", "07"},          {2.5, "0", "3"},          {2.345, "0.00", "2.35"},  {1.005, "0.00", "1.01"}, {2.5, "#.##", "2.5"},
      {2, "#.##", "2."},       {1, "0#", "01"},         {7, "#0#", "07"},        {1e20, "#0", "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::Format(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
}

// A negative value that rounds to zero shows no minus sign.
TEST(FormatTest, NegativeRoundingToZeroHasNoSign) {
  EXPECT_EQ(rt::Format(-0.04, "#0.0"), "0.0");
  EXPECT_EQ(rt::Format(-0.04, "#.0"), ".0");
  EXPECT_EQ(rt::Format(-0.4, "#0"), "0");
}

TEST(FormatTest, AnUnknownPatternIsAnInvalidArgument) {
  for (const char* pattern : {"", "#,##0.0", "0.0%", "abc", "0.0.0"}) {
    EXPECT_EQ(ErrorNumberOf([&] { rt::Format(1, pattern); }), rt::err::InvalidProcedureCall) << pattern;
  }
}

TEST(RoundDecimalTextTest, TiesGoToTheEvenDigitOfTheDecimalText) {
  struct Case {
    double value;
    double expected;
  } const cases[] = {
      {2.25, 2.2}, {2.75, 2.8}, {33.333, 33.3}, {-2.25, -2.2}, {0.05, 0}, {0.15, 0.2}, {72.04, 72.0},
      {0.1 + 0.2 + 0.05, 0.4}, {1e20, 1e20},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::RoundDecimalText(c.value), c.expected) << c.value;
}

TEST(JoinTest, PutsOneDelimiterBetweenPieces) {
  EXPECT_EQ(rt::Join({}, '\t'), "");
  EXPECT_EQ(rt::Join({"1"}, '\t'), "1");
  EXPECT_EQ(rt::Join({"1", "244"}, '\t'), "1\t244");
  EXPECT_EQ(rt::Join({"100.0", "1"}, ' '), "100.0 1");
  EXPECT_EQ(rt::Join({"", ""}, ','), ",");
}

TEST(CountAndSplitTest, CountsUpToTheLimitAndKeepsTheSurplusInTheLastField) {
  struct Case {
    const char* text;
    char delimiter;
    int limit;
    int required;
    std::vector<std::string> fields;  // empty: refused
  } const cases[] = {
      {"100.0 1", ' ', 5, 1, {"100.0", "1"}},
      {"100.0 1 2", ' ', 5, 1, {}},
      {"100.0", ' ', 5, 1, {}},
      {"200\t1", '\t', 2, 1, {"200", "1"}},
      {"200\t1\t7", '\t', 2, 1, {}},
      {"1\t244", '\t', 1, 1, {"1", "244"}},
      {"1\t244\t9", '\t', 1, 1, {"1", "244\t9"}},
      {"72.5", '\t', 5, 0, {"72.5"}},
      {"72.5\t1", '\t', 5, 0, {}},
      {"", '\t', 5, 0, {""}},
      {"\t", '\t', 1, 1, {"", ""}},
      {"a,b,c", ',', 3, 2, {"a", "b", "c"}},
      {"a,,c,", ',', 3, 3, {"a", "", "c", ""}},
      {"a b", ' ', 0, 1, {}},
  };
  for (const auto& c : cases) {
    auto fields = rt::CountAndSplit(c.text, c.delimiter, c.limit, c.required);
    if (c.fields.empty()) {
      EXPECT_FALSE(fields.has_value()) << c.text;
    } else {
      ASSERT_TRUE(fields.has_value()) << c.text;
      EXPECT_THAT(*fields, ElementsAreArray(c.fields)) << c.text;
    }
  }
}

TEST(CountAndSplitTest, SplitsWhatJoinComposed) {
  std::vector<std::string> pieces{"1", "244", "0"};
  auto fields = rt::CountAndSplit(rt::Join(pieces, '\t'), '\t', 2, 2);
  ASSERT_TRUE(fields.has_value());
  EXPECT_THAT(*fields, ElementsAre("1", "244", "0"));
}

}  // namespace
