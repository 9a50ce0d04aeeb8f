#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace lns {

// A stored file that is not in the shape its reader expects.
class DamagedData : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `json` when it is an array; DamagedData naming `what` otherwise.
const nlohmann::json& AsArray(const nlohmann::json& json, const char* what);
// The array under `key`; DamagedData when it is missing or not an array.
const nlohmann::json& ArrayAt(const nlohmann::json& json, const char* key);

// Replaces a file whole (rt::ReplaceFile), making its folder first. Raises error 75 naming the
// file when it cannot be written.
void WriteFileAtomically(const std::filesystem::path& file, const std::string& content);

}  // namespace lns
