#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lns/component_app.h"
#include "lns/device.h"
#include "lns/network_interface.h"
#include "lns/node.h"
#include "lns/stored.h"

namespace lns {

class System;

class Subsystems;

class Subsystem : public Node, public Stored {
 public:
  Subsystem(std::weak_ptr<Database> database, std::string name);
  std::string TypeName() const override { return "Subsystem"; }
  std::string Segment() const override { return "Subsystem:" + name_; }
  const std::string& Name() const noexcept { return name_; }

  std::string get_Name() const;
  std::shared_ptr<Subsystems> get_Subsystems() const;
  std::shared_ptr<AppDevices> get_AppDevices() const;
  std::shared_ptr<PlaceholderCollection> get_Routers() const;
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // Building a network (not journaled): a new subsystem or device below this one.
  std::shared_ptr<Subsystem> AddSubsystem(const std::string& name);
  std::shared_ptr<AppDevice> AddDevice(const std::string& name, const DeviceTemplate& deviceTemplate,
                                       const std::string& neuronId);
  const Subsystems& Children() const { return *subsystems_; }
  const AppDevices& Devices() const { return *devices_; }

  // The subsystem with what it holds.
  nlohmann::json ToJson() const;
  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  std::vector<Slot> Slots() const override { return {SlotOf(subsystems_), SlotOf(devices_)}; }
  // An empty subsystem of stored fields.
  static std::shared_ptr<Subsystem> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 private:
  std::string name_;
  std::shared_ptr<Subsystems> subsystems_;
  std::shared_ptr<AppDevices> devices_;
  std::shared_ptr<PlaceholderCollection> routers_;
};

class Subsystems : public Collection<Subsystem> {
 public:
  explicit Subsystems(std::weak_ptr<Database> database)
      : Collection(std::move(database), "Subsystems", NameMatch::Exact) {}
  std::string TypeName() const override { return "Subsystems"; }
  // A new, empty subsystem; err::NameExists when the name is taken.
  std::shared_ptr<Subsystem> AddNew(const std::string& name);
};

// The system's attachment to the network: the network interface the system opens through.
// Setting it is stored in the database like every other change.
class NetworkAttachment : public Node {
 public:
  explicit NetworkAttachment(std::weak_ptr<Database> database) : Node(std::move(database)) {}
  std::string TypeName() const override { return "NetworkAttachment"; }
  std::string Segment() const override { return "Attachment"; }

  // Nothing when the system opens in engineered mode.
  std::shared_ptr<NetworkInterface> get_NetworkInterface() const;
  void putref_NetworkInterface(const std::shared_ptr<NetworkInterface>& networkInterface);
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

 protected:
  void CheckAccess(std::string_view member) const override;
};

// The network's system. Its name, Open, Close, IsOpen and Attachment serve while the network is
// open; every other member, and every object below the system, only while the system is open.
// Opened while its attachment has no network interface, the system is in engineered mode: the
// database can be used, the devices cannot.
class System : public Node, public Stored, public DeviceScope {
 public:
  struct Settings {
    std::string name;
    std::string networkInterface;
    std::string xifSearchRoot;
    int16_t managementMode = 0;
  };
  System(std::weak_ptr<Database> database, Settings settings);
  std::string TypeName() const override { return "System"; }
  std::string Segment() const override { return "System:" + settings_.name; }
  const std::string& Name() const noexcept { return settings_.name; }
  bool IsOpenNow() const noexcept { return open_; }
  bool IsEngineered() const noexcept override { return open_ && engineered_; }

  std::string get_Name() const;
  void Open();
  void Close();
  bool get_IsOpen() const;
  // 0 OnNet, 1 OffNet.
  int16_t get_ManagementMode() const;
  void put_ManagementMode(int16_t mode);
  bool get_PulsedFlag() const;
  void put_PulsedFlag(bool flag);
  int32_t get_InternetOption() const;
  void put_InternetOption(int32_t option);
  int32_t get_OpenSetting() const;
  void put_OpenSetting(int32_t setting);
  std::shared_ptr<NetworkAttachment> get_Attachment() const;
  std::string get_XifSearchRoot() const;
  void put_XifSearchRoot(const std::string& folder);
  std::shared_ptr<Subsystems> get_Subsystems() const;
  std::shared_ptr<TemplateLibrary> get_TemplateLibrary() const;
  std::shared_ptr<ComponentApps> get_ComponentApps() const;
  std::shared_ptr<PlaceholderCollection> get_Subnets() const;
  std::shared_ptr<PlaceholderCollection> get_Connections() const;
  std::shared_ptr<Placeholder> get_ErrorObject() const;
  std::shared_ptr<Placeholder> get_RecoveryStatus() const;
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // The management mode as stored, whatever a fault makes the system report.
  int16_t StoredManagementMode() const noexcept { return settings_.managementMode; }
  // Another client's change of the mode (not journaled): err::InvalidValue unless 0 or 1.
  void SetManagementMode(int16_t mode);

  // The interface the attachment names now ("" for none).
  const std::string& AttachedInterface() const noexcept { return settings_.networkInterface; }
  void SetAttachedInterface(std::string networkInterface);

  // Building a network (not journaled).
  std::shared_ptr<Subsystem> AddSubsystem(const std::string& name);
  Subsystems& SubsystemList() const { return *subsystems_; }
  TemplateLibrary& Library() const override { return *library_; }
  std::vector<std::shared_ptr<AppDevice>> DevicesMadeFrom(const std::string& templateName) const override;
  std::string DisplayText(const AppDevice& device) const override;

  // The system with what it holds.
  nlohmann::json ToJson() const;
  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  std::vector<Slot> Slots() const override;
  // A system of stored fields, with empty collections.
  static std::shared_ptr<System> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 protected:
  void CheckAccess(std::string_view member) const override;

 private:
  void Furnish();
  Settings settings_;
  bool pulsedFlag_ = false;
  int32_t internetOption_ = 0;
  int32_t openSetting_ = 0;
  bool open_ = false;
  bool engineered_ = false;
  std::shared_ptr<NetworkAttachment> attachment_;
  std::shared_ptr<Subsystems> subsystems_;
  std::shared_ptr<TemplateLibrary> library_;
  std::shared_ptr<ComponentApps> componentApps_;
  std::shared_ptr<PlaceholderCollection> subnets_, connections_;
  std::shared_ptr<Placeholder> errorObject_, recoveryStatus_;
};

// A network's systems (one); usable while the network is open.
class Systems : public Collection<System> {
 public:
  explicit Systems(std::weak_ptr<Database> database) : Collection(std::move(database), "Systems", NameMatch::Exact) {}
  std::string TypeName() const override { return "Systems"; }

 protected:
  void CheckAccess(std::string_view member) const override;
};

}  // namespace lns
