#pragma once

#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "lns/component_app.h"
#include "lns/node.h"
#include "lns/stored.h"
#include "lns/values/declaration.h"

namespace lns {

// The device that holds an interface: its points ask it before each call that talks to it.
class Reachable {
 public:
  virtual ~Reachable() = default;
  // Raises unless the device can be talked to now.
  virtual void RequireAnswer() const = 0;
};

// A value of the device (a network variable or configuration property), kept as the device's
// bytes and exchanged through Value in the format its format name names at that moment. A new
// format name must be one the value's type takes; an unknown one raises and the old one stays.
// Format names are not stored: each opening of the network starts with the default formats, so
// a format forced to "RAW" lasts while the network stays open.
// On a device, reading or writing Value talks to the device: it fails in engineered mode and
// while the device does not answer. On a template, Value is the default the template gives.
class ValuePoint : public Node {
 public:
  ValuePoint(std::weak_ptr<Database> database, PointDecl decl);

  const std::string& Name() const noexcept { return decl_.name; }
  const std::string& DeviceType() const noexcept { return decl_.type; }
  const std::string& CurrentFormat() const noexcept { return format_; }
  const Bytes& DeviceBytes() const noexcept { return decl_.bytes; }
  const PointDecl& Declaration() const noexcept { return decl_; }
  // The key its value is stored under within its device or template (declaration.h, PointKey).
  const std::string& StoredKey() const noexcept { return key_; }
  // Bytes another process stored.
  void TakeBytes(Bytes bytes) { decl_.bytes = std::move(bytes); }
  void SetKey(std::string key) { key_ = std::move(key); }

  // The unit's side: sets the bytes as the device itself would (any direction), raising
  // err::InvalidValue when they are not the type's size.
  void UnitWriteBytes(const Bytes& bytes);
  // The unit's side: a value in `formatName` turned into bytes and set.
  void UnitWriteValue(const std::string& formatName, const rt::Variant& value);

 protected:
  std::string FormatMember(std::string_view member) const;
  void PutFormatMember(std::string_view member, const std::string& formatName);
  rt::Variant ValueMember() const;
  void PutValueMember(const rt::Variant& value);
  // Raises when a write through Value may not change the bytes.
  virtual void CheckWritable() const {}

 private:
  void RequireDeviceAnswers() const;
  PointDecl decl_;
  std::string format_;
  std::string key_;
};

class ConfigProperty : public ValuePoint {
 public:
  using ValuePoint::ValuePoint;
  std::string TypeName() const override { return "ConfigProperty"; }
  std::string Segment() const override { return "ConfigProperty:" + Name(); }

  std::string get_Name() const;
  rt::Variant get_Value() const;
  void put_Value(const rt::Variant& value);
  std::string get_FormatName() const;
  void put_FormatName(const std::string& formatName);
  // The same format name under its other member name.
  std::string get_DsFormatType() const;
  void put_DsFormatType(const std::string& formatName);

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;
};

class ConfigProperties : public Collection<ConfigProperty> {
 public:
  explicit ConfigProperties(std::weak_ptr<Database> database)
      : Collection(std::move(database), "ConfigProperties", NameMatch::Exact) {}
  std::string TypeName() const override { return "ConfigProperties"; }
};

class NetworkVariable : public ValuePoint {
 public:
  NetworkVariable(std::weak_ptr<Database> database, PointDecl decl, bool input);
  std::string TypeName() const override { return "NetworkVariable"; }
  std::string Segment() const override { return "NetworkVariable:" + Name(); }
  bool IsInput() const noexcept { return input_; }

  std::string get_Name() const;
  rt::Variant get_Value() const;
  // An output variable is the device's to change: writing it raises err::InvalidArgument.
  void put_Value(const rt::Variant& value);
  std::string get_DsFormatType() const;
  void put_DsFormatType(const std::string& formatName);
  std::shared_ptr<ConfigProperties> get_ConfigProperties() const;

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  std::shared_ptr<ConfigProperties> PropertiesOf() const { return properties_; }
  void SetProperties(std::shared_ptr<ConfigProperties> properties) { properties_ = std::move(properties); }

 protected:
  void CheckWritable() const override;

 private:
  bool input_;
  std::shared_ptr<ConfigProperties> properties_;
};

class NetworkVariables : public Collection<NetworkVariable> {
 public:
  explicit NetworkVariables(std::weak_ptr<Database> database)
      : Collection(std::move(database), "NetworkVariables", NameMatch::Exact) {}
  std::string TypeName() const override { return "NetworkVariables"; }
};

class LonMarkObject : public Node, public Stored {
 public:
  LonMarkObject(std::weak_ptr<Database> database, std::string name, int16_t typeIndex);
  std::string TypeName() const override { return "LonMarkObject"; }
  std::string Segment() const override { return "LonMarkObject:" + name_; }
  const std::string& Name() const noexcept { return name_; }
  int16_t TypeIndex() const noexcept { return typeIndex_; }

  std::string get_Name() const;
  int16_t get_TypeIndex() const;
  std::shared_ptr<ConfigProperties> get_ConfigProperties() const;
  // The resource scope (0 to 7) under which tools look the object's resources up.
  int16_t get_Mode() const;
  void put_Mode(int16_t mode);
  std::shared_ptr<ComponentApps> get_ComponentApps() const;

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  std::shared_ptr<ConfigProperties> PropertiesOf() const { return properties_; }

  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  std::vector<Slot> Slots() const override { return {SlotOf(componentApps_)}; }

 private:
  friend class Interface;
  std::string name_;
  int16_t typeIndex_;
  int16_t mode_ = 0;
  std::shared_ptr<ConfigProperties> properties_;
  std::shared_ptr<ComponentApps> componentApps_;
};

// LonMark objects by position (the object index: 1 "Node", 2 "FCU", ...) or by name.
class LonMarkObjects : public Collection<LonMarkObject> {
 public:
  explicit LonMarkObjects(std::weak_ptr<Database> database)
      : Collection(std::move(database), "LonMarkObjects", NameMatch::Exact) {}
  std::string TypeName() const override { return "LonMarkObjects"; }
};

// The interface of a device or device template. Its parent is the device (or template), so
// three Parent steps lead from a LonMark object to its device.
class Interface : public Node {
 public:
  explicit Interface(std::weak_ptr<Database> database) : Node(std::move(database)) {}
  std::string TypeName() const override { return "Interface"; }
  std::string Segment() const override { return "Interface"; }

  std::shared_ptr<NetworkVariables> get_NetworkVariables() const;
  std::shared_ptr<LonMarkObjects> get_LonMarkObjects() const;
  std::shared_ptr<ConfigProperties> get_ConfigProperties() const;

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // Builds the interface `decl` describes under `owner` (a device or template); the decl must
  // have passed ValidateInterface.
  static std::shared_ptr<Interface> Create(const InterfaceDecl& decl, const std::shared_ptr<Node>& owner);
  // The interface with its current bytes and default formats.
  InterfaceDecl Declaration() const;
  // Every value point: the LonMark objects' properties, the network variables each with its
  // properties, the device's own properties.
  std::vector<std::shared_ptr<ValuePoint>> AllPoints() const;
  // nullptr when no point has that key.
  std::shared_ptr<ValuePoint> PointByKey(std::string_view key) const;

  nlohmann::json ToJson() const;

  const NetworkVariables& Variables() const { return *variables_; }
  const LonMarkObjects& Objects() const { return *objects_; }
  const ConfigProperties& Properties() const { return *properties_; }

 private:
  std::shared_ptr<NetworkVariables> variables_;
  std::shared_ptr<LonMarkObjects> objects_;
  std::shared_ptr<ConfigProperties> properties_;
};

// An interface without its values, as its owners' rows name it, and back again (DamagedData when
// the text is not one; the points' bytes stay empty).
std::string ShapeText(const InterfaceDecl& decl);
InterfaceDecl ShapeDecl(const std::string& text);

}  // namespace lns
