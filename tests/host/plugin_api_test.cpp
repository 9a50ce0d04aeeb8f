#include <gmock/gmock.h>

#include <optional>

#include "forms/app.h"
#include "forms/constants.h"
#include "forms/event_loop.h"
#include "host/commands.h"
#include "host/plugin_errors.h"
#include "host/progress.h"
#include "lns/calls/faults.h"
#include "plugin_test_support.h"

namespace host::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* Source = "Velmora OrvexUC_FCU Plug-In";

void ExpectPlugInError(const rt::Error& error, int32_t number, const std::string& description) {
  EXPECT_EQ(error.Number(), number);
  EXPECT_EQ(error.Source(), Source);
  EXPECT_EQ(error.Description(), description);
}

// ---- the opening sequence of networkName

struct OpeningCase {
  const char* name;
  bool remoteAtEntry;
  const char* networkInterface;
  std::vector<std::string> remoteFlagsWritten;  // RemoteFlags Lets
  std::vector<std::string> interfacesLookedUp;  // NetworkInterfaces items
  bool internetSteps;
  bool remoteAfter;
  friend std::ostream& operator<<(std::ostream& out, const OpeningCase& c) { return out << c.name; }
};

class OpeningTest : public PlugInTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningTest, OpensTheServerTheWayTheInterfaceNameSays) {
  const OpeningCase& c = GetParam();
  lns::AddNetworkInterface("Internet");
  lns::AddNetworkInterface("internet");
  auto plugIn = NewPlugIn();
  g_ObjectServer->put_Remote(c.remoteAtEntry);
  g_ObjectServer->put_RemoteFlags(0xFF);
  lns::ClearJournal();
  plugIn->put_NetworkInterfaceName(c.networkInterface);
  plugIn->put_networkName("Demo");

  EXPECT_THAT(CallsOf("RemoteFlags"), testing::Contains("Get").Times(c.remoteFlagsWritten.empty() ? 0 : 1));
  std::vector<std::string> flagLets;
  for (const auto& call : CallsOf("RemoteFlags")) {
    if (call.starts_with("Let")) flagLets.push_back(call);
  }
  EXPECT_EQ(flagLets, c.remoteFlagsWritten);
  std::vector<std::string> lookups;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.member == "Item" && entry.path.ends_with("NetworkInterfaces")) lookups.push_back(entry.arguments);
  }
  EXPECT_EQ(lookups, c.interfacesLookedUp);
  const std::vector<std::string> pulses = c.internetSteps ? std::vector<std::string>{"Let True", "Let False"}
                                                         : std::vector<std::string>{};
  const std::vector<std::string> options = c.internetSteps ? std::vector<std::string>{"Let 0"} : std::vector<std::string>{};
  EXPECT_EQ(CallsOf("PulsedFlag"), pulses);
  EXPECT_EQ(CallsOf("InternetOption"), options);
  EXPECT_EQ(g_ObjectServer->get_Remote(), c.remoteAfter);
  EXPECT_THAT(CallsOf("OpenSetting"), ElementsAre("Let 200"));
  EXPECT_TRUE(g_NetworkOpen);
  EXPECT_TRUE(g_ObjectServerOpen);
  EXPECT_EQ(plugIn->get_networkName(), "Demo");
  EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, OpeningTest,
    ::testing::Values(
        OpeningCase{"LocalWithoutInterface", false, "", {}, {}, false, false},
        OpeningCase{"LocalToRemoteSkipsTheFlags", false, "LON1", {}, {"\"LON1\""}, false, true},
        OpeningCase{"LocalToRemoteLooksInternetUp", false, "Internet", {}, {"\"Internet\""}, false, true},
        OpeningCase{"RemoteInternet", true, "Internet", {"Let 223"}, {}, true, true},
        OpeningCase{"RemoteOtherCaseIsAnInterface", true, "internet", {"Let 239"}, {"\"internet\""}, false, true},
        OpeningCase{"RemoteInterface", true, "LON1", {"Let 239"}, {"\"LON1\""}, false, true},
        OpeningCase{"RemoteToLocal", true, "", {"Let 239"}, {}, false, false}),
    [](const auto& param) { return std::string(param.param.name); });

class NetworkNameTest : public PlugInTest {};

TEST_F(NetworkNameTest, TheSameNameTwiceMakesNoCall) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  lns::ClearJournal();
  plugIn->put_networkName("Demo");
  EXPECT_THAT(lns::JournalEntries(), IsEmpty());
}

TEST_F(NetworkNameTest, TheNameInAnotherCaseOpensAgain) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  lns::ClearJournal();
  plugIn->put_networkName("DEMO");
  EXPECT_THAT(CallsOf("Item"), testing::Contains("Method \"DEMO\""));
  EXPECT_EQ(plugIn->get_networkName(), "Demo");
}

TEST_F(NetworkNameTest, AFailureClearsTheNameAndTheFlag) {
  struct Case {
    const char* name;
    std::function<void()> fault;
    const char* network;
  };
  const std::vector<Case> cases = {
      {"unknown network", [] {}, "Nowhere"},
      {"network open fails", [] { lns::FailOpen(lns::OpenTarget::Network, lns::err::InjectedFault); }, "Demo"},
      {"system open fails", [] { lns::FailMember("System", "Open", lns::err::InjectedFault); }, "Demo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProcessState();
    SetMainWindow(window_);
    lns::ClearFaults();
    auto plugIn = NewPlugIn();
    c.fault();
    ExpectPlugInError(RaisedBy([&] { plugIn->put_networkName(c.network); }), plugin_err::CannotDoThat,
                      std::string("Cannot open the network ") + c.network);
    EXPECT_EQ(plugIn->get_networkName(), "");
    EXPECT_FALSE(g_NetworkOpen);
    EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
  }
}

TEST_F(NetworkNameTest, ADamagedStoreIsNamedWithItsFileAndReasonAndKept) {
  std::vector<std::string> logged;
  forms::SetPlatformLog([&](const std::string& line) { logged.push_back(line); });
  for (const fs::path& file : DemoStoreFiles()) {
    SCOPED_TRACE(file.string());
    const std::string kept = orvex::test::ReadFile(file);
    WriteFile(file, DamagedStoreText);
    ResetProcessState();
    SetMainWindow(window_);
    const std::string reason = "The database is damaged: " + file.string() + " (";
    const rt::Error error = RaisedBy([&] { NewPlugIn()->put_networkName("Demo"); });
    EXPECT_EQ(error.Number(), plugin_err::CannotDoThat);
    EXPECT_THAT(error.Description(), testing::StartsWith("Cannot open the network Demo: " + reason));
    EXPECT_THAT(logged.back(), testing::StartsWith(reason));
    EXPECT_EQ(orvex::test::ReadFile(file), DamagedStoreText);
    WriteFile(file, kept);
  }
  forms::SetPlatformLog(nullptr);
}

TEST_F(NetworkNameTest, AfterAFailedOpenNoDeviceOfTheEarlierNetworkIsFound) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  RaisedBy([&] { plugIn->put_networkName("Nowhere"); });
  ExpectPlugInError(RaisedBy([&] { plugIn->SendCommand(13, 7, DemoDevicePath); }), plugin_err::ObjectNotFound,
                    "Object not found");
  EXPECT_THAT(window_->devices, IsEmpty());
}

TEST_F(NetworkNameTest, RemoteLetReopensTheServerAndTheNextOpenReallyOpens) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  plugIn->put_Remote(true);
  EXPECT_TRUE(plugIn->get_Remote());
  EXPECT_TRUE(g_ObjectServer->get_IsOpen());
  EXPECT_FALSE(g_NetworkOpen);
  lns::ClearJournal();
  plugIn->put_networkName("Demo");
  EXPECT_TRUE(g_NetworkOpen);
  EXPECT_TRUE(g_Network->get_IsOpen());
}

// ---- SendCommand

struct RoutingCase {
  const char* name;
  int32_t command;
  int16_t objectClass;
  const char* path;
  bool openNetwork;
  std::optional<int32_t> error;
  bool dispatched;
  friend std::ostream& operator<<(std::ostream& out, const RoutingCase& c) { return out << c.name; }
};

class RoutingTest : public PlugInTest, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(RoutingTest, RoutesAndTakesTheProgressWindowDown) {
  const RoutingCase& c = GetParam();
  auto plugIn = NewPlugIn();
  if (c.openNetwork) plugIn->put_networkName("Demo");
  if (c.command == 50) {
    // The default-action question, then the LonWorks folder this machine lacks: the catalog's
    // error and the registration's resource question.
    forms::QueueMsgBoxAnswer(forms::vbYes);
    forms::QueueMsgBoxAnswer(forms::vbIgnore);
    forms::QueueMsgBoxAnswer(forms::vbIgnore);
  }
  std::optional<int32_t> raised;
  try {
    plugIn->SendCommand(c.command, c.objectClass, c.path);
  } catch (const rt::Error& error) {
    raised = error.Number();
    // The registration's own errors reach the director as they were raised.
    if (error.Number() != rt::err::ObjectNotSet) {
      EXPECT_EQ(error.Source(), Source);
    }
  }
  EXPECT_EQ(raised, c.error);
  EXPECT_EQ(window_->devices.size(), c.dispatched ? 1u : 0u);
  EXPECT_FALSE(forms::DefaultExists<fProgress>());
  EXPECT_EQ(forms::Screen().MousePointer(), forms::vbDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RoutingTest,
    ::testing::Values(RoutingCase{"RegisterWithNetwork", 50, 0, "", true, std::nullopt, false},
                      RoutingCase{"RegisterWithoutNetwork", 50, 0, "", false, rt::err::ObjectNotSet, false},
                      RoutingCase{"Unregister", 51, 3, "anything", true, std::nullopt, false},
                      RoutingCase{"ConfigureDevice", 13, 7, DemoDevicePath, true, std::nullopt, true},
                      RoutingCase{"ConfigureWithPrefixes", 13, 7, "Demo/Demo/Sub:Subsystem 1/Dev:FCU 1", true,
                                  std::nullopt, true},
                      RoutingCase{"ConfigureLonMarkObject", 13, 28, DemoDevicePath, true, 20004, false},
                      RoutingCase{"UnknownCommand", 14, 7, DemoDevicePath, true, 20003, false},
                      RoutingCase{"EmptyPath", 13, 7, "", true, 20005, false},
                      RoutingCase{"PathFromSlash", 13, 7, "/Demo/Demo/Subsystem 1/FCU 1", true, 20005, false},
                      RoutingCase{"UnknownDevice", 13, 7, "Demo/Demo/Subsystem 1/FCU 9", true, 20005, false},
                      RoutingCase{"NoNetwork", 13, 7, DemoDevicePath, false, 20005, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(RoutingTest, TheDeviceAndTheEntryReachTheMainWindow) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  plugIn->SendCommand(13, 7, DemoDevicePath);
  ASSERT_EQ(window_->devices.size(), 1u);
  EXPECT_EQ(window_->devices[0]->get_Name(), "FCU 1");
  EXPECT_EQ(window_->commands[0].ProgramId, "80071A5501030400");
}

TEST_F(RoutingTest, AnErrorOfTheEntryPointReachesTheDirectorUnchanged) {
  auto plugIn = NewPlugIn();
  plugIn->put_networkName("Demo");
  window_->entryFailure = rt::Error(1234, "fMain", "attach failed");
  const rt::Error error = RaisedBy([&] { plugIn->SendCommand(13, 7, DemoDevicePath); });
  EXPECT_EQ(error.Number(), 1234);
  EXPECT_EQ(error.Source(), "fMain");
  EXPECT_EQ(error.Description(), "attach failed");
}

// ---- properties

class PropertyTest : public PlugInTest {};

TEST_F(PropertyTest, IdentityValuesReadAndRefuseWrites) {
  auto plugIn = NewPlugIn();
  struct Identity {
    const char* member;
    const char* value;
  };
  for (const Identity& id : {Identity{"ManufacturerID", "1818"}, Identity{"ManufacturerName", "Velmora Applied"},
                             Identity{"LcaVersion", "3.0"}, Identity{"Version", "1.1"},
                             Identity{"Name", "Velmora OrvexUC_FCU Plug-In"}}) {
    SCOPED_TRACE(id.member);
    std::vector<rt::Variant> none;
    EXPECT_EQ(plugIn->Invoke(id.member, rt::Object::CallKind::Get, none).ToString(), id.value);
    std::vector<rt::Variant> value{rt::Variant::String("x")};
    ExpectPlugInError(RaisedBy([&] { plugIn->Invoke(id.member, rt::Object::CallKind::Let, value); }),
                      plugin_err::ReadOnlyProperty, "Attempt to write to read-only property");
  }
}

TEST_F(PropertyTest, DevelopmentProgramIdKeepsOnlySixteenCharacters) {
  auto plugIn = NewPlugIn();
  for (const auto& [given, kept] : std::vector<std::pair<std::string, std::string>>{
           {"80071A5501030405", "80071A5501030405"}, {"80071A550103040", ""}, {"80071A55010304050", ""},
           {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"}, {"80071A5501030\u20AC05", "80071A5501030\u20AC05"},
           {"80071A55010304\U0001F600", "80071A55010304\U0001F600"}, {"80071A550103040\U0001F600", ""}}) {
    plugIn->put_DevelopmentProgramId(given);
    EXPECT_EQ(plugIn->get_DevelopmentProgramId(), kept) << given;
  }
}

TEST_F(PropertyTest, GeometryOfTheFixedMainWindow) {
  auto plugIn = NewPlugIn();
  forms::Form& window = window_->Window();
  const float height = window.Height();
  ExpectPlugInError(RaisedBy([&] { plugIn->put_Height(480); }), plugin_err::ReadOnlyProperty,
                    "Attempt to write to read-only property");
  ExpectPlugInError(RaisedBy([&] { plugIn->put_Width(640); }), plugin_err::ReadOnlyProperty,
                    "Attempt to write to read-only property");
  EXPECT_EQ(window.Height(), height);
  plugIn->put_Left(100);
  plugIn->put_Top(50);
  EXPECT_EQ(window.Left(), 1500);
  EXPECT_EQ(window.Top(), 750);
  EXPECT_EQ(plugIn->get_Left(), 100);
  EXPECT_EQ(plugIn->get_Top(), 50);
}

TEST_F(PropertyTest, GeometryWhileNotNormal) {
  window_->sizable = true;
  auto plugIn = NewPlugIn();
  plugIn->put_Visible(true);
  plugIn->put_Height(480);
  EXPECT_EQ(window_->Window().Height(), 7200);
  window_->Window().SetWindowState(forms::vbMaximized);
  const std::string text = "Plug-in can't be moved or sized while minimized or maximized";
  for (const auto& set : std::vector<std::function<void()>>{[&] { plugIn->put_Height(1); }, [&] { plugIn->put_Width(1); },
                                                            [&] { plugIn->put_Left(1); }, [&] { plugIn->put_Top(1); }}) {
    ExpectPlugInError(RaisedBy(set), plugin_err::CannotDoThat, text);
  }
}

TEST_F(PropertyTest, GeometryGetsRoundHalvesToEven) {
  auto plugIn = NewPlugIn();
  for (const auto& [twips, pixels] : std::vector<std::pair<float, int32_t>>{{1522.5f, 102}, {1507.5f, 100}, {1500, 100}}) {
    window_->Window().SetLeft(twips);
    EXPECT_EQ(plugIn->get_Left(), pixels) << twips;
  }
}

TEST_F(PropertyTest, MinimizedWhileHiddenIsSetAndStillFails) {
  auto plugIn = NewPlugIn();
  ExpectPlugInError(RaisedBy([&] { plugIn->put_Minimized(true); }), plugin_err::CannotDoThat,
                    "Can not modify the minimzed property when invisble. The property will be applied the next time the "
                    "plug-in is made visible");
  EXPECT_TRUE(plugIn->get_Minimized());
  plugIn->put_Visible(true);
  plugIn->put_Minimized(false);
  EXPECT_FALSE(plugIn->get_Minimized());
  EXPECT_TRUE(plugIn->get_Visible());
}

TEST_F(PropertyTest, MembersAreReachedByName) {
  auto plugIn = NewPlugIn();
  std::vector<rt::Variant> name{rt::Variant::String("Demo")};
  plugIn->Invoke("NETWORKNAME", rt::Object::CallKind::Let, name);
  std::vector<rt::Variant> none;
  EXPECT_EQ(plugIn->Invoke("networkName", rt::Object::CallKind::Get, none).ToString(), "Demo");
  std::vector<rt::Variant> command{rt::Variant::Long(13), rt::Variant::Integer(7), rt::Variant::String(DemoDevicePath)};
  plugIn->Invoke("SendCommand", rt::Object::CallKind::Method, command);
  EXPECT_EQ(window_->devices.size(), 1u);
  EXPECT_EQ(RaisedBy([&] { plugIn->Invoke("Frobnicate", rt::Object::CallKind::Get, none); }).Number(),
            rt::err::ObjectNotSupportProperty);
}

// ---- the instance count

class LifetimeTest : public PlugInTest {};

TEST_F(LifetimeTest, TheLastReleaseEndsThePlugInOnlyWhileTheWindowIsHidden) {
  auto first = NewPlugIn();
  auto second = NewPlugIn();
  EXPECT_EQ(g_InstanceCount, 2);
  first.reset();
  EXPECT_EQ(g_InstanceCount, 1);
  EXPECT_EQ(window_->endPlugInCalls, 0);
  second.reset();
  EXPECT_EQ(g_InstanceCount, 0);
  EXPECT_EQ(window_->endPlugInCalls, 1);
}

TEST_F(LifetimeTest, AVisibleWindowKeepsThePlugInRunning) {
  auto plugIn = NewPlugIn();
  plugIn->put_Visible(true);
  plugIn.reset();
  EXPECT_EQ(g_InstanceCount, 0);
  EXPECT_EQ(window_->endPlugInCalls, 0);
}

TEST_F(LifetimeTest, TheFirstObjectFillsTheTableAndTakesTheObjectServer) {
  auto plugIn = NewPlugIn();
  EXPECT_EQ(g_Commands[0].CommandId, 13);
  EXPECT_FALSE(g_ObjectServer.IsNothing());
  EXPECT_TRUE(window_->Window().IsLoaded());
  EXPECT_FALSE(window_->Window().Visible());
}

TEST_F(LifetimeTest, AStartUpFailureIsShownAndCreationGoesOn) {
  window_->windowFailure = rt::Error(5, "fMain", "cannot load");
  auto plugIn = NewPlugIn();
  EXPECT_EQ(g_InstanceCount, 1);
  ASSERT_FALSE(forms::MsgBoxRecords().empty());
  EXPECT_EQ(forms::MsgBoxRecords().back().prompt, "LNSPlugInAPI.Initialize-cannot load");
  EXPECT_EQ(forms::MsgBoxRecords().back().title, "LNS Plug-in for OrvexUC FCU");
  window_->windowFailure.reset();
}

}  // namespace
}  // namespace host::test
