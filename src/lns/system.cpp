#include "lns/system.h"

#include <nlohmann/json.hpp>

#include "lns/calls/faults.h"
#include "lns/store/json_util.h"

namespace lns {

using nlohmann::json;
using V = rt::Variant;

namespace {

bool AnyOf(std::string_view member, std::initializer_list<std::string_view> names) {
  for (auto name : names) {
    if (rt::EqualsNoCase(member, name)) return true;
  }
  return false;
}

// Every device below `subsystems` made from the template named `name`.
void CollectDevices(const Subsystems& subsystems, const std::string& name, std::vector<std::shared_ptr<AppDevice>>& found) {
  for (const auto& subsystem : subsystems.Items()) {
    for (const auto& device : subsystem->Devices().Items()) {
      if (device->TemplateName() == name) found.push_back(device);
    }
    CollectDevices(subsystem->Children(), name, found);
  }
}

}  // namespace

// --- Subsystem --------------------------------------------------------------------------------

Subsystem::Subsystem(std::weak_ptr<Database> database, std::string name) : Node(std::move(database)), name_(std::move(name)) {}

std::string Subsystem::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }
std::shared_ptr<Subsystems> Subsystem::get_Subsystems() const {
  return Call("Subsystems", CallKind::Get, [&] { return subsystems_; });
}
std::shared_ptr<AppDevices> Subsystem::get_AppDevices() const {
  return Call("AppDevices", CallKind::Get, [&] { return devices_; });
}
std::shared_ptr<PlaceholderCollection> Subsystem::get_Routers() const {
  return Call("Routers", CallKind::Get, [&] { return routers_; });
}

rt::Variant Subsystem::Invoke(std::string_view member, CallKind kind, Args& args) {
  using S = Subsystem;
  static const rt::Members<S> members{
      rt::Get("Name", &S::get_Name),
      rt::Get("Subsystems", &S::get_Subsystems),
      rt::Get("AppDevices", &S::get_AppDevices),
      rt::Get("Routers", &S::get_Routers),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

std::shared_ptr<Subsystem> Subsystem::AddSubsystem(const std::string& name) { return subsystems_->AddNew(name); }

std::shared_ptr<AppDevice> Subsystem::AddDevice(const std::string& name, const DeviceTemplate& deviceTemplate,
                                                const std::string& neuronId) {
  auto device = AppDevice::Create(DatabaseRef(), name, deviceTemplate, neuronId);
  devices_->Add(device);
  return device;
}

json Subsystem::Fields() const { return {{"name", name_}}; }

void Subsystem::TakeFields(const json& fields) { name_ = fields.at("name").get<std::string>(); }

json Subsystem::ToJson() const {
  json subsystems = json::array();
  for (const auto& subsystem : subsystems_->Items()) subsystems.push_back(subsystem->ToJson());
  json devices = json::array();
  for (const auto& device : devices_->Items()) devices.push_back(device->ToJson());
  return {{"name", name_}, {"subsystems", subsystems}, {"devices", devices}};
}

std::shared_ptr<Subsystem> Subsystem::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto subsystem = std::make_shared<Subsystem>(database, "");
  subsystem->TakeFields(fields);
  auto self = subsystem->Self();
  subsystem->subsystems_ = std::make_shared<Subsystems>(database);
  subsystem->subsystems_->Attach(self);
  subsystem->devices_ = std::make_shared<AppDevices>(database);
  subsystem->devices_->Attach(self);
  subsystem->routers_ = MakePlaceholders(self, "Routers");
  return subsystem;
}

// --- NetworkAttachment ------------------------------------------------------------------------

std::shared_ptr<NetworkInterface> NetworkAttachment::get_NetworkInterface() const {
  return Call("NetworkInterface", CallKind::Get, [&]() -> std::shared_ptr<NetworkInterface> {
    auto system = Ancestor<System>();
    if (!system || system->AttachedInterface().empty()) return nullptr;
    return std::make_shared<NetworkInterface>(DatabaseRef(), system->AttachedInterface());
  });
}

void NetworkAttachment::putref_NetworkInterface(const std::shared_ptr<NetworkInterface>& networkInterface) {
  Call("NetworkInterface", CallKind::Set, [&] {
    if (auto system = Ancestor<System>()) system->SetAttachedInterface(networkInterface ? networkInterface->Name() : "");
  }, ArgumentText({V::Object(networkInterface)}));
}

rt::Variant NetworkAttachment::Invoke(std::string_view member, CallKind kind, Args& args) {
  using A = NetworkAttachment;
  static const rt::Members<A> members{
      rt::Get("NetworkInterface", &A::get_NetworkInterface),
      rt::Set("NetworkInterface", &A::putref_NetworkInterface),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

void NetworkAttachment::CheckAccess(std::string_view) const { Db(); }

// --- System -----------------------------------------------------------------------------------

System::System(std::weak_ptr<Database> database, Settings settings)
    : Node(std::move(database)), settings_(std::move(settings)) {}

void System::CheckAccess(std::string_view member) const {
  if (rt::EqualsNoCase(member, "IsOpen")) return;
  if (AnyOf(member, {"Name", "Open", "Close", "Attachment"})) {
    Db();
    return;
  }
  Node::CheckAccess(member);
}

std::string System::get_Name() const { return Call("Name", CallKind::Get, [&] { return settings_.name; }); }

void System::Open() {
  Call("Open", CallKind::Method, [&] {
    if (open_) return;
    bool engineered = settings_.networkInterface.empty();
    if (engineered) {
      if (auto error = TakeEngineeredOpenFault()) {
        RaiseFault(*error, "injected on the engineered-mode open of " + settings_.name);
      }
    }
    engineered_ = engineered;
    open_ = true;
  });
}

void System::Close() {
  Call("Close", CallKind::Method, [&] {
    if (!open_) Fail(err::NotOpen, settings_.name);
    open_ = false;
  });
}

bool System::get_IsOpen() const {
  return Call("IsOpen", CallKind::Get, [&] { return open_ && !DatabaseRef().expired(); });
}

int16_t System::get_ManagementMode() const {
  return Call("ManagementMode", CallKind::Get, [&] { return OffNetKept() ? int16_t{1} : settings_.managementMode; });
}

void System::put_ManagementMode(int16_t mode) {
  Call("ManagementMode", CallKind::Let, [&] { SetManagementMode(mode); }, std::to_string(mode));
}

void System::SetManagementMode(int16_t mode) {
  if (mode != 0 && mode != 1) Fail(err::InvalidValue, "management mode " + std::to_string(mode));
  Assign(settings_.managementMode, mode);
}

bool System::get_PulsedFlag() const { return Call("PulsedFlag", CallKind::Get, [&] { return pulsedFlag_; }); }
void System::put_PulsedFlag(bool flag) {
  Call("PulsedFlag", CallKind::Let, [&] { Assign(pulsedFlag_, flag); }, ArgumentText({V::Boolean(flag)}));
}
int32_t System::get_InternetOption() const { return Call("InternetOption", CallKind::Get, [&] { return internetOption_; }); }
void System::put_InternetOption(int32_t option) {
  Call("InternetOption", CallKind::Let, [&] { Assign(internetOption_, option); }, std::to_string(option));
}
int32_t System::get_OpenSetting() const { return Call("OpenSetting", CallKind::Get, [&] { return openSetting_; }); }
void System::put_OpenSetting(int32_t setting) {
  Call("OpenSetting", CallKind::Let, [&] { Assign(openSetting_, setting); }, std::to_string(setting));
}
std::shared_ptr<NetworkAttachment> System::get_Attachment() const {
  return Call("Attachment", CallKind::Get, [&] { return attachment_; });
}
std::string System::get_XifSearchRoot() const {
  return Call("XifSearchRoot", CallKind::Get, [&] { return settings_.xifSearchRoot; });
}
void System::put_XifSearchRoot(const std::string& folder) {
  Call("XifSearchRoot", CallKind::Let, [&] { Assign(settings_.xifSearchRoot, folder); }, ArgumentText({V::String(folder)}));
}
std::shared_ptr<Subsystems> System::get_Subsystems() const {
  return Call("Subsystems", CallKind::Get, [&] { return subsystems_; });
}
std::shared_ptr<TemplateLibrary> System::get_TemplateLibrary() const {
  return Call("TemplateLibrary", CallKind::Get, [&] { return library_; });
}
std::shared_ptr<ComponentApps> System::get_ComponentApps() const {
  return Call("ComponentApps", CallKind::Get, [&] { return componentApps_; });
}
std::shared_ptr<PlaceholderCollection> System::get_Subnets() const {
  return Call("Subnets", CallKind::Get, [&] { return subnets_; });
}
std::shared_ptr<PlaceholderCollection> System::get_Connections() const {
  return Call("Connections", CallKind::Get, [&] { return connections_; });
}
std::shared_ptr<Placeholder> System::get_ErrorObject() const {
  return Call("ErrorObject", CallKind::Get, [&] { return errorObject_; });
}
std::shared_ptr<Placeholder> System::get_RecoveryStatus() const {
  return Call("RecoveryStatus", CallKind::Get, [&] { return recoveryStatus_; });
}

rt::Variant System::Invoke(std::string_view member, CallKind kind, Args& args) {
  using S = System;
  static const rt::Members<S> members{
      rt::Get("Name", &S::get_Name),
      rt::Method("Open", &S::Open),
      rt::Method("Close", &S::Close),
      rt::Get("IsOpen", &S::get_IsOpen),
      rt::Get("ManagementMode", &S::get_ManagementMode),
      rt::Let("ManagementMode", &S::put_ManagementMode),
      rt::Get("PulsedFlag", &S::get_PulsedFlag),
      rt::Let("PulsedFlag", &S::put_PulsedFlag),
      rt::Get("InternetOption", &S::get_InternetOption),
      rt::Let("InternetOption", &S::put_InternetOption),
      rt::Get("OpenSetting", &S::get_OpenSetting),
      rt::Let("OpenSetting", &S::put_OpenSetting),
      rt::Get("Attachment", &S::get_Attachment),
      rt::Get("XifSearchRoot", &S::get_XifSearchRoot),
      rt::Let("XifSearchRoot", &S::put_XifSearchRoot),
      rt::Get("Subsystems", &S::get_Subsystems),
      rt::Get("TemplateLibrary", &S::get_TemplateLibrary),
      rt::Get("ComponentApps", &S::get_ComponentApps),
      rt::Get("Subnets", &S::get_Subnets),
      rt::Get("Connections", &S::get_Connections),
      rt::Get("ErrorObject", &S::get_ErrorObject),
      rt::Get("RecoveryStatus", &S::get_RecoveryStatus),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

void System::SetAttachedInterface(std::string networkInterface) {
  Assign(settings_.networkInterface, std::move(networkInterface));
}

std::shared_ptr<Subsystem> System::AddSubsystem(const std::string& name) { return subsystems_->AddNew(name); }

std::vector<std::shared_ptr<AppDevice>> System::DevicesMadeFrom(const std::string& templateName) const {
  std::vector<std::shared_ptr<AppDevice>> found;
  CollectDevices(*subsystems_, templateName, found);
  return found;
}

std::string System::DisplayText(const AppDevice& device) const {
  std::string text = device.Name();
  for (auto node = device.ParentNode(); node; node = node->ParentNode()) {
    if (auto subsystem = std::dynamic_pointer_cast<Subsystem>(node)) text = subsystem->Name() + "." + text;
  }
  return text;
}

json System::Fields() const {
  return {{"name", settings_.name},
          {"networkInterface", settings_.networkInterface},
          {"xifSearchRoot", settings_.xifSearchRoot},
          {"managementMode", settings_.managementMode},
          {"pulsedFlag", pulsedFlag_},
          {"internetOption", internetOption_},
          {"openSetting", openSetting_}};
}

void System::TakeFields(const json& j) {
  Settings settings{j.at("name").get<std::string>(), j.at("networkInterface").get<std::string>(),
                    j.at("xifSearchRoot").get<std::string>(), WholeAt<int16_t>(j, "managementMode")};
  if (settings.managementMode != 0 && settings.managementMode != 1) throw DamagedData("management mode");
  settings_ = settings;
  pulsedFlag_ = j.at("pulsedFlag").get<bool>();
  internetOption_ = WholeAt<int32_t>(j, "internetOption");
  openSetting_ = WholeAt<int32_t>(j, "openSetting");
}

std::vector<Slot> System::Slots() const { return {SlotOf(componentApps_), library_->TemplatesSlot(), SlotOf(subsystems_)}; }

std::shared_ptr<System> System::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto system = std::make_shared<System>(database, Settings{});
  system->TakeFields(fields);
  system->Furnish();
  return system;
}

void System::Furnish() {
  auto self = Self();
  attachment_ = std::make_shared<NetworkAttachment>(DatabaseRef());
  attachment_->Attach(self);
  library_ = TemplateLibrary::EmptyUnder(self);
  subsystems_ = std::make_shared<Subsystems>(DatabaseRef());
  subsystems_->Attach(self);
  componentApps_ = ComponentApps::EmptyUnder(self);
  subnets_ = MakePlaceholders(self, "Subnets");
  connections_ = MakePlaceholders(self, "Connections");
  errorObject_ = std::make_shared<Placeholder>(DatabaseRef(), "ErrorObject");
  errorObject_->Attach(self);
  recoveryStatus_ = std::make_shared<Placeholder>(DatabaseRef(), "RecoveryStatus");
  recoveryStatus_->Attach(self);
}

json System::ToJson() const {
  json subsystems = json::array();
  for (const auto& subsystem : subsystems_->Items()) subsystems.push_back(subsystem->ToJson());
  json j = Fields();
  j["componentApps"] = componentApps_->ToJson();
  j["templates"] = library_->ToJson();
  j["subsystems"] = subsystems;
  return j;
}

std::shared_ptr<Subsystem> Subsystems::AddNew(const std::string& name) {
  if (name.empty()) Fail(err::InvalidArgument, "a subsystem needs a name");
  if (Find(name)) Fail(err::NameExists, name);
  auto subsystem = Subsystem::FromFields(DatabaseRef(), json{{"name", name}});
  Insert(subsystem);
  return subsystem;
}

void Systems::CheckAccess(std::string_view) const { Db(); }

}  // namespace lns
