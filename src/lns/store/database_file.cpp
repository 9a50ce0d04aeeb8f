#include "lns/store/database_file.h"

#include <sqlite3.h>

#include <cstring>
#include <fstream>

#include <nlohmann/json.hpp>

#include "lns/interface.h"
#include "lns/store/json_util.h"

namespace lns {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr int64_t ApplicationId = 0x4F524C4E;  // "ORLN"
constexpr int64_t SchemaVersion = 1;
constexpr int BusyTimeoutMs = 10000;
constexpr const char* LonMarkObjectsSlot = "LonMarkObjects";

constexpr const char* Schema = R"(
CREATE TABLE revision(number INTEGER NOT NULL);
INSERT INTO revision VALUES(0);
CREATE TABLE shapes(id INTEGER PRIMARY KEY, declaration TEXT NOT NULL UNIQUE);
CREATE TABLE objects(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER REFERENCES objects(id) ON DELETE CASCADE,
  slot TEXT NOT NULL,
  kind TEXT NOT NULL,
  name TEXT NOT NULL,
  fields TEXT NOT NULL,
  shape INTEGER REFERENCES shapes(id),
  interface_revision INTEGER,
  revision INTEGER NOT NULL);
CREATE UNIQUE INDEX objects_by_place ON objects(parent, slot, name);
CREATE INDEX objects_by_revision ON objects(revision);
CREATE TABLE point_values(
  owner INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,
  point TEXT NOT NULL,
  bytes BLOB NOT NULL,
  revision INTEGER NOT NULL,
  PRIMARY KEY(owner, point)) WITHOUT ROWID;
CREATE INDEX point_values_by_revision ON point_values(revision);
)";

Stored& AsStored(const Node& node) {
  auto* stored = dynamic_cast<const Stored*>(&node);
  if (!stored) throw std::logic_error(node.TypeName() + " has no row of its own");
  return const_cast<Stored&>(*stored);
}

std::shared_ptr<Node> Shared(const Node& node) {
  return std::const_pointer_cast<Node>(std::static_pointer_cast<const Node>(node.shared_from_this()));
}

std::string Describe(const std::string& kind, const std::string& name) { return kind + " \"" + name + "\""; }

// What makes the file unfit to be opened as a database, judged by its first bytes; empty when
// nothing does.
std::string ProblemWithContent(const fs::path& file) {
  std::error_code error;
  if (!fs::exists(file, error)) return "is missing";
  if (fs::is_directory(file, error)) return "is a folder";
  std::ifstream in(file, std::ios::binary);
  if (!in) return "cannot be read";
  char header[16] = {};
  in.read(header, sizeof header);
  const auto count = static_cast<size_t>(in.gcount());
  if (count == 0) return "is empty";
  if (count == sizeof header && std::memcmp(header, "SQLite format 3", sizeof header) == 0) return "";
  size_t first = 0;
  while (first < count && std::isspace(static_cast<unsigned char>(header[first]))) ++first;
  if (first < count && header[first] == '{') {
    return "holds JSON, the form in which an earlier version of this program kept its databases; this version does "
           "not read it";
  }
  return "is not a database";
}

int64_t PragmaNumber(sql::Connection& connection, const std::string& pragma) {
  auto query = connection.Prepared("PRAGMA " + pragma);
  return query->Step() ? query->Int(0) : 0;
}

}  // namespace

void RaiseMisplaced(const Node& item, const std::string& collection) {
  throw DamagedData("a " + item.TypeName() + " among the " + collection);
}

std::string EarlierVersionMessage(const fs::path& file) {
  return file.string() + " holds the Object Server's store as an earlier version of this program kept it (JSON files), "
         "which this version does not read: remove the folder " + file.parent_path().string() +
         " and lay the machine again";
}

// A read transaction around several reads, so that they see one state of the file; inside a
// write transaction the reads see that one.
class DatabaseFile::Snapshot {
 public:
  explicit Snapshot(DatabaseFile& db) : db_(db), own_(db.levels_.empty() && !db.reading_) {
    if (!own_) return;
    db_.connection_->Execute("BEGIN");
    db_.reading_ = true;
  }
  ~Snapshot() {
    if (!own_) return;
    db_.reading_ = false;
    try {
      db_.connection_->Execute("COMMIT");
    } catch (const sql::Failure&) {
      // a read leaves nothing to keep
    }
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;

 private:
  DatabaseFile& db_;
  bool own_;
};

// --- opening and making files ----------------------------------------------------------------

DatabaseFile::DatabaseFile(fs::path file, std::string rootKind, Access access)
    : file_(std::move(file)), rootKind_(std::move(rootKind)) {
  if (auto problem = ProblemWithContent(file_); !problem.empty()) RaiseDamaged(problem);
  Guarded([&] {
    const auto mode = access == Access::ReadOnly ? sql::OpenMode::ReadOnly : sql::OpenMode::Existing;
    connection_ = std::make_unique<sql::Connection>(file_, mode);
    connection_->SetBusyTimeout(BusyTimeoutMs);
    Configure();
    Snapshot snapshot(*this);
    ReadRootRow();
  });
}

DatabaseFile::~DatabaseFile() = default;

void DatabaseFile::Configure() {
  if (PragmaNumber(*connection_, "application_id") != ApplicationId) throw DamagedData("is a database of another program");
  const int64_t version = PragmaNumber(*connection_, "user_version");
  if (version > SchemaVersion) throw DamagedData("was written by a newer version of this program");
  if (version < SchemaVersion) throw DamagedData("has no schema version this program knows");
  connection_->Execute("PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL; PRAGMA journal_mode=WAL");
}

void DatabaseFile::ReadRootRow() {
  auto query = connection_->Prepared("SELECT id, kind, name FROM objects WHERE parent IS NULL");
  if (!query->Step()) throw DamagedData("has no root row");
  rootRow_ = query->Int(0);
  const std::string kind = query->Text(1);
  rootName_ = query->Text(2);
  if (kind != rootKind_) throw DamagedData("holds a " + kind + ", not a " + rootKind_);
  if (query->Step()) throw DamagedData("has two root rows");
}

void DatabaseFile::Create(const fs::path& file, const std::string& rootKind, const std::string& rootName,
                          const std::vector<TopRow>& rows) {
  try {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    sql::Connection connection(file, sql::OpenMode::Create);
    connection.SetBusyTimeout(BusyTimeoutMs);
    connection.Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; BEGIN IMMEDIATE");
    if (PragmaNumber(connection, "schema_version") == 0 && PragmaNumber(connection, "application_id") == 0) {
      connection.Execute(Schema);
      connection.Execute("PRAGMA application_id=" + std::to_string(ApplicationId) +
                         "; PRAGMA user_version=" + std::to_string(SchemaVersion));
      auto insert = connection.Prepared(
          "INSERT INTO objects(parent, slot, kind, name, fields, revision) VALUES(?, ?, ?, ?, ?, 0)");
      insert->BindNull(1).Bind(2, "").Bind(3, rootKind).Bind(4, rootName).Bind(5, "{}").Run();
      const int64_t root = connection.LastInsertedRow();
      for (const auto& row : rows) {
        insert->Reset();
        insert->Bind(1, root).Bind(2, row.slot).Bind(3, row.kind).Bind(4, row.name).Bind(5, row.fields).Run();
      }
    }
    connection.Execute("COMMIT");
  } catch (const sql::Failure& failure) {
    rt::Raise(rt::err::PathFileAccessError, ErrorSource,
              rt::ErrorText(rt::err::PathFileAccessError) + ": " + file.string() + " (" + failure.what() + ")");
  }
}

void DatabaseFile::LoadRoot() {
  Guarded([&] {
    Snapshot snapshot(*this);
    revision_ = StoredRevision();
    dataVersion_ = DataVersion();
    ReconcileSlots(rootRow_, RootSlots());
  });
}

// --- errors ------------------------------------------------------------------------------------

LinkedDatabase::LinkedDatabase(const fs::path& file)
    : rt::Error(err::DatabaseDamaged, ErrorSource,
                ErrorDescription(err::DatabaseDamaged) + ": " + file.string() + " (is a symbolic link)") {}

void DatabaseFile::RaiseDamaged(const std::string& why) const { Fail(err::DatabaseDamaged, file_.string() + " (" + why + ")"); }

void DatabaseFile::RaiseFailure(const sql::Failure& failure) const {
  if (failure.ThroughLink()) throw LinkedDatabase(file_);
  switch (failure.Code()) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_ERROR:
    case SQLITE_MISMATCH:
      RaiseDamaged(failure.what());
    case SQLITE_CONSTRAINT:
      // Another process added an object of that name, or removed the one that would hold it.
      if (std::string_view(failure.what()).find("FOREIGN KEY") != std::string_view::npos) Fail(err::ObjectNotFound, failure.what());
      Fail(err::NameExists, failure.what());
    default:
      rt::Raise(rt::err::PathFileAccessError, ErrorSource,
                rt::ErrorText(rt::err::PathFileAccessError) + ": " + file_.string() + " (" + failure.what() + ")");
  }
}

void DatabaseFile::RaiseIfDamage(const std::exception& e) const {
  if (dynamic_cast<const DamagedData*>(&e) || dynamic_cast<const json::exception*>(&e)) RaiseDamaged(e.what());
}

// --- taking in other processes' changes -----------------------------------------------------------

int64_t DatabaseFile::DataVersion() { return PragmaNumber(*connection_, "data_version"); }

int64_t DatabaseFile::StoredRevision() {
  auto query = connection_->Prepared("SELECT number FROM revision");
  if (!query->Step()) throw DamagedData("has no revision");
  return query->Int(0);
}

void DatabaseFile::Refresh() {
  // Nothing was committed to the file while its index header stands as it was at the last look;
  // the data version is a read transaction of its own, with its locks, and most calls need none.
  const auto header = connection_->ReadWalIndexHeader();
  if (header && header == seenIndexHeader_) return;
  Guarded([&] {
    const int64_t version = DataVersion();
    if (version == dataVersion_) return;
    Snapshot snapshot(*this);
    TakeChanges();
    dataVersion_ = version;
  });
  seenIndexHeader_ = header;
}

void DatabaseFile::TakeChanges() {
  const int64_t revision = StoredRevision();
  if (revision == revision_) return;
  TakeObjectChanges(revision_);
  TakeValueChanges(revision_);
  revision_ = revision;
}

void DatabaseFile::TakeObjectChanges(int64_t since) {
  struct Changed {
    int64_t id;
    std::string fields;
    int64_t interfaceRevision;
  };
  std::vector<Changed> changed;
  {
    auto query = connection_->Prepared("SELECT id, fields, interface_revision FROM objects WHERE revision > ?");
    query->Bind(1, since);
    while (query->Step()) changed.push_back({query->Int(0), query->Text(1), query->Int(2)});
  }
  for (const auto& row : changed) {
    if (row.id == rootRow_) {
      ReconcileSlots(rootRow_, RootSlots());
      continue;
    }
    auto node = Loaded(row.id);
    if (!node) continue;
    Stored& stored = AsStored(*node);
    stored.TakeFields(json::parse(row.fields));
    if (stored.LoadedInterface() && interfaceRevisions_[row.id] != row.interfaceRevision) stored.ForgetInterface();
    ReconcileSlots(row.id, stored.Slots());
  }
}

void DatabaseFile::TakeValueChanges(int64_t since) {
  auto query = connection_->Prepared("SELECT owner, point, bytes FROM point_values WHERE revision > ?");
  query->Bind(1, since);
  while (query->Step()) {
    auto owner = Loaded(query->Int(0));
    auto face = owner ? AsStored(*owner).LoadedInterface() : nullptr;
    auto point = face ? face->PointByKey(query->Text(1)) : nullptr;
    if (point) point->TakeBytes(query->Blob(2));
  }
}

std::vector<DatabaseFile::ObjectRow> DatabaseFile::Children(int64_t parent, const std::string& slot) {
  std::vector<ObjectRow> rows;
  auto query = connection_->Prepared("SELECT id, kind, name, fields FROM objects WHERE parent = ? AND slot = ? ORDER BY id");
  query->Bind(1, parent).Bind(2, slot);
  while (query->Step()) rows.push_back({query->Int(0), query->Text(1), query->Text(2), query->Text(3)});
  return rows;
}

// Brings each collection to the items its rows hold now, keeping the objects already read.
void DatabaseFile::ReconcileSlots(int64_t parent, const std::vector<Slot>& slots) {
  for (const auto& slot : slots) {
    const auto current = slot.items();
    std::unordered_map<int64_t, std::shared_ptr<Node>> known;
    for (const auto& item : current) known[AsStored(*item).Row()] = item;
    std::vector<std::shared_ptr<Node>> items;
    for (const auto& row : Children(parent, slot.name)) {
      auto found = known.find(row.id);
      items.push_back(found != known.end() ? found->second : MakeTree(row));
    }
    if (items != current) slot.take(items);
  }
}

std::shared_ptr<Node> DatabaseFile::MakeTree(const ObjectRow& row) {
  try {
    auto factory = Kinds().find(row.kind);
    if (factory == Kinds().end()) throw DamagedData("unknown kind");
    auto node = factory->second(weak_from_this(), json::parse(row.fields));
    AsStored(*node).SetRow(row.id);
    Register(row.id, node);
    ReconcileSlots(row.id, AsStored(*node).Slots());
    return node;
  } catch (const sql::Failure&) {
    throw;
  } catch (const std::exception& e) {
    throw DamagedData(Describe(row.kind, row.name) + ": " + e.what());
  }
}

std::shared_ptr<Node> DatabaseFile::Loaded(int64_t row) const {
  auto found = loaded_.find(row);
  return found != loaded_.end() ? found->second.lock() : nullptr;
}

void DatabaseFile::Register(int64_t row, const std::shared_ptr<Node>& node) { loaded_[row] = node; }

// --- transactions ------------------------------------------------------------------------------

void DatabaseFile::Begin() {
  Guarded([&] {
    if (!levels_.empty()) {
      connection_->Execute("SAVEPOINT change");
      levels_.emplace_back();
      return;
    }
    connection_->Execute("BEGIN IMMEDIATE");
    levels_.emplace_back();
    try {
      const int64_t version = DataVersion();
      TakeChanges();
      dataVersion_ = version;
    } catch (...) {
      Rollback();
      throw;
    }
  });
}

void DatabaseFile::Commit() {
  Guarded([&] {
    if (levels_.size() > 1) {
      connection_->Execute("RELEASE change");
      auto undo = std::move(levels_.back());
      levels_.pop_back();
      for (auto& step : undo) levels_.back().push_back(std::move(step));
      return;
    }
    connection_->Execute("COMMIT");
    levels_.clear();
    if (writeRevision_) revision_ = writeRevision_;
    writeRevision_ = 0;
  });
}

void DatabaseFile::Rollback() noexcept {
  if (levels_.empty()) return;
  auto undo = std::move(levels_.back());
  levels_.pop_back();
  try {
    connection_->Execute(levels_.empty() ? "ROLLBACK" : "ROLLBACK TO change; RELEASE change");
  } catch (const sql::Failure&) {
    // SQLite has rolled the transaction back itself
  }
  if (levels_.empty()) writeRevision_ = 0;
  for (auto step = undo.rbegin(); step != undo.rend(); ++step) (*step)();
}

void DatabaseFile::OnRollback(std::function<void()> undo) { levels_.back().push_back(std::move(undo)); }

int64_t DatabaseFile::WriteRevision() {
  if (writeRevision_) return writeRevision_;
  // No RETURNING: its temporary table costs more than the second statement.
  connection_->Prepared("UPDATE revision SET number = number + 1")->Run();
  writeRevision_ = StoredRevision();
  return writeRevision_;
}

// --- writing -----------------------------------------------------------------------------------

void DatabaseFile::WriteFields(const Node& node) {
  Guarded([&] {
    if (const auto* point = dynamic_cast<const ValuePoint*>(&node)) {
      auto face = point->Ancestor<Interface>();
      auto owner = face ? face->ParentNode() : nullptr;
      if (!owner) throw std::logic_error(point->Name() + " belongs to no device or template");
      auto query = connection_->Prepared("UPDATE point_values SET bytes = ?, revision = ? WHERE owner = ? AND point = ?");
      query->Bind(1, point->DeviceBytes()).Bind(2, WriteRevision()).Bind(3, AsStored(*owner).Row()).Bind(4, point->StoredKey());
      query->Run();
    } else {
      const Stored& stored = AsStored(node);
      const json fields = stored.Fields();
      auto query = connection_->Prepared("UPDATE objects SET name = ?, fields = ?, revision = ? WHERE id = ?");
      query->Bind(1, fields.at("name").get<std::string>()).Bind(2, fields.dump()).Bind(3, WriteRevision()).Bind(4, stored.Row());
      query->Run();
    }
    if (connection_->ChangedRows() == 0) Fail(err::ObjectNotFound, node.Path() + " is no longer in " + file_.string());
  });
}

void DatabaseFile::WriteAdded(const Node& collection, const Node& item) {
  Guarded([&] {
    const int64_t parent = OwnerRow(collection);
    InsertTree(parent, collection.Segment(), item);
    Touch(parent);
  });
}

void DatabaseFile::WriteRemoved(const Node& item) {
  Guarded([&] {
    const int64_t row = AsStored(item).Row();
    int64_t parent = 0;
    {
      auto query = connection_->Prepared("SELECT parent FROM objects WHERE id = ?");
      query->Bind(1, row);
      if (!query->Step()) return;  // another process removed it already
      parent = query->Int(0);
    }
    connection_->Prepared("DELETE FROM objects WHERE id = ?")->Bind(1, row).Run();
    Touch(parent);
  });
}

void DatabaseFile::WriteInterface(const Node& owner) {
  Guarded([&] {
    const Stored& stored = AsStored(owner);
    const int64_t row = stored.Row();
    auto face = stored.LoadedInterface();
    const json fields = stored.Fields();
    {
      auto query = connection_->Prepared(
          "UPDATE objects SET fields = ?, shape = ?, interface_revision = ?, revision = ? WHERE id = ?");
      query->Bind(1, fields.dump()).Bind(2, ShapeId(face->Declaration())).Bind(3, WriteRevision());
      query->Bind(4, WriteRevision()).Bind(5, row).Run();
    }
    if (connection_->ChangedRows() == 0) Fail(err::ObjectNotFound, owner.Path() + " is no longer in " + file_.string());
    connection_->Prepared("DELETE FROM objects WHERE parent = ? AND slot = '" + std::string(LonMarkObjectsSlot) + "'")
        ->Bind(1, row)
        .Run();
    connection_->Prepared("DELETE FROM point_values WHERE owner = ?")->Bind(1, row).Run();
    InsertInterfaceRows(row, *face);
    const int64_t previous = interfaceRevisions_[row];
    interfaceRevisions_[row] = WriteRevision();
    OnRollback([this, row, previous] { interfaceRevisions_[row] = previous; });
  });
}

// The row of the object that holds `collection`: the nearest one above it in this database, or
// the root.
int64_t DatabaseFile::OwnerRow(const Node& collection) const {
  for (auto node = collection.ParentNode(); node; node = node->ParentNode()) {
    if (node->DatabaseRef().lock().get() != static_cast<const Database*>(this)) break;
    const auto* stored = dynamic_cast<const Stored*>(node.get());
    if (stored && stored->Row()) return stored->Row();
  }
  return rootRow_;
}

void DatabaseFile::Touch(int64_t row) {
  connection_->Prepared("UPDATE objects SET revision = ? WHERE id = ?")->Bind(1, WriteRevision()).Bind(2, row).Run();
}

void DatabaseFile::InsertTree(int64_t parent, const std::string& slot, const Node& node) {
  Stored& stored = AsStored(node);
  const json fields = stored.Fields();
  auto face = stored.LoadedInterface();
  {
    auto query = connection_->Prepared(
        "INSERT INTO objects(parent, slot, kind, name, fields, shape, interface_revision, revision) "
        "VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    query->Bind(1, parent).Bind(2, slot).Bind(3, node.TypeName()).Bind(4, fields.at("name").get<std::string>());
    query->Bind(5, fields.dump()).Bind(8, WriteRevision());
    if (face) query->Bind(6, ShapeId(face->Declaration())).Bind(7, WriteRevision());
    query->Run();
  }
  const int64_t row = connection_->LastInsertedRow();
  stored.SetRow(row);
  auto shared = Shared(node);
  Register(row, shared);
  OnRollback([this, row, shared] {
    loaded_.erase(row);
    AsStored(*shared).SetRow(0);
  });
  for (const auto& childSlot : stored.Slots()) {
    for (const auto& child : childSlot.items()) InsertTree(row, childSlot.name, *child);
  }
  if (!face) return;
  InsertInterfaceRows(row, *face);
  interfaceRevisions_[row] = WriteRevision();
}

void DatabaseFile::InsertInterfaceRows(int64_t owner, const Interface& face) {
  for (const auto& object : face.Objects().Items()) InsertTree(owner, LonMarkObjectsSlot, *object);
  auto query = connection_->Prepared("INSERT INTO point_values(owner, point, bytes, revision) VALUES(?, ?, ?, ?)");
  for (const auto& point : face.AllPoints()) {
    query->Bind(1, owner).Bind(2, point->StoredKey()).Bind(3, point->DeviceBytes()).Bind(4, WriteRevision()).Run();
    query->Reset();
  }
}

int64_t DatabaseFile::ShapeId(const InterfaceDecl& decl) {
  const std::string text = ShapeText(decl);
  if (auto known = shapeIds_.find(text); known != shapeIds_.end()) return known->second;
  int64_t id = 0;
  {
    auto query = connection_->Prepared("SELECT id FROM shapes WHERE declaration = ?");
    query->Bind(1, text);
    if (query->Step()) id = query->Int(0);
  }
  if (!id) {
    connection_->Prepared("INSERT INTO shapes(declaration) VALUES(?)")->Bind(1, text).Run();
    id = connection_->LastInsertedRow();
    OnRollback([this, text] { shapeIds_.erase(text); });
  }
  shapeIds_[text] = id;
  return id;
}

// --- reading interfaces ------------------------------------------------------------------------

const InterfaceDecl& DatabaseFile::ShapeOf(int64_t id) {
  if (auto known = shapes_.find(id); known != shapes_.end()) return known->second;
  auto query = connection_->Prepared("SELECT declaration FROM shapes WHERE id = ?");
  query->Bind(1, id);
  if (!query->Step()) throw DamagedData("no interface shape " + std::to_string(id));
  return shapes_[id] = ShapeDecl(query->Text(0));
}

std::map<std::string, Bytes> DatabaseFile::ValuesOf(int64_t owner) {
  std::map<std::string, Bytes> values;
  auto query = connection_->Prepared("SELECT point, bytes FROM point_values WHERE owner = ?");
  query->Bind(1, owner);
  while (query->Step()) values[query->Text(0)] = query->Blob(1);
  return values;
}

std::shared_ptr<Interface> DatabaseFile::ReadInterface(const Node& owner) {
  return Guarded([&] {
    Snapshot snapshot(*this);
    const int64_t row = AsStored(owner).Row();
    int64_t shape = 0;
    int64_t interfaceRevision = 0;
    {
      auto query = connection_->Prepared("SELECT shape, interface_revision FROM objects WHERE id = ?");
      query->Bind(1, row);
      if (!query->Step()) Fail(err::ObjectNotFound, owner.Path() + " is no longer in " + file_.string());
      shape = query->Int(0);
      interfaceRevision = query->Int(1);
    }
    const std::string what = owner.Path() + ": ";
    try {
      InterfaceDecl decl = ShapeOf(shape);
      auto values = ValuesOf(row);
      VisitPoints(decl, [&](const std::string& key, PointDecl& point) {
        auto value = values.find(key);
        if (value == values.end()) throw DamagedData("no value for " + key);
        point.bytes = value->second;
      });
      ValidateInterface(decl);
      auto face = Interface::Create(decl, Shared(owner));
      TakeStoredObjects(*face, row);
      interfaceRevisions_[row] = interfaceRevision;
      return face;
    } catch (const sql::Failure&) {
      throw;
    } catch (const rt::Error& e) {
      throw DamagedData(what + e.Description());
    } catch (const std::exception& e) {
      throw DamagedData(what + e.what());
    }
  });
}

// The LonMark objects' rows: their fields and component applications.
void DatabaseFile::TakeStoredObjects(const Interface& face, int64_t owner) {
  std::map<std::string, ObjectRow> rows;
  for (auto& row : Children(owner, LonMarkObjectsSlot)) rows[row.name] = std::move(row);
  for (const auto& object : face.Objects().Items()) {
    auto row = rows.find(object->Name());
    if (row == rows.end()) throw DamagedData("no row for the LonMark object " + object->Name());
    object->SetRow(row->second.id);
    object->TakeFields(json::parse(row->second.fields));
    Register(row->second.id, object);
    ReconcileSlots(row->second.id, object->Slots());
  }
}

}  // namespace lns
