#include <gmock/gmock.h>

#include <fstream>
#include <sstream>

#include "lns/interface.h"
#include "lns/platform.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

class PersistenceTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
  }
  std::filesystem::path DatabaseFile() { return OpenServer()->get_Networks()->Item(Variant::String("Plant"))->File(); }
};

TEST_F(PersistenceTest, ChangesSurviveClosingAndOpeningAgain) {
  {
    auto server = OpenServer();
    auto system = OpenSystem(server, "Plant");
    auto device = Device(system);
    auto face = device->get_Interface();
    face->get_NetworkVariables()->Item(Variant::String("nviSetpoint"))->put_Value(Variant::Double(24.5));
    face->get_LonMarkObjects()->Item(Variant::Integer(2))->put_Mode(4);
    device->put_State(device_state::ConfigOffline);
    system->put_ManagementMode(1);
    system->put_OpenSetting(200);
    auto app = system->get_ComponentApps()->Add("Configure", "Tool.App", 7);
    app->put_Command(13);
    app->put_IsDefault(true);
    system->get_TemplateLibrary()->get_DeviceTemplates()->Add("Spare", 1);
    server->get_ComponentApps()->Add("Server tool", "Tool.Server", 0);
    server->Close();
  }
  ResetPlatform();

  auto server = OpenServer();
  auto system = OpenSystem(server, "Plant");
  auto device = Device(system);
  auto face = device->get_Interface();
  EXPECT_EQ(face->get_NetworkVariables()->Item(Variant::String("nviSetpoint"))->get_Value().ToDouble(), 24.5);
  EXPECT_EQ(face->get_LonMarkObjects()->Item(Variant::Integer(2))->get_Mode(), 4);
  EXPECT_EQ(device->get_State(), device_state::ConfigOffline);
  EXPECT_EQ(system->get_ManagementMode(), 1);
  EXPECT_EQ(system->get_OpenSetting(), 200);
  auto app = system->get_ComponentApps()->Item(Variant::String("Configure"));
  EXPECT_EQ(app->get_Command(), 13);
  EXPECT_TRUE(app->get_IsDefault());
  EXPECT_EQ(app->get_ObjectClass(), 7);
  EXPECT_EQ(system->get_TemplateLibrary()->get_DeviceTemplates()->get_Count(), 2);
  EXPECT_EQ(server->get_ComponentApps()->Item(Variant::Integer(1))->get_ProgId(), "Tool.Server");
}

TEST_F(PersistenceTest, AFormatLastsWhileTheNetworkStaysOpen) {
  auto server = OpenServer();
  auto network = server->get_Networks()->Item(Variant::String("Plant"));
  auto setpointOf = [&] {
    network->Open();
    auto system = network->get_Systems()->Item(Variant::Integer(1));
    system->Open();
    return Device(system)->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  };
  setpointOf()->put_DsFormatType("RAW");
  EXPECT_EQ(setpointOf()->get_DsFormatType(), "RAW");
  network->Close();
  EXPECT_EQ(setpointOf()->get_DsFormatType(), "SNVT_temp_p#SI");
}

// Damaged network databases: Open raises, the file stays as it was.
class DamagedDatabaseTest : public PersistenceTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(DamagedDatabaseTest, OpenRaisesAndLeavesTheFile) {
  auto file = DatabaseFile();
  std::string damaged = GetParam();
  if (damaged.starts_with("replace:")) {
    std::string text = FileText(file);
    auto colon = damaged.find(':', 8);
    std::string from = damaged.substr(8, colon - 8);
    text.replace(text.find(from), from.size(), damaged.substr(colon + 1));
    damaged = text;
  }
  WriteText(file, damaged);

  auto server = OpenServer();
  auto network = server->get_Networks()->Item(Variant::String("Plant"));
  EXPECT_EQ(ErrorNumberOf([&] { network->Open(); }), err::DatabaseDamaged);
  EXPECT_FALSE(network->get_IsOpen());
  EXPECT_EQ(FileText(file), damaged);
}

INSTANTIATE_TEST_SUITE_P(Damage, DamagedDatabaseTest,
                         ::testing::Values("", "{ not json", "[1, 2, 3]", R"({"kind":"orvex-lns-network","version":1})",
                                           "replace:\"0898\":\"08\"", "replace:\"0898\":\"08XY\"",
                                           "replace:\"SNVT_temp_p#SI\":\"SNVT_temp_p#XX\"",
                                           "replace:\"output\":\"sideways\"",
                                           "replace:\"managementMode\": 0:\"managementMode\": 7",
                                           "replace:\"Dev 1\":\"\\u0000\" , \"extra\": [}"));

TEST_F(PersistenceTest, AMissingDatabaseIsReportedNotRecreated) {
  auto file = DatabaseFile();
  std::filesystem::remove(file);
  auto server = OpenServer();
  EXPECT_EQ(ErrorNumberOf([&] { server->get_Networks()->Item(Variant::Integer(1))->Open(); }), err::DatabaseDamaged);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(PersistenceTest, ADamagedServerStoreStopsOpenAndStays) {
  WriteText(ServerStoreFile(), "{\"kind\":\"orvex-lns-server\",\"version\":1,\"networks\":7}");
  auto server = std::make_shared<ObjectServer>();
  EXPECT_EQ(ErrorNumberOf([&] { server->Open(); }), err::DatabaseDamaged);
  EXPECT_FALSE(server->get_IsOpen());
  EXPECT_EQ(ErrorNumberOf([&] { AddNetworkInterface("LON2"); }), err::DatabaseDamaged);
  EXPECT_EQ(FileText(ServerStoreFile()), "{\"kind\":\"orvex-lns-server\",\"version\":1,\"networks\":7}");
}

TEST_F(PersistenceTest, AChangeThatCannotBeWrittenIsUndone) {
  auto server = OpenServer();
  auto system = OpenSystem(server, "Plant");
  auto setpoint = Device(system)->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  auto file = server->get_Networks()->Item(Variant::Integer(1))->File();
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);

  EXPECT_EQ(ErrorNumberOf([&] { setpoint->put_Value(Variant::Double(30)); }), rt::err::PathFileAccessError);
  EXPECT_EQ(setpoint->get_Value().ToDouble(), 22.0);
  EXPECT_EQ(ErrorNumberOf([&] { system->get_ComponentApps()->Add("Tool", "Tool.App", 7); }), rt::err::PathFileAccessError);
  EXPECT_EQ(system->get_ComponentApps()->get_Count(), 0);
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

TEST_F(PersistenceTest, NetworkNamesAreUniqueWithoutRegardToCase) {
  EXPECT_EQ(ErrorNumberOf([] { MakeNetwork("PLANT"); }), err::NameExists);
  MakeNetwork("Plant/2");
  auto server = OpenServer();
  EXPECT_EQ(server->get_Networks()->get_Count(), 2);
  EXPECT_NE(server->get_Networks()->Item(Variant::Integer(1))->File(), server->get_Networks()->Item(Variant::Integer(2))->File());
}

}  // namespace
}  // namespace lns::testing
