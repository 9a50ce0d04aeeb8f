#include "lns/interface.h"

#include <nlohmann/json.hpp>

#include "lns/calls/faults.h"
#include "lns/store/json_util.h"
#include "lns/values/codec.h"

namespace lns {

using nlohmann::json;
using V = rt::Variant;

namespace {

std::string Quoted(const std::string& text) { return ArgumentText({V::String(text)}); }

std::shared_ptr<ConfigProperties> PropertiesUnder(const std::vector<PointDecl>& points, const std::shared_ptr<Node>& owner,
                                                  const std::string& holder) {
  auto properties = std::make_shared<ConfigProperties>(owner->DatabaseRef());
  properties->Attach(owner);
  for (const auto& point : points) {
    auto property = std::make_shared<ConfigProperty>(owner->DatabaseRef(), point);
    property->SetKey(PointKey(holder, point.name));
    properties->Adopt(property);
  }
  return properties;
}

std::vector<PointDecl> DeclsOf(const ConfigProperties& properties) {
  std::vector<PointDecl> decls;
  for (const auto& property : properties.Items()) decls.push_back(property->Declaration());
  return decls;
}

json PointJson(const PointDecl& point) {
  return {{"name", point.name}, {"type", point.type}, {"format", point.format}, {"bytes", HexText(point.bytes)}};
}

json PointsJson(const std::vector<PointDecl>& points) {
  json items = json::array();
  for (const auto& point : points) items.push_back(PointJson(point));
  return items;
}

json PointShape(const PointDecl& point) { return {{"name", point.name}, {"type", point.type}, {"format", point.format}}; }

json PointShapes(const std::vector<PointDecl>& points) {
  json items = json::array();
  for (const auto& point : points) items.push_back(PointShape(point));
  return items;
}

PointDecl PointOfShape(const json& j) {
  return {j.at("name").get<std::string>(), j.at("type").get<std::string>(), j.at("format").get<std::string>(), {}};
}

std::vector<PointDecl> PointsOfShape(const json& items) {
  std::vector<PointDecl> points;
  for (const auto& item : AsArray(items, "configuration properties")) points.push_back(PointOfShape(item));
  return points;
}

}  // namespace

// --- ValuePoint ------------------------------------------------------------------------------

ValuePoint::ValuePoint(std::weak_ptr<Database> database, PointDecl decl)
    : Node(std::move(database)), decl_(std::move(decl)), format_(decl_.format) {}

std::string ValuePoint::FormatMember(std::string_view member) const {
  return Call(member, CallKind::Get, [&] { return format_; });
}

void ValuePoint::PutFormatMember(std::string_view member, const std::string& formatName) {
  Call(member, CallKind::Let, [&] {
    if (FormatChangeRefused(AsCallTarget())) return;
    if (!IsKnownFormat(decl_.type, formatName)) Fail(err::FormatNotSupported, "\"" + formatName + "\" for " + Name());
    format_ = formatName;
  }, Quoted(formatName));
}

rt::Variant ValuePoint::ValueMember() const {
  return Call("Value", CallKind::Get, [&] {
    RequireDeviceAnswers();
    return PresentValue(decl_.type, format_, decl_.bytes);
  });
}

void ValuePoint::PutValueMember(const rt::Variant& value) {
  Call("Value", CallKind::Let, [&] {
    RequireDeviceAnswers();
    CheckWritable();
    Assign(decl_.bytes, AcceptValue(decl_.type, format_, value, decl_.bytes));
  }, ArgumentText({value}));
}

void ValuePoint::UnitWriteBytes(const Bytes& bytes) {
  if (bytes.size() != TypeSize(decl_.type)) {
    Fail(err::InvalidValue, std::to_string(bytes.size()) + " bytes for " + Name() + ", a " + decl_.type);
  }
  Assign(decl_.bytes, bytes);
}

void ValuePoint::UnitWriteValue(const std::string& formatName, const rt::Variant& value) {
  Assign(decl_.bytes, AcceptValue(decl_.type, formatName, value, decl_.bytes));
}

void ValuePoint::RequireDeviceAnswers() const {
  if (auto device = Ancestor<Reachable>()) device->RequireAnswer();
}

// --- ConfigProperty ---------------------------------------------------------------------------

std::string ConfigProperty::get_Name() const { return Call("Name", CallKind::Get, [&] { return Name(); }); }
rt::Variant ConfigProperty::get_Value() const { return ValueMember(); }
void ConfigProperty::put_Value(const rt::Variant& value) { PutValueMember(value); }
std::string ConfigProperty::get_FormatName() const { return FormatMember("FormatName"); }
void ConfigProperty::put_FormatName(const std::string& formatName) { PutFormatMember("FormatName", formatName); }
std::string ConfigProperty::get_DsFormatType() const { return FormatMember("DsFormatType"); }
void ConfigProperty::put_DsFormatType(const std::string& formatName) { PutFormatMember("DsFormatType", formatName); }

rt::Variant ConfigProperty::Invoke(std::string_view member, CallKind kind, Args& args) {
  using P = ConfigProperty;
  static const rt::Members<P> members{
      rt::Get("Name", &P::get_Name),
      rt::Get("Value", &P::get_Value),
      rt::Let("Value", &P::put_Value),
      rt::Get("FormatName", &P::get_FormatName),
      rt::Let("FormatName", &P::put_FormatName),
      rt::Get("DsFormatType", &P::get_DsFormatType),
      rt::Let("DsFormatType", &P::put_DsFormatType),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

// --- NetworkVariable --------------------------------------------------------------------------

NetworkVariable::NetworkVariable(std::weak_ptr<Database> database, PointDecl decl, bool input)
    : ValuePoint(std::move(database), std::move(decl)), input_(input) {}

std::string NetworkVariable::get_Name() const { return Call("Name", CallKind::Get, [&] { return Name(); }); }
rt::Variant NetworkVariable::get_Value() const { return ValueMember(); }
void NetworkVariable::put_Value(const rt::Variant& value) { PutValueMember(value); }
std::string NetworkVariable::get_DsFormatType() const { return FormatMember("DsFormatType"); }
void NetworkVariable::put_DsFormatType(const std::string& formatName) { PutFormatMember("DsFormatType", formatName); }
std::shared_ptr<ConfigProperties> NetworkVariable::get_ConfigProperties() const {
  return Call("ConfigProperties", CallKind::Get, [&] { return properties_; });
}

void NetworkVariable::CheckWritable() const {
  if (!input_) Fail(err::InvalidArgument, Name() + " is an output network variable");
}

rt::Variant NetworkVariable::Invoke(std::string_view member, CallKind kind, Args& args) {
  using N = NetworkVariable;
  static const rt::Members<N> members{
      rt::Get("Name", &N::get_Name),
      rt::Get("Value", &N::get_Value),
      rt::Let("Value", &N::put_Value),
      rt::Get("DsFormatType", &N::get_DsFormatType),
      rt::Let("DsFormatType", &N::put_DsFormatType),
      rt::Get("ConfigProperties", &N::get_ConfigProperties),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

// --- LonMarkObject ----------------------------------------------------------------------------

LonMarkObject::LonMarkObject(std::weak_ptr<Database> database, std::string name, int16_t typeIndex)
    : Node(std::move(database)), name_(std::move(name)), typeIndex_(typeIndex) {}

std::string LonMarkObject::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }
int16_t LonMarkObject::get_TypeIndex() const { return Call("TypeIndex", CallKind::Get, [&] { return typeIndex_; }); }
std::shared_ptr<ConfigProperties> LonMarkObject::get_ConfigProperties() const {
  return Call("ConfigProperties", CallKind::Get, [&] { return properties_; });
}
int16_t LonMarkObject::get_Mode() const { return Call("Mode", CallKind::Get, [&] { return mode_; }); }
void LonMarkObject::put_Mode(int16_t mode) {
  Call("Mode", CallKind::Let, [&] {
    if (mode < 0 || mode > 7) Fail(err::InvalidValue, "resource scope " + std::to_string(mode));
    Assign(mode_, mode);
  }, std::to_string(mode));
}
std::shared_ptr<ComponentApps> LonMarkObject::get_ComponentApps() const {
  return Call("ComponentApps", CallKind::Get, [&] { return componentApps_; });
}

rt::Variant LonMarkObject::Invoke(std::string_view member, CallKind kind, Args& args) {
  using L = LonMarkObject;
  static const rt::Members<L> members{
      rt::Get("Name", &L::get_Name),
      rt::Get("TypeIndex", &L::get_TypeIndex),
      rt::Get("ConfigProperties", &L::get_ConfigProperties),
      rt::Get("Mode", &L::get_Mode),
      rt::Let("Mode", &L::put_Mode),
      rt::Get("ComponentApps", &L::get_ComponentApps),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

json LonMarkObject::Fields() const { return {{"name", name_}, {"mode", mode_}}; }

void LonMarkObject::TakeFields(const json& fields) {
  auto mode = WholeAt<int16_t>(fields, "mode");
  if (mode < 0 || mode > 7) throw DamagedData("resource scope " + std::to_string(mode));
  mode_ = mode;
}

// --- Interface --------------------------------------------------------------------------------

std::shared_ptr<NetworkVariables> Interface::get_NetworkVariables() const {
  return Call("NetworkVariables", CallKind::Get, [&] { return variables_; });
}
std::shared_ptr<LonMarkObjects> Interface::get_LonMarkObjects() const {
  return Call("LonMarkObjects", CallKind::Get, [&] { return objects_; });
}
std::shared_ptr<ConfigProperties> Interface::get_ConfigProperties() const {
  return Call("ConfigProperties", CallKind::Get, [&] { return properties_; });
}

rt::Variant Interface::Invoke(std::string_view member, CallKind kind, Args& args) {
  using I = Interface;
  static const rt::Members<I> members{
      rt::Get("NetworkVariables", &I::get_NetworkVariables),
      rt::Get("LonMarkObjects", &I::get_LonMarkObjects),
      rt::Get("ConfigProperties", &I::get_ConfigProperties),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

std::shared_ptr<Interface> Interface::Create(const InterfaceDecl& decl, const std::shared_ptr<Node>& owner) {
  auto database = owner->DatabaseRef();
  auto face = std::make_shared<Interface>(database);
  face->Attach(owner);

  face->objects_ = std::make_shared<LonMarkObjects>(database);
  face->objects_->Attach(face);
  for (const auto& objectDecl : decl.lonMarkObjects) {
    auto object = std::make_shared<LonMarkObject>(database, objectDecl.name, objectDecl.typeIndex);
    face->objects_->Adopt(object);
    object->properties_ = PropertiesUnder(objectDecl.configProperties, object, ObjectHolder(objectDecl.name));
    object->componentApps_ = ComponentApps::EmptyUnder(object);
  }

  face->variables_ = std::make_shared<NetworkVariables>(database);
  face->variables_->Attach(face);
  for (const auto& variableDecl : decl.networkVariables) {
    auto variable = std::make_shared<NetworkVariable>(database, variableDecl.point, variableDecl.input);
    variable->SetKey(PointKey(VariableHolder, variableDecl.point.name));
    face->variables_->Adopt(variable);
    variable->SetProperties(
        PropertiesUnder(variableDecl.configProperties, variable, VariablePropertyHolder(variableDecl.point.name)));
  }

  face->properties_ = PropertiesUnder(decl.configProperties, face, DeviceHolder);
  return face;
}

InterfaceDecl Interface::Declaration() const {
  InterfaceDecl decl;
  for (const auto& object : objects_->Items()) {
    decl.lonMarkObjects.push_back({object->Name(), object->TypeIndex(), DeclsOf(*object->PropertiesOf())});
  }
  for (const auto& variable : variables_->Items()) {
    decl.networkVariables.push_back({variable->Declaration(), variable->IsInput(), DeclsOf(*variable->PropertiesOf())});
  }
  decl.configProperties = DeclsOf(*properties_);
  return decl;
}

std::vector<std::shared_ptr<ValuePoint>> Interface::AllPoints() const {
  std::vector<std::shared_ptr<ValuePoint>> points;
  auto add = [&](const ConfigProperties& properties) {
    for (const auto& property : properties.Items()) points.push_back(property);
  };
  for (const auto& object : objects_->Items()) add(*object->PropertiesOf());
  for (const auto& variable : variables_->Items()) {
    points.push_back(variable);
    add(*variable->PropertiesOf());
  }
  add(*properties_);
  return points;
}

std::shared_ptr<ValuePoint> Interface::PointByKey(std::string_view key) const {
  for (const auto& point : AllPoints()) {
    if (point->StoredKey() == key) return point;
  }
  return nullptr;
}

json Interface::ToJson() const {
  json objects = json::array();
  for (const auto& object : objects_->Items()) {
    objects.push_back({{"name", object->name_},
                       {"typeIndex", object->typeIndex_},
                       {"mode", object->mode_},
                       {"componentApps", object->componentApps_->ToJson()},
                       {"configProperties", PointsJson(DeclsOf(*object->properties_))}});
  }
  json variables = json::array();
  for (const auto& variable : variables_->Items()) {
    json item = PointJson(variable->Declaration());
    item["direction"] = variable->IsInput() ? "input" : "output";
    item["configProperties"] = PointsJson(DeclsOf(*variable->PropertiesOf()));
    variables.push_back(item);
  }
  return {{"lonMarkObjects", objects},
          {"networkVariables", variables},
          {"configProperties", PointsJson(DeclsOf(*properties_))}};
}

std::string ShapeText(const InterfaceDecl& decl) {
  json objects = json::array();
  for (const auto& object : decl.lonMarkObjects) {
    objects.push_back(
        {{"name", object.name}, {"typeIndex", object.typeIndex}, {"configProperties", PointShapes(object.configProperties)}});
  }
  json variables = json::array();
  for (const auto& variable : decl.networkVariables) {
    json item = PointShape(variable.point);
    item["direction"] = variable.input ? "input" : "output";
    item["configProperties"] = PointShapes(variable.configProperties);
    variables.push_back(item);
  }
  return json{{"lonMarkObjects", objects}, {"networkVariables", variables}, {"configProperties", PointShapes(decl.configProperties)}}
      .dump();
}

InterfaceDecl ShapeDecl(const std::string& text) {
  json j;
  try {
    j = json::parse(text);
  } catch (const json::exception& e) {
    throw DamagedData(e.what());
  }
  InterfaceDecl decl;
  for (const auto& item : ArrayAt(j, "lonMarkObjects")) {
    decl.lonMarkObjects.push_back(
        {item.at("name").get<std::string>(), WholeAt<int16_t>(item, "typeIndex"), PointsOfShape(item.at("configProperties"))});
  }
  for (const auto& item : ArrayAt(j, "networkVariables")) {
    std::string direction = item.at("direction").get<std::string>();
    if (direction != "input" && direction != "output") throw DamagedData("direction \"" + direction + "\"");
    decl.networkVariables.push_back({PointOfShape(item), direction == "input", PointsOfShape(item.at("configProperties"))});
  }
  decl.configProperties = PointsOfShape(ArrayAt(j, "configProperties"));
  return decl;
}

}  // namespace lns
