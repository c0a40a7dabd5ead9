// The side store of creation times and attributes.
//
// Two programs may use one machine at once (the starter and the setup engine, the uninstaller
// started by vandrel-machine), so the store runs in WAL mode with a busy timeout. Every change
// is its own small transaction without a flush to disk (synchronous=NORMAL), or one of a
// batch's: a crash may lose the last changes but always leaves a consistent store. A change
// that changes nothing writes nothing, so that copying a file costs no more than the records
// it really needs.
#include "platform/emulated/file_meta_store.h"

#include "platform/emulated/registry/store_opening.h"

#include <sqlite3.h>

#include <system_error>
#include <vector>

namespace vandrel::platform::emulated {

namespace {

namespace fs = std::filesystem;

// The most changes, and the longest time, one transaction of a batch holds.
constexpr int kBatchChanges = 1000;
constexpr std::chrono::milliseconds kBatchTime{100};

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS files ("
    " path TEXT PRIMARY KEY, creation INTEGER, attributes INTEGER) WITHOUT ROWID";

const char* const kQueries[] = {
    "SELECT creation, attributes FROM files WHERE path = ?1",
    "INSERT INTO files (path, creation) VALUES (?1, ?2) "
    "ON CONFLICT(path) DO UPDATE SET creation = excluded.creation",
    "INSERT INTO files (path, attributes) VALUES (?1, ?2) "
    "ON CONFLICT(path) DO UPDATE SET attributes = excluded.attributes",
    "INSERT INTO files (path, creation, attributes) VALUES (?1, ?2, ?3) "
    "ON CONFLICT(path) DO UPDATE SET creation = excluded.creation, attributes = excluded.attributes",
    "DELETE FROM files WHERE path = ?1",
    // Byte order puts everything below "a/" between "a/" and "a0" ('0' follows '/').
    "SELECT 1 FROM files WHERE path = ?1 OR (path > ?2 AND path < ?3) LIMIT 1",
    // The whole record at once, written only where it differs.
    "INSERT INTO files (path, creation, attributes) VALUES (?1, ?2, ?3) "
    "ON CONFLICT(path) DO UPDATE SET creation = excluded.creation, "
    "attributes = excluded.attributes "
    "WHERE files.creation IS NOT excluded.creation OR files.attributes IS NOT excluded.attributes",
};

// Paths are kept as bytes: host names need not be valid UTF-8.
void bindPath(sqlite3_stmt* st, int index, const std::string& bytes) {
  sqlite3_bind_blob(st, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

void bindOptional(sqlite3_stmt* st, int index, std::optional<std::int64_t> value) {
  if (value) sqlite3_bind_int64(st, index, *value);
  else sqlite3_bind_null(st, index);
}

// Runs a statement to its end and makes it ready for the next use (a statement left
// half-read would hold a read transaction open).
bool runToEnd(sqlite3_stmt* st) {
  int rc = sqlite3_step(st);
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  return rc == SQLITE_DONE;
}

bool isDamage(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

// Moves a damaged store and its journals out of the way: a journal left beside a fresh store
// would be played into it.
void setAside(const fs::path& dbFile) {
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-journal"}) {
    fs::path from = dbFile, to = dbFile;
    from += suffix;
    to += std::string(".damaged") + suffix;
    if (!fs::exists(from, ec)) continue;
    fs::rename(from, to, ec);
    if (ec) fs::remove(from, ec);
  }
  fs::path shm = dbFile;
  shm += "-shm";
  fs::remove(shm, ec);
}

}  // namespace

FileMetaStore::FileMetaStore(const fs::path& dbFile) {
  Opened opened = openDb(dbFile);
  if (opened == Opened::Ok) return;
  // Unreadable: keep the damaged file for inspection and start again. It is moved while still
  // open, before closing could tidy its journal away. A store that is merely locked or cannot
  // be made is left alone: good records are never thrown away.
  if (opened == Opened::Damaged) setAside(dbFile);
  close();
  if (opened == Opened::Damaged && openDb(dbFile) != Opened::Ok) close();
}

FileMetaStore::~FileMetaStore() { close(); }

void FileMetaStore::close() {
  // A batch still open keeps its changes.
  settleForget();
  if (batchOpen_ && inTransaction()) exec("COMMIT");
  batchOpen_ = false;
  for (sqlite3_stmt*& st : statements_) {
    sqlite3_finalize(st);
    st = nullptr;
  }
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

FileMetaStore::Opened FileMetaStore::openDb(const fs::path& dbFile) {
  // One program's file system uses its store from one thread: the connection needs none of
  // SQLite's locks (taken and released on every call into it).
  // Read-only where the machine cannot be written: its records are still read.
  const StoreOpening opening = storeOpening(dbFile);
  if (sqlite3_open_v2(opening.name.c_str(), &db_, opening.flags, nullptr) != SQLITE_OK) return Opened::Failed;
  sqlite3_busy_timeout(db_, 5000);
  if (opening.readOnly) return exec("SELECT count(*) FROM files") ? Opened::Ok : Opened::Failed;
  // Small pages for a new store: every change writes a whole page to the journal, and a
  // record is a path and two numbers.
  exec("PRAGMA page_size=1024");
  // WAL is kept in the file; where the host cannot share memory between processes the store
  // stays in its rollback journal, slower but just as safe.
  if (!exec("PRAGMA journal_mode=WAL") && isDamage(sqlite3_errcode(db_))) return Opened::Damaged;
  exec("PRAGMA synchronous=NORMAL");
  // The journal is copied back (with a flush to disk) every 10,000 changes rather than every
  // 1,000: a flush per few hundred files installed was a good part of their cost. The file
  // is cut back after each copy.
  exec("PRAGMA wal_autocheckpoint=10000");
  exec("PRAGMA journal_size_limit=4194304");
  if (exec(kSchema) && exec("SELECT count(*) FROM files")) return Opened::Ok;
  return isDamage(sqlite3_errcode(db_)) ? Opened::Damaged : Opened::Failed;
}

bool FileMetaStore::exec(const char* sql) {
  return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* FileMetaStore::statement(Query query) {
  if (!db_) return nullptr;
  sqlite3_stmt*& st = statements_[query];
  if (!st && sqlite3_prepare_v3(db_, kQueries[query], -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    st = nullptr;
  }
  return st;
}

bool FileMetaStore::inTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

void FileMetaStore::beginBatch() {
  if (batchDepth_++ == 0) {
    batchLost_ = false;
    openBatch();
  }
}

bool FileMetaStore::endBatch() {
  settleForget();
  if (batchDepth_ == 0 || --batchDepth_ > 0) return true;
  if (batchOpen_ && (!inTransaction() || !commitBatch())) batchLost_ = true;
  batchOpen_ = false;
  return !batchLost_;
}

void FileMetaStore::settleBatch() {
  settleForget();
  if (batchDepth_ == 0 || !batchOpen_) return;
  if (!inTransaction() || !commitBatch()) batchLost_ = true;
  batchOpen_ = false;
  batchStarted_ = {};  // due: the next call begins a transaction again
}

void FileMetaStore::openBatch() {
  // IMMEDIATE, so that a write inside never has to wait for a lock its own read holds.
  batchOpen_ = exec("BEGIN IMMEDIATE");
  batchChanges_ = 0;
  batchStarted_ = std::chrono::steady_clock::now();
}

bool FileMetaStore::commitBatch() {
  for (sqlite3_stmt* st : statements_)
    if (st) sqlite3_reset(st);
  batchOpen_ = false;
  if (exec("COMMIT")) return true;
  if (inTransaction()) exec("ROLLBACK");
  return false;
}

void FileMetaStore::keepBatch() {
  if (batchDepth_ == 0 || !db_) return;
  if (batchOpen_ && !inTransaction()) {
    // SQLite ended the transaction on a failure: the changes it held are undone.
    batchLost_ = true;
    batchOpen_ = false;
  }
  const bool due = std::chrono::steady_clock::now() - batchStarted_ >= kBatchTime;
  if (batchOpen_ ? batchChanges_ < kBatchChanges && !due : !due) return;
  // (A transaction that could not begin, another program holding the store, is tried again
  // only once its time has passed; the calls meanwhile are transactions of their own.)
  if (batchOpen_ && !commitBatch()) batchLost_ = true;
  openBatch();
}

FileMeta FileMetaStore::get(const std::string& host) {
  settleForget();
  keepBatch();
  FileMeta meta;
  sqlite3_stmt* st = statement(kGet);
  if (!st) return meta;
  bindPath(st, 1, host);
  if (sqlite3_step(st) == SQLITE_ROW) {
    if (sqlite3_column_type(st, 0) != SQLITE_NULL) meta.creation = FileTime(sqlite3_column_int64(st, 0));
    if (sqlite3_column_type(st, 1) != SQLITE_NULL)
      meta.attributes = std::uint32_t(sqlite3_column_int64(st, 1));
  }
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  return meta;
}

bool FileMetaStore::write(const std::string& path, const FileMeta& now, const FileMeta& wanted) {
  if (!db_) return false;
  if (now == wanted) return true;
  ++batchChanges_;
  if (!wanted.creation && !wanted.attributes) {
    sqlite3_stmt* st = statement(kDelete);
    if (!st) return false;
    bindPath(st, 1, path);
    return runToEnd(st);
  }
  auto creation = [&] {
    return wanted.creation ? std::optional<std::int64_t>(std::int64_t(*wanted.creation)) : std::nullopt;
  };
  // Both parts changed: one statement, one transaction.
  if (now.creation != wanted.creation && now.attributes != wanted.attributes) {
    sqlite3_stmt* st = statement(kSetBoth);
    if (!st) return false;
    bindPath(st, 1, path);
    bindOptional(st, 2, creation());
    bindOptional(st, 3, wanted.attributes);
    return runToEnd(st);
  }
  // Each part is set on its own, so that a change of the other part made meanwhile by another
  // program is kept.
  if (now.creation != wanted.creation) {
    sqlite3_stmt* st = statement(kSetCreation);
    if (!st) return false;
    bindPath(st, 1, path);
    bindOptional(st, 2, creation());
    if (!runToEnd(st)) return false;
  }
  if (now.attributes != wanted.attributes) {
    sqlite3_stmt* st = statement(kSetAttributes);
    if (!st) return false;
    bindPath(st, 1, path);
    bindOptional(st, 2, wanted.attributes);
    if (!runToEnd(st)) return false;
  }
  return true;
}

bool FileMetaStore::setCreation(const std::string& host, std::optional<FileTime> time) {
  FileMeta now = get(host), wanted = now;
  wanted.creation = time;
  return write(host, now, wanted);
}

bool FileMetaStore::setAttributes(const std::string& host, std::optional<std::uint32_t> attributes) {
  FileMeta now = get(host), wanted = now;
  wanted.attributes = attributes;
  return write(host, now, wanted);
}

bool FileMetaStore::setBoth(const std::string& host, std::optional<FileTime> time,
                            std::optional<std::uint32_t> attributes) {
  // The whole record is set below: a delete left waiting for this file is not needed, unless
  // the setting fails.
  const bool created = createdForget_ == host;
  if (created) createdForget_.clear();
  settleForget();
  keepBatch();
  bool done = false;
  // In a batch's transaction the store is held for writing already: one statement looks at
  // the record and changes it where it differs. Alone, the look comes first, so that a call
  // that changes nothing takes no write lock (and waits for none).
  if ((time || attributes) && batchOpen_ && inTransaction()) {
    if (sqlite3_stmt* st = statement(kReplace)) {
      bindPath(st, 1, host);
      bindOptional(st, 2, time ? std::optional<std::int64_t>(std::int64_t(*time)) : std::nullopt);
      bindOptional(st, 3, attributes);
      done = runToEnd(st);
      if (done) batchChanges_ += sqlite3_changes(db_);
    }
  } else {
    FileMeta now = get(host);
    done = write(host, now, FileMeta{time, attributes});
  }
  if (!done && created) forget(host);
  return done;
}

void FileMetaStore::forget(const std::string& host) {
  settleForget();
  keepBatch();
  // Most files never had a record: looking costs far less than a write.
  sqlite3_stmt* look = statement(kGet);
  if (!look) return;
  bindPath(look, 1, host);
  bool found = sqlite3_step(look) == SQLITE_ROW;
  sqlite3_reset(look);
  sqlite3_clear_bindings(look);
  if (!found) return;
  ++batchChanges_;
  sqlite3_stmt* st = statement(kDelete);
  if (!st) return;
  bindPath(st, 1, host);
  runToEnd(st);
}

void FileMetaStore::forgetCreated(const std::string& host) {
  settleForget();
  if (batchDepth_ == 0) {
    forget(host);
  } else {
    createdForget_ = host;
  }
}

void FileMetaStore::settleForget() {
  if (createdForget_.empty()) return;
  std::string host = std::move(createdForget_);
  createdForget_.clear();
  forget(host);
}

bool FileMetaStore::anyAtOrBelow(const std::string& path) {
  sqlite3_stmt* st = statement(kAnyBelow);
  if (!st) return false;
  bindPath(st, 1, path);
  bindPath(st, 2, path + "/");
  bindPath(st, 3, path + "0");
  bool found = sqlite3_step(st) == SQLITE_ROW;
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  return found;
}

void FileMetaStore::rename(const std::string& f, const std::string& t) {
  settleForget();
  keepBatch();
  if (!db_ || (!anyAtOrBelow(f) && !anyAtOrBelow(t))) return;
  ++batchChanges_;
  const char* below = " WHERE path = ?1 OR (path > ?2 AND path < ?3)";
  auto bindBelow = [](sqlite3_stmt* st, const std::string& p) {
    bindPath(st, 1, p);
    bindPath(st, 2, p + "/");
    bindPath(st, 3, p + "0");
  };
  // Inside a batch's transaction the move is a savepoint of it, undone alone.
  const bool nested = inTransaction();
  if (!exec(nested ? "SAVEPOINT move" : "BEGIN IMMEDIATE")) return;
  bool ok = true;
  sqlite3_stmt* drop = nullptr;
  ok = sqlite3_prepare_v2(db_, (std::string("DELETE FROM files") + below).c_str(), -1, &drop, nullptr) == SQLITE_OK;
  if (ok) {
    bindBelow(drop, t);
    ok = sqlite3_step(drop) == SQLITE_DONE;
  }
  sqlite3_finalize(drop);
  std::vector<std::string> moved;
  sqlite3_stmt* list = nullptr;
  if (ok && sqlite3_prepare_v2(db_, (std::string("SELECT path FROM files") + below).c_str(), -1, &list, nullptr) == SQLITE_OK) {
    bindBelow(list, f);
    int rc;
    while ((rc = sqlite3_step(list)) == SQLITE_ROW) {
      const char* data = static_cast<const char*>(sqlite3_column_blob(list, 0));
      moved.emplace_back(data ? data : "", std::size_t(sqlite3_column_bytes(list, 0)));
    }
    ok = rc == SQLITE_DONE;
  } else {
    ok = false;
  }
  sqlite3_finalize(list);
  sqlite3_stmt* update = nullptr;
  if (ok && !moved.empty())
    ok = sqlite3_prepare_v2(db_, "UPDATE files SET path = ?2 WHERE path = ?1", -1, &update, nullptr) == SQLITE_OK;
  for (std::size_t i = 0; ok && i < moved.size(); ++i) {
    bindPath(update, 1, moved[i]);
    bindPath(update, 2, t + moved[i].substr(f.size()));
    ok = runToEnd(update);
  }
  sqlite3_finalize(update);
  // All or nothing: half the records of a folder must not stay behind.
  if (nested) exec(ok ? "RELEASE move" : "ROLLBACK TO move; RELEASE move");
  else exec(ok ? "COMMIT" : "ROLLBACK");
}

}  // namespace vandrel::platform::emulated
