#include "lns/store/session.h"

#include <nlohmann/json.hpp>

namespace lns {

namespace {
constexpr const char* NetworkRoot = "NetworkDatabase";
}  // namespace

Session::Session(const std::filesystem::path& file, Access access) : DatabaseFile(file, NetworkRoot, access) {}

std::shared_ptr<Session> Session::Load(const std::filesystem::path& file, Access access) {
  auto session = std::make_shared<Session>(file, access);
  session->systems_ = std::make_shared<Systems>(session);
  session->LoadRoot();
  const size_t systems = session->systems_->Items().size();
  if (systems != 1) session->RaiseDamaged("holds " + std::to_string(systems) + " systems");
  return session;
}

void Session::WriteNew(const std::filesystem::path& file, const std::string& networkName, const System::Settings& settings) {
  Create(file, NetworkRoot, networkName,
         {{"Systems", "System", settings.name, System(std::weak_ptr<Database>(), settings).Fields().dump()}});
}

const DatabaseFile::RowKinds& Session::Kinds() const {
  static const RowKinds kinds{
      {"System", &Make<System>},
      {"Subsystem", &Make<Subsystem>},
      {"AppDevice", &Make<AppDevice>},
      {"DeviceTemplate", &Make<DeviceTemplate>},
      {"ComponentApp", &Make<ComponentApp>},
  };
  return kinds;
}

void Session::RequireAccess() const {
  if (!GetSystem()->IsOpenNow()) Fail(err::NotOpen, "the system " + GetSystem()->Name());
}

}  // namespace lns
