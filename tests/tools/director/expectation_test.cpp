#include "expectation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace director {
namespace {

const Json Success = Json::parse(
    R"({"seq":4,"verb":"get","ok":true,"value":{"type":"Integer","value":5},"lines":["a","b"],"svg":"<svg><text>Status</text></svg>"})");
const Json Failure = Json::parse(
    R"({"seq":5,"verb":"call","ok":false,"error":{"number":20003,"source":"Velmora OrvexUC_FCU Plug-In","description":"Command not supported"}})");

struct CheckCase {
  const char* line;
  const Json& reply;
  bool passes;
};

TEST(Expectation, ChecksTheLastReply) {
  const CheckCase cases[] = {
      {"expect ok", Success, true},
      {"expect ok", Failure, false},
      {"expect error", Failure, true},
      {"expect error", Success, false},
      {"expect error 20003", Failure, true},
      {"expect error 20004", Failure, false},
      {"expect value = {\"type\":\"Integer\",\"value\":5}", Success, true},
      {"expect value.value = 5", Success, true},
      {"expect value.value = 5.0", Success, true},
      {"expect value.value = \"5\"", Success, false},
      {"expect value.type = Integer", Success, true},
      {"expect lines.1 = b", Success, true},
      {"expect lines.2 = b", Success, false},
      {"expect error.description = Command not supported", Failure, true},
      {"expect error.source contains OrvexUC_FCU", Failure, true},
      {"expect svg contains <text>Status</text>", Success, true},
      {"expect svg contains Debug", Success, false},
      {"expect value contains 5", Success, false},
      {"expect missing.field = 1", Success, false},
      {"  expect\tok  ", Success, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(IsExpectLine(c.line));
    EXPECT_EQ(!CheckReply(ParseExpectation(c.line), c.reply).has_value(), c.passes);
  }
}

TEST(Expectation, AFailureSaysWhatWasFoundAndWhatWasWanted) {
  const auto failure = CheckReply(ParseExpectation("expect value.value = 6"), Success);
  ASSERT_TRUE(failure);
  EXPECT_EQ(*failure, "value.value is 5, expected 6");
  EXPECT_EQ(*CheckReply(ParseExpectation("expect error 20004"), Failure), "error 20003, expected error 20004");
}

TEST(Expectation, UnreadableLinesAreRefused) {
  for (const char* line : {"expect", "expect error many", "expect value", "expect value > 5"}) {
    SCOPED_TRACE(line);
    EXPECT_THROW(ParseExpectation(line), std::invalid_argument);
  }
}

TEST(Expectation, OnlyTheWordExpectMakesAnExpectLine) {
  EXPECT_TRUE(IsExpectLine("expect ended"));
  EXPECT_EQ(ParseExpectation("expect ended").kind, Expectation::Kind::Ended);
  EXPECT_FALSE(IsExpectLine("expected x=1"));
  EXPECT_FALSE(IsExpectLine("get object=1 member=expect"));
}

}  // namespace
}  // namespace director
