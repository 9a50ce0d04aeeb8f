#include <gmock/gmock.h>

#include <array>
#include <functional>
#include <tuple>

#include "forms/input.h"
#include "host/cregistry.h"
#include "host/register_dialog.h"
#include "host/startup.h"

#include "netreg_fixture.h"

namespace host::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* UnusedQuestion =
    "The device template 'Unused' is no longer referenced by any device in the current network. Do you want to "
    "remove the device template from the template library?";

class UnregisterCommandsTest : public NetRegTest {
 protected:
  static void Unregister(bool offerTemplateRemoval, bool includeServerScope) {
    UnregisterCommands(offerTemplateRemoval, includeServerScope);
  }
};

TEST_F(UnregisterCommandsTest, Command51RemovesOnlyThePlugInsApplications) {
  OpenDemo();
  AddTemplate("Second", "80071A5501030403");
  AddTemplate("Development", "80071A5501030410");
  AddApp(AppsOf("OrvexUC_FCU"), "Ours", OwnProgId, 13, 7);
  AddApp(AppsOf("OrvexUC_FCU"), "Ours on objects", OwnProgId, 13, 28);
  AddApp(AppsOf("OrvexUC_FCU"), "Other tool", "Other.PlugIn", 13, 7);
  AddApp(AppsOf("Second"), "Ours", OwnProgId, 13, 7);
  AddApp(AppsOf("Development"), "Ours", OwnProgId, 13, 7);
  auto& system = *g_System->get_ComponentApps();
  AddApp(system, "Our register", OwnProgId, 50, 3);
  AddApp(system, "Our configure", OwnProgId, 13, 3);
  AddApp(system, "Other register", "Other.PlugIn", 50, 3);

  plugIn_->SendCommand(51, 0, "");

  EXPECT_THAT(AppNames(AppsOf("OrvexUC_FCU")), ElementsAre("Other tool"));
  EXPECT_THAT(AppNames(AppsOf("Second")), IsEmpty());
  EXPECT_THAT(AppNames(AppsOf("Development")), ElementsAre("Ours"));
  EXPECT_THAT(AppNames(system), ElementsAre("Our configure", "Other register"));
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
  EXPECT_EQ(Templates().Items().size(), 3u);
}

TEST_F(UnregisterCommandsTest, TheObjectServersCollectionOnlyWhenIncluded) {
  for (const bool includeServerScope : {false, true}) {
    SCOPED_TRACE(includeServerScope);
    Restart();
    OpenDemo();
    g_Commands[0].RegisterScope = 1;  // the Object Server's own collection
    AddApp(*g_ObjectServer->get_ComponentApps(), "Ours", OwnProgId, 13, 7);
    Unregister(false, includeServerScope);
    EXPECT_EQ(g_ObjectServer->get_ComponentApps()->Items().size(), includeServerScope ? 0u : 1u);
  }
}

TEST_F(UnregisterCommandsTest, UnusedTemplatesAreOfferedOnlyFromTheDialog) {
  struct Case {
    const char* name;
    bool showProgress;
    bool offer;
    std::vector<int> answers;
    bool removalFails;
    std::vector<std::string> prompts;
    bool unusedStays;
  };
  const std::vector<Case> cases = {
      {"Yes", true, true, {forms::vbYes}, false, {UnusedQuestion}, false},
      {"No", true, true, {forms::vbNo}, false, {UnusedQuestion}, true},
      {"removal fails", true, true, {forms::vbYes}, true,
       {UnusedQuestion, "Unable to remove the device template: Unused"}, true},
      {"command line", false, true, {}, false, {}, true},
      {"not offered", true, false, {}, false, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    OpenDemo();
    AddTemplate("Unused", "80071A5501030403");
    g_ShowProgress = c.showProgress ? rt::VbTrue : rt::VbFalse;
    Answer(c.answers);
    if (c.removalFails) lns::FailMember("DeviceTemplates", "Remove", lns::err::InjectedFault);
    Unregister(c.offer, true);
    EXPECT_EQ(Prompts(), c.prompts);
    EXPECT_EQ(Templates().Find("Unused") != nullptr, c.unusedStays);
    EXPECT_NE(Templates().Find("OrvexUC_FCU"), nullptr);
    if (!c.prompts.empty()) {
      EXPECT_EQ(forms::MsgBoxRecords()[0].style, forms::vbYesNo | forms::vbExclamation);
      EXPECT_EQ(forms::MsgBoxRecords()[0].title, forms::App().Title());
    }
  }
}

TEST_F(UnregisterCommandsTest, ThePointerComesBackAlsoWhenNoSystemIsOpen) {
  constexpr int ArrowPointer = 1;
  for (const bool open : {true, false}) {
    SCOPED_TRACE(open);
    Restart();
    if (open) OpenDemo();
    forms::Screen().SetMousePointer(ArrowPointer);
    if (open) {
      Unregister(false, true);
    } else {
      EXPECT_EQ(RaisedBy([] { Unregister(false, true); }).Number(), rt::err::ObjectNotSet);
    }
    EXPECT_EQ(forms::Screen().MousePointer(), ArrowPointer);
  }
}

// The stand-alone deregistration, which opens every network of the machine itself.
class DeregisterFromNetworksTest : public NetRegTest {
 protected:
  // Works on a network through an Object Server of its own, as another program would.
  static void InNetwork(const std::string& name, const std::function<void(lns::System&)>& work) {
    auto server = std::make_shared<lns::ObjectServer>();
    server->Open();
    auto network = server->get_Networks()->Item(rt::Variant::String(name));
    network->Open();
    auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
    system->Open();
    work(*system);
    system->Close();
    network->Close();
    server->Close();
  }
  static lns::ComponentApps& TemplateApps(lns::System& system, const std::string& templateName) {
    return *system.get_TemplateLibrary()->get_DeviceTemplates()->Find(templateName)->get_ComponentApps();
  }
  static std::vector<std::string> TemplateAppNames(const std::string& network) {
    std::vector<std::string> names;
    InNetwork(network, [&](lns::System& system) { names = AppNames(TemplateApps(system, "OrvexUC_FCU")); });
    return names;
  }

  // Demo and a second network, each with the plug-in's application and another tool's.
  void SetUpTwoNetworks() {
    lns::CreateNetwork({"Second", "Second", "LON1", "", 0}, [](lns::System& system) {
      auto used = system.Library().Templates().AddNew("OrvexUC_FCU", 1);
      used->Fill(UnitProgramId, lns::UnitInterface());
      system.AddSubsystem("Subsystem 1")->AddDevice("FCU 2", *used, "05017A3C2E02");
      system.Library().Templates().AddNew("Unused", 1)->Fill("80071A5501030403", lns::UnitInterface());
    });
    for (const char* network : {"Demo", "Second"}) {
      InNetwork(network, [](lns::System& system) {
        AddApp(TemplateApps(system, "OrvexUC_FCU"), "Ours", OwnProgId, 13, 7);
        AddApp(TemplateApps(system, "OrvexUC_FCU"), "Other tool", "Other.PlugIn", 13, 7);
      });
    }
    InNetwork("Demo", [](lns::System& system) { system.put_ManagementMode(1); });
  }
};

TEST_F(DeregisterFromNetworksTest, EveryNetworkLosesThePlugInsApplications) {
  SetUpTwoNetworks();
  lns::ClearJournal();
  DeregisterFromNetworks(true);
  EXPECT_THAT(TemplateAppNames("Demo"), ElementsAre("Other tool"));
  EXPECT_THAT(TemplateAppNames("Second"), ElementsAre("Other tool"));
  // From the command line nothing is asked, not even in exhaustive mode.
  EXPECT_THAT(forms::MsgBoxRecords(), IsEmpty());
  EXPECT_EQ(g_Commands[0].ProgramId, UnitProgramId);
  EXPECT_TRUE(g_ObjectServer.IsNothing());
  EXPECT_TRUE(g_Network.IsNothing());
  EXPECT_TRUE(g_System.IsNothing());
  EXPECT_FALSE(MainWindowObjectServer()->get_IsOpen());
  // Each system got back the management mode it had.
  EXPECT_THAT(CallsOf("ManagementMode"), ElementsAre("Get", "Let 1", "Get", "Let 0"));
}

TEST_F(DeregisterFromNetworksTest, FromTheDialogItShowsItsStepsAndOffersUnusedTemplates) {
  SetUpTwoNetworks();
  g_ShowProgress = rt::VbTrue;
  Answer({forms::vbNo});
  const StatusLines status;
  DeregisterFromNetworks(true);
  EXPECT_THAT(status.Lines(), testing::IsSupersetOf({
                                  "Opening the Object Server...",
                                  "Opening Demo...",
                                  "Opening Demo...\r\nEngineered system mode",
                                  "Deregister commands...",
                                  "80071A5501030400\r\nDeregister Command 13...",
                                  "Opening Second...",
                                  "Opening Second...\r\nEngineered system mode",
                              }));
  EXPECT_THAT(Prompts(), ElementsAre(testing::HasSubstr("'Unused'")));
  EXPECT_FALSE(forms::DefaultExists<fProgress>());
}

TEST_F(DeregisterFromNetworksTest, ASystemThatWillNotOpenEngineeredOpensWithItsInterface) {
  SetUpTwoNetworks();
  g_ShowProgress = rt::VbTrue;
  lns::FailOpen(lns::OpenTarget::EngineeredSystem, lns::err::EngineeredMode);
  const StatusLines status;
  DeregisterFromNetworks(false);
  EXPECT_THAT(status.Lines(), Contains("Opening Demo...\r\nNetwork Interface 'LON1'"));
  EXPECT_THAT(TemplateAppNames("Demo"), ElementsAre("Other tool"));
  EXPECT_THAT(TemplateAppNames("Second"), ElementsAre("Other tool"));
}

TEST_F(DeregisterFromNetworksTest, AnEngineeredOpenGivesTheInterfaceBack) {
  SetUpTwoNetworks();
  lns::ClearJournal();
  DeregisterFromNetworks(false);
  std::vector<std::string> sets;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.member == "NetworkInterface" && entry.kind == rt::Object::CallKind::Set) sets.push_back(entry.arguments);
  }
  ASSERT_EQ(sets.size(), 4u);
  EXPECT_EQ(sets[0], sets[2]);  // detached for the engineered open
  EXPECT_NE(sets[1], sets[0]);  // and given back on closing
  EXPECT_EQ(sets[1], sets[3]);
}

TEST_F(DeregisterFromNetworksTest, ANetworkThatWillNotOpenIsSkipped) {
  SetUpTwoNetworks();
  lns::FailOpen(lns::OpenTarget::Network, lns::err::DatabaseDamaged, lns::Repeat::Once);
  DeregisterFromNetworks(false);
  EXPECT_THAT(TemplateAppNames("Demo"), ElementsAre("Ours", "Other tool"));
  EXPECT_THAT(TemplateAppNames("Second"), ElementsAre("Other tool"));
}

TEST_F(DeregisterFromNetworksTest, WithoutNetworksOnlyTheObjectServerOpensAndCloses) {
  Restart();
  fs::remove_all(lns::StoreFolder());
  lns::ClearJournal();
  DeregisterFromNetworks(false);
  std::vector<std::string> calls;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.kind == rt::Object::CallKind::Method) calls.push_back(entry.member);
  }
  EXPECT_THAT(calls, ElementsAre("Open", "Close"));
}

// A stand-alone deregistration, from the command line or the dialog, past an Object Server or a
// network that does not open, a network whose sound database SQLite cannot open (a folder where
// its WAL goes: no damage, which the command line's read of the stores lets pass), and on a
// machine without networks: the networks it reaches lose the plug-in's applications, and then the
// plug-in key goes with its message.
enum class Failure { Server, FirstNetwork, FirstNetworkFile, NoNetwork };

struct DeregistrationStart {
  const char* name;
  const char* commandLine;  // nullptr: the registration dialog
  int32_t mode;
};

using PastFailure = std::tuple<Failure, DeregistrationStart>;

std::string PastFailureName(const ::testing::TestParamInfo<PastFailure>& info) {
  constexpr std::array<const char*, 4> failures = {"ServerFails", "FirstNetworkFails", "FirstNetworkFileFails",
                                                    "NoNetwork"};
  return failures[static_cast<size_t>(std::get<0>(info.param))] + std::string(std::get<1>(info.param).name);
}

class DeregistrationPastFailuresTest : public DeregisterFromNetworksTest,
                                       public ::testing::WithParamInterface<PastFailure> {
 protected:
  void Arrange(Failure failure) {
    if (failure == Failure::NoNetwork) {
      fs::remove_all(lns::StoreFolder());
      return;
    }
    SetUpTwoNetworks();
    if (failure == Failure::Server) lns::FailOpen(lns::OpenTarget::ObjectServer, lns::err::InjectedFault);
    if (failure == Failure::FirstNetwork) {
      lns::FailOpen(lns::OpenTarget::Network, lns::err::InjectedFault, lns::Repeat::Once);
    }
    if (failure == Failure::FirstNetworkFile) fs::create_directory(DemoLog());
  }
  fs::path DemoLog() const { return DemoStoreFiles().back().string() + "-wal"; }
  void Deregister(const DeregistrationStart& start) {
    if (start.commandLine) forms::App().SetCommand(start.commandLine);
    Main(StartMode::StandAlone);
    if (start.commandLine) return;
    auto& dialog = forms::Default<fRegisterPlugIn>();
    forms::input::SelectItem(dialog.Ctl("cmbDeregMode"), start.mode + 1);
    forms::input::Click(dialog.Ctl("bDeregister"));
  }
};

TEST_P(DeregistrationPastFailuresTest, RemovesWhatItReachesThenThePlugInKey) {
  const auto& [failure, start] = GetParam();
  InstallProgram();
  CRegistry().put_MachineSetting(PlugInKey(), "", OwnProgId);
  Arrange(failure);
  Deregister(start);
  EXPECT_EQ(ends_ + window_->endPlugInCalls, 1);
  EXPECT_EQ(forms::App().ExitCode(), 0);
  EXPECT_FALSE(forms::DefaultExists<fRegisterPlugIn>());
  EXPECT_EQ(CRegistry().get_MachineSetting(PlugInKey(), ""), "");
  EXPECT_THAT(Prompts(), Contains("Plug-in Velmora OrvexUC_FCU Plug-In deregistered"));
  if (failure == Failure::NoNetwork) return;
  lns::ClearFaults();
  fs::remove(DemoLog());
  const bool reached = start.mode != -1 && failure != Failure::Server;
  const bool firstSkipped = failure == Failure::FirstNetwork || failure == Failure::FirstNetworkFile;
  const std::vector<std::string> cleaned = {"Other tool"};
  const std::vector<std::string> kept = {"Ours", "Other tool"};
  EXPECT_EQ(TemplateAppNames("Demo"), reached && !firstSkipped ? cleaned : kept);
  EXPECT_EQ(TemplateAppNames("Second"), reached ? cleaned : kept);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeregistrationPastFailuresTest,
    ::testing::Combine(::testing::Values(Failure::Server, Failure::FirstNetwork, Failure::FirstNetworkFile,
                                         Failure::NoNetwork),
                       ::testing::Values(DeregistrationStart{"Deregister", "/deregplugin", 0},
                                         DeregistrationStart{"MinimalMode", "/deregplugin /deregmode:-1", -1},
                                         DeregistrationStart{"CompleteMode", "/deregplugin /deregmode:0", 0},
                                         DeregistrationStart{"ExhaustiveMode", "/deregplugin /deregmode:1", 1},
                                         DeregistrationStart{"DialogMinimal", nullptr, -1},
                                         DeregistrationStart{"DialogComplete", nullptr, 0},
                                         DeregistrationStart{"DialogExhaustive", nullptr, 1})),
    PastFailureName);

}  // namespace
}  // namespace host::test
