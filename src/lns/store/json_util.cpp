#include "lns/store/json_util.h"

namespace lns {

const nlohmann::json& AsArray(const nlohmann::json& json, const char* what) {
  if (!json.is_array()) throw DamagedData(std::string(what) + " is not a list");
  return json;
}

const nlohmann::json& ArrayAt(const nlohmann::json& json, const char* key) {
  if (!json.is_object() || !json.contains(key)) throw DamagedData(std::string("no ") + key);
  return AsArray(json.at(key), key);
}

}  // namespace lns
