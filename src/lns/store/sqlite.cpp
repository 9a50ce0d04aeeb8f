#include "lns/store/sqlite.h"

#include <sqlite3.h>

#include <cerrno>

namespace lns::sql {
namespace {

[[noreturn]] void Raise(sqlite3* db, int code) {
  throw Failure(code & 0xFF, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

void Check(sqlite3* db, int code) {
  if (code != SQLITE_OK) Raise(db, code);
}

// A reader with the index file open for writing would mark its reads there, and one on a file
// without a WAL would make the WAL and the index. Without a WAL, or with an empty one, the file
// alone holds every commit and is read as it lies; with one, through its index mapped read-only.
std::string ReadOnlyUri(const std::filesystem::path& file) {
  std::string uri = "file:";
  for (char c : file.string()) {
    if (c == '%' || c == '?' || c == '#') {
      constexpr const char* Digits = "0123456789ABCDEF";
      const auto byte = static_cast<unsigned char>(c);
      uri += {'%', Digits[byte >> 4], Digits[byte & 0xF]};
    } else {
      uri += c;
    }
  }
  std::error_code error;
  const auto walSize = std::filesystem::file_size(std::filesystem::path(file.string() + "-wal"), error);
  return uri + (error || walSize == 0 ? "?immutable=1" : "?mode=ro&readonly_shm=1");
}

// SQLite refuses a name that has a link anywhere in it; the folders above the file may be reached
// through links (a machine folder that is), its name may not.
std::string UnfollowedName(const std::filesystem::path& file) {
  std::error_code error;
  const auto folder = std::filesystem::weakly_canonical(file.parent_path(), error);
  return error ? file.string() : (folder / file.filename()).string();
}

// A name that is a link fails as SQLite looks at it, or, laid after that look, as the open meets it.
Failure OpenFailure(sqlite3* db, int code) {
  if (!db) return Failure(code & 0xFF, sqlite3_errstr(code));
  const bool throughLink = sqlite3_extended_errcode(db) == SQLITE_CANTOPEN_SYMLINK ||
                           ((code & 0xFF) == SQLITE_CANTOPEN && sqlite3_system_errno(db) == ELOOP);
  return Failure(code & 0xFF, sqlite3_errmsg(db), throughLink);
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view text) : db_(db) {
  Check(db_, sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &statement_, nullptr));
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int index, int64_t value) {
  Check(db_, sqlite3_bind_int64(statement_, index, value));
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  Check(db_, sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::Bind(int index, const std::vector<uint8_t>& blob) {
  Check(db_, sqlite3_bind_blob(statement_, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::BindNull(int index) {
  Check(db_, sqlite3_bind_null(statement_, index));
  return *this;
}

bool Statement::Step() {
  int code = sqlite3_step(statement_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  Raise(db_, code);
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() noexcept {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
              : std::string();
}

std::vector<uint8_t> Statement::Blob(int column) const {
  const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, column));
  return bytes ? std::vector<uint8_t>(bytes, bytes + sqlite3_column_bytes(statement_, column)) : std::vector<uint8_t>();
}

Connection::Connection(const std::filesystem::path& file, OpenMode mode) : readOnly_(mode == OpenMode::ReadOnly) {
  int flags = SQLITE_OPEN_NOMUTEX;
  std::string name;
  if (readOnly_) {
    flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    name = ReadOnlyUri(file);
  } else {
    flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | (mode == OpenMode::Create ? SQLITE_OPEN_CREATE : 0);
    name = UnfollowedName(file);
  }
  int code = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK) {
    Failure failure = OpenFailure(db_, code);
    sqlite3_close_v2(db_);
    throw failure;
  }
  sqlite3_extended_result_codes(db_, 0);
}

Connection::~Connection() {
  statements_.clear();
  sqlite3_close_v2(db_);
}

void Connection::Execute(std::string_view text) {
  std::string statements(text);
  Check(db_, sqlite3_exec(db_, statements.c_str(), nullptr, nullptr, nullptr));
}

Query Connection::Prepared(std::string_view text) {
  auto found = statements_.find(text);
  if (found == statements_.end()) found = statements_.emplace(std::string(text), std::make_unique<Statement>(db_, text)).first;
  return Query(*found->second);
}

int64_t Connection::LastInsertedRow() const { return sqlite3_last_insert_rowid(db_); }
int64_t Connection::ChangedRows() const { return sqlite3_changes64(db_); }
void Connection::SetBusyTimeout(int milliseconds) { Check(db_, sqlite3_busy_timeout(db_, milliseconds)); }

std::optional<WalIndexHeader> Connection::ReadWalIndexHeader() const {
  constexpr int IndexPageSize = 32768;  // the WAL index's fixed page size
  if (readOnly_) return std::nullopt;
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods ||
      file->pMethods->iVersion < 2 || !file->pMethods->xShmMap) {
    return std::nullopt;
  }
  volatile void* region = nullptr;
  if (file->pMethods->xShmMap(file, 0, IndexPageSize, 0, &region) != SQLITE_OK || !region) return std::nullopt;
  // Byte by byte from volatile memory: another process may be rewriting it; a torn copy only
  // differs from the last one seen, and costs one look too many.
  const auto* shared = static_cast<volatile const unsigned char*>(region);
  WalIndexHeader header{};
  for (size_t i = 0; i < header.size(); ++i) header[i] = shared[i];
  return header;
}

}  // namespace lns::sql
