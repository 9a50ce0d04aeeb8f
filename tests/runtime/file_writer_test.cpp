#include "runtime/file_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "support/temp_machine.h"

namespace rt {
namespace {
namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::SizeIs;
using ::testing::StartsWith;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class FileWriterTest : public ::testing::Test {
 protected:
  ~FileWriterTest() override { SetWriteStepHook({}); }

  orvex::test::TempMachine machine_{"file_writer"};
  fs::path folder_ = machine_.Root() / "data";
  fs::path file_ = folder_ / "store.json";
};

TEST_F(FileWriterTest, AFailureAtAnyStepLeavesTheOldFileAndNoTemporary) {
  for (WriteStep failing : {WriteStep::Open, WriteStep::Write, WriteStep::Sync, WriteStep::Keep, WriteStep::Rename,
                            WriteStep::SyncFolder}) {
    for (bool existed : {true, false}) {
      fs::remove_all(folder_);
      fs::create_directories(folder_);
      if (existed) orvex::test::WriteFile(file_, "old");
      SetWriteStepHook([failing](WriteStep step) { return step == failing ? EIO : 0; });
      const std::error_code error = ReplaceFile(file_, "new");
      const auto trace = ::testing::Message() << "step " << static_cast<int>(failing) << ", existed " << existed;
      EXPECT_EQ(error, std::error_code(EIO, std::generic_category())) << trace;
      if (existed) {
        EXPECT_EQ(orvex::test::ReadFile(file_), "old") << trace;
        EXPECT_THAT(Names(folder_), ElementsAre("store.json")) << trace;
      } else {
        EXPECT_THAT(Names(folder_), ElementsAre()) << trace;
      }
    }
  }
  SetWriteStepHook({});
  EXPECT_FALSE(ReplaceFile(file_, "new"));
  EXPECT_EQ(orvex::test::ReadFile(file_), "new");
}

TEST_F(FileWriterTest, ALinkIsWrittenThroughAndStaysALink) {
  fs::create_directories(folder_ / "real");
  orvex::test::WriteFile(folder_ / "real" / "store.json", "old");
  fs::create_symlink("real/store.json", file_);
  ASSERT_FALSE(ReplaceFile(file_, "new"));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(orvex::test::ReadFile(folder_ / "real" / "store.json"), "new");
  EXPECT_THAT(Names(folder_ / "real"), ElementsAre("store.json"));
}

TEST_F(FileWriterTest, TheTemporariesOfAKilledWriterGoWithTheNextWriteOfTheSameFile) {
  const fs::path other = folder_ / "other.json";
  for (const fs::path& file : {file_, other}) {
    orvex::test::WriteFile(file, "old");
    const pid_t child = fork();
    if (child == 0) {
      SetWriteStepHook([](WriteStep step) { return step == WriteStep::Rename ? (_exit(0), 0) : 0; });
      (void)ReplaceFile(file, "lost");
      _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
  }
  const auto temporaryOf = [](const std::string& name) { return Contains(StartsWith("." + name + ".")); };
  ASSERT_THAT(Names(folder_), AllOf(SizeIs(6), temporaryOf("store.json"), temporaryOf("other.json")));

  ASSERT_FALSE(ReplaceFile(file_, "new"));
  EXPECT_EQ(orvex::test::ReadFile(file_), "new");
  EXPECT_THAT(Names(folder_), AllOf(SizeIs(4), Not(temporaryOf("store.json")), temporaryOf("other.json")));
}

TEST_F(FileWriterTest, WritersOfTheSameFileAtOnceAllSucceedAndLeaveNoTemporary) {
  constexpr int kWriters = 4;
  constexpr int kWrites = 20;
  fs::create_directories(folder_);
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t child = fork();
    if (child == 0) {
      for (int write = 0; write < kWrites; ++write) {
        if (ReplaceFile(file_, "writer " + std::to_string(writer))) _exit(1);
      }
      _exit(0);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_THAT(orvex::test::ReadFile(file_), StartsWith("writer "));
  EXPECT_THAT(Names(folder_), ElementsAre("store.json"));
}

TEST_F(FileWriterTest, ANewFileTakesTheUmasksModeAndAReplacedOneKeepsItsOwn) {
  struct Case {
    mode_t umask;
    std::optional<mode_t> existing;
    mode_t expected;
  };
  for (const Case& c : {Case{077, std::nullopt, 0600}, Case{022, std::nullopt, 0644}, Case{022, 0600, 0600},
                        Case{077, 0640, 0640}}) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    if (c.existing) {
      orvex::test::WriteFile(file_, "old");
      fs::permissions(file_, static_cast<fs::perms>(*c.existing));
    }
    const mode_t previous = ::umask(c.umask);
    const std::error_code error = ReplaceFile(file_, "new");
    ::umask(previous);
    ASSERT_FALSE(error) << error.message();
    EXPECT_EQ(static_cast<mode_t>(fs::status(file_).permissions()), c.expected)
        << std::oct << "umask " << c.umask << ", existing " << c.existing.value_or(0);
  }
}

}  // namespace
}  // namespace rt
