#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "lns/node.h"
#include "lns/stored.h"

namespace lns {

// A component application: a tool's command registered on the Object Server, a system, a
// device template or a LonMark object of one.
class ComponentApp : public Node, public Stored {
 public:
  ComponentApp(std::weak_ptr<Database> database, std::string name, std::string progId, int16_t objectClass);
  std::string TypeName() const override { return "ComponentApp"; }
  std::string Segment() const override { return "ComponentApp:" + name_; }
  const std::string& Name() const noexcept { return name_; }

  std::string get_Name() const;
  std::string get_ProgId() const;
  int16_t get_ObjectClass() const;
  int32_t get_Command() const;
  void put_Command(int32_t command);
  std::string get_Description() const;
  void put_Description(const std::string& description);
  std::string get_Version() const;
  void put_Version(const std::string& version);
  std::string get_ManufacturerId() const;
  void put_ManufacturerId(const std::string& manufacturerId);
  bool get_IsDefault() const;
  void put_IsDefault(bool isDefault);

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  nlohmann::json ToJson() const;
  static std::shared_ptr<ComponentApp> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 private:
  std::string name_;
  std::string progId_;
  int16_t objectClass_;
  int32_t command_ = 0;
  std::string description_;
  std::string version_;
  std::string manufacturerId_;
  bool isDefault_ = false;
};

class ComponentApps : public Collection<ComponentApp> {
 public:
  explicit ComponentApps(std::weak_ptr<Database> database);
  std::string TypeName() const override { return "ComponentApps"; }

  // A new application; err::NameExists when the name is taken.
  std::shared_ptr<ComponentApp> Add(const std::string& name, const std::string& progId, int16_t objectClass);
  // Removes the item at a 1-based position or of a name.
  void Remove(const rt::Variant& key);

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  nlohmann::json ToJson() const;
  // An empty collection attached to `owner`; its items come from the rows.
  static std::shared_ptr<ComponentApps> EmptyUnder(const std::shared_ptr<Node>& owner);
};

}  // namespace lns
