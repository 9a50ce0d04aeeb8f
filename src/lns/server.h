#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lns/component_app.h"
#include "lns/network_interface.h"
#include "lns/node.h"
#include "lns/store/database_file.h"
#include "lns/system.h"

namespace lns {

class ObjectServer;
class Session;

// A network of the Object Server. Open loads its database (err::DatabaseDamaged when the file
// is damaged; the file is never overwritten then); opening an open network succeeds, and
// several networks may be open at once.
class Network : public Node, public Stored {
 public:
  Network(std::weak_ptr<Database> database, std::string name, std::string databaseFile);
  std::string TypeName() const override { return "Network"; }
  std::string Segment() const override { return "Network:" + name_; }
  const std::string& Name() const noexcept { return name_; }
  std::filesystem::path File() const;

  std::string get_Name() const;
  void Open();
  void Close();
  bool get_IsOpen() const;
  std::shared_ptr<Systems> get_Systems() const;
  std::shared_ptr<PlaceholderCollection> get_Channels() const;
  std::shared_ptr<PlaceholderCollection> get_NetworkServiceDevices() const;
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  nlohmann::json ToJson() const;
  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  static std::shared_ptr<Network> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 protected:
  void CheckAccess(std::string_view member) const override;

 private:
  std::string name_;
  std::string databaseFile_;  // relative to the store folder
  mutable std::shared_ptr<PlaceholderCollection> channels_, serviceDevices_;
};

// Network names compare without regard to case; Name gives the stored spelling.
class Networks : public Collection<Network> {
 public:
  explicit Networks(std::weak_ptr<Database> database)
      : Collection(std::move(database), "Networks", NameMatch::IgnoreCase) {}
  std::string TypeName() const override { return "Networks"; }
  // Adds a network and writes the store; err::NameExists when the name is taken.
  void AddNew(const std::string& name, const std::string& databaseFile);
};

// The Object Server's store while the server is open: its own database file, apart from the
// networks' so that a damaged network stays that network's matter and a network is one file.
class ServerStore final : public DatabaseFile {
 public:
  // The store of the machine (made empty when it does not exist yet, unless it is only read),
  // its collections attached to `owner` when given; err::DatabaseDamaged for a damaged or missing
  // file, or for the JSON store of an earlier version of the program.
  static std::shared_ptr<ServerStore> Load(const std::shared_ptr<Node>& owner, Access access = Access::ReadWrite);

  ServerStore(const std::filesystem::path& file, Access access);
  void RequireAccess() const override {}

  const std::shared_ptr<NetworkInterfaces>& Interfaces() const noexcept { return interfaces_; }
  const std::shared_ptr<Networks>& NetworkList() const noexcept { return networks_; }
  const std::shared_ptr<ComponentApps>& Apps() const noexcept { return componentApps_; }

 protected:
  std::vector<Slot> RootSlots() const override {
    return {SlotOf(interfaces_), SlotOf(networks_), SlotOf(componentApps_)};
  }
  const RowKinds& Kinds() const override;

 private:
  std::shared_ptr<NetworkInterfaces> interfaces_;
  std::shared_ptr<Networks> networks_;
  std::shared_ptr<ComponentApps> componentApps_;
};

// The Object Server control. Its networks, network interfaces and component applications are
// there while it is open. Closing it closes the networks opened through it.
class ObjectServer : public Node {
 public:
  ObjectServer();
  ~ObjectServer() override;
  ObjectServer(const ObjectServer&) = delete;
  ObjectServer& operator=(const ObjectServer&) = delete;
  std::string TypeName() const override { return "ObjectServer"; }
  std::string Segment() const override { return "ObjectServer"; }

  // What the server holds now, for the C++ side (not journaled).
  bool IsOpenNow() const noexcept { return store_ != nullptr; }
  bool IsRemote() const noexcept { return remote_; }
  int32_t RemoteFlagsNow() const noexcept { return remoteFlags_; }
  bool PreOpenFlagNow() const noexcept { return preOpenFlag_; }
  // "" while none is set.
  std::string ActiveInterfaceName() const { return activeInterface_ ? activeInterface_->Name() : ""; }
  // The sessions of the networks opened through this server that are still open.
  std::vector<std::shared_ptr<Session>> OpenNetworks() const;

  bool get_Remote() const;
  // err::RemoteNotAllowed while the server is open.
  void put_Remote(bool remote);
  int32_t get_RemoteFlags() const;
  void put_RemoteFlags(int32_t flags);
  bool get_PreOpenFlag() const;
  void put_PreOpenFlag(bool flag);
  bool get_IsOpen() const;
  void Open();
  void Close();
  std::shared_ptr<NetworkInterfaces> get_NetworkInterfaces() const;
  std::shared_ptr<NetworkInterface> get_ActiveNetworkInterface() const;
  void putref_ActiveNetworkInterface(const std::shared_ptr<NetworkInterface>& networkInterface);
  std::shared_ptr<Networks> get_Networks() const;
  std::shared_ptr<ComponentApps> get_ComponentApps() const;
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  // Events, delivered through the event poster (platform.h): the refresh notice, and the
  // monitor-point update (tag, value, monitored object).
  using RefreshNotifyHandler = std::function<void()>;
  using MonitorUpdateHandler = std::function<void(int32_t tag, const rt::Variant& value, const rt::ObjectRef& object)>;
  void OnRefreshNotify(RefreshNotifyHandler handler) { refreshNotify_ = std::move(handler); }
  void OnMonitorUpdate(MonitorUpdateHandler handler) { monitorUpdate_ = std::move(handler); }
  void RaiseRefreshNotify();
  void RaiseMonitorUpdate(int32_t tag, const rt::Variant& value, const rt::ObjectRef& object);

  // Called by a network of this server when it opens.
  void NoteOpened(const std::filesystem::path& databaseFile);

 protected:
  void CheckAccess(std::string_view member) const override;

 private:
  bool remote_ = false;
  int32_t remoteFlags_ = 0;
  bool preOpenFlag_ = true;
  std::shared_ptr<ServerStore> store_;
  std::shared_ptr<NetworkInterface> activeInterface_;
  std::vector<std::filesystem::path> opened_;
  RefreshNotifyHandler refreshNotify_;
  MonitorUpdateHandler monitorUpdate_;
};

// Every Object Server of the process, in the order they were made.
std::vector<const ObjectServer*> ObjectServers();

// Raises the events on every Object Server of the process that is open.
void RaiseRefreshNotifyEverywhere();
void RaiseMonitorUpdateEverywhere(int32_t tag, const rt::Variant& value, const rt::ObjectRef& object);

// A new network for the machine's Object Server.
struct NetworkSetup {
  std::string name;
  std::string systemName;
  std::string networkInterface;  // "" makes the system open in engineered mode
  std::string xifSearchRoot;
  int16_t managementMode = 0;
};
// Writes the new network's database, lets `furnish` fill its system (subsystems, templates,
// devices), then adds the network to the store. err::NameExists when the store has a network of
// that name (without regard to case); when a step fails nothing is left behind.
void CreateNetwork(const NetworkSetup& setup, const std::function<void(System&)>& furnish = {});
// Adds a network interface to the store unless it has one of that name.
void AddNetworkInterface(const std::string& name);

}  // namespace lns
