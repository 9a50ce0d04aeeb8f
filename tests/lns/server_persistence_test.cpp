#include <gmock/gmock.h>

#include <sqlite3.h>

#include <fstream>
#include <functional>

#include "lns/interface.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns_fixture.h"
#include "support/store_faults.h"

namespace lns::testing {
namespace {

using orvex::test::ReadFile;
using rt::Variant;

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

// Runs SQL on a database file as another program would.
void RunSql(const std::filesystem::path& file, const std::string& statements) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

// Damaged and foreign network databases: the failure names the file and why, and the file stays
// as it was. Damage in the rows of a device's interface shows when the interface is first read.
TEST_F(PersistenceTest, ADamagedDatabaseIsReportedAndLeftAsItIs) {
  enum class Seen { AtOpen, AtInterface };
  const struct {
    const char* damage;
    std::function<void(const std::filesystem::path&)> apply;
    Seen seen;
    const char* why;
  } cases[] = {
      {"empty", [](const auto& file) { WriteText(file, ""); }, Seen::AtOpen, "is empty"},
      {"JSON of earlier versions", [](const auto& file) { WriteText(file, "{\"kind\":\"orvex-lns-network\"}"); },
       Seen::AtOpen, "earlier version"},
      {"text", [](const auto& file) { WriteText(file, "SQLite format 2 and some words"); }, Seen::AtOpen,
       "not a database"},
      {"pages overwritten",
       [](const auto& file) { WriteText(file, ReadFile(file).substr(0, 100) + std::string(8192, 'x')); }, Seen::AtOpen,
       "malformed"},
      {"another program's", [](const auto& file) { RunSql(file, "PRAGMA application_id=7"); }, Seen::AtOpen,
       "another program"},
      {"a newer version's", [](const auto& file) { RunSql(file, "PRAGMA user_version=2"); }, Seen::AtOpen,
       "newer version"},
      {"fields not JSON", [](const auto& file) { RunSql(file, "UPDATE objects SET fields='{' WHERE kind='System'"); },
       Seen::AtOpen, "System"},
      {"management mode 7",
       [](const auto& file) {
         RunSql(file, "UPDATE objects SET fields=json_set(fields, '$.managementMode', 7) WHERE kind='System'");
       },
       Seen::AtOpen, "management mode"},
      {"commission status beyond 16 bits",
       [](const auto& file) {
         RunSql(file, "UPDATE objects SET fields=json_set(fields, '$.commissionStatus', 1099511627776) WHERE kind='AppDevice'");
       },
       Seen::AtOpen, "commissionStatus 1099511627776"},
      {"open setting a huge fraction",
       [](const auto& file) {
         RunSql(file, "UPDATE objects SET fields=json_set(fields, '$.openSetting', 1e300) WHERE kind='System'");
       },
       Seen::AtOpen, "openSetting"},
      {"unknown kind", [](const auto& file) { RunSql(file, "UPDATE objects SET kind='Gadget' WHERE kind='AppDevice'"); },
       Seen::AtOpen, "unknown kind"},
      {"no system", [](const auto& file) { RunSql(file, "DELETE FROM objects WHERE kind='System'"); }, Seen::AtOpen,
       "0 systems"},
      {"a value of one byte",
       [](const auto& file) { RunSql(file, "UPDATE point_values SET bytes=x'08' WHERE point='nv/nviSetpoint'"); },
       Seen::AtInterface, "nviSetpoint"},
      {"a value missing", [](const auto& file) { RunSql(file, "DELETE FROM point_values WHERE point='nv/nviSetpoint'"); },
       Seen::AtInterface, "no value for nv/nviSetpoint"},
      {"unknown format",
       [](const auto& file) { RunSql(file, "UPDATE shapes SET declaration=replace(declaration, '#SI', '#XX')"); },
       Seen::AtInterface, "SNVT_temp_p#XX"},
      {"sideways direction",
       [](const auto& file) { RunSql(file, "UPDATE shapes SET declaration=replace(declaration, 'output', 'sideways')"); },
       Seen::AtInterface, "sideways"},
      {"resource scope 9",
       [](const auto& file) { RunSql(file, "UPDATE objects SET fields='{\"name\":\"FCU\",\"mode\":9}' WHERE name='FCU'"); },
       Seen::AtInterface, "resource scope 9"},
  };
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.damage);
    const std::string name = "Damaged " + std::to_string(++number);
    MakeNetwork(name);
    auto server = OpenServer();
    auto network = server->get_Networks()->Item(Variant::String(name));
    const auto file = network->File();
    c.apply(file);
    const std::string damaged = ReadFile(file);

    const auto reported = [&](const std::function<void()>& step) {
      try {
        step();
      } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), err::DatabaseDamaged);
        EXPECT_THAT(e.Description(), ::testing::HasSubstr(file.string()));
        EXPECT_THAT(e.Description(), ::testing::HasSubstr(c.why));
        return;
      }
      ADD_FAILURE() << "no error";
    };
    if (c.seen == Seen::AtOpen) {
      reported([&] { network->Open(); });
      EXPECT_FALSE(network->get_IsOpen());
    } else {
      auto system = OpenSystem(server, name);
      reported([&] { Device(system)->get_Interface(); });
      network->Close();
    }
    server->Close();
    EXPECT_EQ(ReadFile(file), damaged);
  }
}

TEST_F(PersistenceTest, ADatabaseOutsideTheStoresFolderIsRefusedAndNothingWritten) {
  const auto outside = StoreFolder().parent_path() / "outside" / "victim.json";
  std::filesystem::create_directories(outside.parent_path());
  WriteText(outside, "kept");
  for (const std::string& name : {std::string("../outside/victim.json"), outside.string()}) {
    SCOPED_TRACE(name);
    RunSql(ServerStoreFile(), "UPDATE objects SET fields=json_set(fields, '$.database', '" + name + "') WHERE kind='Network'");
    const std::string store = ReadFile(ServerStoreFile());
    EXPECT_EQ(ErrorNumberOf([&] { OpenServer(); }), err::DatabaseDamaged);
    EXPECT_EQ(ReadFile(ServerStoreFile()), store);
    EXPECT_EQ(ReadFile(outside), "kept");
  }
}

// A network's database that is a link to a file outside the folder, as the store is read (the
// unit's own verbs read it so) and as the network opens after the link was laid.
TEST_F(PersistenceTest, ADatabaseLinkedOutsideTheStoresFolderIsRefusedAndNothingWritten) {
  const auto file = DatabaseFile();
  const auto outside = StoreFolder().parent_path() / "outside" / "victim.db";
  std::filesystem::create_directories(outside.parent_path());
  auto server = OpenServer();
  auto network = server->get_Networks()->Item(Variant::String("Plant"));
  std::filesystem::rename(file, outside);
  std::filesystem::create_symlink(outside, file);
  const std::string kept = ReadFile(outside);
  const std::string why = ServerStoreFile().string() + " (Network \"Plant\": the database \"" +
                          file.lexically_relative(StoreFolder()).string() + "\" lies outside the store's folder)";
  const std::function<void()> openings[] = {[&] { network->Open(); }, [&] { OpenServer(); }, [] { HoldNetwork("Plant"); }};
  for (const auto& open : openings) {
    try {
      open();
      ADD_FAILURE() << "opened";
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), err::DatabaseDamaged);
      EXPECT_THAT(e.Description(), ::testing::EndsWith(why));
    }
  }
  EXPECT_EQ(ReadFile(outside), kept);
}

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
  EXPECT_EQ(ReadFile(ServerStoreFile()), "{\"kind\":\"orvex-lns-server\",\"version\":1,\"networks\":7}");
}

TEST_F(PersistenceTest, TheJsonStoreOfAnEarlierVersionIsRefusedNotReplaced) {
  std::filesystem::remove_all(StoreFolder());
  const auto earlier = StoreFolder() / "server.json";
  std::filesystem::create_directories(StoreFolder());
  WriteText(earlier, "{\"kind\":\"orvex-lns-server\",\"version\":1}");
  try {
    OpenServer();
    ADD_FAILURE() << "opened";
  } catch (const rt::Error& e) {
    EXPECT_EQ(e.Number(), err::DatabaseDamaged);
    EXPECT_THAT(e.Description(), ::testing::HasSubstr(earlier.string() + " holds the Object Server's store as an earlier version"));
  }
  EXPECT_FALSE(std::filesystem::exists(ServerStoreFile()));
}

TEST_F(PersistenceTest, AChangeThatCannotBeWrittenIsUndone) {
  orvex::test::StoreFaults faults;
  auto server = OpenServer();
  auto system = OpenSystem(server, "Plant");
  auto setpoint = Device(system)->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
  faults.FailFrom(1);

  EXPECT_EQ(ErrorNumberOf([&] { setpoint->put_Value(Variant::Double(30)); }), rt::err::PathFileAccessError);
  EXPECT_EQ(setpoint->get_Value().ToDouble(), 22.0);
  EXPECT_EQ(ErrorNumberOf([&] { system->get_ComponentApps()->Add("Tool", "Tool.App", 7); }), rt::err::PathFileAccessError);
  EXPECT_EQ(system->get_ComponentApps()->get_Count(), 0);

  faults.FailFrom(0);
  server->Close();
  ResetPlatform();
  auto again = OpenSystem(OpenServer(), "Plant");
  EXPECT_EQ(Device(again)->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"))->get_Value().ToDouble(),
            22.0);
  EXPECT_EQ(again->get_ComponentApps()->get_Count(), 0);
  again->get_ComponentApps()->Add("Tool", "Tool.App", 7);
  EXPECT_EQ(again->get_ComponentApps()->get_Count(), 1);
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
