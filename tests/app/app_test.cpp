#include <fcntl.h>
#include <gmock/gmock.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "host/cregistry.h"
#include "registry/registry.h"
#include "support/eventually.h"
#include "support/temp_machine.h"

namespace app::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* PlugInKey = "SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Velmora OrvexUC_FCU Plug-In";
constexpr const char* ClassKey = "SOFTWARE\\Classes\\OrvexUC_FCU.LNSPlugInAPI\\CLSID";

// The program file copied into a folder of its own, since it keeps its settings file beside itself.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_.emplace("app");
    root_ = temp_->Root();
    fs::create_directories(root_ / "program");
    fs::copy_file(ORVEXUC_FCU_PROGRAM, Program());
    reg::Reset();
  }
  void TearDown() override {
    reg::Reset();
    temp_.reset();
  }
  fs::path Program() const { return root_ / "program" / "orvexuc_fcu"; }
  fs::path SettingsFile() const { return root_ / "program" / "OrvexUC_FCU.ini"; }

  // Runs the program with its standard input empty and returns the exit code.
  int Run(const std::vector<std::string>& arguments) { return RunWith(arguments, "/dev/null", "/dev/null"); }

  // Runs the program with the lines of `input` and the start lines given; its output in `output_`.
  int RunWithLines(const std::vector<std::string>& arguments, const std::string& input, const char* startLines) {
    std::ofstream(root_ / "input") << input;
    const int code = RunWith(arguments, root_ / "input", root_ / "output", startLines);
    std::ifstream output(root_ / "output");
    output_.assign(std::istreambuf_iterator<char>(output), {});
    return code;
  }

  int RunWith(const std::vector<std::string>& arguments, const fs::path& in, const fs::path& out,
              const char* startLines = nullptr) {
    const std::string program = Program().string();
    const pid_t child = fork();
    if (child == 0) {
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      if (startLines) setenv("ORVEX_START_LINES", startLines, 1);
      freopen(in.c_str(), "r", stdin);
      freopen(out.c_str(), "w", stdout);
      freopen((root_ / "errors").c_str(), "w", stderr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  }

  static std::string Machine(const char* key, const char* value) {
    return host::CRegistry().get_MachineSetting(key, value);
  }
  // The COM self-registration runs beside the program, which does not wait for it.
  static bool EventuallyRegistered() {
    return orvex::test::Eventually([] { return !Machine(ClassKey, "").empty(); });
  }

  std::optional<orvex::test::TempMachine> temp_;
  fs::path root_;
  std::string output_;
};

TEST_F(ProgramTest, RegisterPlugInWritesTheKeyAndStartsTheComRegistration) {
  EXPECT_EQ(Run({"/RegPlugIn"}), 0);
  EXPECT_EQ(Machine(PlugInKey, ""), "OrvexUC_FCU.LNSPlugInAPI");
  EXPECT_EQ(Machine(PlugInKey, "SingleInstance"), "1");
  EXPECT_TRUE(EventuallyRegistered());
}

TEST_F(ProgramTest, DeregisterPlugInRemovesTheKeyAndTheSettingsFile) {
  ASSERT_EQ(Run({"/regplugin"}), 0);
  ASSERT_TRUE(EventuallyRegistered());
  std::ofstream(SettingsFile()) << "FactoryTester = False\r\n";
  EXPECT_EQ(Run({"/deregplugin"}), 0);
  EXPECT_EQ(Machine(PlugInKey, ""), "");
  EXPECT_FALSE(fs::exists(SettingsFile()));
}

TEST_F(ProgramTest, ADeregistrationModeKeepsTheSettingsFile) {
  ASSERT_EQ(Run({"/regplugin"}), 0);
  std::ofstream(SettingsFile()) << "FactoryTester = False\r\n";
  EXPECT_EQ(Run({"/deregplugin", "/deregmode:-1"}), 0);
  EXPECT_EQ(Machine(PlugInKey, ""), "");
  EXPECT_TRUE(fs::exists(SettingsFile()));
}

TEST_F(ProgramTest, ServerSwitchesAndOtherStarts) {
  const std::string pointClassKeys[] = {"SOFTWARE\\Classes\\OrvexUC_FCU.SNVT_switch\\CLSID",
                                        "SOFTWARE\\Classes\\OrvexUC_FCU.UCPTulong\\CLSID"};
  EXPECT_EQ(Run({"/regserver"}), 0);
  EXPECT_EQ(Machine(ClassKey, ""), "{5B0C6A31-94E2-4F7D-8C1A-2D6E3F40B718}");
  for (const std::string& key : pointClassKeys) EXPECT_THAT(Machine(key.c_str(), ""), ::testing::StartsWith("{"));
  EXPECT_EQ(Run({"-Embedding"}), 0);
  EXPECT_EQ(Run({"/whatever"}), 0);
  EXPECT_EQ(Machine(PlugInKey, ""), "");
  EXPECT_EQ(Run({"/unregserver"}), 0);
  EXPECT_EQ(Machine(ClassKey, ""), "");
  for (const std::string& key : pointClassKeys) EXPECT_EQ(Machine(key.c_str(), ""), "");
}

TEST_F(ProgramTest, TheRegistrationDialogsExitIsAnsweredBeforeTheProgramEnds) {
  EXPECT_EQ(RunWithLines({}, "click form=fRegisterPlugIn control=bExit\nverbs\n", nullptr), 0);
  EXPECT_EQ(output_,
            "{\"seq\":1,\"verb\":\"click\",\"ok\":true,\"ending\":true}\n"
            "{\"seq\":2,\"verb\":\"verbs\",\"ok\":false,\"ending\":true,\"error\":{\"number\":5,\"source\":\"automation\","
            "\"description\":\"Not run: the process ended\"}}\n");
}

// A person who starts the program at a terminal is told what the open dialog waits for; a
// director's input is not a terminal, and its error stream stays quiet.
TEST_F(ProgramTest, TheDialogSaysAtATerminalThatItTakesRequestLines) {
  const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
  const std::string exit = "click form=fRegisterPlugIn control=bExit\n";
  ASSERT_EQ(write(terminal, exit.data(), exit.size()), static_cast<ssize_t>(exit.size()));
  EXPECT_EQ(RunWith({}, ptsname(terminal), "/dev/null"), 0);
  close(terminal);
  EXPECT_THAT(orvex::test::ReadFile(root_ / "errors"),
              ::testing::StartsWith("orvexuc_fcu: the registration dialog is open and takes request lines here"));
  EXPECT_EQ(RunWithLines({}, exit, nullptr), 0);
  EXPECT_EQ(orvex::test::ReadFile(root_ / "errors"), "");
}

TEST_F(ProgramTest, AStartTakesItsLinesFirstAndABadOneStopsIt) {
  EXPECT_EQ(RunWithLines({"/regplugin"}, "", "fault kind=offnet\nfault kind=flood"), 2);
  EXPECT_EQ(Machine(PlugInKey, ""), "");
  // The registration's message is answered by the answer queued before the start: no question.
  EXPECT_EQ(RunWithLines({}, "click form=fRegisterPlugIn control=bRegister\n", "answer button=OK queue=true"), 0);
  EXPECT_EQ(output_, "{\"seq\":1,\"verb\":\"click\",\"ok\":true,\"ending\":true}\n");
  EXPECT_EQ(Machine(PlugInKey, ""), "OrvexUC_FCU.LNSPlugInAPI");
  // The machine folder's file gives its lines to the deregistration as well.
  const fs::path startScript = temp_->Machine() / "start.script";
  orvex::test::WriteFile(startScript, "fault kind=open target=server\nfault kind=flood\n");
  EXPECT_EQ(Run({"/deregplugin", "/deregmode:1"}), 2);
  EXPECT_EQ(Machine(PlugInKey, ""), "OrvexUC_FCU.LNSPlugInAPI");
  orvex::test::WriteFile(startScript, "fault kind=open target=server\n");
  EXPECT_EQ(Run({"/deregplugin", "/deregmode:1"}), 0);
  EXPECT_EQ(Machine(PlugInKey, ""), "");
}

}  // namespace
}  // namespace app::test
