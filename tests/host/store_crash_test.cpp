#include <gmock/gmock.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "crash_steps.h"
#include "demo_system.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "support/shards.h"
#include "support/temp_machine.h"

namespace host::test {
namespace {

namespace fs = std::filesystem;
using rt::Variant;

constexpr int Kills = 100;
constexpr int Workers = 4;
// A round kills one plug-in process per worker.
constexpr size_t Rounds = Kills / Workers;
static_assert(Rounds * Workers == Kills);
// Shards that CTest runs side by side, each with a few rounds: some ten seconds in the sanitizers'
// build.
constexpr size_t CrashShards = orvex::test::ShardsFor(Rounds, 5);
constexpr const char* OwnProgId = "OrvexUC_FCU.LNSPlugInAPI";

struct Ended {
  int status = 0;
  std::string output;
};

// The output and wait status of a command started with popen.
Ended Finish(FILE* pipe) {
  Ended ended;
  if (!pipe) return {-1, ""};
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe)) ended.output += buffer;
  ended.status = pclose(pipe);
  return ended;
}

Ended RunProgram(const std::string& command) { return Finish(popen(command.c_str(), "r")); }

std::string IntegrityOf(const fs::path& file) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    result = sqlite3_step(statement) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)) : "";
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

std::vector<std::string> FilesUnder(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A demo machine laid once; each run of the plug-in process gets a fresh copy of it, and a few
// run at once, each on its own copy.
class StoreCrashTest : public ::testing::TestWithParam<size_t> {
 protected:
  void SetUp() override {
    temp_.emplace("crash");
    pristine_ = temp_->Root() / "pristine";
    ASSERT_EQ(RunProgram("ORVEX_MACHINE='" + pristine_.string() + "' '" DEMO_MACHINE "'").status, 0);
    UseMachine(FreshMachine(0));
    OpenDemoSystem();
    initial_ = Setpoint();
  }
  void TearDown() override { lns::ResetPlatform(); }

  fs::path FreshMachine(int worker) const {
    const fs::path machine = temp_->Root() / ("machine " + std::to_string(worker));
    fs::remove_all(machine);
    fs::copy(pristine_, machine, fs::copy_options::recursive);
    return machine;
  }
  static void UseMachine(const fs::path& machine) {
    lns::ResetPlatform();
    setenv("ORVEX_MACHINE", machine.c_str(), 1);
  }
  static FILE* StartChild(const fs::path& machine, int64_t killAt) {
    return popen(("ORVEX_MACHINE='" + machine.string() + "' exec '" CRASH_CHILD "' " + std::to_string(killAt)).c_str(), "r");
  }

  static lns::Bytes Setpoint() { return lns::FindOpenDevice(CrashDevice)->FindPoint(CrashPoint)->DeviceBytes(); }

  // Command 50 registers one application; the value writes come after it, in order. Whatever was
  // committed before the kill is there whole, nothing after it.
  void ExpectWholeChanges(const fs::path& machine) const {
    UseMachine(machine);
    auto system = OpenDemoSystem();
    auto apps = system->get_TemplateLibrary()->get_DeviceTemplates()->Item(Variant::String("OrvexUC_FCU"))->get_ComponentApps();
    std::vector<std::shared_ptr<lns::ComponentApp>> ours;
    for (const auto& app : apps->Items()) {
      if (app->get_ProgId() == OwnProgId) ours.push_back(app);
    }
    ASSERT_LE(ours.size(), 1u);
    const lns::Bytes setpoint = Setpoint();
    int step = 0;
    while (step <= CrashValueWrites && setpoint != (step == 0 ? initial_ : CrashValue(step))) ++step;
    ASSERT_LE(step, CrashValueWrites) << "a setpoint that was never written";
    if (step > 0) {
      ASSERT_EQ(ours.size(), 1u);
      EXPECT_EQ(ours[0]->get_Command(), 13);
      EXPECT_EQ(ours[0]->get_Version(), "1.1");
      EXPECT_EQ(ours[0]->get_ManufacturerId(), "1818");
      EXPECT_TRUE(ours[0]->get_IsDefault());
    }
    lns::ResetPlatform();
    const fs::path store = machine / "lns";
    EXPECT_THAT(FilesUnder(store), ::testing::ElementsAre("networks/Demo.db", "server.db"));
    EXPECT_EQ(IntegrityOf(store / "networks" / "Demo.db"), "ok");
  }

  std::optional<orvex::test::TempMachine> temp_;
  fs::path pristine_;
  lns::Bytes initial_;
};

// Every shard draws the whole series of kill points and takes its own rounds of it.
TEST_P(StoreCrashTest, AKilledPlugInLeavesEachChangeWhollyInOrOut) {
  const fs::path first = FreshMachine(0);
  const Ended whole = Finish(StartChild(first, 0));
  ASSERT_EQ(whole.status, 0) << whole.output;
  int64_t writes = 0;
  ASSERT_EQ(std::sscanf(whole.output.c_str(), "writes %ld", &writes), 1) << whole.output;
  ExpectWholeChanges(first);

  std::mt19937 random(20);
  std::uniform_int_distribution<int64_t> killAt(1, writes);
  std::vector<int64_t> points(Kills);
  for (int64_t& point : points) point = killAt(random);
  const orvex::test::Slice slice = orvex::test::SliceOf(GetParam(), CrashShards, Rounds);
  std::cout << "This shard runs " << orvex::test::SliceText(slice, Rounds, "rounds") << ".\n";
  for (size_t round = slice.first; round < slice.end && !HasFailure(); ++round) {
    const auto killedAt = std::span(points).subspan(round * Workers, Workers);
    std::vector<FILE*> children;
    for (int worker = 0; worker < Workers; ++worker) {
      children.push_back(StartChild(FreshMachine(worker), killedAt[worker]));
    }
    for (int worker = 0; worker < Workers; ++worker) {
      SCOPED_TRACE("killed at write " + std::to_string(killedAt[worker]) + " of " + std::to_string(writes));
      const Ended ended = Finish(children[worker]);
      EXPECT_TRUE(ended.status == 0 || (WIFSIGNALED(ended.status) && WTERMSIG(ended.status) == SIGKILL)) << ended.output;
      ExpectWholeChanges(temp_->Root() / ("machine " + std::to_string(worker)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, StoreCrashTest, ::testing::Range(size_t{0}, CrashShards));

}  // namespace
}  // namespace host::test
