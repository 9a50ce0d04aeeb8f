#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "automation/channel.h"
#include "automation/query_verbs.h"
#include "automation/server.h"
#include "forms/app.h"
#include "forms/form.h"
#include "machine_folder.h"
#include "runtime/clock.h"
#include "test_form.h"

namespace automation {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::fChannelTest;

class FormVerbs : public ::testing::Test {
 protected:
  FormVerbs() {
    forms::ResetForTests();
    rt::UseClock(std::make_shared<rt::VirtualClock>());
    testing::AddTestForm();
    testing::TestLog().clear();
    AddStandardVerbs(channel);
    AddLogVerb(channel, [] { return testing::TestLog(); });
    forms::Default<fChannelTest>().Show();
  }
  ~FormVerbs() override {
    forms::ResetForTests();
    rt::UseClock(std::make_shared<rt::RealClock>());
  }

  Json Send(std::string_view line) {
    const Json reply = Json::parse(*channel.Execute(line));
    EXPECT_EQ(reply["ok"], true) << line << " " << reply.dump();
    return reply;
  }
  Json Error(std::string_view line) {
    const Json reply = Json::parse(*channel.Execute(line));
    EXPECT_EQ(reply["ok"], false) << line;
    return reply["error"];
  }
  Json Control(const std::string& name) {
    return Send("query form=fChannelTest control=" + name)["control"];
  }

  Channel channel;
};

TEST_F(FormVerbs, TypingAndClickingRunTheEventsInOrder) {
  Send("type form=fChannelTest control=txtValue text=\"72.5\"");
  Send("click form=fChannelTest control=cmdApply");
  EXPECT_EQ(Control("lblResult")["Caption"], "72.5");
  EXPECT_EQ(Send("log")["lines"],
            Json::parse(R"(["txtValue_GotFocus","txtValue_Validate","txtValue_LostFocus","cmdApply_Click"])"));
  Send("type form=fChannelTest control=txtValue text=\"+1\" replace=false");
  EXPECT_EQ(Control("txtValue")["Text"], "72.5+1");
}

TEST_F(FormVerbs, FocusKeysTabsItemsAndTheMouse) {
  Send("focus form=fChannelTest control=txtValue");
  EXPECT_EQ(Control("txtValue")["HasFocus"], true);
  Send("key form=fChannelTest key=Tab");
  EXPECT_EQ(Control("cmdApply")["HasFocus"], true);
  Send("key form=fChannelTest control=txtValue key=a");
  Send("key form=fChannelTest control=txtValue key=66");
  EXPECT_EQ(Control("txtValue")["HasFocus"], true);

  Send("select form=fChannelTest control=cboMode item=2");
  EXPECT_EQ(Control("cboMode")["Text"], "Cool");
  Send("tab form=fChannelTest control=tabPages page=1");
  EXPECT_EQ(Control("tabPages")["Tab"], 1);
  Send("mouseover form=fChannelTest control=lblTicks x=15 y=15");
  EXPECT_EQ(Send("log last=3")["lines"], Json::parse(R"(["cboMode_Click","tabPages_Click 0","lblTicks_MouseMove"])"));
}

TEST_F(FormVerbs, BadTargetsGetErrorRepliesAndChangeNothing) {
  const struct {
    const char* line;
    int32_t number;
  } cases[] = {
      {"click form=fMissing control=cmdApply", 9},
      {"click form=fChannelTest control=cmdMissing", 9},
      {"click form=fChannelTest control=cmdApply index=3", 343},
      {"click form=fChannelTest control=cmdApply index=x", 13},
      {"tab form=fChannelTest control=txtValue page=1", 13},
      {"tab form=fChannelTest control=tabPages page=9", 32001},
      {"type form=fChannelTest control=txtValue", 5},
      {"key form=fChannelTest key=Hyper", 9},
      {"click form=fChannelTest control=lblSecond", 32001},
      {"key form=fChannelTest control=lblResult key=Enter", 32001},
      {"answer button=Yes", 5},
      {"answer button=Maybe queue=true", 9},
      {"choose path=/tmp/x.xif", 5},
      {"advance ms=-1", 5},
      {"render form=fChannelTest path=/nonexistent/folder/x.svg", 75},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(c.line)["number"], c.number) << c.line;
  EXPECT_EQ(Control("tabPages")["Tab"], 0);
  EXPECT_EQ(Control("lblResult")["Caption"], "");
  EXPECT_THAT(Error("click form=fChannelTest control=cmdMissing")["description"].get<std::string>(),
              HasSubstr("cmdMissing"));
}

// A file's name would end at the NUL: nothing is written, and no file is chosen.
TEST_F(FormVerbs, AFileNameThatHoldsANulIsRefused) {
  testing::ScopedMachineFolder folder;
  // Built by appending: GCC 12 at -O3 warns falsely on a literal + string here.
  std::string cut(1, '"');
  cut.append((folder.Path() / "cut").string()).append("\\u0000.svg\"");
  for (const std::string& line : {"render form=fChannelTest path=" + cut, "choose path=" + cut + " queue=true"}) {
    EXPECT_EQ(Error(line)["number"], 75) << line;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "cut"));
  Send("click form=fChannelTest control=cmdPick");
  EXPECT_EQ(Control("lblResult")["Caption"], "");
}

TEST_F(FormVerbs, QueuedAnswersServeTheNextQuestions) {
  EXPECT_EQ(Send("answer button=No queue=true")["queued"], true);
  Send("click form=fChannelTest control=cmdAsk");
  EXPECT_EQ(Control("lblResult")["Caption"], "No");
  EXPECT_EQ(Send("choose path=/tmp/unit.xif queue=true")["queued"], true);
  Send("click form=fChannelTest control=cmdPick");
  EXPECT_EQ(Control("lblResult")["Caption"], "/tmp/unit.xif");

  const Json boxes = Send("msgboxes");
  EXPECT_EQ(boxes["records"].size(), 1u);
  EXPECT_EQ(boxes["records"][0]["Prompt"], "Apply the value?");
  EXPECT_EQ(boxes["open"], nullptr);
  EXPECT_EQ(Send("filedialogs")["records"][0]["Title"], "Locate the file");
}

TEST_F(FormVerbs, TheClockAdvancesAndTimersTickOnTheWay) {
  const Json clock = Send("advance ms=3000");
  EXPECT_EQ(clock["virtual"], true);
  EXPECT_EQ(clock["now"], 3000);
  EXPECT_EQ(Control("lblTicks")["Caption"], "3");
}

TEST_F(FormVerbs, FormsFormAndRender) {
  EXPECT_EQ(Send("forms")["forms"][0]["name"], "fChannelTest");
  const Json form = Send("form form=fChannelTest")["form"];
  EXPECT_EQ(form["Caption"], "Channel Test");
  EXPECT_FALSE(form["Controls"].empty());

  EXPECT_THAT(Send("render form=fChannelTest")["svg"].get<std::string>(), HasSubstr("id=\"txtValue\""));
  testing::ScopedMachineFolder folder;
  const auto path = (folder.Path() / "window.svg").string();
  EXPECT_GT(Send("render form=fChannelTest path=" + path)["bytes"].get<size_t>(), 0u);
  std::ifstream file(path);
  EXPECT_THAT(std::string(std::istreambuf_iterator<char>(file), {}), HasSubstr("<svg"));
}

TEST_F(FormVerbs, RenderDrawsANamedPageOrOneControlWithoutChangingTheWindow) {
  for (const char* page : {"1", "second", "Second"}) {
    const std::string svg = Send(std::string("render form=fChannelTest page=") + page)["svg"];
    EXPECT_THAT(svg, HasSubstr("id=\"lblSecond\"")) << page;
    EXPECT_THAT(svg, Not(HasSubstr("id=\"cboMode\""))) << page;
  }
  EXPECT_EQ(Control("tabPages")["Tab"], 0);
  const std::string alone = Send("render form=fChannelTest control=cmdAsk")["svg"];
  EXPECT_THAT(alone, HasSubstr("width=\"73\" height=\"25\""));
  EXPECT_THAT(alone, Not(HasSubstr("id=\"txtValue\"")));
  EXPECT_EQ(Error("render form=fChannelTest page=Third")["number"], 9);
  EXPECT_EQ(Error("render form=fChannelTest page=2")["number"], 9);
}

TEST_F(FormVerbs, TheLogIsWhateverThePlugInHooksIn) {
  Channel bare;
  AddStandardVerbs(bare);
  EXPECT_EQ(Json::parse(*bare.Execute("log"))["lines"], Json::array());
  AddLogVerb(bare, [] { return std::vector<std::string>{"one", "two", "three"}; });
  EXPECT_EQ(Json::parse(*bare.Execute("log last=2"))["lines"], Json::parse(R"(["two","three"])"));
  EXPECT_EQ(Json::parse(*bare.Execute("log last=9"))["lines"].size(), 3u);
  EXPECT_EQ(Json::parse(*bare.Execute("log last=-1"))["ok"], false);
}

TEST_F(FormVerbs, CodeRunsTheHandlerOfAControlThatInputCannotReach) {
  auto& apply = forms::FindForm("fChannelTest")->Ctl("cmdApply");
  for (const auto& hide : std::vector<std::function<void()>>{[&] { apply.SetVisible(false); },
                                                             [&] { apply.SetEnabled(false); }}) {
    apply.SetVisible(true);
    apply.SetEnabled(true);
    hide();
    testing::TestLog().clear();
    EXPECT_EQ(Error("click form=fChannelTest control=cmdApply")["number"], 32001);
    EXPECT_EQ(Send("fire form=fChannelTest control=cmdApply event=click")["handled"], true);
    EXPECT_EQ(testing::TestLog(), std::vector<std::string>{"cmdApply_Click"});
  }
  EXPECT_EQ(Send("fire form=fChannelTest control=cmdPick event=GotFocus")["handled"], false);
  for (const char* event : {"Timer", "Hover"}) {
    EXPECT_EQ(Error(std::string("fire form=fChannelTest control=cmdApply event=") + event)["number"], 9) << event;
  }
}

TEST_F(FormVerbs, ScreenShowsThePointerAndWhatIsActive) {
  forms::Screen().SetMousePointer(forms::vbHourglass);
  Send("focus form=fChannelTest control=txtValue");
  EXPECT_EQ(Send("screen"), Json::parse(R"({"seq":2,"verb":"screen","ok":true,"mousePointer":11,
      "activeForm":"fChannelTest","activeControl":{"name":"txtValue","index":-1},"width":28800,"height":16200})"));
}

TEST_F(FormVerbs, TheMouseVerbPressesWhateverLiesAtThePoint) {
  Send("type form=fChannelTest control=txtValue text=\"7\"");
  EXPECT_EQ(Send("mouse form=fChannelTest control=cmdApply")["control"],
            Json::parse(R"({"name":"cmdApply","index":-1})"));
  EXPECT_EQ(Control("lblResult")["Caption"], "7");
  // The point of a control may lie on another one: tabPages' at (120, 480) is its combo box.
  EXPECT_EQ(Send("mouse form=fChannelTest control=tabPages x=200 y=500 action=down button=Right")["control"]["name"],
            "cboMode");
  EXPECT_EQ(Send("mouse form=fChannelTest x=4700 y=10 action=up button=Right")["control"]["name"], "cboMode");
  EXPECT_EQ(Send("mouse form=fChannelTest x=4700 y=10")["control"], nullptr);
  const struct {
    const char* line;
    int32_t number;
  } refusals[] = {
      {"mouse form=fChannelTest action=drag", 9},
      {"mouse form=fChannelTest button=Side", 9},
      {"mouse form=fChannelTest x=ten", 13},
      {"mouse form=fChannelTest control=lblSecond", 32001},
  };
  for (const auto& r : refusals) EXPECT_EQ(Error(r.line)["number"], r.number) << r.line;
}

}  // namespace
}  // namespace automation
