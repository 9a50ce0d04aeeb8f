#include "lns/json_util.h"

#include <fstream>
#include <sstream>

#include "lns/errors.h"
#include "runtime/file_writer.h"

namespace lns {

const nlohmann::json& AsArray(const nlohmann::json& json, const char* what) {
  if (!json.is_array()) throw DamagedData(std::string(what) + " is not a list");
  return json;
}

const nlohmann::json& ArrayAt(const nlohmann::json& json, const char* key) {
  if (!json.is_object() || !json.contains(key)) throw DamagedData(std::string("no ") + key);
  return AsArray(json.at(key), key);
}

std::optional<nlohmann::json> ReadJsonFile(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) Fail(err::DatabaseDamaged, "cannot read " + file.string());
  try {
    return nlohmann::json::parse(text.str());
  } catch (const nlohmann::json::exception& e) {
    throw DamagedData(e.what());
  }
}

void WriteFileAtomically(const std::filesystem::path& file, const std::string& content) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (rt::ReplaceFile(file, content)) {
    rt::Raise(rt::err::PathFileAccessError, ErrorSource, rt::ErrorText(rt::err::PathFileAccessError) + ": " + file.string());
  }
}

void WriteJsonFile(const std::filesystem::path& file, const nlohmann::json& json) {
  WriteFileAtomically(file, json.dump(2) + "\n");
}

}  // namespace lns
