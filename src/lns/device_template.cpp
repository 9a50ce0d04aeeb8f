#include "lns/device_template.h"

#include <nlohmann/json.hpp>

#include "lns/catalog/xif.h"
#include "lns/store/json_util.h"
#include "lns/system.h"
#include "process/paths.h"

namespace lns {

using nlohmann::json;
using V = rt::Variant;

namespace {

// Every device below `subsystems` made from the template named `name`.
void CollectDevices(const Subsystems& subsystems, const std::string& name, std::vector<std::shared_ptr<AppDevice>>& found) {
  for (const auto& subsystem : subsystems.Items()) {
    for (const auto& device : subsystem->Devices().Items()) {
      if (device->TemplateName() == name) found.push_back(device);
    }
    CollectDevices(subsystem->Children(), name, found);
  }
}

std::vector<std::shared_ptr<AppDevice>> DevicesUsing(const DeviceTemplate& deviceTemplate) {
  std::vector<std::shared_ptr<AppDevice>> found;
  if (auto system = deviceTemplate.Ancestor<System>()) CollectDevices(system->SubsystemList(), deviceTemplate.Name(), found);
  return found;
}

}  // namespace

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
