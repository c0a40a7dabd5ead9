// The RAII layer over SQLite used by the registry store.
#include "platform/emulated/registry/sqlite_db.h"

#include "platform/emulated/registry/store_opening.h"

namespace vandrel::platform::emulated {

long windowsErrorFor(int sqliteCode) {
  switch (sqliteCode & 0xff) {
    case SQLITE_FULL:
      return error::DiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return error::SharingViolation;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return error::AccessDenied;
    case SQLITE_NOMEM:
      return error::NotEnoughMemory;
    default:
      return error::BadDb;
  }
}

SqliteDb::SqliteDb(const std::filesystem::path& file) {
  // The registry serialises its calls on its own lock, so the connection needs none of
  // SQLite's (taken and released on every call into it).
  const StoreOpening opening = storeOpening(file);
  readOnly_ = opening.readOnly;
  int rc = sqlite3_open_v2(opening.name.c_str(), &db_, opening.flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(rc, message);
  }
  sqlite3_extended_result_codes(db_, 1);
}

SqliteDb::~SqliteDb() {
  prepared_.clear();
  sqlite3_close_v2(db_);
}

void SqliteDb::exec(const std::string& sql) {
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc, sql);
}

std::int64_t SqliteDb::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int SqliteDb::changes() const { return sqlite3_changes(db_); }

void SqliteDb::fail(int code, std::string_view what) const {
  throw SqliteError(code, std::string(sqlite3_errmsg(db_)) + " (" + std::string(what) + ")");
}

Statement& SqliteDb::prepared(const std::string& sql) {
  std::unique_ptr<Statement>& slot = prepared_[sql];
  if (!slot) {
    try {
      slot = std::make_unique<Statement>(*this, sql.c_str());
    } catch (...) {
      prepared_.erase(sql);
      throw;
    }
  } else {
    slot->reset();
  }
  if (!slot->handedOut_) {
    slot->handedOut_ = true;
    handedOut_.push_back(slot.get());
  }
  return *slot;
}

void SqliteDb::resetPrepared() {
  // Only a statement handed out since the last reset can be half-read; the others are
  // already reset, and resetting them all was a good part of every small call's cost.
  for (Statement* statement : handedOut_) {
    statement->reset();
    statement->handedOut_ = false;
  }
  handedOut_.clear();
}

void SqliteDb::run(const std::string& sql) {
  // Kept like any other statement: parsing the few words of BEGIN or RELEASE again at every
  // call cost more than running them.
  Statement& statement = prepared(sql);
  while (statement.step()) {
  }
  statement.reset();
}

bool SqliteDb::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

Statement::Statement(SqliteDb& db, const char* sql) : db_(db) {
  int rc = sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr);
  if (rc != SQLITE_OK) db.fail(rc, sql);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::int64_t value) {
  int rc = sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) db_.fail(rc, "bind");
  return *this;
}

Statement& Statement::bind(int index, const std::string& text) {
  int rc = sqlite3_bind_text(stmt_, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) db_.fail(rc, "bind");
  return *this;
}

Statement& Statement::bind(int index, const Bytes& blob) {
  // A zero-length blob must still be a blob, not NULL: the column is NOT NULL.
  static const std::uint8_t empty = 0;
  const void* data = blob.empty() ? &empty : blob.data();
  int rc = sqlite3_bind_blob(stmt_, index, data, int(blob.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) db_.fail(rc, "bind");
  return *this;
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.fail(rc, sqlite3_sql(stmt_));
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const {
  const unsigned char* data = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string(reinterpret_cast<const char*>(data), std::size_t(size)) : std::string();
}

Bytes Statement::blob(int column) const {
  const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? Bytes(data, data + size) : Bytes();
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

Transaction::Transaction(SqliteDb& db, Kind kind) : db_(db), nested_(db.inTransaction()) {
  db.run(nested_ ? "SAVEPOINT call" : kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction() {
  if (!open_) return;
  db_.resetPrepared();
  // A failure that ended the whole transaction (SQLite rolls back on some errors) leaves no
  // savepoint to return to.
  if (nested_ && !db_.inTransaction()) return;
  // Through kept statements, as the commit: a call that changes nothing (a value looked for
  // and not found) ends here, and parsing the words again each time cost more than the call.
  try {
    if (nested_) {
      db_.run("ROLLBACK TO call");
      db_.run("RELEASE call");
    } else {
      db_.run("ROLLBACK");
    }
  } catch (...) {
    // What could not be done through them (no memory for a statement) is tried once more
    // as text; a transaction SQLite already ended has nothing left to undo.
    if (!db_.inTransaction()) return;
    const char* undo = nested_ ? "ROLLBACK TO call; RELEASE call" : "ROLLBACK";
    sqlite3_exec(db_.handle(), undo, nullptr, nullptr, nullptr);
  }
}

void Transaction::commit() {
  db_.resetPrepared();
  db_.run(nested_ ? "RELEASE call" : "COMMIT");
  open_ = false;
}

}  // namespace vandrel::platform::emulated
