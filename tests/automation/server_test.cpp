#include "automation/server.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include "com/classes.h"
#include "forms/app.h"
#include "automation/input_reader.h"
#include "forms/event_loop.h"
#include "forms/controls_text.h"
#include "forms/form.h"
#include "machine_folder.h"
#include "registry/registry.h"
#include "runtime/clock.h"
#include "support/eventually.h"
#include "test_form.h"
#include "test_object.h"

namespace automation {
namespace {

using ::testing::HasSubstr;

// Serves the given input to the end and gives back every line written.
class ServeTest : public ::testing::Test {
 protected:
  ServeTest() {
    forms::ResetForTests();
    rt::UseClock(std::make_shared<rt::VirtualClock>());
    com::Classes() = {};
    testing::AddTestClass();
    testing::AddTestForm();
    com::RegisterServer("/opt/orvex/automation_test_server");
  }
  ~ServeTest() override {
    forms::ResetForTests();
    com::Classes() = {};
    rt::UseClock(std::make_shared<rt::RealClock>());
  }

  std::vector<Json> Serve(const std::string& input) {
    const auto inPath = machine.Path() / "in.txt";
    const auto outPath = machine.Path() / "out.txt";
    std::ofstream(inPath, std::ios::binary) << input;
    in = open(inPath.c_str(), O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    AddStandardVerbs(channel);
    // A server that never ends fails the test instead of hanging it.
    std::atomic<bool> served = false;
    std::thread watchdog([&served] {
      if (!orvex::test::Eventually([&served] { return served.load(); })) forms::Quit();
    });
    EXPECT_EQ(automation::Serve(channel, in, out), 0);
    served = true;
    watchdog.join();
    close(in);
    close(out);
    std::vector<Json> lines;
    std::ifstream written(outPath);
    for (std::string line; std::getline(written, line);) lines.push_back(Json::parse(line));
    return lines;
  }

  testing::ScopedMachineFolder machine;
  Channel channel;
  int in = -1;  // the input being served
};

TEST_F(ServeTest, EveryLineGetsItsReplyAndBadLinesDoNotCloseTheChannel) {
  const auto lines = Serve("create progid=Orvex.TestObject\n{broken\n\n# note\nget object=1 member=Count\r\nverbs");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]["object"], 1);
  EXPECT_EQ(lines[1]["error"]["number"], 5);
  EXPECT_EQ(lines[2]["value"]["value"], 0);
  EXPECT_EQ(lines[3]["seq"], 4);
  EXPECT_EQ(testing::TestObject::Live(), 0) << "the director's objects go when its input ends";
}

// All lines are queued at once here, so a line may run inside the modal loop of an earlier one:
// replies are looked up by their seq.
TEST_F(ServeTest, ALaterLineAnswersTheQuestionAnEarlierOneOpened) {
  const auto lines = Serve(
      "create progid=Orvex.TestObject\n"
      "call object=1 member=ShowForm\n"
      "click form=fChannelTest control=cmdAsk\n"
      "verbs\n"
      "answer button=No\n");
  ASSERT_EQ(lines.size(), 6u);
  const auto reply = [&](int64_t seq) {
    for (const auto& line : lines) {
      if (line["seq"] == seq && !line.contains("event")) return line;
    }
    return Json();
  };
  EXPECT_EQ(lines[2], Json::parse(R"({"seq":3,"event":"question","waiting":true,"msgbox":{"AnsweredBy":"pending",
      "Buttons":["Yes","No"],"Default":"Yes","Icon":"question","Prompt":"Apply the value?","Result":null,
      "Title":"orvexuc_fcu"}})"));
  EXPECT_EQ(reply(4)["waiting"], true) << "the click is still running";
  EXPECT_EQ(reply(5)["ok"], true);
  EXPECT_FALSE(reply(5).contains("waiting"));
  EXPECT_EQ(reply(3)["ok"], true);
  EXPECT_EQ(forms::FindForm("fChannelTest")->Ctl<forms::Label>("lblResult").Caption(), "No");
}

TEST_F(ServeTest, AtTheEndOfInputOpenQuestionsTakeTheirDefaults) {
  const auto lines = Serve("create progid=Orvex.TestObject\ncall object=1 member=Ask args=[\"Go on?\"]\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1]["event"], "question");
  EXPECT_EQ(lines[2]["value"]["value"], 6);
  EXPECT_EQ(testing::TestObject::Live(), 0);
}

TEST_F(ServeTest, AnOverlongLineIsRefusedAndReadingGoesOn) {
  const std::string huge(InputReader::MaxLineBytes + 10, 'x');
  const auto lines = Serve("verbs\nget " + huge + "\nverbs\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_THAT(lines[1]["error"]["description"].get<std::string>(), HasSubstr("longer than 1048576 bytes"));
  EXPECT_EQ(lines[2]["ok"], true);
}

TEST_F(ServeTest, ARequestThatEndsTheProcessIsAnsweredBeforeItEndsAndSoIsEveryLineRead) {
  std::string writtenAtEnd;
  forms::App().SetEndHook([&] {
    std::ifstream written(machine.Path() / "out.txt");
    writtenAtEnd.assign(std::istreambuf_iterator<char>(written), {});
  });
  const auto lines = Serve("create progid=Orvex.TestObject\ncall object=1 member=Quit\nverbs\n");
  EXPECT_THAT(writtenAtEnd, HasSubstr(R"({"seq":2,"verb":"call","ok":true,"ending":true})"));
  // Nothing after the end: no second reply to the call, and the line after it is answered, not run.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1]["ending"], true);
  EXPECT_EQ(lines[2], Json::parse(R"({"seq":3,"verb":"verbs","ok":false,"ending":true,"error":{"number":5,
      "source":"automation","description":"Not run: the process ended"}})"));
}

// Every line is queued at once: each call would run inside the one before it, were calls not kept
// apart.
TEST_F(ServeTest, PipelinedCallsRunOneAfterTheOtherAndReplyInOrder) {
  std::string input = "create progid=Orvex.TestObject\n";
  for (int i = 0; i < 3000; ++i) input += "call object=1 member=Pump\n";
  const auto lines = Serve(input);
  ASSERT_EQ(lines.size(), 3001u);
  for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i]["seq"], i + 1);
  EXPECT_EQ(lines.back()["value"]["value"], 1) << "no call ran inside another";
}

// The second call waits for the first, which waits for its answer; the input ends, the question
// takes its default, and the call that ends the process runs last.
TEST_F(ServeTest, ACallTakenWhileAnotherWaitsForItsAnswerRunsAfterItAndEveryLineIsAnswered) {
  forms::App().SetEndHook([] {});
  const auto lines = Serve(
      "create progid=Orvex.TestObject\n"
      "call object=1 member=Ask args=[\"Go on?\"]\n"
      "verbs\n"
      "call object=1 member=Quit\n"
      "objects\n");
  std::vector<std::pair<Json, Json>> replies;
  for (const auto& line : lines) {
    if (!line.contains("event")) replies.emplace_back(line["seq"], line.value("value", Json()));
  }
  const std::vector<std::pair<Json, Json>> expected = {
      {1, nullptr}, {3, nullptr}, {5, nullptr}, {2, Json::parse(R"({"type":"Integer","value":6})")}, {4, nullptr}};
  EXPECT_EQ(replies, expected);
  EXPECT_EQ(lines.back()["ending"], true);
}

// A call that lets the loop run until the reader stops reading, and tells how many calls wait and
// how far the input was read by then.
TEST_F(ServeTest, PastTheBoundTheInputWaitsUnreadAndEveryLineIsStillAnsweredInOrder) {
  channel.AddVerb("hold", "", [this](const Request&) {
    EXPECT_TRUE(orvex::test::Eventually([] {
      forms::DoEvents();
      return InputWaitsForRoom();
    }));
    forms::DoEvents();
    return Json{{"calls", channel.WaitingCalls()}, {"read", lseek(in, 0, SEEK_CUR)}};
  }, VerbKind::ObjectCall);
  std::string input = "create progid=Orvex.TestObject\nhold\n";
  for (size_t i = 0; i < 4 * MaxWaitingRequests; ++i) input += "get object=1 member=Count\n";
  const auto lines = Serve(input + "verbs");
  ASSERT_EQ(lines.size(), 4 * MaxWaitingRequests + 3);
  // The reader stopped at the bound, which may have counted the two lines before the calls; a line
  // the loop had taken and not yet counted as waiting may have slipped past it.
  EXPECT_GE(lines[1]["calls"], MaxWaitingRequests - 2);
  EXPECT_LE(lines[1]["calls"], MaxWaitingRequests + 1);
  EXPECT_LT(lines[1]["read"], input.size()) << "the rest of the input waits unread";
  for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i]["seq"], i + 1);
  EXPECT_EQ(testing::TestObject::Live(), 0);
}

// Calls waiting for one that waits for its answer do not keep the answer unread.
TEST_F(ServeTest, TheLineThatAnswersAQuestionIsReadWhateverNumberOfCallsComeBeforeIt) {
  std::string input = "create progid=Orvex.TestObject\ncall object=1 member=Ask args=[\"Go on?\"]\n";
  for (size_t i = 0; i < 2 * MaxWaitingRequests; ++i) input += "get object=1 member=Count\n";
  const auto lines = Serve(input + "answer button=No\n");
  ASSERT_EQ(lines.size(), 2 * MaxWaitingRequests + 4);
  EXPECT_EQ(lines[1]["event"], "question");
  EXPECT_EQ(lines[2]["seq"], 2 * MaxWaitingRequests + 3) << "the answer";
  EXPECT_EQ(lines[3]["value"]["value"], 7) << "answered No, not by default";
  for (size_t i = 4; i < lines.size(); ++i) ASSERT_EQ(lines[i]["seq"], i - 1);
}

struct CommandLineCase {
  std::vector<std::string> arguments;
  ServerCommandLine expected;
};

TEST(ServerCommandLine, TakesTheComSwitchesAndLeavesTheRest) {
  const CommandLineCase cases[] = {
      {{"-Embedding"}, {true, false, false, false, {}}},
      {{"/embedding", "--virtual-clock"}, {true, false, false, true, {}}},
      {{"/RegServer"}, {false, true, false, false, {}}},
      {{"-unregserver"}, {false, false, true, false, {}}},
      {{"/regplugin", "--Virtual-Clock"}, {false, false, false, false, {"/regplugin", "--Virtual-Clock"}}},
      {{"Embedding", "/deregplugin", "/deregmode:1"}, {false, false, false, false, {"Embedding", "/deregplugin", "/deregmode:1"}}},
  };
  for (const auto& c : cases) {
    const auto read = ReadServerCommandLine(c.arguments);
    EXPECT_EQ(read.embedding, c.expected.embedding);
    EXPECT_EQ(read.regServer, c.expected.regServer);
    EXPECT_EQ(read.unregServer, c.expected.unregServer);
    EXPECT_EQ(read.virtualClock, c.expected.virtualClock);
    EXPECT_EQ(read.rest, c.expected.rest);
  }
}

TEST_F(ServeTest, RegServerAndUnregServerAreHandledBeforeTheProgram) {
  com::UnregisterServer();
  EXPECT_EQ(HandleServerSwitches(ReadServerCommandLine({"/regserver"})), 0);
  EXPECT_NE(com::CreateObject(testing::TestProgId), nullptr);
  EXPECT_EQ(HandleServerSwitches(ReadServerCommandLine({"/unregserver"})), 0);
  EXPECT_THROW(com::CreateObject(testing::TestProgId), rt::Error);

  rt::UseClock(std::make_shared<rt::RealClock>());
  EXPECT_EQ(HandleServerSwitches(ReadServerCommandLine({"-Embedding", "--virtual-clock"})), std::nullopt);
  EXPECT_TRUE(rt::CurrentClock().IsVirtual());
}

}  // namespace
}  // namespace automation
