// A director's "Configure" command: each outcome of the checks with its boxes, and the answers to
// the attach's Abort/Retry/Ignore box.
#include <gmock/gmock.h>

#include <functional>

#include "forms/controls_text.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/main_window.h"
#include "host/network_registration.h"
#include "host/progress.h"
#include "host/resource_catalog.h"
#include "lns/calls/faults.h"
#include "lns/catalog/catalog.h"
#include "lns/lookup.h"
#include "lns/system.h"
#include "lns/values/declaration.h"
#include "main_window_fixture.h"
#include "registry/registry.h"
#include "runtime/clock.h"

namespace mainwindow::test {
namespace {

using ::testing::ElementsAreArray;

constexpr const char* ProgramId = "80071A5501030400";
constexpr const char* M1 =
    "The resource files required for this device are not present on this computer. Browsing and data formating "
    "capabilities might be restricted to standard types and standard functional profile templates. Do you want to "
    "continue?";
constexpr const char* M2 = "Unable to set the Mode for the LonMark Objects, do you want to proceed?";
constexpr const char* M3 =
    "ACTION REQUIRED\r\n\r\nLonMaker is in the 'OffNet' management mode.\r\nThe network must be 'OnNet'.\r\rSet the "
    "network to 'OnNet' from the LonMaker\\Network Properties\\Network Interface menu.";
constexpr const char* M4 = "Error closing the catalog";
constexpr const char* DefaultTitle = "LNS Plug-in for OrvexUC FCU";
constexpr int32_t Injected = -2147203317;

struct Box {
  std::string prompt;
  int style;
  std::string title;
  friend bool operator==(const Box&, const Box&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "[" << b.prompt << "|" << b.style << "|" << b.title << "]";
  }
};

const Box MissingResources{M1, forms::vbYesNo | forms::vbExclamation, DefaultTitle};
const Box ModesNotSet{M2, forms::vbYesNo | forms::vbExclamation, DefaultTitle};
const Box StillOffNet{M3, forms::vbOKOnly | forms::vbInformation, DefaultTitle};
const Box CatalogNotClosed{M4, forms::vbOKOnly | forms::vbCritical, DefaultTitle};

// Public, so that the table's arrangements reach the fixture.
class AttachTest : public DemoUnitTest {
 public:
  using DemoUnitTest::root_;

  void SetUp() override {
    DemoUnitTest::SetUp();
    unit_ = lns::FindOpenDevice("Demo/Subsystem 1/FCU 1");
  }

  static std::vector<Box> Boxes() {
    std::vector<Box> boxes;
    for (const auto& record : forms::MsgBoxRecords()) boxes.push_back({record.prompt, record.style, record.title});
    return boxes;
  }
  // The points were read and the program ID shown.
  bool Read() { return PointReads() > 0 && ByName().Ctl<forms::TextBox>("txtSPID").Text() == ProgramId; }
  static void LonWorksPathTo(const std::string& folder) {
    reg::HKEY key{};
    reg::RegCreateKey(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\LonWorks", &key);
    reg::RegSetValueEx(key, "LonWorks Path", 0, reg::REG_SZ, reinterpret_cast<const reg::BYTE*>(folder.c_str()),
                       static_cast<reg::DWORD>(folder.size() + 1));
    reg::RegCloseKey(key);
  }
  // Resource files known, scopes not to be set: the catalog is gone.
  void CatalogGone() {
    host::g_ResourcesChecked = rt::VbTrue;
    LonWorksPathTo((root_ / "nowhere").string());
  }

  std::shared_ptr<lns::AppDevice> unit_;
};

TEST_F(AttachTest, EachOutcomeOfTheChecks) {
  struct Case {
    const char* name;
    std::function<void(AttachTest&)> arrange;
    std::vector<int> answers;
    std::vector<Box> boxes;
    bool read;
    int16_t cannotConfigure;
  };
  const std::vector<Case> cases = {
      {"config online", [](AttachTest&) {}, {}, {}, true, rt::VbFalse},
      {"switched OnNet", [](AttachTest&) { host::g_System->put_ManagementMode(1); }, {}, {}, true, rt::VbFalse},
      {"stays OffNet", [](AttachTest&) { lns::KeepOffNet(true); }, {}, {StillOffNet}, false, rt::VbTrue},
      {"not commissioned", [](AttachTest& t) { t.unit_->UnitSetCommission(false, 1); }, {}, {}, false, rt::VbTrue},
      {"test blocked", [](AttachTest& t) { t.unit_->UnitSetTestBlocked(true); }, {}, {}, false, rt::VbTrue},
      {"config offline", [](AttachTest& t) { t.unit_->UnitSetState(6); }, {}, {}, false, rt::VbTrue},
      {"unconfigured", [](AttachTest& t) { t.unit_->UnitSetState(2); }, {}, {}, false, rt::VbTrue},
      {"soft offline", [](AttachTest& t) { t.unit_->UnitSetState(12); }, {}, {}, false, rt::VbTrue},
      {"resources missing, No", [](AttachTest& t) { t.LonWorksPathTo((t.root_ / "nowhere").string()); },
       {forms::vbNo}, {MissingResources}, false, rt::VbTrue},
      {"resources missing, Yes", [](AttachTest& t) { t.LonWorksPathTo((t.root_ / "nowhere").string()); },
       {forms::vbYes}, {MissingResources}, true, rt::VbFalse},
      {"modes not set, No", [](AttachTest& t) { t.CatalogGone(); }, {forms::vbOK, forms::vbNo},
       {CatalogNotClosed, ModesNotSet}, false, rt::VbTrue},
      {"modes not set, Yes", [](AttachTest& t) { t.CatalogGone(); }, {forms::vbOK, forms::vbYes},
       {CatalogNotClosed, ModesNotSet}, true, rt::VbFalse},
      {"remote", [](AttachTest& t) { t.CatalogGone(), host::g_Remote = true; }, {}, {}, true, rt::VbFalse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host::g_CannotConfigure = rt::VbTrue;
    c.arrange(*this);
    for (int answer : c.answers) forms::QueueMsgBoxAnswer(answer);
    lns::ClearJournal();
    Configure();
    EXPECT_THAT(Boxes(), ElementsAreArray(c.boxes));
    EXPECT_EQ(Read(), c.read);
    EXPECT_EQ(host::g_CannotConfigure, c.cannotConfigure);
    EXPECT_FALSE(forms::DefaultExists<host::fProgress>());
    TearDown();
    SetUp();
  }
}

TEST_F(AttachTest, OffNetIsSwitchedOnNetAfterASecond) {
  host::g_System->put_ManagementMode(1);
  const int64_t before = rt::CurrentClock().NowMs();
  Configure();
  EXPECT_EQ(rt::CurrentClock().NowMs() - before, 1000);
  EXPECT_EQ(host::g_System->get_ManagementMode(), 0);
}

TEST_F(AttachTest, ASoftOfflineDeviceIsSetOnlineAndReadByTheNextCommand) {
  unit_->UnitSetState(12);
  Configure();
  EXPECT_EQ(unit_->UnitState(), 4);
  EXPECT_FALSE(Read());
  Configure();
  EXPECT_TRUE(Read());
}

// The device stays bound: the background poll asks it, and is refused until it is commissioned.
TEST_F(AttachTest, ADeviceThatIsNotCommissionedStaysAttachedWithoutAWord) {
  unit_->UnitSetCommission(false, 1);
  Configure();
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  EXPECT_EQ(ByName().Ctl<forms::TextBox>("txtSPID").Text(), " ---");
  forms::AdvanceClock(4000 + 2000);
  EXPECT_THAT(host::LogLines(), testing::Contains("SCC.ReadDevice ->FCU 1< is not commissioned."));
}

TEST_F(AttachTest, TheObjectsGetTheScopeTheirProfileIsFoundAt) {
  Configure();
  for (const auto& object : unit_->get_Interface()->get_LonMarkObjects()->Items()) {
    EXPECT_EQ(object->get_Mode(), 4) << object->Name();
  }
}

TEST_F(AttachTest, TheTemplateNameIsShownUpToItsFirstBracket) {
  auto& subsystem = *host::g_System->get_Subsystems()->Item(rt::Variant::String("Subsystem 1"));
  for (const auto& [name, shown] : {std::pair{"OrvexUC_FCU [2]", "OrvexUC_FCU "}, std::pair{"Plain", "Plain"}}) {
    auto deviceTemplate = host::g_System->get_TemplateLibrary()->get_DeviceTemplates()->AddNew(name, 1);
    deviceTemplate->Fill(ProgramId, lns::UnitInterface());
    subsystem.AddDevice(name, *deviceTemplate, std::string("05017A3C2E1") + name[0]);
    Configure(std::string("Demo/Demo/Subsystem 1/") + name);
    EXPECT_EQ(ByName().Ctl<forms::TextBox>("txtDeviceTemplate").Text(), shown);
  }
}

// Retry opens the file again, Ignore goes on with the next scope, Abort ends the look-up.
TEST_F(AttachTest, AResourceFileThatDoesNotOpen) {
  struct Case {
    lns::Repeat repeat;
    int answer;
    std::vector<Box> boxes;
    int16_t mode;
  };
  const Box unopened{"", forms::vbAbortRetryIgnore | forms::vbCritical, "fMain DrfLookUp"};
  for (const Case& c : {Case{lns::Repeat::Once, forms::vbRetry, {unopened}, 4},
                        Case{lns::Repeat::Always, forms::vbIgnore, {unopened, unopened}, 0},
                        Case{lns::Repeat::Always, forms::vbAbort, {unopened, ModesNotSet}, 0}}) {
    SCOPED_TRACE(forms::ResultName(c.answer));
    lns::CatalogFault damaged;
    damaged.call = lns::CatalogCall::FileOpen;
    damaged.status = lns::catalog_status::Damaged;
    damaged.repeat = c.repeat;
    lns::FailCatalogCall(damaged);
    forms::QueueMsgBoxAnswer(c.answer);
    forms::QueueMsgBoxAnswer(c.answer == forms::vbAbort ? forms::vbNo : c.answer);
    Configure();
    EXPECT_THAT(Boxes(), ElementsAreArray(c.boxes));
    for (const auto& object : unit_->get_Interface()->get_LonMarkObjects()->Items()) {
      EXPECT_EQ(object->get_Mode(), c.mode) << object->Name();
    }
    EXPECT_EQ(Read(), c.answer != forms::vbAbort);
    TearDown();
    SetUp();
  }
}

// A close that raises is a failed step of the look-up like any other: the error box, and Abort
// ends the look-up with the catalog closed and the modes question.
TEST_F(AttachTest, AFailingCloseInTheLookUpShowsTheErrorBox) {
  const Box failed{"Injected", forms::vbAbortRetryIgnore | forms::vbCritical, "fMain DrfLookUp"};
  for (lns::CatalogCall call : {lns::CatalogCall::FileClose, lns::CatalogCall::CatalogClose}) {
    SCOPED_TRACE(lns::CatalogCallName(call));
    host::g_ResourcesChecked = rt::VbTrue;
    lns::FailCatalogCall({call, {}, std::nullopt, std::nullopt, {Injected, "Injected"}, lns::Repeat::Once});
    Configure();
    EXPECT_THAT(Boxes(), ElementsAreArray({failed, ModesNotSet}));
    EXPECT_TRUE(Read());
    TearDown();
    SetUp();
  }
}

TEST_F(AttachTest, TheErrorBoxAnswers) {
  struct Case {
    const char* object;
    const char* member;
    lns::Repeat repeat;
    const char* function;
    int answer;
    bool read;
  };
  for (const Case& c : {
           Case{"AppDevice", "DeviceTemplate", lns::Repeat::Always, "SetDevTemplateLabel", forms::vbAbort, false},
           Case{"AppDevice", "DeviceTemplate", lns::Repeat::Once, "SetDevTemplateLabel", forms::vbRetry, true},
           Case{"AppDevice", "DeviceTemplate", lns::Repeat::Always, "SetDevTemplateLabel", forms::vbIgnore, true},
           Case{"System", "ManagementMode", lns::Repeat::Always, "InitDevice", forms::vbAbort, false},
           Case{"System", "ManagementMode", lns::Repeat::Once, "InitDevice", forms::vbRetry, true},
           Case{"System", "ManagementMode", lns::Repeat::Once, "InitDevice", forms::vbIgnore, false},
           Case{"AppDevice", "State", lns::Repeat::Once, "InitDevice", forms::vbIgnore, false},
           Case{"LonMarkObjects", "Count", lns::Repeat::Always, "DrfLookUp", forms::vbIgnore, true},
       }) {
    SCOPED_TRACE(std::string(c.function) + " " + c.member + " " + forms::ResultName(c.answer).data());
    lns::FailMember(c.object, c.member, Injected, c.repeat);
    forms::QueueMsgBoxAnswer(c.answer);
    lns::ClearJournal();
    Configure();
    ASSERT_FALSE(forms::MsgBoxRecords().empty());
    const auto& box = forms::MsgBoxRecords().front();
    EXPECT_EQ(box.title, std::string("fMain ") + c.function);
    EXPECT_EQ(box.style, forms::vbAbortRetryIgnore | forms::vbCritical);
    EXPECT_EQ(Read(), c.read);
    TearDown();
    SetUp();
  }
}

TEST_F(AttachTest, ALonMarkObjectCommandBindsItsDeviceAndNothingElse) {
  host::g_Commands[0].ObjectClassId = 28;
  host::ParseObjectPath("Subsystem 1/FCU 1/Node");
  lns::ClearJournal();
  EXPECT_NO_THROW(host::DispatchCommand(0, host::GetObjectFromPath(28)));
  EXPECT_LT(PointReads(), 28u) << "no page is read";
  forms::AdvanceClock(4000 + 2000);
  EXPECT_GE(PointReads(), 83u) << "the poll reads the bound device";
  rt::Ref<lns::LonMarkObject> nothing;
  EXPECT_NO_THROW(Window().ProcessLonMarkObjectCommand(nothing, host::g_Commands[0]));
  EXPECT_THAT(host::LogLines(), testing::Not(testing::Contains(testing::HasSubstr("Error"))));
}

}  // namespace
}  // namespace mainwindow::test
