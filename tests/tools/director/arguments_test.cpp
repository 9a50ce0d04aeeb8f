#include "arguments.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace director {
namespace {

TEST(DirectorArguments, ReadsOptionsProgramScriptAndPlugInOptions) {
  const Arguments read = ReadArguments({"--timeout", "2.5", "--quiet", "plug-in", "s.script", "--", "-x"});
  EXPECT_EQ(read.program, "plug-in");
  EXPECT_EQ(read.script, "s.script");
  EXPECT_EQ(read.session.replyTimeoutMs, 2500);
  EXPECT_FALSE(read.session.echo);
  EXPECT_EQ(read.pluginOptions, (std::vector<std::string>{"-Embedding", "-x"}));
}

TEST(DirectorArguments, AWrongWordIsNamedWithWhatItShouldBe) {
  const struct {
    std::vector<std::string> words;
    const char* message;
  } cases[] = {
      {{"--timeout", "abc", "p"}, "--timeout takes a number of seconds from 0 to 86400, not \"abc\""},
      {{"--timeout", "-1", "p"}, "--timeout takes a number of seconds from 0 to 86400, not \"-1\""},
      {{"--timeout", "1e9", "p"}, "--timeout takes a number of seconds from 0 to 86400, not \"1e9\""},
      {{"--timeout", "nan", "p"}, "--timeout takes a number of seconds from 0 to 86400, not \"nan\""},
      {{"p", "--timeout"}, "--timeout needs a number of seconds"},
      {{"--verbose", "p"}, "unexpected argument --verbose"},
      {{}, "no program given"},
  };
  for (const auto& c : cases) {
    try {
      ReadArguments(c.words);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const std::invalid_argument& bad) {
      EXPECT_STREQ(bad.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace director
