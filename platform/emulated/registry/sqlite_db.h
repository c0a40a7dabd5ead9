// A thin RAII layer over one SQLite connection: statements, transactions, errors.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/types.h"

namespace vandrel::platform::emulated {

// An SQLite call that failed; code() is the SQLite result code.
class SqliteError : public std::runtime_error {
 public:
  SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// The Windows error code that stands for an SQLite failure (disk full, busy, damaged ...).
long windowsErrorFor(int sqliteCode);

class Statement;

class SqliteDb {
 public:
  // Opens (creating when missing) the database file; read-only where the host does not let
  // it be written (store_opening.h). Throws SqliteError.
  explicit SqliteDb(const std::filesystem::path& file);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  sqlite3* handle() const { return db_; }
  // Opened read-only: the machine cannot be written here, and every write fails.
  bool readOnly() const { return readOnly_; }
  // Runs one or more statements that return no rows of interest. Throws SqliteError.
  void exec(const std::string& sql);
  // Runs one statement that returns no rows of interest as a kept statement (see prepared()).
  // Throws SqliteError.
  void run(const std::string& sql);
  std::int64_t lastInsertId() const;
  int changes() const;
  [[noreturn]] void fail(int code, std::string_view what) const;
  // A statement prepared on first use and kept for the life of the connection (preparing
  // costs more than running most of ours); handed out reset, without bindings. Throws
  // SqliteError.
  Statement& prepared(const std::string& sql);
  // Resets every kept statement, so that none half-read keeps a transaction open.
  void resetPrepared();
  // Whether a transaction is open on the connection.
  bool inTransaction() const;

 private:
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
  std::unordered_map<std::string, std::unique_ptr<Statement>> prepared_;
  std::vector<Statement*> handedOut_;  // kept statements handed out since the last reset
};

// One prepared statement; bind parameters from 1, read columns from 0.
class Statement {
 public:
  Statement(SqliteDb& db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, const std::string& text);
  Statement& bind(int index, const Bytes& blob);
  // Advances to the next row: true when there is one, false when done. Throws SqliteError.
  bool step();
  std::int64_t integer(int column) const;
  std::string text(int column) const;
  Bytes blob(int column) const;
  // Ready to run again from the start, with no bindings.
  void reset();

 private:
  friend class SqliteDb;
  SqliteDb& db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool handedOut_ = false;  // listed among the statements to reset
};

// A transaction that rolls back unless commit() is called. Writers begin IMMEDIATE so that
// two processes never both hold a read lock and then wait on each other to write. Inside a
// transaction already open (a batch of calls) it is a savepoint: its changes are undone alone.
class Transaction {
 public:
  enum class Kind { Read, Write };
  Transaction(SqliteDb& db, Kind kind);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  SqliteDb& db_;
  bool nested_ = false;
  bool open_ = true;
};

}  // namespace vandrel::platform::emulated
