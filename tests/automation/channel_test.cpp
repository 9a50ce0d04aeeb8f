#include "automation/channel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace automation {
namespace {

using ::testing::HasSubstr;

Json Reply(Channel& channel, std::string_view line) {
  const auto reply = channel.Execute(line);
  if (!reply) return nullptr;
  return Json::parse(*reply);
}

struct ErrorCase {
  const char* line;
  int32_t number;
  const char* description;
};

TEST(Channel, EveryBadLineGetsAnErrorReplyAndTheChannelGoesOn) {
  Channel channel;
  channel.AddVerb("fail", "", [](const Request&) -> Json { throw std::runtime_error("broken"); });
  channel.AddVerb("field", "", [](const Request& r) { return Json{{"n", r.WholeNumber("n")}}; });
  const ErrorCase cases[] = {
      {"{not json", 5, "Malformed request: not valid JSON"},
      {"[1,2]", 9, "Unknown verb \"[1,2]\""},
      {"frobnicate x=1", 9, "Unknown verb \"frobnicate\""},
      {"field", 5, "Malformed request: missing field \"n\""},
      {"field n=abc", 13, "Field \"n\" must be a whole number"},
      {"fail", 51, "broken"},
  };
  int64_t seq = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Json reply = Reply(channel, c.line);
    EXPECT_EQ(reply["seq"], ++seq);
    EXPECT_EQ(reply["ok"], false);
    EXPECT_EQ(reply["error"]["number"], c.number);
    EXPECT_EQ(reply["error"]["description"], c.description);
  }
  const Json after = Reply(channel, "field n=4");
  EXPECT_EQ(after["ok"], true);
  EXPECT_EQ(after["n"], 4);
  EXPECT_EQ(after["seq"], seq + 1);
}

TEST(Channel, ReplyCarriesSeqVerbIdAndTheHandlersFields) {
  Channel channel;
  channel.AddVerb("echo", "", [](const Request& r) { return Json{{"text", r.Text("text")}}; });
  EXPECT_EQ(Reply(channel, R"({"verb":"echo","text":"hi","id":"a7"})"),
            Json::parse(R"({"seq":1,"verb":"echo","id":"a7","ok":true,"text":"hi"})"));
}

TEST(Channel, BlankLinesAndCommentsGetNoReplyAndNoNumber) {
  Channel channel;
  EXPECT_FALSE(channel.Execute("").has_value());
  EXPECT_FALSE(channel.Execute("# note").has_value());
  EXPECT_EQ(Reply(channel, "verbs")["seq"], 1);
}

TEST(Channel, AVerbAddedAgainReplacesTheOldOneAndVerbsListsThem) {
  Channel channel;
  channel.AddVerb("log", "old", [](const Request&) { return Json{{"lines", 1}}; });
  channel.AddVerb("log", "the log", [](const Request&) { return Json{{"lines", 2}}; });
  EXPECT_EQ(Reply(channel, "log")["lines"], 2);
  const Json verbs = Reply(channel, "verbs")["verbs"];
  EXPECT_EQ(verbs["log"], "the log");
  EXPECT_TRUE(verbs.contains("verbs"));
  EXPECT_EQ(Reply(channel, "help")["verbs"], verbs);
}

TEST(Channel, EventsGoToTheSinkAsOneLine) {
  Channel channel;
  std::vector<std::string> lines;
  channel.SetOutput([&](const std::string& line) { lines.push_back(line); });
  channel.Execute("verbs");
  channel.Notify({{"event", "msgbox"}, {"text", "Delete?"}});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Json::parse(lines[0]), Json::parse(R"({"seq":1,"event":"msgbox","text":"Delete?"})"));
  EXPECT_THAT(lines[0], ::testing::Not(HasSubstr("\n")));
}

}  // namespace
}  // namespace automation
