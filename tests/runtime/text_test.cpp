#include "runtime/text.h"

#include <gtest/gtest.h>

namespace {

// Characters of 1, 2, 3 and 4 bytes; the last is two code units.
const std::string A = "a", U = "\u00FC", E = "\u20AC", G = "\U0001F600";

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

TEST(TextTest, CountsCodeUnitsAndCutsWholeCharacters) {
  struct Case {
    std::string text;
    size_t len, n;
    std::string left, right, midFromTwo;
  } const cases[] = {
      {A + U + E + G, 5, 4, A + U + E, U + E + G, U + E + G},
      {A + U + E + G, 5, 3, A + U + E, E + G, U + E},
      {A + U + E + G, 5, 1, A, "", U},
      {G + A, 3, 1, "", A, A},
      {G + A, 3, 2, G, A, A},
      // A byte that begins no sequence is one unit, kept as it is.
      {"\xF0\x9F" + G, 4, 3, "\xF0\x9F", "\x9F" + G, "\x9F" + G},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " " + std::to_string(c.n));
    EXPECT_EQ(rt::Len(c.text), c.len);
    EXPECT_EQ(rt::Left(c.text, c.n), c.left);
    EXPECT_EQ(rt::Right(c.text, c.n), c.right);
    EXPECT_EQ(rt::Mid(c.text, 2, c.n), c.midFromTwo);
  }
  EXPECT_EQ(rt::InStr(U + E + G + A, A), 5u);
  EXPECT_EQ(rt::InStr(G + G, G, 2), 3u);
  EXPECT_EQ(rt::InStr(U, "\xBC"), 0u);
}

TEST(TextTest, InStrFromAStartInsideOrBeyondMultiByteText) {
  struct Case {
    std::string s, what;
    size_t start;
    bool ignoreCase;
    size_t expected;
  } const cases[] = {
      {A + U + E + G + A, E, 3, false, 3},
      {A + U + E + G + A, A, 2, false, 6},
      {G + A + G, "A", 2, true, 3},  // a start inside a character begins after it
      {G + "x" + G + "X", "x", 4, true, 6},
      {A + U + E, "", 4, false, 4},
      {A + U + E, "", 5, false, 0},
      {U + "\xBC", "\xBC", 1, false, 2},  // the match inside the first character does not count
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::InStr(c.s, c.what, c.start, c.ignoreCase), c.expected) << c.s << "|" << c.what << "|" << c.start;
  }
}

TEST(TextTest, CharactersGoToAndFromUtf8AtEachLengthsBounds) {
  for (uint32_t code : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    const std::string utf8 = rt::Utf8(code);
    EXPECT_TRUE(rt::IsUtf8(utf8)) << code;
    EXPECT_EQ(rt::FirstCharacter(utf8 + A).code, code);
    EXPECT_EQ(rt::FirstCharacter(utf8 + A).bytes, utf8.size());
    EXPECT_EQ(rt::LastCharacter(A + utf8).code, code);
    EXPECT_EQ(rt::LastCharacter(A + utf8).bytes, utf8.size());
  }
  EXPECT_EQ(rt::LastCharacter(U + "\xBC").bytes, 1u) << "a byte that begins no sequence stands alone";
  EXPECT_EQ(rt::LastCharacter("\xF0\x9F" + G).bytes, 4u);
  for (uint32_t none : {0xD800u, 0xDFFFu, 0x110000u}) EXPECT_EQ(rt::Utf8(none), "") << none;
  EXPECT_EQ(rt::FirstCharacter("\xED\xA0\x80").code, U'\uFFFD') << "a surrogate is no character";
}

}  // namespace
