#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lns/component_app.h"
#include "lns/interface.h"
#include "lns/node.h"
#include "lns/stored.h"

namespace lns {

class AppDevice;
class DeviceTemplate;
class TemplateLibrary;

// Device states as AppDevice.State reports them.
namespace device_state {
inline constexpr int16_t Unconfigured = 2;
inline constexpr int16_t Applicationless = 3;
inline constexpr int16_t ConfigOnline = 4;
inline constexpr int16_t ConfigOffline = 6;
inline constexpr int16_t SoftOffline = 12;
inline constexpr int16_t ConfigBypass = 140;
}  // namespace device_state

// What the devices and device templates of a system ask of the system that holds them.
class DeviceScope {
 public:
  virtual ~DeviceScope() = default;
  // Open in engineered mode: the database can be used, the devices cannot.
  virtual bool IsEngineered() const = 0;
  virtual TemplateLibrary& Library() const = 0;
  // Every device of the system made from the template of that name.
  virtual std::vector<std::shared_ptr<AppDevice>> DevicesMadeFrom(const std::string& templateName) const = 0;
  // The device's name behind the names of its subsystems, joined by "." ("Subsystem 1.FCU 1").
  virtual std::string DisplayText(const AppDevice& device) const = 0;
};

// An application device: a simulated unit whose values live in its interface's points.
// Calls that talk to the device (State, Wink, Reset, SynchronizeCpValues and every point's
// Value) raise err::EngineeredMode while its system is open in engineered mode and
// err::DeviceNotResponding while the device does not answer (faults.h).
class AppDevice : public Node, public Stored, public Reachable {
 public:
  AppDevice(std::weak_ptr<Database> database, std::string name, std::string templateName, std::string programId,
            std::string neuronId);
  std::string TypeName() const override { return "AppDevice"; }
  std::string Segment() const override { return "AppDevice:" + name_; }
  const std::string& Name() const noexcept { return name_; }
  const std::string& TemplateName() const noexcept { return templateName_; }

  std::string get_Name() const;
  // The device's name behind the names of its subsystems, joined by "." ("Subsystem 1.FCU 1").
  std::string get_DisplayText() const;
  std::string get_ProgramId() const;
  std::string get_NeuronId() const;
  std::shared_ptr<Interface> get_Interface() const;
  // The device template of the system's library that the device was made from.
  std::shared_ptr<DeviceTemplate> get_DeviceTemplate() const;
  // 0 when the device's configuration is up to date.
  int16_t get_CommissionStatus() const;
  bool get_IsCommissioned() const;
  bool get_TestBlocked() const;
  int16_t get_State() const;
  // Only Config Online (4), Config Offline (6) and Soft Offline (12) can be asked for, and only
  // of a commissioned device that has an application (not in state 2 or 3).
  void put_State(int16_t state);
  void Wink();
  void Reset();
  void SynchronizeCpValues(int32_t options);

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  void RequireAnswer() const override;

  // The unit's side, as the device itself or a test changes it (not journaled).
  // A point by "nvName", "cpName" (when one property of the device has that name),
  // "objectName/cpName" or "nvName/cpName"; err::ObjectNotFound or err::InvalidArgument.
  std::shared_ptr<ValuePoint> FindPoint(std::string_view designator) const;
  int16_t UnitState() const noexcept { return state_; }
  bool UnitCommissioned() const noexcept { return commissioned_; }
  int16_t UnitCommissionStatus() const noexcept { return commissionStatus_; }
  bool UnitTestBlocked() const noexcept { return testBlocked_; }
  const std::string& ProgramId() const noexcept { return programId_; }
  void UnitSetState(int16_t state);
  // The state as a director asks for it (State Let, not journaled), with the same checks.
  void RequestState(int16_t state);
  // Another application loaded into the device (not journaled); err::InvalidValue unless 16
  // hexadecimal digits.
  void SetProgramId(const std::string& programId);
  // The name of its template, following a template that was renamed.
  void FollowTemplateRename(const std::string& newName) { templateName_ = newName; }
  void UnitSetCommission(bool commissioned, int16_t commissionStatus);
  void UnitSetTestBlocked(bool blocked);

  // A new device of `deviceTemplate`, with the template's interface and default values.
  static std::shared_ptr<AppDevice> Create(std::weak_ptr<Database> database, const std::string& name,
                                           const DeviceTemplate& deviceTemplate, const std::string& neuronId);
  // The device and its interface with its values.
  nlohmann::json ToJson() const;

  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  std::shared_ptr<Interface> LoadedInterface() const override { return interface_; }
  void ForgetInterface() override { interface_.reset(); }
  // A device of stored fields; its interface is read at its first use.
  static std::shared_ptr<AppDevice> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 private:
  const std::shared_ptr<Interface>& Face() const;

  std::string name_;
  std::string templateName_;
  std::string programId_;
  std::string neuronId_;
  bool commissioned_ = true;
  int16_t commissionStatus_ = 0;
  int16_t state_ = device_state::ConfigOnline;
  bool testBlocked_ = false;
  mutable std::shared_ptr<Interface> interface_;
};

class AppDevices : public Collection<AppDevice> {
 public:
  explicit AppDevices(std::weak_ptr<Database> database)
      : Collection(std::move(database), "AppDevices", NameMatch::Exact) {}
  std::string TypeName() const override { return "AppDevices"; }
  // Adds a device and writes the database; err::NameExists when the name is taken.
  void Add(std::shared_ptr<AppDevice> device) {
    if (Find(device->Name())) Fail(err::NameExists, device->Name());
    Insert(std::move(device));
  }
};

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
