#include "session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "machine_folder.h"
#include "support/eventually.h"

namespace director {
namespace {

using ::testing::HasSubstr;

class DirectorSession : public ::testing::Test {
 protected:
  DirectorSession() {
    // As the director's main: a line written to a plug-in that has just ended must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    PluginProcess registration(TEST_SERVER, {"/regserver"});
    registration.CloseInput();
    registration.WaitForEnd(60000);
  }

  ExitCode Run(PluginProcess& plugin, const std::string& script, SessionOptions options = {}) {
    std::istringstream lines(script);
    Session session(plugin, out, diagnostics, options);
    return session.Run(lines, "test.script");
  }
  ExitCode RunServer(const std::string& script) {
    PluginProcess plugin(TEST_SERVER, {"-Embedding", "--virtual-clock"});
    return Run(plugin, script);
  }

  automation::testing::ScopedMachineFolder machine;
  std::ostringstream out;
  std::ostringstream diagnostics;
};

TEST_F(DirectorSession, AScriptThatHoldsEndsWithSuccess) {
  EXPECT_EQ(RunServer("# a note\ncreate progid=Orvex.TestObject\nexpect object = 1\n\nverbs\nexpect ok\n"), Success);
  EXPECT_THAT(out.str(), HasSubstr("> create progid=Orvex.TestObject\n{\"seq\":1,\"verb\":\"create\",\"ok\":true"));
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(DirectorSession, AFailedExpectationStopsTheScriptAndSaysWhere) {
  EXPECT_EQ(RunServer("create progid=Orvex.TestObject\nexpect object = 2\nverbs\n"), ExpectationFailed);
  EXPECT_THAT(diagnostics.str(), HasSubstr("test.script:2: expectation failed: object is 1, expected 2"));
  EXPECT_THAT(out.str(), ::testing::Not(HasSubstr("> verbs")));
}

TEST_F(DirectorSession, AnExpectationBeforeAnyReplyFails) {
  EXPECT_EQ(RunServer("expect ok\n"), ExpectationFailed);
  EXPECT_THAT(diagnostics.str(), HasSubstr("there is no reply yet"));
}

TEST_F(DirectorSession, AnUnreadableExpectLineIsAUsageError) {
  EXPECT_EQ(RunServer("verbs\nexpect value >< 3\n"), UsageError);
  EXPECT_THAT(diagnostics.str(), HasSubstr("test.script:2: cannot read this expect line"));
}

TEST_F(DirectorSession, APlugInThatEndsIsNoticedAndTheRestIsNotSent) {
  EXPECT_EQ(RunServer("create progid=Orvex.TestObject\ncall object=1 member=Quit\nverbs\n"), PluginEnded);
  EXPECT_THAT(diagnostics.str(), HasSubstr("the plug-in process ended (exit status 0)"));
  // Sent or not, depending on when the director sees the end, the line gets no reply.
  EXPECT_THAT(diagnostics.str(),
              ::testing::MatchesRegex(".*test.script:3: (not sent|no reply), the plug-in process has ended.*"));
}

TEST_F(DirectorSession, ExpectEndedPassesOnlyOnceThePlugInHasEnded) {
  EXPECT_EQ(RunServer("create progid=Orvex.TestObject\ncall object=1 member=Quit\nexpect ended\n"), Success);
  SessionOptions brief;
  brief.replyTimeoutMs = 200;  // how long "expect ended" waits for a plug-in that stays
  PluginProcess plugin(TEST_SERVER, {"-Embedding"});
  EXPECT_EQ(Run(plugin, "expect ended\n", brief), ExpectationFailed);
  EXPECT_THAT(diagnostics.str(), HasSubstr("the plug-in process is still running"));
}

TEST_F(DirectorSession, AQuestionLetsTheNextLineAnswerIt) {
  EXPECT_EQ(RunServer("create progid=Orvex.TestObject\ncall object=1 member=Ask args=[\"Go on?\"]\n"
                      "verbs\nexpect waiting = true\nanswer button=No\nexpect value.value = 7\n"),
            Success)
      << diagnostics.str();
  EXPECT_THAT(out.str(), HasSubstr("\"event\":\"question\""));
}

TEST_F(DirectorSession, AClassNotRegisteredNamesTheMachineFolder) {
  SessionOptions options;
  options.machineFolder = "/the/machine";
  PluginProcess plugin(TEST_SERVER, {"-Embedding"});
  EXPECT_EQ(Run(plugin, "create progid=Orvex.NoSuchObject\ncreate progid=Orvex.TestObject\n", options), Success);
  EXPECT_EQ(diagnostics.str(), "director: test.script:1: no plug-in is registered in the machine folder /the/machine"
                               " (ORVEX_MACHINE chooses it)\n");
}

TEST_F(DirectorSession, AClassNotRegisteredWhereOthersAreNamesThem) {
  SessionOptions options;
  options.machineFolder = machine.Path().string();
  options.registeredProgIds = [] { return std::vector<std::string>{"Orvex.One", "Orvex.Two"}; };
  PluginProcess plugin(TEST_SERVER, {"-Embedding"});
  EXPECT_EQ(Run(plugin, "create progid=Orvex.TestObjekt\n", options), Success);
  EXPECT_EQ(diagnostics.str(), "director: test.script:1: the machine folder " + options.machineFolder +
                                   " registers only Orvex.One, Orvex.Two\n");
}

// Running, and not merely waiting for its parent to collect its status.
bool IsRunning(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidText, name, state;
  return stat >> pidText >> name >> state && state != "Z";
}

TEST_F(DirectorSession, SilenceIsATimeoutThatEndsThePlugInAndWhatItStarted) {
  SessionOptions quick;
  quick.replyTimeoutMs = 200;
  const std::string childFile = (machine.Path() / "child").string();
  PluginProcess silent("/bin/sh", {"-c", "sleep 600 & echo $! > '" + childFile + "'; exec cat > /dev/null"});
  // Read afresh each time: the file may be there, still empty, before the shell writes the number.
  pid_t child = 0;
  ASSERT_TRUE(orvex::test::Eventually([&] {
    std::ifstream childPid(childFile);
    return static_cast<bool>(childPid >> child);
  }));
  EXPECT_EQ(Run(silent, "verbs\n", quick), NoReply);
  EXPECT_THAT(diagnostics.str(), HasSubstr("test.script:1: no reply within 0.2 s; the plug-in process is ended"));
  EXPECT_EQ(silent.WaitForEnd(1), "already ended");
  EXPECT_TRUE(orvex::test::Eventually([&] { return !IsRunning(child); }));
}

TEST_F(DirectorSession, AProgramThatCannotStartIsReported) {
  EXPECT_THROW(PluginProcess("/nonexistent/plug-in", {}), std::runtime_error);
}

TEST_F(DirectorSession, APlugInThatEndsBadlyFailsTheRun) {
  PluginProcess failing("/bin/false", {});
  EXPECT_EQ(Run(failing, ""), PluginEnded);
  EXPECT_THAT(diagnostics.str(), HasSubstr("exit status 1"));
}

}  // namespace
}  // namespace director
