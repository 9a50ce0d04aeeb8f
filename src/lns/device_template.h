#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "lns/component_app.h"
#include "lns/device.h"
#include "lns/interface.h"
#include "lns/node.h"
#include "lns/stored.h"

namespace lns {

// A device template: the program ID and interface that devices of one kind share, filled from
// an XIF file.
class DeviceTemplate : public Node, public Stored {
 public:
  DeviceTemplate(std::weak_ptr<Database> database, std::string name, int32_t kind);
  std::string TypeName() const override { return "DeviceTemplate"; }
  std::string Segment() const override { return "DeviceTemplate:" + name_; }
  const std::string& Name() const noexcept { return name_; }
  const std::string& ProgramId() const noexcept { return programId_; }
  const Interface& InterfaceOf() const { return *Face(); }

  std::string get_Name() const;
  // 16 hexadecimal digits; empty until the template is imported.
  std::string get_ProgramId() const;
  std::shared_ptr<Interface> get_Interface() const;
  std::shared_ptr<ComponentApps> get_ComponentApps() const;
  // The devices of the system made from this template.
  std::shared_ptr<AppDevices> get_AppDevices() const;
  // Fills the template from an XIF file (a Windows path is resolved as the machine's files are):
  // its program ID and interface. A file that cannot be read or is not an XIF file raises and
  // leaves the template as it was.
  void Import(const std::string& xifPath);

  // The default member is the name.
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // Fills the template as Import does, from a description at hand.
  void Fill(const std::string& programId, const InterfaceDecl& decl);
  // Renames the template and the devices' reference to it (not journaled); err::NameExists when
  // another template has the name, err::InvalidArgument for an empty one.
  void Rename(const std::string& newName);

  // A new template without program ID and interface.
  static std::shared_ptr<DeviceTemplate> CreateEmpty(std::weak_ptr<Database> database, const std::string& name, int32_t kind);
  // The template with its component applications and its interface with its values.
  nlohmann::json ToJson() const;

  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  std::vector<Slot> Slots() const override { return {SlotOf(componentApps_)}; }
  std::shared_ptr<Interface> LoadedInterface() const override { return interface_; }
  void ForgetInterface() override { interface_.reset(); }
  // A template of stored fields; its interface is read at its first use.
  static std::shared_ptr<DeviceTemplate> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 private:
  const std::shared_ptr<Interface>& Face() const;
  std::string name_;
  int32_t kind_;
  std::string programId_;
  mutable std::shared_ptr<Interface> interface_;
  std::shared_ptr<ComponentApps> componentApps_;
};

class DeviceTemplates : public Collection<DeviceTemplate> {
 public:
  explicit DeviceTemplates(std::weak_ptr<Database> database)
      : Collection(std::move(database), "DeviceTemplates", NameMatch::Exact) {}
  std::string TypeName() const override { return "DeviceTemplates"; }

  // The first template whose program ID equals `programId`, hexadecimal digits compared
  // without regard to case; err::ObjectNotFound when none has it.
  std::shared_ptr<DeviceTemplate> ItemByProgramId(const std::string& programId) const;
  // A new, empty template; err::NameExists when the name is taken. `kind` is kept as given.
  std::shared_ptr<DeviceTemplate> Add(const std::string& name, int32_t kind);
  // Add without the journal (building a network).
  std::shared_ptr<DeviceTemplate> AddNew(const std::string& name, int32_t kind);
  // Removes a template (by 1-based position or name) that no device uses.
  void Remove(const rt::Variant& key);

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;
};

class TemplateLibrary : public Node {
 public:
  explicit TemplateLibrary(std::weak_ptr<Database> database) : Node(std::move(database)) {}
  std::string TypeName() const override { return "TemplateLibrary"; }
  std::string Segment() const override { return "TemplateLibrary"; }

  std::shared_ptr<DeviceTemplates> get_DeviceTemplates() const;
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // An empty library under `owner`; its templates come from the rows.
  static std::shared_ptr<TemplateLibrary> EmptyUnder(const std::shared_ptr<Node>& owner);
  nlohmann::json ToJson() const;
  DeviceTemplates& Templates() const { return *templates_; }
  Slot TemplatesSlot() const { return SlotOf(templates_); }

 private:
  std::shared_ptr<DeviceTemplates> templates_;
  std::shared_ptr<PlaceholderCollection> hardware_, build_, program_, connectionDescriptions_;
};

}  // namespace lns
