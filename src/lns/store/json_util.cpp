#include "lns/store/json_util.h"

#include "lns/calls/errors.h"
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

void WriteFileAtomically(const std::filesystem::path& file, const std::string& content) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (rt::ReplaceFile(file, content)) {
    rt::Raise(rt::err::PathFileAccessError, ErrorSource, rt::ErrorText(rt::err::PathFileAccessError) + ": " + file.string());
  }
}

}  // namespace lns
