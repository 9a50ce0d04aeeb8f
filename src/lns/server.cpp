#include "lns/server.h"

#include <algorithm>
#include <optional>

#include <nlohmann/json.hpp>

#include "lns/platform.h"
#include "lns/store/json_util.h"
#include "lns/store/session.h"
#include "runtime/text.h"

namespace lns {

using nlohmann::json;
using V = rt::Variant;

namespace {

constexpr const char* StoreRoot = "ObjectServerStore";

// Never destroyed: a server held by a static (a window's control) leaves it at the process's end.
std::vector<ObjectServer*>& Servers() {
  static auto* servers = new std::vector<ObjectServer*>;
  return *servers;
}

bool LiesWithin(const std::filesystem::path& folder, const std::filesystem::path& file) {
  return std::mismatch(folder.begin(), folder.end(), file.begin(), file.end()).first == folder.end();
}

std::string OutsideMessage(const std::string& databaseFile) {
  return "the database \"" + databaseFile + "\" lies outside the store's folder";
}

// A change would rewrite whatever file the name leads to: it may only lead into the store's folder,
// also once its links are followed. Why it does not, or nothing.
std::optional<std::string> OutsideStoreFolder(const std::string& databaseFile) {
  const std::filesystem::path file(databaseFile);
  std::error_code folderError;
  std::error_code fileError;
  const auto folder = std::filesystem::weakly_canonical(StoreFolder(), folderError);
  const auto real = std::filesystem::weakly_canonical(StoreFolder() / file, fileError);
  const bool climbs =
      std::any_of(file.begin(), file.end(), [](const std::filesystem::path& part) { return part == ".."; });
  const bool inside =
      !file.empty() && file.is_relative() && !climbs && !folderError && !fileError && LiesWithin(folder, real);
  if (inside) return std::nullopt;
  return OutsideMessage(databaseFile);
}

std::string FileNamePart(const std::string& networkName) {
  std::string part;
  for (char c : networkName) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    part += plain ? c : '_';
  }
  return part.empty() ? "network" : part;
}

// A database file name that neither the store nor the folder uses yet.
std::string NewDatabaseFile(const Networks& networks, const std::string& networkName) {
  std::string base = "networks/" + FileNamePart(networkName);
  const auto items = networks.Items();
  for (int n = 1;; ++n) {
    // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
    std::string candidate = base + (n == 1 ? "" : '-' + std::to_string(n)) + ".db";
    bool stored = std::any_of(items.begin(), items.end(), [&](const auto& network) {
      return rt::EqualsNoCase(network->File().string(), (StoreFolder() / candidate).string());
    });
    std::error_code error;
    if (!stored && !std::filesystem::exists(StoreFolder() / candidate, error)) return candidate;
  }
}

// A database and the files SQLite keeps beside it while it is open.
void RemoveDatabase(const std::filesystem::path& file) {
  std::error_code error;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix, error);
}

}  // namespace

rt::Variant NetworkInterface::Invoke(std::string_view member, CallKind kind, Args& args) {
  using N = NetworkInterface;
  static const rt::Members<N> members{
      rt::Get("Name", &N::get_Name),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

json NetworkInterface::Fields() const { return {{"name", name_}}; }
void NetworkInterface::TakeFields(const json& fields) { name_ = fields.at("name").get<std::string>(); }
std::shared_ptr<NetworkInterface> NetworkInterface::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto networkInterface = std::make_shared<NetworkInterface>(std::move(database), "");
  networkInterface->TakeFields(fields);
  return networkInterface;
}

// --- Network ----------------------------------------------------------------------------------

Network::Network(std::weak_ptr<Database> database, std::string name, std::string databaseFile)
    : Node(std::move(database)), name_(std::move(name)), databaseFile_(std::move(databaseFile)) {}

std::filesystem::path Network::File() const { return StoreFolder() / databaseFile_; }

void Network::CheckAccess(std::string_view member) const {
  if (!rt::EqualsNoCase(member, "IsOpen")) Db();
}

std::string Network::get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }

void Network::Open() {
  Call("Open", CallKind::Method, [&] {
    // The file may have become a link since the store was read, or become one after this look
    // (the open follows none): refused as the store's row is.
    const auto refuse = [&] {
      Fail(err::DatabaseDamaged,
           ServerStoreFile().string() + " (Network \"" + name_ + "\": " + OutsideMessage(databaseFile_) + ")");
    };
    if (OutsideStoreFolder(databaseFile_)) refuse();
    std::shared_ptr<Session> session;
    try {
      session = OpenSession(File());
    } catch (const LinkedDatabase&) {
      refuse();
    }
    session->GetSystems()->Attach(Self());
    if (auto server = Ancestor<ObjectServer>()) server->NoteOpened(File());
  });
}

void Network::Close() {
  Call("Close", CallKind::Method, [&] {
    if (!FindSession(File())) Fail(err::NotOpen, "the network " + name_);
    CloseSession(File());
  });
}

bool Network::get_IsOpen() const { return Call("IsOpen", CallKind::Get, [&] { return FindSession(File()) != nullptr; }); }

std::shared_ptr<Systems> Network::get_Systems() const {
  return Call("Systems", CallKind::Get, [&] {
    auto session = FindSession(File());
    if (!session) Fail(err::NotOpen, "the network " + name_);
    return session->GetSystems();
  });
}

std::shared_ptr<PlaceholderCollection> Network::get_Channels() const {
  return Call("Channels", CallKind::Get, [&] {
    if (!channels_) channels_ = MakePlaceholders(Self(), "Channels");
    return channels_;
  });
}

std::shared_ptr<PlaceholderCollection> Network::get_NetworkServiceDevices() const {
  return Call("NetworkServiceDevices", CallKind::Get, [&] {
    if (!serviceDevices_) serviceDevices_ = MakePlaceholders(Self(), "NetworkServiceDevices");
    return serviceDevices_;
  });
}

rt::Variant Network::Invoke(std::string_view member, CallKind kind, Args& args) {
  using N = Network;
  static const rt::Members<N> members{
      rt::Get("Name", &N::get_Name),
      rt::Method("Open", &N::Open),
      rt::Method("Close", &N::Close),
      rt::Get("IsOpen", &N::get_IsOpen),
      rt::Get("Systems", &N::get_Systems),
      rt::Get("Channels", &N::get_Channels),
      rt::Get("NetworkServiceDevices", &N::get_NetworkServiceDevices),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

json Network::ToJson() const { return Fields(); }
json Network::Fields() const { return {{"name", name_}, {"database", databaseFile_}}; }

void Network::TakeFields(const json& fields) {
  name_ = fields.at("name").get<std::string>();
  databaseFile_ = fields.at("database").get<std::string>();
  if (auto outside = OutsideStoreFolder(databaseFile_)) throw DamagedData(*outside);
}

std::shared_ptr<Network> Network::FromFields(std::weak_ptr<Database> database, const json& fields) {
  auto network = std::make_shared<Network>(std::move(database), "", "");
  network->TakeFields(fields);
  return network;
}

void Networks::AddNew(const std::string& name, const std::string& databaseFile) {
  if (Find(name)) Fail(err::NameExists, "the network " + name);
  Insert(std::make_shared<Network>(DatabaseRef(), name, databaseFile));
}

// --- ServerStore ------------------------------------------------------------------------------

ServerStore::ServerStore(const std::filesystem::path& file, Access access) : DatabaseFile(file, StoreRoot, access) {}

const DatabaseFile::RowKinds& ServerStore::Kinds() const {
  static const RowKinds kinds{
      {"Network", &Make<Network>},
      {"NetworkInterface", &Make<NetworkInterface>},
      {"ComponentApp", &Make<ComponentApp>},
  };
  return kinds;
}

std::shared_ptr<ServerStore> ServerStore::Load(const std::shared_ptr<Node>& owner, Access access) {
  auto file = ServerStoreFile();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    auto earlier = StoreFolder() / "server.json";
    if (std::filesystem::exists(earlier, error)) Fail(err::DatabaseDamaged, EarlierVersionMessage(earlier));
    if (access == Access::ReadWrite) Create(file, StoreRoot, "ObjectServer");
  }
  auto store = std::make_shared<ServerStore>(file, access);
  store->interfaces_ = std::make_shared<NetworkInterfaces>(store);
  store->networks_ = std::make_shared<Networks>(store);
  store->componentApps_ = std::make_shared<ComponentApps>(store);
  if (owner) {
    store->interfaces_->Attach(owner);
    store->networks_->Attach(owner);
    store->componentApps_->Attach(owner);
  }
  store->LoadRoot();
  return store;
}

// --- ObjectServer -----------------------------------------------------------------------------

ObjectServer::ObjectServer() : Node(std::weak_ptr<Database>()) { Servers().push_back(this); }

ObjectServer::~ObjectServer() { std::erase(Servers(), this); }

std::vector<std::shared_ptr<Session>> ObjectServer::OpenNetworks() const {
  std::vector<std::shared_ptr<Session>> open;
  for (const auto& file : opened_) {
    if (auto session = FindSession(file)) open.push_back(session);
  }
  return open;
}

void ObjectServer::CheckAccess(std::string_view member) const {
  bool needsOpen = rt::EqualsNoCase(member, "Networks") || rt::EqualsNoCase(member, "NetworkInterfaces") ||
                   rt::EqualsNoCase(member, "ComponentApps");
  if (needsOpen && !store_) Fail(err::NotOpen, "the Object Server");
}

bool ObjectServer::get_Remote() const { return Call("Remote", CallKind::Get, [&] { return remote_; }); }

void ObjectServer::put_Remote(bool remote) {
  Call("Remote", CallKind::Let, [&] {
    if (store_) Fail(err::RemoteNotAllowed);
    remote_ = remote;
  }, ArgumentText({V::Boolean(remote)}));
}

int32_t ObjectServer::get_RemoteFlags() const { return Call("RemoteFlags", CallKind::Get, [&] { return remoteFlags_; }); }
void ObjectServer::put_RemoteFlags(int32_t flags) {
  Call("RemoteFlags", CallKind::Let, [&] { remoteFlags_ = flags; }, std::to_string(flags));
}
bool ObjectServer::get_PreOpenFlag() const { return Call("PreOpenFlag", CallKind::Get, [&] { return preOpenFlag_; }); }
void ObjectServer::put_PreOpenFlag(bool flag) {
  Call("PreOpenFlag", CallKind::Let, [&] { preOpenFlag_ = flag; }, ArgumentText({V::Boolean(flag)}));
}
bool ObjectServer::get_IsOpen() const { return Call("IsOpen", CallKind::Get, [&] { return store_ != nullptr; }); }

void ObjectServer::Open() {
  Call("Open", CallKind::Method, [&] {
    if (store_) return;
    store_ = ServerStore::Load(Self());
  });
}

void ObjectServer::Close() {
  Call("Close", CallKind::Method, [&] {
    if (!store_) Fail(err::NotOpen, "the Object Server");
    for (const auto& file : opened_) CloseSession(file);
    opened_.clear();
    store_.reset();
  });
}

std::shared_ptr<NetworkInterfaces> ObjectServer::get_NetworkInterfaces() const {
  return Call("NetworkInterfaces", CallKind::Get, [&] { return store_->Interfaces(); });
}
std::shared_ptr<NetworkInterface> ObjectServer::get_ActiveNetworkInterface() const {
  return Call("ActiveNetworkInterface", CallKind::Get, [&] { return activeInterface_; });
}
void ObjectServer::putref_ActiveNetworkInterface(const std::shared_ptr<NetworkInterface>& networkInterface) {
  Call("ActiveNetworkInterface", CallKind::Set, [&] { activeInterface_ = networkInterface; },
       ArgumentText({V::Object(networkInterface)}));
}
std::shared_ptr<Networks> ObjectServer::get_Networks() const {
  return Call("Networks", CallKind::Get, [&] { return store_->NetworkList(); });
}
std::shared_ptr<ComponentApps> ObjectServer::get_ComponentApps() const {
  return Call("ComponentApps", CallKind::Get, [&] { return store_->Apps(); });
}

rt::Variant ObjectServer::Invoke(std::string_view member, CallKind kind, Args& args) {
  using O = ObjectServer;
  static const rt::Members<O> members{
      rt::Get("Remote", &O::get_Remote),
      rt::Let("Remote", &O::put_Remote),
      rt::Get("RemoteFlags", &O::get_RemoteFlags),
      rt::Let("RemoteFlags", &O::put_RemoteFlags),
      rt::Get("PreOpenFlag", &O::get_PreOpenFlag),
      rt::Let("PreOpenFlag", &O::put_PreOpenFlag),
      rt::Get("IsOpen", &O::get_IsOpen),
      rt::Method("Open", &O::Open),
      rt::Method("Close", &O::Close),
      rt::Get("NetworkInterfaces", &O::get_NetworkInterfaces),
      rt::Get("ActiveNetworkInterface", &O::get_ActiveNetworkInterface),
      rt::Set("ActiveNetworkInterface", &O::putref_ActiveNetworkInterface),
      rt::Get("Networks", &O::get_Networks),
      rt::Get("ComponentApps", &O::get_ComponentApps),
  };
  return members.Invoke<Node>(*this, member, kind, args);
}

void ObjectServer::RaiseRefreshNotify() {
  PostEvent([weak = std::weak_ptr<ObjectServer>(std::static_pointer_cast<ObjectServer>(Self()))] {
    auto server = weak.lock();
    if (server && server->refreshNotify_) server->refreshNotify_();
  });
}

void ObjectServer::RaiseMonitorUpdate(int32_t tag, const rt::Variant& value, const rt::ObjectRef& object) {
  PostEvent([weak = std::weak_ptr<ObjectServer>(std::static_pointer_cast<ObjectServer>(Self())), tag, value, object] {
    auto server = weak.lock();
    if (server && server->monitorUpdate_) server->monitorUpdate_(tag, value, object);
  });
}

void ObjectServer::NoteOpened(const std::filesystem::path& databaseFile) {
  if (std::find(opened_.begin(), opened_.end(), databaseFile) == opened_.end()) opened_.push_back(databaseFile);
}

std::vector<const ObjectServer*> ObjectServers() { return {Servers().begin(), Servers().end()}; }

namespace {

// Held while their events are raised: an event that runs at once may let a server go.
std::vector<std::shared_ptr<ObjectServer>> OpenServers() {
  std::vector<std::shared_ptr<ObjectServer>> open;
  for (ObjectServer* server : Servers()) {
    if (server->IsOpenNow()) open.push_back(std::static_pointer_cast<ObjectServer>(server->shared_from_this()));
  }
  return open;
}

}  // namespace

void RaiseRefreshNotifyEverywhere() {
  for (const auto& server : OpenServers()) server->RaiseRefreshNotify();
}

void RaiseMonitorUpdateEverywhere(int32_t tag, const rt::Variant& value, const rt::ObjectRef& object) {
  for (const auto& server : OpenServers()) server->RaiseMonitorUpdate(tag, value, object);
}

// --- Building the machine ---------------------------------------------------------------------

void CreateNetwork(const NetworkSetup& setup, const std::function<void(System&)>& furnish) {
  if (setup.name.empty()) Fail(err::InvalidArgument, "a network needs a name");
  auto store = ServerStore::Load(nullptr);
  if (store->NetworkList()->Find(setup.name)) Fail(err::NameExists, "the network " + setup.name);
  std::string file = NewDatabaseFile(*store->NetworkList(), setup.name);
  auto path = StoreFolder() / file;
  Session::WriteNew(path, setup.name, {setup.systemName, setup.networkInterface, setup.xifSearchRoot, setup.managementMode});
  try {
    if (furnish) furnish(*Session::Load(path)->GetSystem());
    store->NetworkList()->AddNew(setup.name, file);
  } catch (...) {
    RemoveDatabase(path);
    throw;
  }
}

void AddNetworkInterface(const std::string& name) {
  if (name.empty()) Fail(err::InvalidArgument, "a network interface needs a name");
  ServerStore::Load(nullptr)->Interfaces()->AddNew(name);
}

}  // namespace lns
