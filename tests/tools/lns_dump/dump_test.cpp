#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/tools/dump.h"
#include "lns_fixture.h"
#include "process/program.h"
#include "support/temp_machine.h"

namespace lns::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct FileState {
  std::string bytes;
  fs::file_time_type written;
  bool operator==(const FileState&) const = default;
};

// Every file of the Object Server's store, its networks' databases, WALs and indexes among them.
std::map<fs::path, FileState> StoreFiles() {
  std::map<fs::path, FileState> files;
  for (const auto& entry : fs::recursive_directory_iterator(StoreFolder())) {
    if (entry.is_regular_file()) files[entry.path()] = {orvex::test::ReadFile(entry.path()), entry.last_write_time()};
  }
  return files;
}

class DumpTest : public LnsTest {
 protected:
  // The dump runs as a process of its own, as it does beside a running plug-in.
  static std::optional<int> Dump(const std::string& network) {
    std::vector<std::string> command{LNS_DUMP_TOOL};
    if (!network.empty()) command.push_back(network);
    return proc::Program::Start(command).Wait(60s);
  }
};

TEST_F(DumpTest, WritesNothingWhetherOrNotAnotherProcessHasTheNetworkOpen) {
  MakeNetwork("Plant");
  std::optional<HeldDevice> held;
  for (const bool heldOpen : {false, true}) {
    if (heldOpen) {
      held = HoldDevice("Plant/Sub 1/Dev 1");
      held->device->UnitSetState(device_state::ConfigOffline);
    }
    for (const std::string network : {"", "Plant"}) {
      const auto before = StoreFiles();
      EXPECT_EQ(Dump(network), 0) << "dump of \"" << network << "\", the network held open: " << heldOpen;
      EXPECT_EQ(StoreFiles(), before) << "dump of \"" << network << "\", the network held open: " << heldOpen;
    }
  }
  // What stands only in the held network's WAL is read.
  EXPECT_NE(DumpNetwork("Plant").find("\"state\": 6"), std::string::npos);
}

}  // namespace
}  // namespace lns::testing
