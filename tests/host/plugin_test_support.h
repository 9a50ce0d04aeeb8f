#pragma once

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_main_window.h"
#include "forms/layout.h"
#include "host/connection.h"
#include "host/plugin_api.h"
#include "host_fixture.h"
#include "lns/calls/journal.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/tools/demo.h"
#include "support/eventually.h"

namespace host::test {

inline constexpr const char* DemoDevicePath = "Demo/Demo/Subsystem 1/FCU 1";

// The plug-in with the demo network on its machine and a fake main window.
class PlugInTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(lns::CreateDemoNetwork((root_ / "xif").string()));
    forms::RegisterLayout("fSizableMain", SizableMainLayout);
    window_ = std::make_shared<FakeMainWindow>();
    SetMainWindow(window_);
  }

  std::shared_ptr<LNSPlugInAPI> NewPlugIn() { return std::make_shared<LNSPlugInAPI>(); }

  // A stand-in for the program file that notes the arguments it was started with.
  void InstallProgram() {
    forms::App().SetEXEName("orvexuc_fcu");
    const fs::path program = programFolder_ / "orvexuc_fcu";
    WriteFile(program, "#!/bin/sh\necho \"$@\" >> '" + (root_ / "started").string() + "'\n");
    chmod(program.c_str(), 0755);
  }
  // The arguments of the program's starts, once `count` starts have noted theirs: each start runs
  // beside the plug-in, which does not wait for it.
  std::vector<std::string> Started(size_t count) {
    std::vector<std::string> lines;
    orvex::test::Eventually([&] {
      lines.clear();
      std::ifstream file(root_ / "started");
      for (std::string line; std::getline(file, line);) lines.push_back(line);
      return lines.size() >= count;
    });
    return lines;
  }

  // The journal's calls of one member, as "<kind>" or "<kind> <arguments>".
  static std::vector<std::string> CallsOf(std::string_view member) {
    std::vector<std::string> calls;
    for (const auto& entry : lns::JournalEntries()) {
      if (entry.member != member) continue;
      std::string call(lns::CallKindText(entry.kind));
      if (!entry.arguments.empty()) call += " " + entry.arguments;
      calls.push_back(call);
    }
    return calls;
  }

  // The Object Server's store and the demo network's database.
  static std::vector<fs::path> DemoStoreFiles() {
    auto server = std::make_shared<lns::ObjectServer>();
    server->Open();
    const fs::path network = server->get_Networks()->Item(rt::Variant::String("Demo"))->File();
    server->Close();
    return {lns::ServerStoreFile(), network};
  }

  std::shared_ptr<FakeMainWindow> window_;
};

// What a damaged store file holds in the tests: text, long enough to be taken for a database's header.
inline constexpr const char* DamagedStoreText =
    "not a database, but long enough to be read as one's header ........................";

// The error a call raised; fails the test when it raised none.
inline rt::Error RaisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const rt::Error& error) {
    return error;
  }
  ADD_FAILURE() << "no error raised";
  return rt::Error(0);
}

}  // namespace host::test
