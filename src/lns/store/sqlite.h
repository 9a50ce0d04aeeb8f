#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A thin layer over SQLite: a connection that keeps its statements prepared, and failures as
// exceptions that carry SQLite's result code.
namespace lns::sql {

class Failure : public std::runtime_error {
 public:
  Failure(int code, const std::string& message, bool throughLink = false)
      : std::runtime_error(message), code_(code), throughLink_(throughLink) {}
  // The primary result code (SQLITE_BUSY, SQLITE_CORRUPT, ...).
  int Code() const noexcept { return code_; }
  // An open for writing refused because the file's name is a symbolic link.
  bool ThroughLink() const noexcept { return throughLink_; }

 private:
  int code_;
  bool throughLink_;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view text);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters count from 1.
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, const std::vector<uint8_t>& blob);
  Statement& BindNull(int index);
  // One step: true while it yields a row.
  bool Step();
  // Steps to the end.
  void Run();
  void Reset() noexcept;

  int64_t Int(int column) const;
  std::string Text(int column) const;
  std::vector<uint8_t> Blob(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

// A prepared statement in use; reset for its next use when this ends.
class Query {
 public:
  explicit Query(Statement& statement) : statement_(&statement) {}
  ~Query() { statement_->Reset(); }
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;
  Statement* operator->() const noexcept { return statement_; }

 private:
  Statement* statement_;
};

// The first copy of a WAL-mode file's index header (the start of its "-shm" file): each
// transaction that any connection commits to the file rewrites it.
using WalIndexHeader = std::array<unsigned char, 48>;

// An open for writing follows no symbolic link at the file's name, nor at its WAL's or index's,
// however late the link was laid: a change never lands beside or outside the folder the caller
// looked into. The folders above the file are resolved first.
enum class OpenMode {
  Existing,  // an existing file, for reading and writing
  Create,    // the same, made when it does not exist
  ReadOnly,  // an existing file, read without writing anything: not the file, its WAL or its index
};

class Connection {
 public:
  Connection(const std::filesystem::path& file, OpenMode mode);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs statements that yield nothing.
  void Execute(std::string_view text);
  // The statement, prepared at its first use and kept.
  Query Prepared(std::string_view text);
  int64_t LastInsertedRow() const;
  int64_t ChangedRows() const;
  void SetBusyTimeout(int milliseconds);
  // Read from the shared memory that SQLite maps, without a lock or a system call; nothing when
  // the file has no index there (not in WAL mode, or before its first transaction) and for a
  // read-only connection, whose mapping could make the index file.
  std::optional<WalIndexHeader> ReadWalIndexHeader() const;

 private:
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
  std::map<std::string, std::unique_ptr<Statement>, std::less<>> statements_;
};

}  // namespace lns::sql
