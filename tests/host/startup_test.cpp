#include <gmock/gmock.h>

#include "forms/app.h"
#include "forms/controls_text.h"
#include "forms/input.h"
#include "forms/msgbox.h"
#include "host/cregistry.h"
#include "host/network_registration.h"
#include "host/register_dialog.h"
#include "host/startup.h"
#include "plugin_test_support.h"
#include "registry/dump.h"

namespace host::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* Key = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In";

constexpr const char* WrittenKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In\n"
    "  (Default) = \"OrvexUC_FCU.LNSPlugInAPI\"\n"
    "  \"Name\" = \"Velmora OrvexUC_FCU Plug-In\"\n"
    "  \"Description\" = \"LonMark® Plug-In for the OrvexUC_FCU™\"\n"
    "  \"Scope\" = \"2\"\n"
    "  \"ManufacturerName\" = \"Velmora Applied\"\n"
    "  \"Version\" = \"1.1\"\n"
    "  \"LcaVersion\" = \"3.0\"\n"
    "  \"Prelaunch\" = \"-1\"\n"
    "  \"MultiObject\" = \"-1\"\n"
    "  \"SingleInstance\" = \"1\"\n";

class StartupTest : public PlugInTest {
 protected:
  void SetUp() override {
    PlugInTest::SetUp();
    forms::App().SetEXEName("orvexuc_fcu");
  }

  static std::string KeyText() {
    std::string text;
    reg::DumpTree(reg::HKEY_LOCAL_MACHINE, Key, text);
    return text;
  }
  static void StoreKey(const std::string& version) {
    CRegistry registry;
    registry.put_MachineSetting(Key, "", "OrvexUC_FCU.LNSPlugInAPI");
    registry.put_MachineSetting(Key, "Version", version);
    registry.put_MachineSetting(Key, "Name", "stored");
  }
  static std::vector<std::string> Prompts() {
    std::vector<std::string> prompts;
    for (const auto& box : forms::MsgBoxRecords()) prompts.push_back(box.prompt);
    return prompts;
  }
  fs::path SettingsFile() const { return programFolder_ / "OrvexUC_FCU.ini"; }
};

TEST_F(StartupTest, RegistrationWritesTheTenValuesInOrder) {
  InstallProgram();
  forms::App().SetCommand("/regplugin");
  RegisterPlugIn(true);
  EXPECT_EQ(KeyText(), WrittenKey);
  EXPECT_THAT(Started(1), ElementsAre("/regserver"));
  ASSERT_THAT(Prompts(), ElementsAre("Plug-in registered as OrvexUC_FCU.LNSPlugInAPI"));
  EXPECT_EQ(forms::MsgBoxRecords().back().title, "Velmora OrvexUC_FCU Plug-In");
  EXPECT_EQ(forms::MsgBoxRecords().back().Icon(), forms::vbInformation);
}

TEST_F(StartupTest, AStoredVersionDecidesBetweenUpdateAndStop) {
  struct Case {
    const char* stored;
    bool written;
    const char* prompt;
  };
  for (const Case& c : {Case{"1.2", false, "A newer version of this plug-in is already registered"},
                        Case{"2.0", false, "A newer version of this plug-in is already registered"},
                        Case{"1.10", true, "Updated version of plug-in registered as OrvexUC_FCU.LNSPlugInAPI"},
                        Case{"1.05", true, "Updated version of plug-in registered as OrvexUC_FCU.LNSPlugInAPI"},
                        Case{"1.1 beta", true, "Updated version of plug-in registered as OrvexUC_FCU.LNSPlugInAPI"},
                        Case{"", true, "Updated version of plug-in registered as OrvexUC_FCU.LNSPlugInAPI"}}) {
    SCOPED_TRACE(c.stored);
    CRegistry().DeleteMachineKey(Key);
    StoreKey(c.stored);
    forms::ResetForTests();
    RegisterPlugIn(true);
    EXPECT_EQ(CRegistry().get_MachineSetting(Key, "Name"), c.written ? "Velmora OrvexUC_FCU Plug-In" : "stored");
    EXPECT_THAT(Prompts(), ElementsAre(c.prompt));
  }
}

TEST_F(StartupTest, AStoredVersionTooLargeRaisesBeforeWriting) {
  StoreKey("70000.1");
  EXPECT_EQ(RaisedBy([] { RegisterPlugIn(false); }).Number(), rt::err::Overflow);
  EXPECT_EQ(CRegistry().get_MachineSetting(Key, "Name"), "stored");
}

TEST_F(StartupTest, AFailedComRegistrationStopsTheWrites) {
  forms::App().SetCommand("/regplugin");
  RegisterPlugIn(true);
  EXPECT_EQ(KeyText(), "");
  ASSERT_THAT(Prompts(), ElementsAre("Plug-in OrvexUC_FCU.LNSPlugInAPI registration as COM server failed"));
  EXPECT_EQ(forms::MsgBoxRecords().back().title, "LNS Plug-in for OrvexUC FCU");
  EXPECT_EQ(forms::MsgBoxRecords().back().Icon(), forms::vbCritical);
}

TEST_F(StartupTest, WithoutArgumentsNoComRegistrationIsStarted) {
  InstallProgram();
  RegisterPlugIn(false);
  EXPECT_EQ(KeyText(), WrittenKey);
  EXPECT_FALSE(fs::exists(root_ / "started"));
  EXPECT_THAT(Prompts(), IsEmpty());
}

TEST_F(StartupTest, DeregistrationRemovesTheKeyOrSaysItIsMissing) {
  InstallProgram();
  StoreKey("1.1");
  DeregisterPlugIn(true);
  EXPECT_EQ(KeyText(), "");
  DeregisterPlugIn(true);
  EXPECT_THAT(Prompts(), ElementsAre("Plug-in Velmora OrvexUC_FCU Plug-In deregistered",
                                     "Plug-in Velmora OrvexUC_FCU Plug-In does not exisit in the Windows registery"));
  EXPECT_THAT(Started(2), ElementsAre("/unregserver", "/unregserver"));
}

TEST_F(StartupTest, AFailedComUnregistrationKeepsTheKey) {
  StoreKey("1.1");
  DeregisterPlugIn(true);
  EXPECT_NE(KeyText(), "");
  ASSERT_EQ(Prompts().size(), 1u);
  EXPECT_THAT(Prompts()[0], ::testing::StartsWith("Plug-in OrvexUC_FCU.LNSPlugInAPI deregistration as COM server "
                                                  "failed\rVerify that there are not instances running\r"));
}

TEST_F(StartupTest, DeregisterAllRemembersWhetherItShowsProgress) {
  InstallProgram();
  DeregisterAll(-1, true);
  EXPECT_EQ(g_ShowProgress, rt::VbTrue);
  DeregisterAll(1, false);
  EXPECT_EQ(g_ShowProgress, rt::VbFalse);
}

TEST_F(StartupTest, ParseVersionAndClampToRange) {
  struct Case {
    const char* text;
    int16_t major;
    int16_t minor;
  };
  for (const Case& c : {Case{"1.1", 1, 10}, Case{"1.10", 1, 10}, Case{"1.2", 1, 20}, Case{"1.15", 1, 15},
                        Case{"2.0.3", 2, 0}, Case{"1.1 beta", 1, 10}, Case{"", 0, 0}, Case{"abc", 0, 0}}) {
    int16_t major = -7;
    int16_t minor = -7;
    ParseVersion(c.text, major, minor);
    EXPECT_EQ(major, c.major) << c.text;
    EXPECT_EQ(minor, c.minor) << c.text;
  }
  for (const auto& [value, clamped] : std::vector<std::pair<int16_t, int16_t>>{{-1, -1}, {0, 0}, {1, 1}, {2, 1}, {-5, 1}}) {
    int16_t v = value;
    EXPECT_EQ(ClampToRange(-1, 1, v), clamped);
    EXPECT_EQ(v, clamped);
  }
}

// ---- the command line

struct CommandLineCase {
  const char* name;
  const char* command;
  bool keyAfter;
  bool dialog;
  bool settingsAfter;
  std::vector<std::string> prompts;
  friend std::ostream& operator<<(std::ostream& out, const CommandLineCase& c) { return out << c.name; }
};

class CommandLineTest : public StartupTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, RunsTheActionOrOpensTheDialog) {
  const CommandLineCase& c = GetParam();
  InstallProgram();
  StoreKey("1.0");
  WriteFile(SettingsFile(), "FactoryTester = False\r\n");
  forms::App().SetCommand(c.command);
  Main(StartMode::StandAlone);
  EXPECT_EQ(!KeyText().empty(), c.keyAfter);
  EXPECT_EQ(CRegistry().get_MachineSetting(Key, "Name") == "Velmora OrvexUC_FCU Plug-In", c.keyAfter && !c.dialog);
  EXPECT_EQ(forms::DefaultExists<fRegisterPlugIn>(), c.dialog);
  EXPECT_EQ(ends_, c.dialog ? 0 : 1);
  EXPECT_EQ(fs::exists(SettingsFile()), c.settingsAfter);
  EXPECT_THAT(Prompts(), ElementsAreArray(c.prompts));
}

const std::vector<std::string> Deregistered = {"Plug-in Velmora OrvexUC_FCU Plug-In deregistered"};

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"Register", "/regplugin", true, false, true, {}},
        CommandLineCase{"RegisterTrimmedAnyCase", "  /RegPlugIn  ", true, false, true, {}},
        CommandLineCase{"Deregister", "/deregplugin", false, false, false, Deregistered},
        CommandLineCase{"MinimalMode", "/deregplugin /deregmode:-1", false, false, true, Deregistered},
        CommandLineCase{"CompleteMode", "/deregplugin /deregmode:0", false, false, true, Deregistered},
        CommandLineCase{"ExhaustiveMode", "/DEREGPLUGIN /DEREGMODE:1", false, false, true, Deregistered},
        CommandLineCase{"TwoBlanks", "/deregplugin  /deregmode:0", true, true, true, {}},
        CommandLineCase{"UnknownMode", "/deregplugin /deregmode:2", true, true, true, {}},
        CommandLineCase{"Empty", "", true, true, true, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(StartupTest, AComStartDoesNothing) {
  forms::App().SetCommand("/regplugin");
  Main(StartMode::Automation);
  EXPECT_EQ(KeyText(), "");
  EXPECT_TRUE(forms::Forms().empty());
  EXPECT_EQ(ends_, 0);
}

TEST_F(StartupTest, AFailingCommandLineActionOpensTheDialog) {
  StoreKey("70000.1");
  forms::App().SetCommand("/regplugin");
  Main(StartMode::StandAlone);
  EXPECT_TRUE(forms::DefaultExists<fRegisterPlugIn>());
  EXPECT_EQ(ends_, 0);
}

TEST_F(StartupTest, ADamagedRegistryEndsEveryCommandLineActionWithItsReasonAndWritesNothing) {
  InstallProgram();
  const std::string damaged = "{\"HKEY_LOCAL_MACHINE\": 5}";
  WriteFile(machine_ / "registry.json", damaged);
  const std::string reason = "The registry file \"" + (machine_ / "registry.json").string() +
                             "\" is damaged and was left as it is: key \"HKEY_LOCAL_MACHINE\" is not a JSON object";
  for (const char* command : {"/regplugin", "/deregplugin", "/deregplugin /deregmode:1"}) {
    SCOPED_TRACE(command);
    const int endsBefore = ends_;
    forms::App().SetCommand(command);
    Main(StartMode::StandAlone);
    EXPECT_EQ(ends_, endsBefore + 1);
    EXPECT_EQ(forms::App().ExitCode(), 1);
    EXPECT_EQ(Prompts().back(), reason);
    EXPECT_FALSE(forms::DefaultExists<fRegisterPlugIn>());
  }
  EXPECT_EQ(orvex::test::ReadFile(machine_ / "registry.json"), damaged);
  EXPECT_FALSE(fs::exists(root_ / "started"));
}

// The Object Server's store and a network's database, each damaged in turn, and the store of an
// earlier version kept as JSON; the log goes nowhere else.
TEST_F(StartupTest, ADamagedNetworkStoreEndsTheDeregistrationWithItsFileAndReasonAndWritesNothing) {
  StoreKey("1.1");
  const std::string key = KeyText();
  std::vector<std::string> logged;
  forms::SetPlatformLog([&](const std::string& line) { logged.push_back(line); });
  struct Case {
    fs::path file;
    std::string text;
    fs::path replaced;  // moved aside while the case runs
  };
  const fs::path earlier = lns::StoreFolder() / "server.json";
  std::vector<Case> cases;
  for (const fs::path& file : DemoStoreFiles()) cases.push_back({file, DamagedStoreText, file});
  cases.push_back({earlier, "{\"kind\":\"orvex-lns-server\",\"version\":1}", lns::ServerStoreFile()});
  for (const Case& c : cases) {
    const fs::path aside = c.replaced.string() + ".aside";
    fs::rename(c.replaced, aside);
    WriteFile(c.file, c.text);
    for (const char* command : {"/deregplugin", "/deregplugin /deregmode:1"}) {
      SCOPED_TRACE(c.file.string() + " " + command);
      forms::App().SetCommand(command);
      Main(StartMode::StandAlone);
      EXPECT_EQ(forms::App().ExitCode(), 1);
      EXPECT_THAT(Prompts().back(), ::testing::StartsWith("The database is damaged: " + c.file.string() + " "));
      EXPECT_THAT(logged, ::testing::Contains(Prompts().back()));
      EXPECT_EQ(orvex::test::ReadFile(c.file), c.text);
      EXPECT_EQ(KeyText(), key);
      EXPECT_EQ(fs::exists(c.replaced), c.replaced == c.file);
    }
    fs::remove(c.file);
    fs::rename(aside, c.replaced);
  }
  forms::SetPlatformLog(nullptr);
}

// ---- the registration dialog

class RegisterDialogTest : public StartupTest {
 protected:
  fRegisterPlugIn& OpenDialog() {
    Main(StartMode::StandAlone);
    return forms::Default<fRegisterPlugIn>();
  }
};

TEST_F(RegisterDialogTest, LoadsWithTheCompleteModeSelected) {
  auto& dialog = OpenDialog();
  EXPECT_EQ(dialog.Caption(), "Velmora OrvexUC_FCU Plug-In");
  auto& modes = dialog.Ctl<forms::ComboBox>("cmbDeregMode");
  EXPECT_THAT(modes.Items().All(), ElementsAre("Minimal Mode", "Complete Mode", "Exhaustive Mode"));
  EXPECT_EQ(modes.Text(), "Complete Mode");
}

TEST_F(RegisterDialogTest, EachButtonEndsThePlugIn) {
  InstallProgram();
  for (const char* button : {"bRegister", "bDeregister", "bExit"}) {
    SCOPED_TRACE(button);
    window_->endPlugInCalls = 0;
    auto& dialog = OpenDialog();
    forms::input::Click(dialog.Ctl(button));
    EXPECT_FALSE(forms::DefaultExists<fRegisterPlugIn>());
    EXPECT_EQ(window_->endPlugInCalls, 1);
  }
}

TEST_F(RegisterDialogTest, RegisterAndDeregisterWithMessages) {
  InstallProgram();
  forms::input::Click(OpenDialog().Ctl("bRegister"));
  EXPECT_EQ(KeyText(), WrittenKey);
  auto& dialog = OpenDialog();
  forms::input::SelectItem(dialog.Ctl("cmbDeregMode"), 0);
  forms::input::Click(dialog.Ctl("bDeregister"));
  EXPECT_EQ(KeyText(), "");
  EXPECT_THAT(Prompts(), ElementsAre("Plug-in registered as OrvexUC_FCU.LNSPlugInAPI",
                                     "Plug-in Velmora OrvexUC_FCU Plug-In deregistered"));
  EXPECT_EQ(g_ShowProgress, rt::VbTrue);
}

TEST_F(RegisterDialogTest, AVersionTooLargeIsShownAndTheDialogStays) {
  StoreKey("70000.1");
  auto& dialog = OpenDialog();
  forms::input::Click(dialog.Ctl("bRegister"));
  EXPECT_TRUE(forms::DefaultExists<fRegisterPlugIn>());
  EXPECT_EQ(window_->endPlugInCalls, 0);
  ASSERT_THAT(Prompts(), ElementsAre("Overflow"));
  EXPECT_EQ(forms::MsgBoxRecords().back().Icon(), forms::vbCritical);
  EXPECT_TRUE(dialog.Ctl("bRegister").Enabled());
}

}  // namespace
}  // namespace host::test
