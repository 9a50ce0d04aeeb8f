#include <gmock/gmock.h>

#include <sqlite3.h>

#include <functional>

#include "lns/interface.h"
#include "lns/platform.h"
#include "lns/store/session.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

// One network database open twice, as two processes hold it: each with its own connection and
// its own objects.
class SharingTest : public LnsTest {
 protected:
  struct Side {
    std::shared_ptr<Session> session;
    std::shared_ptr<System> system;

    std::shared_ptr<AppDevice> Unit() const {
      return system->get_Subsystems()->Item(Variant::String("Sub 1"))->get_AppDevices()->Item(Variant::String("Dev 1"));
    }
    std::shared_ptr<NetworkVariable> Variable(const char* name) const {
      return Unit()->get_Interface()->get_NetworkVariables()->Item(Variant::String(name));
    }
    std::shared_ptr<ComponentApps> Apps() const { return system->get_ComponentApps(); }
    std::shared_ptr<DeviceTemplates> Templates() const { return system->get_TemplateLibrary()->get_DeviceTemplates(); }
  };

  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
    file_ = OpenServer()->get_Networks()->Item(Variant::String("Plant"))->File();
  }
  Side OpenSide() const {
    auto session = Session::Load(file_);
    auto system = session->GetSystem();
    system->Open();
    Side side{session, system};
    side.Variable("nviSetpoint");  // the interface read before the other side changes it
    return side;
  }

  std::filesystem::path file_;
};

TEST_F(SharingTest, EachSeesTheOthersCommittedChangesAtItsNextCall) {
  Side a = OpenSide();
  Side b = OpenSide();
  const struct {
    const char* change;
    std::function<void(const Side&)> make;
    std::function<void(const Side&)> check;
  } cases[] = {
      {"a value", [](const Side& s) { s.Variable("nviSetpoint")->put_Value(Variant::Double(25.5)); },
       [](const Side& s) { EXPECT_EQ(s.Variable("nviSetpoint")->get_Value().ToDouble(), 25.5); }},
      {"a device's state", [](const Side& s) { s.Unit()->put_State(device_state::ConfigOffline); },
       [](const Side& s) { EXPECT_EQ(s.Unit()->get_State(), device_state::ConfigOffline); }},
      {"a system's field", [](const Side& s) { s.system->put_OpenSetting(7); },
       [](const Side& s) { EXPECT_EQ(s.system->get_OpenSetting(), 7); }},
      {"an added application", [](const Side& s) { s.Apps()->Add("Tool", "Tool.App", 7)->put_Command(13); },
       [](const Side& s) { EXPECT_EQ(s.Apps()->Item(Variant::String("Tool"))->get_Command(), 13); }},
      {"an application's field", [](const Side& s) { s.Apps()->Item(Variant::String("Tool"))->put_Version("2.0"); },
       [](const Side& s) { EXPECT_EQ(s.Apps()->Item(Variant::String("Tool"))->get_Version(), "2.0"); }},
      {"an application on a LonMark object",
       [](const Side& s) {
         auto fcu = s.Unit()->get_Interface()->get_LonMarkObjects()->Item(Variant::String("FCU"));
         fcu->put_Mode(3);
         fcu->get_ComponentApps()->Add("On FCU", "Tool.App", 9);
       },
       [](const Side& s) {
         auto fcu = s.Unit()->get_Interface()->get_LonMarkObjects()->Item(Variant::String("FCU"));
         EXPECT_EQ(fcu->get_Mode(), 3);
         EXPECT_EQ(fcu->get_ComponentApps()->get_Count(), 1);
       }},
      {"a removed application", [](const Side& s) { s.Apps()->Remove(Variant::String("Tool")); },
       [](const Side& s) { EXPECT_EQ(s.Apps()->get_Count(), 0); }},
      {"a template filled anew",
       [](const Side& s) {
         auto spare = s.Templates()->Add("Spare", 1);
         spare->Fill("80071A5501030401", SmallInterface());
         spare->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"))->put_Value(Variant::Double(19));
       },
       [](const Side& s) {
         auto spare = s.Templates()->Item(Variant::String("Spare"));
         EXPECT_EQ(spare->get_ProgramId(), "80071A5501030401");
         auto setpoint = spare->get_Interface()->get_NetworkVariables()->Item(Variant::String("nviSetpoint"));
         EXPECT_EQ(setpoint->get_Value().ToDouble(), 19.0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    c.make(a);
    c.check(b);
    std::swap(a, b);
  }
}

TEST_F(SharingTest, AChangeIsSeenAfterTheLogWasCheckpointedAndBegunAgain) {
  Side a = OpenSide();
  Side b = OpenSide();
  const auto checkpoint = [&] { sql::Connection(file_, sql::OpenMode::Existing).Execute("PRAGMA wal_checkpoint(TRUNCATE)"); };
  checkpoint();
  a.Variable("nviSetpoint")->put_Value(Variant::Double(21));
  EXPECT_EQ(b.Variable("nviSetpoint")->get_Value().ToDouble(), 21.0);
  // The same change again in a log begun anew: as long as before, at the same place.
  checkpoint();
  a.Variable("nviSetpoint")->put_Value(Variant::Double(22));
  EXPECT_EQ(b.Variable("nviSetpoint")->get_Value().ToDouble(), 22.0);
}

TEST_F(SharingTest, NeitherSideLosesTheOthersChanges) {
  Side a = OpenSide();
  Side b = OpenSide();
  a.Apps()->Add("Shared", "Tool.App", 7);
  auto shared = b.Apps()->Item(Variant::String("Shared"));
  auto sameInA = a.Apps()->Item(Variant::String("Shared"));

  sameInA->put_Description("from a");
  shared->put_Version("from b");
  a.Apps()->Add("Only a", "Tool.App", 7);
  b.Apps()->Add("Only b", "Tool.App", 7);
  a.Variable("nviSetpoint")->put_Value(Variant::Double(23));
  b.Variable("nviOccManCmd")->put_Value(Variant::String("OC_UNOCCUPIED"));
  b.Unit()->UnitSetTestBlocked(true);
  a.Unit()->UnitSetCommission(true, 1);

  Side c = OpenSide();
  auto stored = c.Apps()->Item(Variant::String("Shared"));
  EXPECT_EQ(stored->get_Description(), "from a");
  EXPECT_EQ(stored->get_Version(), "from b");
  EXPECT_EQ(c.Apps()->get_Count(), 3);
  EXPECT_EQ(c.Variable("nviSetpoint")->get_Value().ToDouble(), 23.0);
  EXPECT_EQ(c.Variable("nviOccManCmd")->get_Value().ToString(), "OC_UNOCCUPIED");
  EXPECT_TRUE(c.Unit()->get_TestBlocked());
  EXPECT_EQ(c.Unit()->get_CommissionStatus(), 1);
  EXPECT_EQ(ErrorNumberOf([&] { b.Apps()->Add("Only a", "Tool.App", 7); }), err::NameExists);
}

TEST_F(SharingTest, AChangeToAnObjectTheOtherSideRemovedFails) {
  Side a = OpenSide();
  Side b = OpenSide();
  auto app = a.Apps()->Add("Tool", "Tool.App", 7);
  auto sameInB = b.Apps()->Item(Variant::String("Tool"));
  a.Apps()->Remove(Variant::String("Tool"));
  EXPECT_EQ(ErrorNumberOf([&] { sameInB->put_Command(13); }), err::ObjectNotFound);
  EXPECT_EQ(b.Apps()->get_Count(), 0);
}

TEST_F(SharingTest, AnUnchangedValueWritesNothing) {
  Side a = OpenSide();
  auto app = a.Apps()->Add("Tool", "Tool.App", 7);
  const int64_t revision = a.session->Revision();
  app->put_IsDefault(false);
  app->put_Description("");
  a.Variable("nviSetpoint")->put_Value(Variant::Double(22));
  EXPECT_EQ(a.session->Revision(), revision);
  app->put_IsDefault(true);
  EXPECT_EQ(a.session->Revision(), revision + 1);
}

// Lays a link to `target` over `file` as SQLite looks at its name or as it opens it: after every
// check before the open, as another process may.
class LateLink {
 public:
  enum class At { Look, Open };
  LateLink(const std::filesystem::path& file, std::filesystem::path target, At at) {
    g_ = {file.string(), std::move(target), at, sqlite3_vfs_find(nullptr), {}};
    g_.vfs = *g_.real;
    g_.vfs.zName = "orvex-late-link";
    g_.vfs.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
      Lay(name, At::Look);
      return g_.real->xFullPathname(g_.real, name, size, out);
    };
    g_.vfs.xOpen = [](sqlite3_vfs*, sqlite3_filename name, sqlite3_file* opened, int flags, int* outFlags) {
      Lay(name, At::Open);
      return g_.real->xOpen(g_.real, name, opened, flags, outFlags);
    };
    sqlite3_vfs_register(&g_.vfs, 1);
  }
  ~LateLink() {
    sqlite3_vfs_register(g_.real, 1);
    sqlite3_vfs_unregister(&g_.vfs);
  }
  LateLink(const LateLink&) = delete;
  LateLink& operator=(const LateLink&) = delete;

 private:
  static void Lay(const char* name, At at) {
    if (at != g_.at || !name || g_.file != name) return;
    std::filesystem::remove(g_.file);
    std::filesystem::create_symlink(g_.target, g_.file);
    g_.file.clear();
  }
  struct State {
    std::string file;
    std::filesystem::path target;
    At at;
    sqlite3_vfs* real;
    sqlite3_vfs vfs;
  };
  static inline State g_;
};

// The store's check saw a plain file; the open meets a link to a network database outside.
TEST_F(SharingTest, ADatabaseLinkedOutsideAfterTheCheckIsRefusedAndNothingOutsideWritten) {
  const auto outside = StoreFolder().parent_path() / "outside" / "victim.db";
  std::filesystem::create_directories(outside.parent_path());
  const std::string why = ServerStoreFile().string() + " (Network \"Plant\": the database \"" +
                          file_.lexically_relative(StoreFolder()).string() + "\" lies outside the store's folder)";
  for (const auto at : {LateLink::At::Look, LateLink::At::Open}) {
    SCOPED_TRACE(at == LateLink::At::Look ? "as SQLite looks" : "as SQLite opens");
    std::filesystem::copy_file(file_, outside, std::filesystem::copy_options::overwrite_existing);
    const std::string kept = orvex::test::ReadFile(outside);
    auto server = OpenServer();
    auto network = server->get_Networks()->Item(Variant::String("Plant"));
    try {
      LateLink link(std::filesystem::weakly_canonical(file_), outside, at);
      network->Open();
      ADD_FAILURE() << "opened";
      network->Close();
    } catch (const rt::Error& e) {
      EXPECT_EQ(e.Number(), err::DatabaseDamaged);
      EXPECT_THAT(e.Description(), ::testing::EndsWith(why));
    }
    EXPECT_FALSE(network->get_IsOpen());
    EXPECT_EQ(orvex::test::ReadFile(outside), kept);
    EXPECT_FALSE(std::filesystem::exists(outside.string() + "-wal"));
    std::filesystem::remove(file_);
    std::filesystem::copy_file(outside, file_);
  }
}

}  // namespace
}  // namespace lns::testing
