#include "automation/lns_verbs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <cstdlib>
#include <functional>

#include "automation/start_setup.h"
#include "lns/calls/errors.h"
#include "lns/calls/faults.h"
#include "lns/catalog/catalog.h"
#include "lns/lookup.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/tools/demo.h"
#include "lns/tools/dump.h"
#include "machine_folder.h"
#include "support/error_number.h"
#include "support/temp_machine.h"

namespace automation {
namespace {

using rt::Variant;
using Kind = rt::Object::CallKind;
using orvex::test::ErrorDescriptionOf;
using orvex::test::ErrorNumberOf;

// The demo machine's unit, open in this process as the plug-in would have it.
class LnsVerbs : public ::testing::Test {
 protected:
  LnsVerbs() {
    lns::ResetPlatform();
    lns::CreateDemoNetwork("/xif");
    server->Open();
    network = server->get_Networks()->Item(Variant::String(lns::DemoNetworkName));
    network->Open();
    system = network->get_Systems()->Item(Variant::Integer(1));
    system->Open();
    device = lns::FindOpenDevice("Demo/Subsystem 1/FCU 1");
    lns::ClearJournal();
    AddLnsVerbs(channel);
  }
  ~LnsVerbs() override { lns::ResetPlatform(); }

  // `line` for the demo unit: its device added after the verb, unless the line names one.
  static std::string OnUnit(std::string_view line) {
    if (line.find("device") != std::string_view::npos) return std::string(line);
    const size_t verbEnd = std::min(line.find(' '), line.size());
    return std::string(line.substr(0, verbEnd)) + R"( device="Demo/Subsystem 1/FCU 1")" + std::string(line.substr(verbEnd));
  }
  Json Send(std::string_view line) { return Json::parse(*channel.Execute(line)); }
  Json Ok(std::string_view line) {
    const Json reply = Send(line);
    EXPECT_EQ(reply["ok"], true) << line << " -> " << reply.dump();
    return reply;
  }
  Json Error(std::string_view line) {
    const Json reply = Send(line);
    EXPECT_EQ(reply["ok"], false) << line;
    return reply["error"];
  }
  struct Refusal {
    std::string line;
    int32_t number;
  };
  void ExpectRefused(const std::vector<Refusal>& refusals) {
    for (const auto& refusal : refusals) EXPECT_EQ(Error(refusal.line)["number"], refusal.number) << refusal.line;
  }
  Variant PointValue(const std::string& designator) {
    std::vector<Variant> none;
    return device->FindPoint(designator)->Invoke("Value", Kind::Get, none);
  }
  void SetFormat(const std::string& designator, const std::string& format) {
    lns::Args args{Variant::String(format)};
    device->FindPoint(designator)->Invoke("DsFormatType", Kind::Let, args);
  }
  static std::string Database() { return lns::DumpNetwork(lns::DemoNetworkName); }

  testing::ScopedMachineFolder machine;
  std::shared_ptr<lns::ObjectServer> server = std::make_shared<lns::ObjectServer>();
  std::shared_ptr<lns::Network> network;
  std::shared_ptr<lns::System> system;
  std::shared_ptr<lns::AppDevice> device;
  Channel channel;
};

TEST_F(LnsVerbs, UnitSetWritesAnyPointAsTheUnitWouldAndStoresIt) {
  const struct {
    const char* line;
    const char* point;
    const char* bytes;
    const char* value;  // as the plug-in reads it, in the point's own format
  } cases[] = {
      {"unit-set point=nvoSpaceTemp bytes=[8,152]", "nvoSpaceTemp", "[8,152]", "71.6"},
      {R"(unit-set point=nvoSpaceTemp value="75.2")", "nvoSpaceTemp", "[9,96]", "75.2"},
      {"unit-set point=nvoSpaceTemp value=22 format=SNVT_temp_p#SI", "nvoSpaceTemp", "[8,152]", "71.6"},
      {R"(unit-set point=nvoSpaceTemp value="7\t208" format=raw)", "nvoSpaceTemp", "[7,208]", "68"},
      {R"(unit-set point=nviSetpoint value="70.7")", "nviSetpoint", "[8,102]", "70.7"},
      {"unit-set point=nviOccManCmd/SCPTbypassTime bytes=[0,90]", "nviOccManCmd/SCPTbypassTime", "[0,90]", "90"},
      {R"(unit-set point=FCU/SCPTlocation value="Room 7")", "SCPTlocation", nullptr, "Room 7"},
      {R"({"verb":"unit-set","device":"demo/Subsystem 1/FCU 1","point":"nvoTsnFcUnitStat","value":9})",
       "nvoTsnFcUnitStat", "[9]", "9"},
  };
  for (const auto& c : cases) {
    const std::string before = Database();
    const Json reply = Ok(OnUnit(c.line));
    if (c.bytes) {
      EXPECT_EQ(reply["bytes"], Json::parse(c.bytes)) << c.line;
    }
    EXPECT_EQ(PointValue(c.point).ToString(), c.value) << c.line;
    EXPECT_EQ(reply["value"], EncodeVariant(PointValue(c.point), channel.Objects())) << c.line;
    EXPECT_NE(Database(), before) << c.line;
  }
  EXPECT_EQ(device->FindPoint("nvoSpaceTemp")->CurrentFormat(), "SNVT_temp_p#US");
}

TEST_F(LnsVerbs, UnitReadGivesBytesFormatAndValueWithoutCallingTheObjectServer) {
  SetFormat("nvoSpaceTemp", "RAW");
  lns::ClearJournal();
  EXPECT_EQ(Ok(OnUnit("unit-read point=nvoSpaceTemp")),
            Json::parse(R"({"seq":1,"verb":"unit-read","ok":true,"point":"nvoSpaceTemp","kind":"NetworkVariable",
                            "type":"SNVT_temp_p","format":"RAW","bytes":[8,252],
                            "value":{"type":"String","value":"8\t252"}})"));
  const Json property = Ok(R"(unit-read device="Demo/Subsystem 1/FCU 1" point=Node/SCPTdevMajVer)");
  EXPECT_EQ(property["kind"], "ConfigProperty");
  EXPECT_EQ(property["bytes"], Json::parse("[1]"));
  Ok(OnUnit("unit-state"));
  EXPECT_TRUE(lns::JournalEntries().empty());
}

TEST_F(LnsVerbs, UnitDeviceHandsTheDeviceOverAsAnObject) {
  const Json reply = Ok(R"(unit-device device="Demo/Subsystem 1/FCU 1")");
  EXPECT_EQ(reply["class"], "AppDevice");
  EXPECT_EQ(channel.Objects().Find(reply["object"].get<int64_t>()), device);
}

TEST_F(LnsVerbs, ABadUnitSetIsRefusedAndChangesNothing) {
  const std::string before = Database();
  const struct {
    const char* line;
    int32_t number;
  } cases[] = {
      {R"(unit-set device="Demo/Subsystem 1/FCU 9" point=nvoSpaceTemp bytes=[1,2])", lns::err::ObjectNotFound},
      {R"(unit-set device="Plant/Sub 1/Dev 1" point=nvoSpaceTemp bytes=[1,2])", lns::err::ObjectNotFound},
      {"unit-set point=nvoNothing bytes=[1,2]", lns::err::ObjectNotFound},
      {"unit-set point=nvoSpaceTemp bytes=[1]", lns::err::InvalidValue},
      {"unit-set point=nvoSpaceTemp value=hot", lns::err::InvalidValue},
      {"unit-set point=nvoSpaceTemp value=1 format=SNVT_nothing", lns::err::FormatNotSupported},
      {"unit-set point=nvoSpaceTemp bytes=[1,256]", rt::err::TypeMismatch},
      {"unit-set point=nvoSpaceTemp bytes=[-1,2]", rt::err::TypeMismatch},
      {"unit-set point=nvoSpaceTemp bytes=12", rt::err::TypeMismatch},
      {"unit-set point=nvoSpaceTemp", rt::err::InvalidProcedureCall},
      {"unit-set point=nvoSpaceTemp bytes=[1,2] value=3", rt::err::InvalidProcedureCall},
      {"unit-set point=nvoSpaceTemp bytes=[1,2] format=RAW", rt::err::InvalidProcedureCall},
      {"unit-set bytes=[1,2]", rt::err::InvalidProcedureCall},
      {"unit-read point=nvoNothing", lns::err::ObjectNotFound},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(OnUnit(c.line))["number"], c.number) << c.line;
  EXPECT_EQ(Error(OnUnit("unit-set point=nvoSpaceTemp bytes=[1]")),
            Json::parse(R"({"number":-2147203322,"source":"LcaObjectServer",
                            "description":"Invalid value: 1 bytes for nvoSpaceTemp, a SNVT_temp_p"})"));
  EXPECT_EQ(Ok(OnUnit("unit-read point=nvoSpaceTemp"))["bytes"], Json::parse("[8,252]"));
  EXPECT_EQ(Database(), before);
}

TEST_F(LnsVerbs, AVerbForTheUnitNeedsItsDeviceAndNetwork) {
  for (const char* line : {"unit-set point=nvoSpaceTemp bytes=[8,152]", "unit-read point=nvoSpaceTemp", "unit-state",
                           "unit-device",
                           "lns-event kind=monitor tag=1 point=nvoSpaceTemp"}) {
    EXPECT_EQ(Error(line),
              Json::parse(R"({"number":5,"source":"automation","description":"Malformed request: missing field \"device\""})"))
        << line;
  }
  EXPECT_EQ(Error(R"(unit-read device="Subsystem 1/FCU 1" point=nvoSpaceTemp)")["number"], lns::err::InvalidArgument);
}

TEST_F(LnsVerbs, UnitStateReadsAndSetsWhatThePlugInSees) {
  EXPECT_EQ(Ok(OnUnit("unit-state")), Json::parse(R"({"seq":1,"verb":"unit-state","ok":true,"state":4,"commissioned":true,
                                               "commissionStatus":0,"testBlocked":false,"answers":true})"));
  const std::string before = Database();
  const Json reply = Ok(OnUnit("unit-state state=6 commissioned=false commissionStatus=3 testBlocked=true"));
  EXPECT_EQ(reply["state"], 6);
  EXPECT_EQ(device->get_State(), lns::device_state::ConfigOffline);
  EXPECT_FALSE(device->get_IsCommissioned());
  EXPECT_EQ(device->get_CommissionStatus(), 3);
  EXPECT_TRUE(device->get_TestBlocked());
  EXPECT_NE(Database(), before);

  Ok(OnUnit("unit-state commissioned=true"));
  EXPECT_TRUE(device->get_IsCommissioned());
  EXPECT_EQ(device->get_CommissionStatus(), 3);
  // Any state a device can report, those no attach takes included.
  for (int state : {140, 0, 7, 255}) {
    Ok(OnUnit("unit-state state=" + std::to_string(state)));
    EXPECT_EQ(device->get_State(), state);
  }
}

TEST_F(LnsVerbs, ABadUnitStateChangesNoField) {
  const std::string before = Database();
  const struct {
    const char* line;
    int32_t number;
  } cases[] = {
      {"unit-state state=256 testBlocked=true", lns::err::InvalidValue},
      {"unit-state state=-1", lns::err::InvalidValue},
      {"unit-state state=6 commissionStatus=40000", lns::err::InvalidValue},
      {"unit-state state=6 commissioned=yes", rt::err::TypeMismatch},
      {"unit-state testBlocked=true state=four", rt::err::TypeMismatch},
      {R"(unit-state device="Demo/Subsystem 1/FCU 2" state=6)", lns::err::ObjectNotFound},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(OnUnit(c.line))["number"], c.number) << c.line;
  EXPECT_EQ(Ok(OnUnit("unit-state")), Json::parse(R"({"seq":7,"verb":"unit-state","ok":true,"state":4,"commissioned":true,
                                               "commissionStatus":0,"testBlocked":false,"answers":true})"));
  EXPECT_EQ(Database(), before);
}

TEST_F(LnsVerbs, EachFaultKindReachesItsKnob) {
  auto spaceTemp = [&] { return PointValue("nvoSpaceTemp"); };
  auto reopen = [&] {
    if (network->get_IsOpen()) network->Close();
    network->Open();
  };
  const struct {
    const char* line;
    std::function<int32_t()> call;
    int32_t first;
    int32_t second;
  } cases[] = {
      {"fault kind=member object=NetworkVariable:nvoSpaceTemp member=Value error=91 repeat=once",
       [&] { return ErrorNumberOf(spaceTemp); }, 91, 0},
      {"fault kind=member object=AppDevice member=wink", [&] { return ErrorNumberOf([&] { device->Wink(); }); },
       lns::err::InjectedFault, lns::err::InjectedFault},
      {"fault kind=open target=server error=429",
       [&] { return ErrorNumberOf([] { std::make_shared<lns::ObjectServer>()->Open(); }); }, 429, 429},
      {"fault kind=not-responding", [&] { return ErrorNumberOf(spaceTemp); }, lns::err::DeviceNotResponding,
       lns::err::DeviceNotResponding},
      {R"(fault kind=not-responding object="AppDevice:FCU 1")", [&] { return ErrorNumberOf([&] { device->get_State(); }); },
       lns::err::DeviceNotResponding, lns::err::DeviceNotResponding},
      // Last: reopening the network leaves the objects above behind.
      {"fault kind=open target=Network error=-2147203320 repeat=once", [&] { return ErrorNumberOf(reopen); },
       lns::err::DatabaseDamaged, 0},
  };
  for (const auto& c : cases) {
    Ok("faults-clear");
    Ok(c.line);
    EXPECT_EQ(c.call(), c.first) << c.line;
    EXPECT_EQ(c.call(), c.second) << c.line;
    Ok("faults-clear");
    EXPECT_EQ(c.call(), 0) << c.line;
  }
}

TEST_F(LnsVerbs, AMemberFaultCanNameItsArgumentsAndItsKindOfCall) {
  const auto variables = device->get_Interface()->get_NetworkVariables();
  const auto item = [&](const char* name) { return ErrorNumberOf([&] { variables->Item(Variant::String(name)); }); };
  Ok(R"(fault kind=member object=NetworkVariables member=Item args=["nviSetpoint"])");
  EXPECT_EQ(item("nviSetpoint"), lns::err::InjectedFault);
  EXPECT_EQ(item("nviSpaceTemp"), 0);
  Ok("fault kind=member object=System member=ManagementMode callKind=get error=70");
  EXPECT_EQ(ErrorNumberOf([&] { system->get_ManagementMode(); }), 70);
  EXPECT_EQ(ErrorNumberOf([&] { system->put_ManagementMode(0); }), 0);
}

TEST_F(LnsVerbs, SwitchedFaultsTurnOnAndOff) {
  const auto nvPoint = device->FindPoint("nviSetpoint");
  Ok("fault kind=refuse-format object=NetworkVariable:nviSetpoint");
  SetFormat("nviSetpoint", "RAW");
  EXPECT_EQ(nvPoint->CurrentFormat(), "SNVT_temp_p#US");
  Ok("fault kind=refuse-format object=NetworkVariable:nviSetpoint on=false");
  SetFormat("nviSetpoint", "RAW");
  EXPECT_EQ(nvPoint->CurrentFormat(), "RAW");

  Ok("fault kind=offnet");
  EXPECT_EQ(system->get_ManagementMode(), 1);
  Ok("fault kind=offnet on=false");
  EXPECT_EQ(system->get_ManagementMode(), 0);

  Ok("fault kind=not-responding");
  EXPECT_EQ(Ok(OnUnit("unit-state"))["answers"], false);
  // The unit itself still changes its values while the network cannot reach it.
  EXPECT_EQ(Ok(OnUnit("unit-set point=nvoSpaceTemp bytes=[8,152]"))["bytes"], Json::parse("[8,152]"));
  Ok("fault kind=not-responding on=false");
  EXPECT_EQ(Ok(OnUnit("unit-state"))["answers"], true);
  EXPECT_EQ(PointValue("nvoSpaceTemp").ToString(), "71.6");
}

TEST_F(LnsVerbs, TheEngineeredModeOpenCanBeMadeToFail) {
  Ok("fault kind=open target=engineered error=70");
  auto attachment = system->get_Attachment();
  auto networkInterface = attachment->get_NetworkInterface();
  system->Close();
  attachment->putref_NetworkInterface(nullptr);
  EXPECT_EQ(ErrorNumberOf([&] { system->Open(); }), 70);
  attachment->putref_NetworkInterface(networkInterface);
  system->Open();
  EXPECT_TRUE(system->get_IsOpen());
}

TEST_F(LnsVerbs, ABadFaultRequestInjectsNothing) {
  ExpectRefused({
      {"fault kind=flood", rt::err::SubscriptOutOfRange},
      {"fault", rt::err::InvalidProcedureCall},
      {"fault kind=open target=moon", rt::err::SubscriptOutOfRange},
      {"fault kind=member object=AppDevice member=Wink repeat=twice", rt::err::SubscriptOutOfRange},
      {"fault kind=member object=AppDevice member=Wink error=0", rt::err::InvalidProcedureCall},
      {"fault kind=member object=AppDevice member=Wink error=ten", rt::err::TypeMismatch},
      {"fault kind=member object=AppDevice", rt::err::InvalidProcedureCall},
      {R"(fault kind=member object="" member=Wink)", rt::err::InvalidProcedureCall},
      {"fault kind=offnet on=1", rt::err::TypeMismatch},
      {"fault kind=catalog call=ResourceCatalog.Fly", rt::err::SubscriptOutOfRange},
      {"fault kind=catalog call=ResourceCatalog.Open programId=80071A55", rt::err::TypeMismatch},
      {"fault kind=catalog call=ResourceCatalog.Open scope=7", rt::err::TypeMismatch},
      {"fault kind=catalog call=ResourceCatalog.Open status=4 error=5", rt::err::InvalidProcedureCall},
      {"fault kind=catalog call=ResourceCatalog.Close scope=4 status=4", rt::err::InvalidProcedureCall},
      {"fault kind=catalog call=ResourceCatalog.Open file=x.rsf status=4", rt::err::InvalidProcedureCall},
      {"fault kind=catalog call=ResourceFile.Open typeIndex=1 status=4", rt::err::InvalidProcedureCall},
      {"fault kind=catalog call=ResourceCatalog.Find file=x.rsf status=4", rt::err::InvalidProcedureCall},
      {"fault kind=catalog call=FunctionalProfileLookup.Find typeIndex=70000 status=4", rt::err::TypeMismatch},
      {"fault kind=member object=System member=ManagementMode callKind=Peek", rt::err::SubscriptOutOfRange},
      {"fault kind=member object=NetworkVariables member=Item args=nviSetpoint", rt::err::TypeMismatch},
      {"faults-clear fault=first", rt::err::TypeMismatch},
  });
  EXPECT_EQ(ErrorNumberOf([&] { device->Wink(); }), 0);
  EXPECT_EQ(system->get_ManagementMode(), 0);
}

TEST_F(LnsVerbs, JournalShowsThePlugInsCallsFiltered) {
  PointValue("nviSetpoint");
  device->get_State();
  PointValue("nvoSpaceTemp");
  Ok("fault kind=member object=AppDevice member=Reset error=91");
  ErrorNumberOf([&] { device->Reset(); });

  const struct {
    const char* line;
    size_t matched;
    const char* lastMember;
    const char* lastPathEnd;
  } cases[] = {
      {"journal", 4, "Reset", "AppDevice:FCU 1"},
      {"journal member=value", 2, "Value", "NetworkVariable:nvoSpaceTemp"},
      {"journal path=nviSetpoint", 1, "Value", "NetworkVariable:nviSetpoint"},
      {"journal path=AppDevice member=State", 1, "State", "AppDevice:FCU 1"},
  };
  for (const auto& c : cases) {
    const Json reply = Ok(c.line);
    EXPECT_EQ(reply["matched"], c.matched) << c.line;
    ASSERT_EQ(reply["entries"].size(), c.matched) << c.line;
    EXPECT_EQ(reply["entries"].back()["member"], c.lastMember) << c.line;
    EXPECT_THAT(reply["entries"].back()["path"].get<std::string>(), ::testing::EndsWith(c.lastPathEnd)) << c.line;
  }
  const Json all = Ok("journal")["entries"];
  Json last = Ok("journal last=1");
  EXPECT_EQ(last["matched"], 4);
  ASSERT_EQ(last["entries"].size(), 1u);
  EXPECT_EQ(last["entries"][0]["sequence"], all[3]["sequence"]);
  EXPECT_LT(all[0]["sequence"], all[3]["sequence"]);
  last["entries"][0].erase("sequence");
  EXPECT_EQ(last["entries"][0], Json::parse(R"({"path":")" + device->Path() +
                                            R"(","member":"Reset","kind":"Method","arguments":"","error":91,)"
                                            R"("pointer":0,"lamps":[]})"));
  EXPECT_EQ(Error("journal last=-1")["number"], rt::err::InvalidProcedureCall);
  Ok("journal-clear");
  EXPECT_EQ(Ok("journal")["matched"], 0);
}

TEST_F(LnsVerbs, LnsEventReachesTheOpenServersHandlers) {
  int refreshes = 0;
  std::vector<std::tuple<int32_t, std::string, rt::ObjectRef>> updates;
  server->OnRefreshNotify([&] { ++refreshes; });
  server->OnMonitorUpdate([&](int32_t tag, const Variant& value, const rt::ObjectRef& object) {
    updates.emplace_back(tag, value.ToString(), object);
  });
  Ok("lns-event kind=refresh");
  Ok(OnUnit(R"(lns-event kind=Monitor tag=7 value="72.5" point=nvoSpaceTemp)"));
  Ok("lns-event kind=monitor tag=-1");
  EXPECT_EQ(refreshes, 1);
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_EQ(updates[0], std::make_tuple(7, std::string("72.5"), rt::ObjectRef(device->FindPoint("nvoSpaceTemp"))));
  EXPECT_EQ(updates[1], std::make_tuple(-1, std::string(), rt::ObjectRef()));

  EXPECT_EQ(Error("lns-event kind=storm")["number"], rt::err::SubscriptOutOfRange);
  EXPECT_EQ(Error("lns-event kind=monitor")["number"], rt::err::InvalidProcedureCall);
  EXPECT_EQ(Error(OnUnit("lns-event kind=monitor tag=1 point=nvoNothing"))["number"], lns::err::ObjectNotFound);
  EXPECT_EQ(updates.size(), 2u);
}

TEST_F(LnsVerbs, FaultsHaveIdsAndCatalogFaultsReachTheCatalog) {
  const Json wink = Ok(R"(fault kind=member object=AppDevice member=Wink error=70 description="Bench says no")");
  Ok("fault kind=member object=AppDevice member=Reset");
  Ok("fault kind=catalog call=resourcecatalog.find programId=80071A5501030400 scope=4 status=4");
  Ok(R"(fault kind=catalog call=ResourceFile.Close error=71 description="Locked")");
  EXPECT_EQ(Ok("faults-clear fault=" + wink["fault"].dump())["cleared"], true);
  EXPECT_EQ(Ok("faults-clear fault=" + wink["fault"].dump())["cleared"], false);
  EXPECT_EQ(ErrorNumberOf([&] { device->Wink(); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { device->Reset(); }), lns::err::InjectedFault);

  std::string fileName;
  int32_t version = 0, scope = 0, status = 0;
  lns::ResourceCatalog().Find(0, "80071A5501000000", 4, 4, 0, fileName, version, scope, status);
  EXPECT_EQ(status, lns::catalog_status::NotFound) << "not the unknown handle's status";
  lns::ResourceCatalog().Find(0, "80071A5501000000", 3, 4, 0, fileName, version, scope, status);
  EXPECT_EQ(status, lns::catalog_status::InvalidHandle);
  EXPECT_EQ(ErrorDescriptionOf([&] { lns::ResourceFile().Close(9, status); }), "Locked");
}

TEST_F(LnsVerbs, ClientVerbsChangeTheNetworkAsAnotherClientWould) {
  EXPECT_EQ(Ok(R"(client-device device="Demo/Subsystem 1/FCU 1" state=12 commissionStatus=2 programId=80071A5501030401)"),
            Json::parse(R"({"seq":1,"verb":"client-device","ok":true,"state":12,"commissionStatus":2,
                            "programId":"80071A5501030401"})"));
  Ok(R"(client-template network=demo template=OrvexUC_FCU name="OrvexUC_FCU [2]")");
  Ok("client-system network=Demo managementMode=1");
  EXPECT_TRUE(lns::JournalEntries().empty());
  EXPECT_EQ(device->get_State(), lns::device_state::SoftOffline);
  EXPECT_EQ(device->get_CommissionStatus(), 2);
  EXPECT_EQ(device->get_ProgramId(), "80071A5501030401");
  EXPECT_EQ(device->get_DeviceTemplate()->get_Name(), "OrvexUC_FCU [2]");
  EXPECT_EQ(system->get_ManagementMode(), 1);

  const std::string before = Database();
  ExpectRefused({
      {R"(client-device device="Demo/Subsystem 1/FCU 1" state=3 programId=80071A5501030400)", lns::err::InvalidValue},
      {R"(client-device device="Demo/Subsystem 1/FCU 1" state=4 programId=8007)", rt::err::TypeMismatch},
      {R"(client-device device="Demo/Subsystem 1/FCU 1" commissionStatus=70000)", rt::err::TypeMismatch},
      {R"(client-template network=Demo template=OrvexUC_FCU name="")", lns::err::ObjectNotFound},
      {R"(client-template network=Demo template="OrvexUC_FCU [2]" name="")", lns::err::InvalidArgument},
      {"client-system network=Demo managementMode=2", lns::err::InvalidValue},
      {"client-system network=Nowhere managementMode=0", lns::err::ObjectNotFound},
  });
  EXPECT_EQ(Database(), before);
}

TEST_F(LnsVerbs, TheVerbsReachANetworkThatIsNotOpenThroughItsDatabase) {
  EXPECT_EQ(Ok("lns-state")["servers"], Json::parse(R"([{"open":true,"remote":false,"remoteFlags":0,"preOpenFlag":true,
      "activeNetworkInterface":null,"networks":[{"name":"Demo","systems":[{"name":"Demo","open":true,
      "engineered":false,"managementMode":0,"networkInterface":"LON1"}]}]}])"));
  server->putref_ActiveNetworkInterface(server->get_NetworkInterfaces()->Item(Variant::String("LON1")));
  network->Close();
  Ok(OnUnit("unit-state state=6"));
  Ok("client-system network=Demo managementMode=1");
  EXPECT_EQ(Ok("lns-state")["servers"][0]["activeNetworkInterface"], "LON1");
  EXPECT_EQ(Ok("lns-state")["servers"][0]["networks"], Json::array());
  network->Open();
  system = network->get_Systems()->Item(Variant::Integer(1));
  system->Open();
  EXPECT_EQ(lns::FindOpenDevice("Demo/Subsystem 1/FCU 1")->get_State(), lns::device_state::ConfigOffline);
  EXPECT_EQ(system->get_ManagementMode(), 1);
}

TEST_F(LnsVerbs, StartLinesComeFromTheMachineFolderThenTheEnvironment) {
  std::ofstream(machine.Path() / StartScriptName) << "# the bench\nfault kind=member object=AppDevice member=Wink\n";
  setenv(StartLinesVariable, "fault kind=offnet\nunit-state device=\"Demo/Subsystem 1/FCU 1\" state=6", 1);
  std::ostringstream errors;
  EXPECT_TRUE(RunStartLines(channel, errors)) << errors.str();
  EXPECT_EQ(ErrorNumberOf([&] { device->Wink(); }), lns::err::InjectedFault);
  EXPECT_EQ(system->get_ManagementMode(), 1);
  EXPECT_EQ(device->get_State(), lns::device_state::ConfigOffline);

  lns::ClearFaults();
  setenv(StartLinesVariable, "fault kind=flood\nfault kind=offnet", 1);
  EXPECT_FALSE(RunStartLines(channel, errors));
  unsetenv(StartLinesVariable);
  EXPECT_THAT(errors.str(), ::testing::HasSubstr("ORVEX_START_LINES:1: fault kind=flood: Unknown fault kind"));
  EXPECT_EQ(system->get_ManagementMode(), 0) << "the lines after a failing one do not run";
}

}  // namespace
}  // namespace automation
