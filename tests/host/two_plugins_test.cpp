#include <gmock/gmock.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "demo_system.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "plugin_process.h"
#include "support/temp_machine.h"

namespace host::test {
namespace {

using Json = nlohmann::json;
using rt::Variant;

constexpr int ReplyTimeoutMs = 60000;
constexpr const char* Unit = R"(device="Demo/Subsystem 1/FCU 1")";

// A plug-in process under a director: a request line in, its reply back (events are skipped).
class PlugIn {
 public:
  PlugIn() : process_(PLUGIN, {"-Embedding", "--virtual-clock"}) {
    Request("create progid=OrvexUC_FCU.LNSPlugInAPI");
    Request(R"(let object=1 member=networkName value="Demo")");
  }
  ~PlugIn() {
    process_.CloseInput();
    process_.WaitForEnd(ReplyTimeoutMs);
  }
  PlugIn(const PlugIn&) = delete;
  PlugIn& operator=(const PlugIn&) = delete;

  Json Request(const std::string& line) {
    EXPECT_TRUE(process_.Send(line)) << line;
    std::string reply;
    while (process_.ReadLine(reply, ReplyTimeoutMs) == director::PluginProcess::Read::Line) {
      Json parsed = Json::parse(reply);
      if (parsed.contains("event")) continue;
      EXPECT_EQ(parsed["ok"], true) << line << " -> " << reply;
      return parsed;
    }
    ADD_FAILURE() << "no reply to " << line;
    return {};
  }
  void RegisterCommand() {
    Request("answer button=Yes queue=true");
    Request(R"(call object=1 member=SendCommand args=[50, 0, ""])");
  }

 private:
  director::PluginProcess process_;
};

class TwoPlugInsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lns::ResetPlatform();
    ASSERT_EQ(std::system("'" DEMO_MACHINE "' > /dev/null"), 0);
    ASSERT_EQ(std::system("'" PLUGIN "' /regserver"), 0);
  }
  void TearDown() override { lns::ResetPlatform(); }

  orvex::test::TempMachine machine_{"two_plugins"};
};

TEST_F(TwoPlugInsTest, EachFindsEveryChangeOfTheOther) {
  {
    PlugIn a;
    PlugIn b;
    a.RegisterCommand();
    b.Request(std::string("unit-set point=nviSetpoint bytes=[10,7] ") + Unit);
    a.Request(std::string("unit-state testBlocked=true ") + Unit);
    // The command already registered by the other process is found, not registered twice.
    b.RegisterCommand();
    EXPECT_EQ(a.Request(std::string("unit-read point=nviSetpoint ") + Unit)["bytes"], Json::parse("[10,7]"));
    EXPECT_EQ(b.Request(std::string("unit-state ") + Unit)["testBlocked"], true);
    a.Request(std::string("unit-set point=nviSetpoint bytes=[10,8] ") + Unit);
    EXPECT_EQ(b.Request(std::string("unit-read point=nviSetpoint ") + Unit)["bytes"], Json::parse("[10,8]"));
  }

  auto system = OpenDemoSystem();
  auto apps = system->get_TemplateLibrary()->get_DeviceTemplates()->Item(Variant::String("OrvexUC_FCU"))->get_ComponentApps();
  ASSERT_EQ(apps->get_Count(), 1);
  EXPECT_EQ(apps->Item(Variant::Integer(1))->get_ProgId(), "OrvexUC_FCU.LNSPlugInAPI");
  EXPECT_TRUE(apps->Item(Variant::Integer(1))->get_IsDefault());
  auto device = lns::FindOpenDevice("Demo/Subsystem 1/FCU 1");
  EXPECT_EQ(device->FindPoint("nviSetpoint")->DeviceBytes(), lns::Bytes({10, 8}));
  EXPECT_TRUE(device->get_TestBlocked());
}

}  // namespace
}  // namespace host::test
