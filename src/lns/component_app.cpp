#include "lns/component_app.h"
#include "lns/store/json_util.h"

#include <nlohmann/json.hpp>


namespace lns {

using nlohmann::json;

ComponentApp::ComponentApp(std::weak_ptr<Database> database, std::string name, std::string progId, int16_t objectClass)
    : Node(std::move(database)), name_(std::move(name)), progId_(std::move(progId)), objectClass_(objectClass) {}

std::string ComponentApp::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }
std::string ComponentApp::get_ProgId() const { return Call("ProgId", CallKind::Get, [&] { return progId_; }); }
int16_t ComponentApp::get_ObjectClass() const { return Call("ObjectClass", CallKind::Get, [&] { return objectClass_; }); }
int32_t ComponentApp::get_Command() const { return Call("Command", CallKind::Get, [&] { return command_; }); }
std::string ComponentApp::get_Description() const {
  return Call("Description", CallKind::Get, [&] { return description_; });
}
std::string ComponentApp::get_Version() const { return Call("Version", CallKind::Get, [&] { return version_; }); }
std::string ComponentApp::get_ManufacturerId() const {
  return Call("ManufacturerId", CallKind::Get, [&] { return manufacturerId_; });
}
bool ComponentApp::get_IsDefault() const { return Call("IsDefault", CallKind::Get, [&] { return isDefault_; }); }

void ComponentApp::put_Command(int32_t command) {
  Call("Command", CallKind::Let, [&] { Assign(command_, command); }, std::to_string(command));
}
void ComponentApp::put_Description(const std::string& description) {
  Call("Description", CallKind::Let, [&] { Assign(description_, description); }, ArgumentText({rt::Variant::String(description)}));
}
void ComponentApp::put_Version(const std::string& version) {
  Call("Version", CallKind::Let, [&] { Assign(version_, version); }, ArgumentText({rt::Variant::String(version)}));
}
void ComponentApp::put_ManufacturerId(const std::string& manufacturerId) {
  Call("ManufacturerId", CallKind::Let, [&] { Assign(manufacturerId_, manufacturerId); },
       ArgumentText({rt::Variant::String(manufacturerId)}));
}
void ComponentApp::put_IsDefault(bool isDefault) {
  Call("IsDefault", CallKind::Let, [&] { Assign(isDefault_, isDefault); }, ArgumentText({rt::Variant::Boolean(isDefault)}));
}

rt::Variant ComponentApp::Invoke(std::string_view member, CallKind kind, Args& args) {
  using A = ComponentApp;
  static const rt::Members<A> members{
      rt::Get("Name", &A::get_Name),
      rt::Get("ProgId", &A::get_ProgId),
      rt::Get("ObjectClass", &A::get_ObjectClass),
      rt::Get("Command", &A::get_Command),
      rt::Let("Command", &A::put_Command),
      rt::Get("Description", &A::get_Description),
      rt::Let("Description", &A::put_Description),
      rt::Get("Version", &A::get_Version),
      rt::Let("Version", &A::put_Version),
      rt::Get("ManufacturerId", &A::get_ManufacturerId),
      rt::Let("ManufacturerId", &A::put_ManufacturerId),
      rt::Get("IsDefault", &A::get_IsDefault),
      rt::Let("IsDefault", &A::put_IsDefault),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

json ComponentApp::Fields() const {
  return {{"name", name_},       {"progId", progId_},   {"objectClass", objectClass_},
          {"command", command_}, {"description", description_}, {"version", version_},
          {"manufacturerId", manufacturerId_}, {"isDefault", isDefault_}};
}

void ComponentApp::TakeFields(const json& j) {
  name_ = j.at("name").get<std::string>();
  progId_ = j.at("progId").get<std::string>();
  objectClass_ = WholeAt<int16_t>(j, "objectClass");
  command_ = WholeAt<int32_t>(j, "command");
  description_ = j.at("description").get<std::string>();
  version_ = j.at("version").get<std::string>();
  manufacturerId_ = j.at("manufacturerId").get<std::string>();
  isDefault_ = j.at("isDefault").get<bool>();
}

json ComponentApp::ToJson() const { return Fields(); }

std::shared_ptr<ComponentApp> ComponentApp::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto app = std::make_shared<ComponentApp>(std::move(database), "", "", 0);
  app->TakeFields(fields);
  return app;
}

ComponentApps::ComponentApps(std::weak_ptr<Database> database)
    : Collection(std::move(database), "ComponentApps", NameMatch::Exact) {}

std::shared_ptr<ComponentApp> ComponentApps::Add(const std::string& name, const std::string& progId, int16_t objectClass) {
  auto arguments = ArgumentText({rt::Variant::String(name), rt::Variant::String(progId), rt::Variant::Integer(objectClass)});
  return Call("Add", CallKind::Method, [&] {
    if (name.empty()) Fail(err::InvalidArgument, "a component application needs a name");
    if (Find(name)) Fail(err::NameExists, name);
    auto app = std::make_shared<ComponentApp>(DatabaseRef(), name, progId, objectClass);
    Insert(app);
    return app;
  }, arguments);
}

void ComponentApps::Remove(const rt::Variant& key) {
  Call("Remove", CallKind::Method, [&] { EraseAt(IndexOf(key)); }, ArgumentText({key}));
}

rt::Variant ComponentApps::Invoke(std::string_view member, CallKind kind, Args& args) {
  using A = ComponentApps;
  static const rt::Members<A> members{
      rt::Method("Add",
                 [](A& s, Args& a) {
                   return s.Add(rt::Arg(a, 0).ToString(), rt::Arg(a, 1).ToString(), rt::Arg(a, 2).ToInteger());
                 }),
      rt::Method("Remove", [](A& s, Args& a) { s.Remove(rt::Arg(a, 0)); }),
  };
  return members.Invoke<Collection<ComponentApp>>(*this, member, kind, args);
}

json ComponentApps::ToJson() const {
  json items = json::array();
  for (const auto& app : Items()) items.push_back(app->ToJson());
  return items;
}

std::shared_ptr<ComponentApps> ComponentApps::EmptyUnder(const std::shared_ptr<Node>& owner) {
  auto apps = std::make_shared<ComponentApps>(owner->DatabaseRef());
  apps->Attach(owner);
  return apps;
}

}  // namespace lns
