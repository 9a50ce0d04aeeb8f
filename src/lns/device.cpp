#include "lns/device.h"

#include <nlohmann/json.hpp>

#include "lns/calls/call_hooks.h"
#include "lns/catalog/catalog.h"
#include "lns/device_template.h"
#include "lns/store/json_util.h"
#include "lns/system.h"

namespace lns {

using nlohmann::json;
using V = rt::Variant;

namespace {

bool IsRequestableState(int16_t state) {
  return state == device_state::ConfigOnline || state == device_state::ConfigOffline ||
         state == device_state::SoftOffline;
}

// The properties of the device named `name`, wherever they sit.
std::vector<std::shared_ptr<ValuePoint>> PropertiesNamed(const Interface& face, std::string_view name) {
  std::vector<std::shared_ptr<ValuePoint>> found;
  auto collect = [&](const ConfigProperties& properties) {
    if (auto property = properties.Find(name)) found.push_back(property);
  };
  for (const auto& object : face.Objects().Items()) collect(*object->PropertiesOf());
  for (const auto& variable : face.Variables().Items()) collect(*variable->PropertiesOf());
  collect(face.Properties());
  return found;
}

}  // namespace

AppDevice::AppDevice(std::weak_ptr<Database> database, std::string name, std::string templateName,
                     std::string programId, std::string neuronId)
    : Node(std::move(database)),
      name_(std::move(name)),
      templateName_(std::move(templateName)),
      programId_(std::move(programId)),
      neuronId_(std::move(neuronId)) {}

std::string AppDevice::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }

std::string AppDevice::get_DisplayText() const {
  return Call("DisplayText", CallKind::Get, [&] {
    std::string text = name_;
    for (auto node = ParentNode(); node; node = node->ParentNode()) {
      if (auto subsystem = std::dynamic_pointer_cast<Subsystem>(node)) text = subsystem->Name() + "." + text;
    }
    return text;
  });
}

std::string AppDevice::get_ProgramId() const { return Call("ProgramId", CallKind::Get, [&] { return programId_; }); }
std::string AppDevice::get_NeuronId() const { return Call("NeuronId", CallKind::Get, [&] { return neuronId_; }); }
std::shared_ptr<Interface> AppDevice::get_Interface() const {
  return Call("Interface", CallKind::Get, [&] { return Face(); });
}

const std::shared_ptr<Interface>& AppDevice::Face() const {
  if (!interface_) interface_ = Db().ReadInterface(*this);
  return interface_;
}

std::shared_ptr<DeviceTemplate> AppDevice::get_DeviceTemplate() const {
  return Call("DeviceTemplate", CallKind::Get, [&] {
    auto system = Ancestor<System>();
    auto found = system ? system->Library().Templates().Find(templateName_) : nullptr;
    if (!found) Fail(err::ObjectNotFound, "device template " + templateName_);
    return found;
  });
}

int16_t AppDevice::get_CommissionStatus() const {
  return Call("CommissionStatus", CallKind::Get, [&] { return commissionStatus_; });
}
bool AppDevice::get_IsCommissioned() const { return Call("IsCommissioned", CallKind::Get, [&] { return commissioned_; }); }
bool AppDevice::get_TestBlocked() const { return Call("TestBlocked", CallKind::Get, [&] { return testBlocked_; }); }

int16_t AppDevice::get_State() const {
  return Call("State", CallKind::Get, [&] {
    RequireAnswer();
    return state_;
  });
}

void AppDevice::put_State(int16_t state) {
  Call("State", CallKind::Let, [&] { RequestState(state); }, std::to_string(state));
}

void AppDevice::RequestState(int16_t state) {
  RequireAnswer();
  if (!IsRequestableState(state)) Fail(err::InvalidValue, "device state " + std::to_string(state) + " cannot be asked for");
  if (!commissioned_) Fail(err::InvalidValue, name_ + " is not commissioned");
  if (state_ == device_state::Unconfigured || state_ == device_state::Applicationless) {
    Fail(err::InvalidValue, name_ + " has no configured application");
  }
  Assign(state_, state);
}

void AppDevice::SetProgramId(const std::string& programId) {
  if (!IsProgramIdText(programId)) Fail(err::InvalidValue, "program ID \"" + programId + "\"");
  Assign(programId_, programId);
}

void AppDevice::Wink() {
  Call("Wink", CallKind::Method, [&] { RequireAnswer(); });
}

void AppDevice::Reset() {
  Call("Reset", CallKind::Method, [&] { RequireAnswer(); });
}

void AppDevice::SynchronizeCpValues(int32_t options) {
  Call("SynchronizeCpValues", CallKind::Method, [&] { RequireAnswer(); }, std::to_string(options));
}

rt::Variant AppDevice::Invoke(std::string_view member, CallKind kind, Args& args) {
  using D = AppDevice;
  static const rt::Members<D> members{
      rt::Get("Name", &D::get_Name),
      rt::Get("DisplayText", &D::get_DisplayText),
      rt::Get("ProgramId", &D::get_ProgramId),
      rt::Get("NeuronId", &D::get_NeuronId),
      rt::Get("Interface", &D::get_Interface),
      rt::Get("DeviceTemplate", &D::get_DeviceTemplate),
      rt::Get("CommissionStatus", &D::get_CommissionStatus),
      rt::Get("IsCommissioned", &D::get_IsCommissioned),
      rt::Get("TestBlocked", &D::get_TestBlocked),
      rt::Get("State", &D::get_State),
      rt::Let("State", &D::put_State),
      rt::Method("Wink", &D::Wink),
      rt::Method("Reset", &D::Reset),
      rt::Method("SynchronizeCpValues", [](D& s, Args& a) { s.SynchronizeCpValues(a.empty() ? 0 : a[0].ToLong()); }),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

void AppDevice::RequireAnswer() const {
  auto system = Ancestor<System>();
  if (system && system->IsEngineered()) Fail(err::EngineeredMode, name_);
  if (!DeviceResponding(*this)) Fail(err::DeviceNotResponding, name_);
}

std::shared_ptr<ValuePoint> AppDevice::FindPoint(std::string_view designator) const {
  const Interface& face = *Face();
  auto slash = designator.find('/');
  if (slash == std::string_view::npos) {
    if (auto variable = face.Variables().Find(designator)) return variable;
    auto properties = PropertiesNamed(face, designator);
    if (properties.size() > 1) Fail(err::InvalidArgument, std::string(designator) + " names several properties");
    if (properties.empty()) Fail(err::ObjectNotFound, std::string(designator));
    return properties.front();
  }
  auto owner = designator.substr(0, slash);
  auto name = designator.substr(slash + 1);
  std::shared_ptr<ConfigProperties> properties;
  if (auto object = face.Objects().Find(owner)) properties = object->PropertiesOf();
  else if (auto variable = face.Variables().Find(owner)) properties = variable->PropertiesOf();
  auto property = properties ? properties->Find(name) : nullptr;
  if (!property) Fail(err::ObjectNotFound, std::string(designator));
  return property;
}

void AppDevice::UnitSetState(int16_t state) { Assign(state_, state); }

void AppDevice::UnitSetCommission(bool commissioned, int16_t commissionStatus) {
  bool oldCommissioned = false;
  int16_t oldStatus = 0;
  Change(
      [&] {
        oldCommissioned = std::exchange(commissioned_, commissioned);
        oldStatus = std::exchange(commissionStatus_, commissionStatus);
      },
      [&] {
        commissioned_ = oldCommissioned;
        commissionStatus_ = oldStatus;
      });
}

void AppDevice::UnitSetTestBlocked(bool blocked) { Assign(testBlocked_, blocked); }

std::shared_ptr<AppDevice> AppDevice::Create(std::weak_ptr<Database> database, const std::string& name,
                                             const DeviceTemplate& deviceTemplate, const std::string& neuronId) {
  auto device = std::make_shared<AppDevice>(database, name, deviceTemplate.Name(), deviceTemplate.ProgramId(), neuronId);
  device->interface_ = Interface::Create(deviceTemplate.InterfaceOf().Declaration(), device);
  return device;
}

json AppDevice::Fields() const {
  return {{"name", name_},
          {"template", templateName_},
          {"programId", programId_},
          {"neuronId", neuronId_},
          {"commissioned", commissioned_},
          {"commissionStatus", commissionStatus_},
          {"state", state_},
          {"testBlocked", testBlocked_}};
}

void AppDevice::TakeFields(const json& j) {
  name_ = j.at("name").get<std::string>();
  templateName_ = j.at("template").get<std::string>();
  programId_ = j.at("programId").get<std::string>();
  neuronId_ = j.at("neuronId").get<std::string>();
  commissioned_ = j.at("commissioned").get<bool>();
  commissionStatus_ = WholeAt<int16_t>(j, "commissionStatus");
  state_ = WholeAt<int16_t>(j, "state");
  testBlocked_ = j.at("testBlocked").get<bool>();
}

json AppDevice::ToJson() const {
  json j = Fields();
  j["interface"] = Face()->ToJson();
  return j;
}

std::shared_ptr<AppDevice> AppDevice::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto device = std::make_shared<AppDevice>(std::move(database), "", "", "", "");
  device->TakeFields(fields);
  return device;
}

}  // namespace lns
