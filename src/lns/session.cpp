#include "lns/session.h"

#include <nlohmann/json.hpp>

#include "lns/json_util.h"

namespace lns {

using nlohmann::json;

namespace {

constexpr const char* DatabaseKind = "orvex-lns-network";
constexpr int DatabaseVersion = 1;

json Document(const std::string& networkName, const json& system) {
  return {{"kind", DatabaseKind}, {"version", DatabaseVersion}, {"network", networkName}, {"system", system}};
}

}  // namespace

std::shared_ptr<Session> Session::Load(const std::filesystem::path& file) {
  auto session = std::make_shared<Session>();
  session->file_ = file;
  try {
    auto document = ReadJsonFile(file);
    if (!document) Fail(err::DatabaseDamaged, "the network database " + file.string() + " is missing");
    if (document->value("kind", "") != DatabaseKind || document->value("version", 0) != DatabaseVersion) {
      throw DamagedData("not a network database");
    }
    session->networkName_ = document->at("network").get<std::string>();
    session->systems_ = std::make_shared<Systems>(session);
    session->systems_->Adopt(System::FromJson(document->at("system"), session));
  } catch (const rt::Error& e) {
    if (e.Number() == err::DatabaseDamaged) throw;
    Fail(err::DatabaseDamaged, file.string() + " (" + e.Description() + ")");
  } catch (const std::exception& e) {
    Fail(err::DatabaseDamaged, file.string() + " (" + e.what() + ")");
  }
  return session;
}

void Session::WriteNew(const std::filesystem::path& file, const std::string& networkName, const System::Settings& settings) {
  json system = {{"name", settings.name},
                 {"networkInterface", settings.networkInterface},
                 {"xifSearchRoot", settings.xifSearchRoot},
                 {"managementMode", settings.managementMode},
                 {"pulsedFlag", false},
                 {"internetOption", 0},
                 {"openSetting", 0},
                 {"componentApps", json::array()},
                 {"templates", json::array()},
                 {"subsystems", json::array()}};
  WriteJsonFile(file, Document(networkName, system));
}

void Session::RequireAccess() const {
  if (!GetSystem()->IsOpenNow()) Fail(err::NotOpen, "the system " + GetSystem()->Name());
}

void Session::Save() const { WriteJsonFile(file_, Document(networkName_, GetSystem()->ToJson())); }

}  // namespace lns
