#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "lns/node.h"
#include "lns/store/sqlite.h"
#include "lns/stored.h"
#include "lns/values/declaration.h"

namespace lns {

// Raised, as err::DatabaseDamaged naming the file, when a database's name is a symbolic link as it
// is opened for writing (the open follows none), so that its caller can refuse it as it refuses a
// link it finds itself.
class LinkedDatabase : public rt::Error {
 public:
  explicit LinkedDatabase(const std::filesystem::path& file);
};

// A database kept in one SQLite file in WAL mode: the Object Server's store or a network's
// database. Each object has a row (its kind, name and fields, under its parent's row and the
// collection that holds it), each value of a device or template a row of its own, and each
// interface shape one shared row. Every change is one transaction; every transaction raises the
// file's revision and stamps the rows it writes with it, adding or removing an item stamps the
// row that holds it. Another process's committed changes are taken in by Refresh (from every
// member call and before every change): a look at the WAL index's header in shared memory, and
// when it changed, at SQLite's data version, and when that moved, the rows stamped since the last
// look, applied to the objects this process has read.
// A file that is missing, empty, not a database, another program's, of a newer version, or whose
// rows do not fit raises err::DatabaseDamaged naming the file and why, and is never written; a
// file that cannot be written raises error 75 and the change is rolled back.
// How a database file is opened: for the objects' use, or for reading alone, which writes
// nothing (a dump).
enum class Access { ReadWrite, ReadOnly };

class DatabaseFile : public Database, public std::enable_shared_from_this<DatabaseFile> {
 public:
  ~DatabaseFile() override;

  const std::filesystem::path& File() const noexcept { return file_; }
  // The name the root row carries (a network's name).
  const std::string& RootName() const noexcept { return rootName_; }
  // Raised with every committed change.
  int64_t Revision() const noexcept { return revision_; }

  void Refresh() override;
  void Begin() override;
  void Commit() override;
  void Rollback() noexcept override;
  void WriteFields(const Node& node) override;
  void WriteAdded(const Node& collection, const Node& item) override;
  void WriteRemoved(const Node& item) override;
  void WriteInterface(const Node& owner) override;
  std::shared_ptr<Interface> ReadInterface(const Node& owner) override;

  // A row below the root of a new file.
  struct TopRow {
    std::string slot;
    std::string kind;
    std::string name;
    std::string fields;  // JSON
  };
  // Makes the file with its root row and `rows` below it, unless it holds a database already.
  static void Create(const std::filesystem::path& file, const std::string& rootKind, const std::string& rootName,
                     const std::vector<TopRow>& rows = {});

 protected:
  // Opens the file and checks that it holds a database whose root is of `rootKind`.
  DatabaseFile(std::filesystem::path file, std::string rootKind, Access access);
  // Reads the rows of the root's collections.
  void LoadRoot();
  virtual std::vector<Slot> RootSlots() const = 0;
  // The kinds of rows below the root, and the objects they make.
  using Factory = std::shared_ptr<Node> (*)(std::weak_ptr<Database>, const nlohmann::json&);
  using RowKinds = std::map<std::string, Factory, std::less<>>;
  virtual const RowKinds& Kinds() const = 0;
  template <class T>
  static std::shared_ptr<Node> Make(std::weak_ptr<Database> database, const nlohmann::json& fields) {
    return T::FromFields(std::move(database), fields);
  }
  [[noreturn]] void RaiseDamaged(const std::string& why) const;

 private:
  class Snapshot;
  struct ObjectRow {
    int64_t id = 0;
    std::string kind;
    std::string name;
    std::string fields;
  };

  // Runs `work`, turning SQLite's failures and rows that do not fit into the errors above.
  template <class Work>
  auto Guarded(Work&& work) const {
    try {
      return work();
    } catch (const sql::Failure& failure) {
      RaiseFailure(failure);
    } catch (const std::exception& e) {
      RaiseIfDamage(e);
      throw;
    }
  }
  [[noreturn]] void RaiseFailure(const sql::Failure& failure) const;
  void RaiseIfDamage(const std::exception& e) const;
  void Configure();
  void ReadRootRow();
  int64_t DataVersion();
  int64_t StoredRevision();
  void TakeChanges();
  void TakeObjectChanges(int64_t since);
  void TakeValueChanges(int64_t since);
  std::vector<ObjectRow> Children(int64_t parent, const std::string& slot);
  void ReconcileSlots(int64_t parent, const std::vector<Slot>& slots);
  std::shared_ptr<Node> MakeTree(const ObjectRow& row);
  std::shared_ptr<Node> Loaded(int64_t row) const;
  void Register(int64_t row, const std::shared_ptr<Node>& node);
  void OnRollback(std::function<void()> undo);
  int64_t WriteRevision();
  int64_t OwnerRow(const Node& collection) const;
  void Touch(int64_t row);
  void InsertTree(int64_t parent, const std::string& slot, const Node& node);
  void InsertInterfaceRows(int64_t owner, const Interface& face);
  int64_t ShapeId(const InterfaceDecl& decl);
  const InterfaceDecl& ShapeOf(int64_t id);
  std::map<std::string, Bytes> ValuesOf(int64_t owner);
  void TakeStoredObjects(const Interface& face, int64_t owner);

  std::filesystem::path file_;
  std::string rootKind_;
  std::string rootName_;
  std::unique_ptr<sql::Connection> connection_;
  int64_t rootRow_ = 0;
  int64_t revision_ = 0;
  int64_t dataVersion_ = -1;
  std::optional<sql::WalIndexHeader> seenIndexHeader_;  // as it stood when Refresh last looked
  // Open transaction levels (the outer one a transaction, the inner ones savepoints), and what to
  // undo in memory when each level rolls back.
  std::vector<std::vector<std::function<void()>>> levels_;
  int64_t writeRevision_ = 0;
  bool reading_ = false;
  std::unordered_map<int64_t, std::weak_ptr<Node>> loaded_;
  std::unordered_map<int64_t, int64_t> interfaceRevisions_;
  std::map<std::string, int64_t> shapeIds_;
  std::map<int64_t, InterfaceDecl> shapes_;
};

// The message for a store of the program's earlier versions, kept as JSON files.
std::string EarlierVersionMessage(const std::filesystem::path& file);

}  // namespace lns
