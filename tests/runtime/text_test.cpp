#include "runtime/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, TrimRemovesBlanksOnly) {
  EXPECT_EQ(rt::Trim("  a b  "), "a b");
  EXPECT_EQ(rt::Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(rt::Trim("   "), "");
  EXPECT_EQ(rt::LTrim("  a  "), "a  ");
  EXPECT_EQ(rt::RTrim("  a  "), "  a");
}

TEST(TextTest, CaseIgnoresTheMachineLocale) {
  EXPECT_EQ(rt::UCase("/regPlugin \xE9"), "/REGPLUGIN \xE9");
  EXPECT_EQ(rt::LCase("/DeRegMode:-1"), "/deregmode:-1");
  EXPECT_TRUE(rt::EqualsNoCase("Config Online", "CONFIG ONLINE"));
  EXPECT_FALSE(rt::EqualsNoCase("RAW", "RAWS"));
}

TEST(TextTest, InStrCountsFromOne) {
  struct Case {
    const char* s;
    const char* what;
    size_t start;
    bool ignoreCase;
    size_t expected;
  } const cases[] = {
      {"FactoryTester = True", "TRUE", 1, true, 17},
      {"FactoryTester = True", "TRUE", 1, false, 0},
      {"a\tb\tc", "\t", 1, false, 2},
      {"a\tb\tc", "\t", 3, false, 4},
      {"a\tb\tc", "\t", 5, false, 0},
      {"abc", "", 2, false, 2},
      {"", "", 1, false, 0},
      {"abc", "c", 0, false, 3},
      {"abc", "c", 99, false, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::InStr(c.s, c.what, c.start, c.ignoreCase), c.expected) << c.s << "|" << c.what;
}

TEST(TextTest, LeftMidRightStayInsideTheText) {
  EXPECT_EQ(rt::Left("80071A5501030400", 14), "80071A55010304");
  EXPECT_EQ(rt::Left("ab", 5), "ab");
  EXPECT_EQ(rt::Right("80071A5501030400", 2), "00");
  EXPECT_EQ(rt::Right("ab", 5), "ab");
  EXPECT_EQ(rt::Mid("abcdef", 3), "cdef");
  EXPECT_EQ(rt::Mid("abcdef", 3, 2), "cd");
  EXPECT_EQ(rt::Mid("abcdef", 0, 2), "");
  EXPECT_EQ(rt::Mid("abcdef", 7), "");
  EXPECT_EQ(rt::Mid("abcdef", 6, 10), "f");
}

}  // namespace
