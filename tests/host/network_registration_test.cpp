#include <gmock/gmock.h>

#include <algorithm>

#include "forms/controls_text.h"
#include "host/cregistry.h"
#include "host/log.h"
#include "host/registration_names.h"
#include "lns/store/database_file.h"
#include "netreg_fixture.h"

namespace host::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* DefaultQuestion = "Do you wish to make Configure the default action for OrvexUC_FCU devices?";

TEST(HexToLongTest, ReadsHexadecimalTextsAndRefusesOthers) {
  struct Case {
    const char* text;
    int32_t value;
    int32_t error;
  };
  for (const Case& c : {Case{"07", 7, 0}, Case{"&H1F", 31, 0}, Case{"0x1f", 31, 0}, Case{"", 0, 0}, Case{"1a", 26, 0},
                        Case{"H5", 5, 0}, Case{"7FFFFFFF", INT32_MAX, 0}, Case{"FFFFFFFF", 0, rt::err::Overflow},
                        Case{"1G", 0, rt::err::InvalidProcedureCall}, Case{"G1", 0, rt::err::InvalidProcedureCall},
                        Case{"-1", 0, rt::err::InvalidProcedureCall}, Case{"100000000", 0, rt::err::Overflow}}) {
    SCOPED_TRACE(c.text);
    if (c.error == 0) {
      EXPECT_EQ(HexToLong(c.text), c.value);
    } else {
      EXPECT_EQ(RaisedBy([&] { HexToLong(c.text); }).Number(), c.error);
    }
  }
}

TEST(HexPadTest, KeepsTheLastDigits) {
  EXPECT_EQ(HexPad(7, 2), "07");
  EXPECT_EQ(HexPad(4096, 2), "00");
  EXPECT_EQ(HexPad(26, 3), "01A");
  EXPECT_EQ(HexPad(-1, 4), "FFFF");
  EXPECT_EQ(HexPad(5, 0), "");
  EXPECT_EQ(RaisedBy([] { HexPad(5, -1); }).Number(), rt::err::InvalidProcedureCall);
}

TEST(IdentifierNamesTest, KnownIdsHaveWordsOthersTheirNumber) {
  EXPECT_EQ(ObjectClassName(0), "Object Server");
  EXPECT_EQ(ObjectClassName(7), "Application Device");
  EXPECT_EQ(ObjectClassName(48), "Detail Info");
  EXPECT_EQ(ObjectClassName(52), "Recovery Status");
  EXPECT_EQ(ObjectClassName(49), "Custom ID =  49");
  EXPECT_EQ(ObjectClassName(53), "Custom ID =  53");
  EXPECT_EQ(ObjectClassName(-3), "Custom ID = -3");
  EXPECT_EQ(CommandName(13), "Configure");
  EXPECT_EQ(CommandName(50), "Register");
  EXPECT_EQ(CommandName(70), "Security Level");
  EXPECT_EQ(CommandName(99), "Custom command 99");
  EXPECT_EQ(CommandName(-1), "Custom command -1");
}

class RegisterCommandsTest : public NetRegTest {
 protected:
  static void ExpectOurApp(const lns::ComponentApp& app, bool isDefault) {
    EXPECT_EQ(app.get_Name(), AppName);
    EXPECT_EQ(app.get_ProgId(), OwnProgId);
    EXPECT_EQ(app.get_Command(), 13);
    EXPECT_EQ(app.get_ObjectClass(), 7);
    EXPECT_EQ(app.get_Description(), "Configure selected Orvex FCU");
    EXPECT_EQ(app.get_Version(), "1.1");
    EXPECT_EQ(app.get_ManufacturerId(), "1818");
    EXPECT_EQ(app.get_IsDefault(), isDefault);
  }
};

TEST_F(RegisterCommandsTest, OneApplicationPerTemplateAndOneQuestion) {
  for (const int answer : {forms::vbYes, forms::vbNo}) {
    SCOPED_TRACE(answer);
    Restart();
    OpenDemo();
    AddTemplate("Second", "80071A5501030403");
    AddTemplate("Beyond", "80071A5501030408");
    Answer({answer});
    const StatusLines status;
    ASSERT_TRUE(RegisterCommands());
    for (const char* name : {"OrvexUC_FCU", "Second"}) {
      ASSERT_EQ(AppsOf(name).Items().size(), 1u) << name;
      ExpectOurApp(*AppsOf(name).Items()[0], answer == forms::vbYes);
    }
    EXPECT_THAT(AppsOf("Beyond").Items(), IsEmpty());
    ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
    EXPECT_EQ(forms::MsgBoxRecords()[0].prompt, DefaultQuestion);
    EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbYesNo | forms::vbQuestion);
    EXPECT_EQ(forms::MsgBoxRecords()[0].title, PlugInName);
    EXPECT_THAT(status.Lines(), Contains("OrvexUC_FCU\r\nAdding command Configure for Application Device objects..."));
    EXPECT_THAT(status.Lines(), Contains("Second\r\nAdding command Configure for Application Device objects..."));
    const std::vector<std::string> log = LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "MMain.CreateComponentApp - Start"), 2);
  }
}

TEST_F(RegisterCommandsTest, AnExistingApplicationIsUpdatedNotDuplicated) {
  OpenDemo();
  auto mine = AddApp(AppsOf("OrvexUC_FCU"), "Mine", OwnProgId, 13, 7);
  mine->put_Description("old");
  mine->put_Version("0.9");
  // Ours only by ProgID, command and class together: these two are not.
  AddApp(AppsOf("OrvexUC_FCU"), "Other tool", "Other.PlugIn", 13, 7);
  AddApp(AppsOf("OrvexUC_FCU"), "Mine on objects", OwnProgId, 13, 28);
  ASSERT_TRUE(RegisterCommands());
  EXPECT_THAT(AppNames(AppsOf("OrvexUC_FCU")), ElementsAre("Mine", "Other tool", "Mine on objects"));
  EXPECT_EQ(mine->get_Description(), "Configure selected Orvex FCU");
  EXPECT_EQ(mine->get_Version(), "1.1");
  EXPECT_EQ(mine->get_ManufacturerId(), "1818");
  EXPECT_THAT(Prompts(), ElementsAre(DefaultQuestion));
}

TEST_F(RegisterCommandsTest, WritesOnlyWhatChanges) {
  OpenDemo();
  AddApp(AppsOf("OrvexUC_FCU"), "Other tool", "Other.PlugIn", 34, 7);
  const auto revision = [] { return std::dynamic_pointer_cast<lns::DatabaseFile>(g_System->DatabaseRef().lock())->Revision(); };
  const int64_t before = revision();
  Answer({forms::vbYes});
  ASSERT_TRUE(RegisterCommands());
  // Our new application and its five fields; the other tool's, not the default already, is not written.
  EXPECT_EQ(revision() - before, 6);
  Answer({forms::vbYes});
  ASSERT_TRUE(RegisterCommands());
  EXPECT_EQ(revision() - before, 6);
}

TEST_F(RegisterCommandsTest, ANewApplicationTakesTheFirstFreeName) {
  OpenDemo();
  AddApp(AppsOf("OrvexUC_FCU"), AppName, "Other.PlugIn", 13, 7);
  AddApp(AppsOf("OrvexUC_FCU"), std::string(AppName) + " (1)", "Other.PlugIn", 34, 7);
  ASSERT_TRUE(RegisterCommands());
  EXPECT_THAT(AppNames(AppsOf("OrvexUC_FCU")),
              ElementsAre(AppName, std::string(AppName) + " (1)", std::string(AppName) + " (2)"));
}

TEST_F(RegisterCommandsTest, YesTakesTheDefaultFromOtherToolsOnly) {
  struct Case {
    int answer;
    bool ours, otherTool, ourOtherCommand;
  };
  for (const Case& c : {Case{forms::vbYes, true, false, true}, Case{forms::vbNo, false, true, true}}) {
    SCOPED_TRACE(c.answer);
    Restart();
    OpenDemo();
    auto other = AddApp(AppsOf("OrvexUC_FCU"), "Other tool", "Other.PlugIn", 13, 7, true);
    auto wink = AddApp(AppsOf("OrvexUC_FCU"), "Our wink", OwnProgId, 34, 7, true);
    auto lowerCase = AddApp(AppsOf("OrvexUC_FCU"), "Look-alike", "orvexuc_fcu.lnspluginapi", 34, 7, true);
    Answer({c.answer});
    ASSERT_TRUE(RegisterCommands());
    EXPECT_EQ(AppsOf("OrvexUC_FCU").Find(AppName)->get_IsDefault(), c.ours);
    EXPECT_EQ(other->get_IsDefault(), c.otherTool);
    EXPECT_EQ(lowerCase->get_IsDefault(), c.otherTool);
    EXPECT_EQ(wink->get_IsDefault(), c.ourOtherCommand);
  }
}

TEST_F(RegisterCommandsTest, EachScopeHasItsCollectionAndQuestion) {
  struct Case {
    int32_t scope;
    const char* lonMarkObject;
    const char* question;
  };
  for (const Case& c :
       {Case{2, "", "Do you wish to make Configure the default action for Application Device objects?"},
        Case{4, "FCU",
             "Do you wish to make Configure the default action for the LonMark object FCU on OrvexUC_FCU devices?"},
        Case{9, "", nullptr}}) {
    SCOPED_TRACE(c.scope);
    Restart();
    OpenDemo();
    g_Commands[0].RegisterScope = c.scope;
    g_Commands[0].LonMarkObject = c.lonMarkObject;
    ASSERT_TRUE(RegisterCommands());
    auto deviceTemplate = Templates().Find("OrvexUC_FCU");
    const size_t inSystem = g_System->get_ComponentApps()->Items().size();
    const size_t onObject = deviceTemplate->InterfaceOf().Objects().Find("FCU")->get_ComponentApps()->Items().size();
    EXPECT_EQ(inSystem, c.scope == 2 ? 1u : 0u);
    EXPECT_EQ(onObject, c.scope == 4 ? 1u : 0u);
    EXPECT_THAT(AppsOf("OrvexUC_FCU").Items(), IsEmpty());
    if (c.question) {
      EXPECT_THAT(Prompts(), ElementsAre(c.question));
    } else {
      EXPECT_THAT(Prompts(), IsEmpty());
      EXPECT_EQ(forms::Default<fProgress>().Ctl<forms::Label>("Status").Caption(),
                "Error adding command Configure for Device Template OrvexUC_FCU. \r\nComponentApp was not created.");
    }
  }
}

TEST_F(RegisterCommandsTest, AnUnknownLonMarkObjectEndsInTheFailureMessage) {
  OpenDemo();
  g_Commands[0].RegisterScope = 4;
  g_Commands[0].LonMarkObject = "Nowhere";
  EXPECT_FALSE(RegisterCommands());
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_THAT(forms::MsgBoxRecords()[0].prompt, HasSubstr("\r\n"));
  EXPECT_THAT(forms::MsgBoxRecords()[0].prompt, HasSubstr("Nowhere"));
  EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbOKOnly | forms::vbCritical);
  EXPECT_EQ(forms::MsgBoxRecords()[0].title, forms::App().Title());
}

TEST_F(RegisterCommandsTest, ARemoteClientCannotAddATemplate) {
  plugIn_ = NewPlugIn();
  plugIn_->put_NetworkInterfaceName("LON1");
  plugIn_->put_networkName("Demo");
  plugIn_->put_DevelopmentProgramId("80071A5501030405");
  const size_t templates = Templates().Items().size();
  EXPECT_FALSE(RegisterCommands());
  EXPECT_TRUE(g_Remote);
  EXPECT_THAT(Prompts(), ElementsAre("Remote client cannot add a template.\r\n"));
  EXPECT_EQ(Templates().Items().size(), templates);
  EXPECT_THAT(forms::FileDialogRecords(), IsEmpty());
}

TEST_F(RegisterCommandsTest, ADevelopmentProgramIdIsTheOnlyCandidate) {
  struct Case {
    const char* developmentId;
    const char* searched;  // nullptr: nothing is searched
    int32_t error;
  };
  for (const Case& c : {Case{"80071A5501030400", "80071A5501030400", 0},
                        Case{"80071A550103041A", "80071A550103041A", 0},
                        Case{"80071A55010304H5", "80071A5501030405", 0},
                        Case{"80071A55010304G1", nullptr, rt::err::InvalidProcedureCall}}) {
    SCOPED_TRACE(c.developmentId);
    Restart();
    OpenDemo();
    plugIn_->put_DevelopmentProgramId(c.developmentId);
    lns::ClearJournal();
    if (c.error) {
      EXPECT_EQ(RaisedBy([] { RegisterCommands(); }).Number(), c.error);
      EXPECT_THAT(CallsOf("ItemByProgramId"), IsEmpty());
    } else {
      RegisterCommands();
      const std::string searched = std::string("Method \"") + c.searched + "\"";
      EXPECT_EQ(CallsOf("ItemByProgramId").front(), searched);
      EXPECT_THAT(CallsOf("ItemByProgramId"), testing::Each(searched));
    }
  }
}

TEST_F(RegisterCommandsTest, WithoutTemplateTheXifSearchAndDialogNameTheCandidate) {
  OpenDemo();
  plugIn_->put_DevelopmentProgramId("80071A550103041A");
  EXPECT_FALSE(RegisterCommands());
  ASSERT_EQ(forms::FileDialogRecords().size(), 1u);
  EXPECT_EQ(forms::FileDialogRecords()[0].title, "Locate the XIF file with Program ID 80071A550103041A");
  EXPECT_THAT(Prompts(), ElementsAre("Unable to find XIF file / create a template.\r\n"));
}

TEST_F(RegisterCommandsTest, ATemplateIsMadeFromTheXifFoundInTheTree) {
  OpenDemo();
  plugIn_->put_DevelopmentProgramId("80071A5501030401");
  WriteXifFile(xifRoot_ / "other.xif", "80071A5502030401");
  WriteXifFile(xifRoot_ / "units" / "unit01.xif", "80071A5501030401");
  ASSERT_TRUE(RegisterCommands());
  auto made = Templates().Find("OrvexUC_FCU (1)");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->get_ProgramId(), "80071A5501030401");
  ASSERT_EQ(made->get_ComponentApps()->Items().size(), 1u);
  EXPECT_TRUE(fs::exists(xifRoot_ / "units" / "unit01.XFB"));
  EXPECT_THAT(Prompts(), ElementsAre("Do you wish to make Configure the default action for OrvexUC_FCU (1) devices?"));
  EXPECT_THAT(LogLines(), Contains("MMain.FindName - Start"));
}

TEST_F(RegisterCommandsTest, ATemplateIsMadeFromTheXifChosenInTheDialog) {
  OpenDemo();
  plugIn_->put_DevelopmentProgramId("80071A5501030402");
  const fs::path chosen = root_ / "elsewhere" / "chosen.XIF";
  WriteXifFile(chosen, "80071A5501030402");
  WriteXfbBeside(chosen);
  forms::QueueFileChoice(forms::FileChoice::Path(chosen.string()));
  ASSERT_TRUE(RegisterCommands());
  ASSERT_NE(Templates().Find("OrvexUC_FCU (1)"), nullptr);
  EXPECT_EQ(Templates().Find("OrvexUC_FCU (1)")->get_ProgramId(), "80071A5501030402");
  ASSERT_EQ(forms::FileDialogRecords().size(), 1u);
  const forms::FileDialogRecord& dialog = forms::FileDialogRecords()[0];
  EXPECT_EQ(dialog.flags, 4100);
  EXPECT_EQ(dialog.filter, "External Interface Files (*.XIF)|*.XIF");
  EXPECT_EQ(dialog.initDir, xifRoot_.string());
  EXPECT_FALSE(forms::FindForm("fHidden"));
}

TEST_F(RegisterCommandsTest, AFailedImportRemovesTheTemplateAndTellsWhy) {
  constexpr const char* Broken = "ORVEX-XIF 1\nBroken\n#\n80:07:1A:55:01:03:04:03\nthis is no declaration\n";
  const std::string importError = RaisedBy([&] { lns::ParseXif(Broken); }).Description();
  for (const bool removalFails : {false, true}) {
    SCOPED_TRACE(removalFails);
    Restart();
    OpenDemo();
    plugIn_->put_DevelopmentProgramId("80071A5501030403");
    const fs::path xif = xifRoot_ / "broken.xif";
    WriteFile(xif, Broken);
    WriteXfbBeside(xif);
    if (removalFails) lns::FailMember("DeviceTemplates", "Remove", lns::err::InjectedFault);
    EXPECT_FALSE(RegisterCommands());
    EXPECT_EQ(Templates().Find("OrvexUC_FCU (1)") != nullptr, removalFails);
    ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
    const std::string prompt = forms::MsgBoxRecords()[0].prompt;
    const std::string expected =
        "Could not import the external interface file " + xifRoot_.string() + "\\broken.xif.\r\n" + importError;
    EXPECT_EQ(prompt.substr(0, expected.size()), expected);
    EXPECT_EQ(prompt.size() > expected.size(), removalFails);
    if (removalFails) {
      EXPECT_THAT(prompt.substr(expected.size()), testing::StartsWith("\r\n"));
    }
  }
}

TEST_F(RegisterCommandsTest, TheResourceStepAsksAbortRetryIgnore) {
  struct Case {
    std::vector<int> answers;
    bool registered;
  };
  for (const Case& c : {Case{{forms::vbAbort}, false}, Case{{forms::vbRetry, forms::vbIgnore}, true},
                        Case{{forms::vbIgnore}, true}}) {
    SCOPED_TRACE(c.answers.size());
    Restart();
    OpenDemo();
    const fs::path empty = root_ / "empty";
    fs::create_directories(empty);
    CRegistry().put_MachineSetting("SOFTWARE\\LonWorks", "LonWorks Path", empty.string());
    forms::QueueMsgBoxAnswer(forms::vbYes);
    for (int answer : c.answers) forms::QueueMsgBoxAnswer(answer);
    forms::Screen().SetMousePointer(forms::vbDefault);
    EXPECT_EQ(RegisterCommands(), c.registered);
    ASSERT_EQ(forms::MsgBoxRecords().size(), 1 + c.answers.size());
    for (size_t k = 1; k < forms::MsgBoxRecords().size(); ++k) {
      EXPECT_EQ(forms::MsgBoxRecords()[k].prompt,
                "Unable to add the resources listed in the ResourceTable to the catalog");
      EXPECT_EQ(forms::MsgBoxRecords()[k].style, forms::vbAbortRetryIgnore | forms::vbInformation);
    }
    // What was registered before the resource step stays.
    EXPECT_EQ(AppsOf("OrvexUC_FCU").Items().size(), 1u);
    EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
  }
}

TEST_F(RegisterCommandsTest, ThePointerComesBackOnEveryWayOut) {
  constexpr int ArrowPointer = 1;
  struct Case {
    const char* name;
    std::function<void()> arrange;
  };
  const std::vector<Case> cases = {
      {"registered", [this] { OpenDemo(); }},
      {"failure message",
       [this] {
         OpenDemo();
         plugIn_->put_DevelopmentProgramId("80071A5501030406");
       }},
      {"resource Abort",
       [this] {
         OpenDemo();
         CRegistry().put_MachineSetting("SOFTWARE\\LonWorks", "LonWorks Path", "");
         forms::QueueMsgBoxAnswer(forms::vbYes);
         forms::QueueMsgBoxAnswer(forms::vbAbort);
       }},
      {"raised",
       [this] {
         OpenDemo();
         plugIn_->put_DevelopmentProgramId("80071A55010304G1");
       }},
      {"no network", [this] { plugIn_ = NewPlugIn(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    c.arrange();
    forms::Screen().SetMousePointer(ArrowPointer);
    try {
      RegisterCommands();
    } catch (const rt::Error&) {
      // Raised errors are another test's matter; only the pointer counts here.
    }
    EXPECT_EQ(forms::Screen().MousePointer(), ArrowPointer);
  }
}

TEST_F(RegisterCommandsTest, CreateComponentAppReportsARefusedAddition) {
  OpenDemo();
  lns::FailMember("ComponentApps", "Add", lns::err::InjectedFault);
  EXPECT_EQ(CreateComponentApp(AppsOf("OrvexUC_FCU"), 0), nullptr);
  ASSERT_EQ(forms::MsgBoxRecords().size(), 1u);
  EXPECT_THAT(forms::MsgBoxRecords()[0].prompt, testing::StartsWith(std::to_string(lns::err::InjectedFault)));
  EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbOKOnly);

  // The registration then fails on the missing application.
  EXPECT_FALSE(RegisterCommands());
  EXPECT_EQ(forms::MsgBoxRecords().back().prompt, "\r\n" + rt::ErrorText(rt::err::ObjectNotSet));
}

TEST_F(RegisterCommandsTest, FindNameTriesTheCountersUpTo1000) {
  OpenDemo();
  EXPECT_EQ(FindName("OrvexUC_FCU", Templates()), "OrvexUC_FCU (1)");
  EXPECT_EQ(FindName("Fresh", Templates()), "Fresh");
  EXPECT_EQ(FindName("", Templates()), "");
  Templates().Adopt(lns::DeviceTemplate::CreateEmpty(Templates().DatabaseRef(), "Busy", 1));
  for (int counter = 1; counter <= 999; ++counter) {
    const std::string name = "Busy (" + std::to_string(counter) + ")";
    Templates().Adopt(lns::DeviceTemplate::CreateEmpty(Templates().DatabaseRef(), name, 1));
  }
  EXPECT_EQ(FindName("Busy", Templates()), "Busy (1000)");
}

}  // namespace
}  // namespace host::test
