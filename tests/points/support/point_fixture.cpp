#include "point_fixture.h"

#include <cstdlib>

#include "forms/controls_text.h"
#include "forms/form.h"
#include "forms/msgbox.h"
#include "host/log.h"
#include "lns/calls/journal.h"
#include "lns/platform.h"
#include "lns/values/declaration.h"
#include "lns/values/fcu_unit.h"
#include "registry/registry.h"

namespace points::testing {

namespace {

constexpr const char* NetworkName = "Bench";

// The main window's layout alone, holding the log.
class LogWindow : public forms::Form {
 public:
  LogWindow() : Form("fMain") {}
};

forms::ListBox& LogList() { return forms::Default<LogWindow>().Ctl<forms::ListBox>("lstLog"); }

lns::InterfaceDecl BenchInterface() {
  auto input = [](const char* name, const char* type, const char* format, lns::Bytes bytes) {
    return lns::NetworkVariableDecl{{name, type, format, std::move(bytes)}, true, {}};
  };
  lns::InterfaceDecl decl;
  decl.lonMarkObjects = {{"Node", 0, {}}};
  decl.networkVariables = {
      input("nviTemp", "SNVT_temp_p", "SNVT_temp_p#US", {0x08, 0xCA}),
      input("nviDiff", "SNVT_temp_p", "SNVT_temp_p#US_diff", {0, 0}),
      input("nviLevel", "SNVT_lev_percent", "SNVT_lev_percent", {0, 0}),
      input("nviCount", "SNVT_count", "SNVT_count", {0, 0}),
      input("nviMinutes", "SNVT_time_min", "SNVT_time_min", {0, 0}),
      input("nviSeconds", "SNVT_time_sec", "SNVT_time_sec", {0, 0}),
      input("nviText", "SNVT_str_asc", "SNVT_str_asc", lns::Bytes(31, 0)),
      input("nviByte", "UNVT_Byte", "UNVT_Byte", {0}),
      input("nviState", "SNVT_state", "SNVT_state", {0, 0}),
      input("nviState64", "SNVT_state_64", "SNVT_state_64", lns::Bytes(8, 0)),
      input("nviMode", "SNVT_hvac_mode", "SNVT_hvac_mode", {0}),
      input("nviOcc", "SNVT_occupancy", "SNVT_occupancy", {0}),
      input("nviStatus", "SNVT_hvac_status", "SNVT_hvac_status", lns::Bytes(12, 0)),
      input("nviSetpts", "SNVT_temp_setpt", "SNVT_temp_setpt#US", lns::Bytes(12, 0)),
      input("nviSchedule", "SNVT_tod_event", "SNVT_tod_event", {0, 0, 0, 0}),
      input("nviSwitch", "SNVT_switch", "SNVT_switch", {0, 0}),
  };
  return decl;
}

void MakeNetwork() {
  lns::AddNetworkInterface("LON1");
  lns::CreateNetwork({NetworkName, NetworkName, "LON1", "", 0}, [](lns::System& system) {
    auto unitTemplate = system.Library().Templates().AddNew("OrvexUC_FCU", 1);
    unitTemplate->Fill(std::string(lns::FcuProgramId), lns::UnitInterface());
    auto benchTemplate = system.Library().Templates().AddNew("Bench", 1);
    benchTemplate->Fill("9000000000000000", BenchInterface());
    auto subsystem = system.AddSubsystem("Subsystem 1");
    subsystem->AddDevice("FCU 1", *unitTemplate, std::string(lns::FcuNeuronId));
    subsystem->AddDevice("FCU 2", *unitTemplate, "05017A3C2E02");
    subsystem->AddDevice("Bench 1", *benchTemplate, "000000000001");
  });
}

}  // namespace

void PointTest::SetUp() {
  temp_.emplace("points_nv");
  forms::ResetForTests();
  host::SetLogWindow([]() -> forms::Form& { return forms::Default<LogWindow>(); });
  reg::Reset();
  lns::ResetPlatform();
  MakeNetwork();
  server_ = std::make_shared<lns::ObjectServer>();
  server_->Open();
  auto network = server_->get_Networks()->Item(rt::Variant::String(NetworkName));
  network->Open();
  auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
  system->Open();
  auto devices = system->get_Subsystems()->Item(rt::Variant::String("Subsystem 1"))->get_AppDevices();
  unit_ = devices->Item(rt::Variant::String("FCU 1"));
  bench_ = devices->Item(rt::Variant::String("Bench 1"));
  secondUnit_ = devices->Item(rt::Variant::String("FCU 2"));
  lns::ClearJournal();
}

void PointTest::TearDown() {
  bench_.reset();
  unit_.reset();
  secondUnit_.reset();
  server_.reset();
  lns::ResetPlatform();
  forms::ResetForTests();
  temp_.reset();
}

std::shared_ptr<lns::NetworkVariable> PointTest::Variable(const std::string& nvName,
                                                          const std::shared_ptr<lns::AppDevice>& device) const {
  const auto& owner = device ? device : bench_;
  auto variable = owner->get_Interface()->Variables().Find(nvName);
  if (!variable) throw std::runtime_error("no variable " + nvName);
  return variable;
}

void PointTest::SetFormat(const std::string& nvName, const std::string& formatName) {
  Variable(nvName)->put_DsFormatType(formatName);
}

std::string PointTest::FormatOf(const std::string& nvName) const { return Variable(nvName)->CurrentFormat(); }

void PointTest::SetBytes(const std::string& nvName, const lns::Bytes& bytes,
                         const std::shared_ptr<lns::AppDevice>& device) {
  Variable(nvName, device)->UnitWriteBytes(bytes);
}

lns::Bytes PointTest::BytesOf(const std::string& nvName) const { return Variable(nvName)->DeviceBytes(); }

std::shared_ptr<lns::ConfigProperty> PointTest::Property(const std::string& cpName,
                                                         const std::shared_ptr<lns::AppDevice>& device) const {
  const auto& deviceInterface = (device ? device : unit_)->get_Interface();
  for (const auto& object : deviceInterface->Objects().Items()) {
    if (auto property = object->PropertiesOf()->Find(cpName)) return property;
  }
  for (const auto& variable : deviceInterface->Variables().Items()) {
    if (auto property = variable->PropertiesOf()->Find(cpName)) return property;
  }
  throw std::runtime_error("no property " + cpName);
}

namespace {

bool IsCallOn(const lns::JournalEntry& entry, const std::string& segment, std::string_view member,
              rt::Object::CallKind kind) {
  const std::string& tail = segment;
  return entry.member == member && entry.kind == kind && entry.path.size() >= tail.size() &&
         entry.path.compare(entry.path.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::vector<std::string> PointTest::SentTo(const std::string& segment) const {
  std::vector<std::string> sent;
  for (const auto& entry : lns::JournalEntries()) {
    if (entry.error == 0 && IsCallOn(entry, segment, "Value", rt::Object::CallKind::Let)) {
      sent.push_back(entry.arguments);
    }
  }
  return sent;
}

bool PointTest::FormatRead(const std::string& nvName) const {
  for (const auto& entry : lns::JournalEntries()) {
    if (IsCallOn(entry, "NetworkVariable:" + nvName, "DsFormatType", rt::Object::CallKind::Get)) return true;
  }
  return false;
}

std::vector<std::string> PointTest::Log() { return host::LogLines(); }

void PointTest::ClearLog() { LogList().Clear(); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Expand(std::string text, const rt::Error& error) {
  for (auto [key, value] : {std::pair<std::string, std::string>{"{d}", error.Description()},
                            std::pair<std::string, std::string>{"{n}", std::to_string(error.Number())}}) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key)) text.replace(at, key.size(), value);
  }
  return text;
}

rt::Variant RecordingVariable::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  bool isFormat = member == "DsFormatType" || member == "FormatName";
  if (isFormat && kind == CallKind::Get) {
    ++formatReads_;
    return rt::Variant::String(format_);
  }
  if (isFormat && kind == CallKind::Let) {
    if (!refuseFormats_) format_ = args.back().ToString();
    return {};
  }
  if (member == "Value" && kind == CallKind::Get) return value_;
  if (member == "Value" && kind == CallKind::Let) {
    puts_.push_back(args.back());
    return {};
  }
  if (member == "Name" && kind == CallKind::Get) return rt::Variant::String(name_);
  return rt::Object::Invoke(member, kind, args);
}

rt::Variant FakeDevice::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  if (member == "Interface" || member == "NetworkVariables" || member == "LonMarkObjects" ||
      member == "ConfigProperties") {
    return rt::Variant::Object(shared_from_this());
  }
  if (member == "Item" && args.at(0).IsNumeric()) return rt::Variant::Object(shared_from_this());
  if (member == "Item") {
    if (args.at(0).ToString() != variable_->Name()) rt::Raise(rt::err::InvalidProcedureCall);
    return rt::Variant::Object(variable_);
  }
  return rt::Object::Invoke(member, kind, args);
}

}  // namespace points::testing
