#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "lns/store/database_file.h"
#include "lns/system.h"

namespace lns {

// A network's database while the network is open in this process: its rows read at Open as far
// as the network's objects need them (a device's interface and values when it is first used),
// each change written as it happens, the connection closed at Close.
class Session final : public DatabaseFile {
 public:
  // err::DatabaseDamaged when the file is missing or not a network database; the file is left
  // as it is.
  static std::shared_ptr<Session> Load(const std::filesystem::path& file, Access access = Access::ReadWrite);
  // Writes the database of a new network with an empty system.
  static void WriteNew(const std::filesystem::path& file, const std::string& networkName, const System::Settings& settings);

  Session(const std::filesystem::path& file, Access access);
  void RequireAccess() const override;

  const std::string& NetworkName() const noexcept { return RootName(); }
  const std::shared_ptr<Systems>& GetSystems() const noexcept { return systems_; }
  std::shared_ptr<System> GetSystem() const { return systems_->Items().front(); }

 protected:
  std::vector<Slot> RootSlots() const override { return {SlotOf(systems_)}; }
  const RowKinds& Kinds() const override;

 private:
  std::shared_ptr<Systems> systems_;
};

}  // namespace lns
