#include "process/program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "runtime/error.h"
#include "temp_machine.h"

namespace proc::test {
namespace {

using namespace std::chrono_literals;

int ErrorNumberOfStart(const std::vector<std::string>& arguments) {
  try {
    Program::Start(arguments);
  } catch (const rt::Error& e) {
    return e.Number();
  }
  return 0;
}

TEST(ProgramTest, ExitCodesComeBack) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
  } cases[] = {
      {{"true"}, 0},
      {{"false"}, 1},
      {{"sh", "-c", "exit 7"}, 7},
      {{"test", "a b", "=", "a b"}, 0},  // through a shell the blank would split the words
      {{"test", "$HOME;x", "=", "$HOME;x"}, 0},
      {{"sh", "-c", "kill -9 $$"}, 128 + 9},
      {{"sh", "-c", "read line"}, 1},  // stdin is empty, never the parent's
  };
  for (const auto& c : cases) {
    Program program = Program::Start(c.arguments);
    EXPECT_GT(program.Id(), 0);
    EXPECT_EQ(program.Wait(10s), c.exitCode) << c.arguments.back();
  }
}

TEST(ProgramTest, AProgramThatCannotStartRaisesError53) {
  EXPECT_EQ(ErrorNumberOfStart({"/no/such/folder/program"}), rt::err::FileNotFound);
  EXPECT_EQ(ErrorNumberOfStart({"no-such-program-anywhere"}), rt::err::FileNotFound);
  EXPECT_EQ(ErrorNumberOfStart({"/etc/hostname"}), rt::err::FileNotFound);
  EXPECT_EQ(ErrorNumberOfStart({}), rt::err::InvalidProcedureCall);
}

TEST(ProgramTest, WaitGivesUpAtItsTimeLimitAndCanWaitAgain) {
  const orvex::test::TempMachine temp("program");
  const fs::path go = temp.Root() / "go";
  // Runs until the test lets it end.
  Program program = Program::Start({"sh", "-c", "while [ ! -e \"$0\" ]; do sleep 0.01; done", go.string()});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(program.Wait(20ms), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
  WriteFile(go, "");
  EXPECT_EQ(program.Wait(60s), 0);
  EXPECT_EQ(program.Wait(0ms), 0);
}

TEST(ProgramTest, AMovedHandleKeepsTheProgram) {
  Program first = Program::Start({"sh", "-c", "exit 4"});
  Program second = std::move(first);
  EXPECT_EQ(second.Wait(10s), 4);
  first = Program::Start({"true"});
  EXPECT_EQ(first.Wait(10s), 0);
}

class ProgramPathTest : public TempMachineTest {};

TEST_F(ProgramPathTest, AProgramPathIsResolvedWithoutRegardToCase) {
  fs::create_directories(root_ / "LonWorks/bin");
  fs::copy_file("/bin/true", root_ / "LonWorks/bin/XIF32BIN");
  Program program = Program::Start({root_.string() + "\\lonworks\\BIN\\xif32bin", "a.xif", "a.XFB"});
  EXPECT_EQ(program.Wait(10s), 0);
}

TEST_F(ProgramPathTest, TheProgramNeverWritesIntoOurStdout) {
  const fs::path captured = root_ / "stdout";
  const int saved = dup(STDOUT_FILENO);
  const int file = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  dup2(file, STDOUT_FILENO);
  close(file);
  std::optional<int> exitCode = Program::Start({"sh", "-c", "echo protocol-breaker"}).Wait(10s);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(fs::file_size(captured), 0u);
}

}  // namespace
}  // namespace proc::test
