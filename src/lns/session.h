#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "lns/node.h"
#include "lns/system.h"

namespace lns {

// A network's database while the network is open: loaded from its file at Open, written back
// (replaced whole) after every change, dropped at Close.
class Session final : public Database, public std::enable_shared_from_this<Session> {
 public:
  // err::DatabaseDamaged when the file is missing or not a network database; the file is left
  // as it is.
  static std::shared_ptr<Session> Load(const std::filesystem::path& file);
  // Writes the database of a new network with an empty system.
  static void WriteNew(const std::filesystem::path& file, const std::string& networkName, const System::Settings& settings);

  void RequireAccess() const override;
  void Save() const override;

  const std::filesystem::path& File() const noexcept { return file_; }
  const std::string& NetworkName() const noexcept { return networkName_; }
  const std::shared_ptr<Systems>& GetSystems() const noexcept { return systems_; }
  std::shared_ptr<System> GetSystem() const { return systems_->Items().front(); }

 private:
  std::filesystem::path file_;
  std::string networkName_;
  std::shared_ptr<Systems> systems_;
};

}  // namespace lns
