#include "lns/device.h"

#include <nlohmann/json.hpp>

#include "lns/calls/faults.h"
#include "lns/catalog/catalog.h"
#include "lns/catalog/xif.h"
#include "lns/store/json_util.h"
#include "process/paths.h"

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

std::vector<std::shared_ptr<AppDevice>> DevicesUsing(const DeviceTemplate& deviceTemplate) {
  const auto scope = deviceTemplate.Ancestor<DeviceScope>();
  return scope ? scope->DevicesMadeFrom(deviceTemplate.Name()) : std::vector<std::shared_ptr<AppDevice>>{};
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
    const auto scope = Ancestor<DeviceScope>();
    return scope ? scope->DisplayText(*this) : name_;
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
    const auto scope = Ancestor<DeviceScope>();
    auto found = scope ? scope->Library().Templates().Find(templateName_) : nullptr;
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
  const auto scope = Ancestor<DeviceScope>();
  if (scope && scope->IsEngineered()) Fail(err::EngineeredMode, name_);
  if (!DeviceResponding(AsCallTarget())) Fail(err::DeviceNotResponding, name_);
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

// --- DeviceTemplate ---------------------------------------------------------------------------


DeviceTemplate::DeviceTemplate(std::weak_ptr<Database> database, std::string name, int32_t kind)
    : Node(std::move(database)), name_(std::move(name)), kind_(kind) {}

std::string DeviceTemplate::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }
std::string DeviceTemplate::get_ProgramId() const { return Call("ProgramId", CallKind::Get, [&] { return programId_; }); }
std::shared_ptr<Interface> DeviceTemplate::get_Interface() const {
  return Call("Interface", CallKind::Get, [&] { return Face(); });
}

const std::shared_ptr<Interface>& DeviceTemplate::Face() const {
  if (!interface_) interface_ = Db().ReadInterface(*this);
  return interface_;
}
std::shared_ptr<ComponentApps> DeviceTemplate::get_ComponentApps() const {
  return Call("ComponentApps", CallKind::Get, [&] { return componentApps_; });
}

std::shared_ptr<AppDevices> DeviceTemplate::get_AppDevices() const {
  return Call("AppDevices", CallKind::Get, [&] {
    auto found = std::make_shared<AppDevices>(DatabaseRef());
    found->Attach(Self());
    for (const auto& device : DevicesUsing(*this)) found->Include(device);
    return found;
  });
}

void DeviceTemplate::Import(const std::string& xifPath) {
  Call("Import", CallKind::Method, [&] {
    XifFile xif = ReadXif(proc::ResolvePath(xifPath));
    Fill(xif.programId, xif.interface);
  }, ArgumentText({V::String(xifPath)}));
}

void DeviceTemplate::Fill(const std::string& programId, const InterfaceDecl& decl) {
  ValidateInterface(decl);
  auto newInterface = Interface::Create(decl, Self());
  std::string oldProgramId;
  std::shared_ptr<Interface> oldInterface;
  Change(
      [&] {
        oldProgramId = std::exchange(programId_, programId);
        oldInterface = std::exchange(interface_, newInterface);
      },
      [&] {
        programId_ = oldProgramId;
        interface_ = oldInterface;
      },
      [&](Database& db) { db.WriteInterface(*this); });
}

void DeviceTemplate::Rename(const std::string& newName) {
  if (newName.empty()) Fail(err::InvalidArgument, "a device template needs a name");
  if (newName == name_) return;
  auto templates = std::dynamic_pointer_cast<DeviceTemplates>(ParentNode());
  if (templates && templates->Find(newName)) Fail(err::NameExists, "device template " + newName);
  const std::string oldName = name_;
  const auto devices = DevicesUsing(*this);
  const auto name = [&](const std::string& text) {
    name_ = text;
    for (const auto& device : devices) device->FollowTemplateRename(text);
  };
  Change([&] { name(newName); }, [&] { name(oldName); });
}

rt::Variant DeviceTemplate::Invoke(std::string_view member, CallKind kind, Args& args) {
  using T = DeviceTemplate;
  static const rt::Members<T> members{
      rt::Get("Name", &T::get_Name),
      rt::Get("", &T::get_Name),
      rt::Get("ProgramId", &T::get_ProgramId),
      rt::Get("Interface", &T::get_Interface),
      rt::Get("ComponentApps", &T::get_ComponentApps),
      rt::Get("AppDevices", &T::get_AppDevices),
      rt::Method("Import", [](T& s, Args& a) { s.Import(rt::Arg(a, 0).ToString()); }),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

std::shared_ptr<DeviceTemplate> DeviceTemplate::CreateEmpty(std::weak_ptr<Database> database, const std::string& name,
                                                            int32_t kind) {
  auto deviceTemplate = std::make_shared<DeviceTemplate>(database, name, kind);
  deviceTemplate->componentApps_ = ComponentApps::EmptyUnder(deviceTemplate);
  deviceTemplate->interface_ = Interface::Create({}, deviceTemplate);
  return deviceTemplate;
}

json DeviceTemplate::Fields() const { return {{"name", name_}, {"kind", kind_}, {"programId", programId_}}; }

void DeviceTemplate::TakeFields(const json& j) {
  name_ = j.at("name").get<std::string>();
  kind_ = WholeAt<int32_t>(j, "kind");
  programId_ = j.at("programId").get<std::string>();
}

json DeviceTemplate::ToJson() const {
  json j = Fields();
  j["componentApps"] = componentApps_->ToJson();
  j["interface"] = Face()->ToJson();
  return j;
}

std::shared_ptr<DeviceTemplate> DeviceTemplate::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto deviceTemplate = std::make_shared<DeviceTemplate>(std::move(database), "", 0);
  deviceTemplate->TakeFields(fields);
  deviceTemplate->componentApps_ = ComponentApps::EmptyUnder(deviceTemplate);
  return deviceTemplate;
}

// --- DeviceTemplates --------------------------------------------------------------------------

std::shared_ptr<DeviceTemplate> DeviceTemplates::ItemByProgramId(const std::string& programId) const {
  return Call("ItemByProgramId", CallKind::Method, [&] {
    for (const auto& deviceTemplate : Items()) {
      if (!deviceTemplate->ProgramId().empty() && rt::EqualsNoCase(deviceTemplate->ProgramId(), programId)) return deviceTemplate;
    }
    Fail(err::ObjectNotFound, "no device template has the program ID " + programId);
  }, ArgumentText({V::String(programId)}));
}

std::shared_ptr<DeviceTemplate> DeviceTemplates::Add(const std::string& name, int32_t kind) {
  return Call("Add", CallKind::Method, [&] { return AddNew(name, kind); }, ArgumentText({V::String(name), V::Long(kind)}));
}

std::shared_ptr<DeviceTemplate> DeviceTemplates::AddNew(const std::string& name, int32_t kind) {
  if (name.empty()) Fail(err::InvalidArgument, "a device template needs a name");
  if (Find(name)) Fail(err::NameExists, name);
  auto deviceTemplate = DeviceTemplate::CreateEmpty(DatabaseRef(), name, kind);
  Insert(deviceTemplate);
  return deviceTemplate;
}

void DeviceTemplates::Remove(const rt::Variant& key) {
  Call("Remove", CallKind::Method, [&] {
    size_t index = IndexOf(key);
    size_t users = DevicesUsing(*Items()[index]).size();
    if (users > 0) Fail(err::InvalidArgument, Items()[index]->Name() + " is used by " + std::to_string(users) + " device(s)");
    EraseAt(index);
  }, ArgumentText({key}));
}

rt::Variant DeviceTemplates::Invoke(std::string_view member, CallKind kind, Args& args) {
  using T = DeviceTemplates;
  static const rt::Members<T> members{
      rt::Method("ItemByProgramId", [](T& s, Args& a) { return s.ItemByProgramId(rt::Arg(a, 0).ToString()); }),
      rt::Method("Add", [](T& s, Args& a) { return s.Add(rt::Arg(a, 0).ToString(), a.size() > 1 ? a[1].ToLong() : 0); }),
      rt::Method("Remove", [](T& s, Args& a) { s.Remove(rt::Arg(a, 0)); }),
  };
  return members.Invoke<Collection<DeviceTemplate>>(*this, member, kind, args);
}

// --- TemplateLibrary --------------------------------------------------------------------------

std::shared_ptr<DeviceTemplates> TemplateLibrary::get_DeviceTemplates() const {
  return Call("DeviceTemplates", CallKind::Get, [&] { return templates_; });
}

rt::Variant TemplateLibrary::Invoke(std::string_view member, CallKind kind, Args& args) {
  using T = TemplateLibrary;
  static const rt::Members<T> members{
      rt::Get("DeviceTemplates", &T::get_DeviceTemplates),
      rt::Get("HardwareTemplates", &T::hardware_),
      rt::Get("BuildTemplates", &T::build_),
      rt::Get("ProgramTemplates", &T::program_),
      rt::Get("ConnectionDescriptionTemplates", &T::connectionDescriptions_),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

std::shared_ptr<TemplateLibrary> TemplateLibrary::EmptyUnder(const std::shared_ptr<Node>& owner) {
  auto library = std::make_shared<TemplateLibrary>(owner->DatabaseRef());
  library->Attach(owner);
  library->templates_ = std::make_shared<DeviceTemplates>(owner->DatabaseRef());
  library->templates_->Attach(library);
  library->hardware_ = MakePlaceholders(library, "HardwareTemplates");
  library->build_ = MakePlaceholders(library, "BuildTemplates");
  library->program_ = MakePlaceholders(library, "ProgramTemplates");
  library->connectionDescriptions_ = MakePlaceholders(library, "ConnectionDescriptionTemplates");
  return library;
}

json TemplateLibrary::ToJson() const {
  json items = json::array();
  for (const auto& deviceTemplate : templates_->Items()) items.push_back(deviceTemplate->ToJson());
  return items;
}

}  // namespace lns
