#include "lns/store/sqlite.h"

#include <sqlite3.h>

namespace lns::sql {
namespace {

[[noreturn]] void Raise(sqlite3* db, int code) {
  throw Failure(code & 0xFF, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

void Check(sqlite3* db, int code) {
  if (code != SQLITE_OK) Raise(db, code);
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

Connection::Connection(const std::filesystem::path& file, bool create) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  int code = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK) {
    Failure failure(code & 0xFF, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
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
