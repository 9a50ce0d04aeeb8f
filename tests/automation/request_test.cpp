#include "automation/request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace automation {
namespace {

using ::testing::HasSubstr;

struct LineCase {
  const char* line;
  const char* json;
};

TEST(RequestLine, ReadsJsonAndTheShortForm) {
  const LineCase cases[] = {
      {R"({"verb":"get","object":1,"member":"Count"})", R"({"verb":"get","object":1,"member":"Count"})"},
      {"  get object=1 member=Count", R"({"verb":"get","object":1,"member":"Count"})"},
      {"type form=fMain control=txtCP index=3 text=\"72.5 F\"",
       R"({"verb":"type","form":"fMain","control":"txtCP","index":3,"text":"72.5 F"})"},
      {"call object=2 member=Add args=[1, 2.5]", R"({"verb":"call","object":2,"member":"Add","args":[1,2.5]})"},
      {R"(let object=1 member=Count value={"type": "Byte", "value": 7})",
       R"({"verb":"let","object":1,"member":"Count","value":{"type":"Byte","value":7}})"},
      {"answer button=Yes", R"({"verb":"answer","button":"Yes"})"},
      {"key code=13 shift=true", R"({"verb":"key","code":13,"shift":true})"},
      {"choose path=C:\\LonWorks\\x.xif", R"({"verb":"choose","path":"C:\\LonWorks\\x.xif"})"},
      {"let object=1 member=Name value=\"say \\\"hi\\\"\"", R"({"verb":"let","object":1,"member":"Name","value":"say \"hi\""})"},
      {"verbs", R"({"verb":"verbs"})"},
      {"\v\fverbs\f", R"({"verb":"verbs"})"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ParseRequestLine(c.line), Json::parse(c.json));
  }
}

struct MalformedCase {
  std::string line;
  const char* reason;
};

TEST(RequestLine, RefusesALineItCannotReadWithTheReason) {
  const MalformedCase cases[] = {
      {R"({"verb":"get")", "not valid JSON"},
      {R"({"verb":5})", "no \"verb\""},
      {R"({"object":1})", "no \"verb\""},
      {"get object", "expected field=value, found \"object\""},
      {"get =5", "expected field=value"},
      {"let value=\"open", "unbalanced"},
      {"call args=[1,2", "unbalanced"},
      {"call args=[1,,2]", "is not valid JSON"},
      {"   ", "empty line"},
      {"\v\f\v", "empty line"},
      {std::string("{\"verb\":\"verbs\"}\0 x", 18), "a NUL byte"},
      // Neither form lets a byte through that is no part of a character.
      {"type text=\xC3", "not valid UTF-8"},
      {"type text=\"\xF0\x9F\x98\"", "not valid UTF-8"},
      {"let value=\xED\xA0\x80", "not valid UTF-8"},
      {"{\"verb\":\"type\",\"text\":\"\xC3\"}", "not valid UTF-8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    try {
      ParseRequestLine(c.line);
      ADD_FAILURE() << "accepted";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), rt::err::InvalidProcedureCall);
      EXPECT_EQ(e.Source(), "automation");
      EXPECT_THAT(e.Description(), HasSubstr(c.reason));
    }
  }
}

TEST(RequestLine, RefusesDeepNestingBeforeAnyJsonCodeSeesIt) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  for (const std::string& line : {R"({"verb":"call","args":)" + deep + "}", "call args=" + deep}) {
    try {
      ParseRequestLine(line);
      ADD_FAILURE() << "accepted";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Description(), "Malformed request: nested more than 32 levels deep");
    }
  }
  EXPECT_NO_THROW(ParseRequestLine("call args=" + std::string(32, '[') + std::string(32, ']')));
}

// 100,000 fields in 1 MiB: were they all taken, each would be looked for among those before it.
TEST(RequestLine, RefusesAnObjectWithMoreThan64Fields) {
  std::string shortFields;
  std::string jsonFields;
  for (int i = 0; i < 100000; ++i) {
    shortFields += " f" + std::to_string(i) + "=1";
    jsonFields += ",\"f" + std::to_string(i) + "\":1";
  }
  for (const std::string& line : {"get" + shortFields, R"({"verb":"get")" + jsonFields + "}",
                                  R"(call args=[{"type":"Empty")" + jsonFields + "}]"}) {
    try {
      ParseRequestLine(line);
      ADD_FAILURE() << "accepted";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Description(), "Malformed request: an object with more than 64 fields");
    }
  }
  EXPECT_EQ(ParseRequestLine("get" + shortFields.substr(0, shortFields.find(" f62=") + 5) + "2").size(), 64u);
}

TEST(RequestFields, MissingAndWronglyTypedFieldsGetClearErrors) {
  const Request request(Json::parse(R"({"verb":"x","n":1.5,"t":[1],"b":"yes","big":18446744073709551615})"));
  const auto number = [&](auto read) {
    try {
      read();
    } catch (const rt::Error& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { request.Text("missing"); }), rt::err::InvalidProcedureCall);
  EXPECT_EQ(number([&] { request.WholeNumber("n"); }), rt::err::TypeMismatch);
  EXPECT_EQ(number([&] { request.WholeNumber("big"); }), rt::err::TypeMismatch);
  EXPECT_EQ(number([&] { request.Text("t"); }), rt::err::TypeMismatch);
  EXPECT_EQ(number([&] { request.Flag("b", false); }), rt::err::TypeMismatch);
  EXPECT_EQ(request.Text("n"), "1.5");
  EXPECT_EQ(request.WholeNumber("absent", 7), 7);
  EXPECT_FALSE(request.OptionalText("absent"));
}

TEST(RequestLine, BlankLinesAndCommentsAreNoRequests) {
  EXPECT_TRUE(IsBlankOrComment(""));
  EXPECT_TRUE(IsBlankOrComment(" \t\r"));
  EXPECT_TRUE(IsBlankOrComment("\v\f"));
  EXPECT_TRUE(IsBlankOrComment("  # a note"));
  EXPECT_FALSE(IsBlankOrComment("verbs # not a comment"));
}

}  // namespace
}  // namespace automation
