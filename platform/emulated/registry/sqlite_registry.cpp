// The registry kept in SQLite: schema, handles and the Windows registry calls.
#include "platform/emulated/registry/sqlite_registry.h"

#include "platform/emulated/registry/key_names.h"
#include "platform/emulated/registry/sqlite_db.h"
#include "platform/machine.h"

namespace vandrel::platform::emulated {

namespace {

// Marks the file as ours ("VREG") so that some other SQLite database is never taken for a
// registry and altered.
constexpr std::int64_t kApplicationId = 0x56524547;
constexpr std::int64_t kSchemaVersion = 1;
constexpr std::int64_t kLastRootId = 4;
// Windows keeps a registry tree at most 512 levels deep; the limit also keeps every walk over
// the tree (export, deletion) shallow.
constexpr std::size_t kMaxDepth = 512;
// The most calls one transaction of a batch holds.
constexpr int kBatchCalls = 1000;

// Keys are never renumbered: AUTOINCREMENT keeps the id of a deleted key from being given to
// a new one, so a stale handle can never reach a different key.
constexpr const char* kSchema = R"sql(
CREATE TABLE reg_keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER NOT NULL,
  name TEXT NOT NULL,
  fold TEXT NOT NULL);
CREATE UNIQUE INDEX reg_keys_by_name ON reg_keys(parent, fold);
CREATE TABLE reg_values(
  key INTEGER NOT NULL,
  name TEXT NOT NULL,
  fold TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
INSERT INTO reg_keys(id, parent, name, fold) VALUES
  (1, 0, 'HKEY_CLASSES_ROOT', 'HKEY_CLASSES_ROOT'),
  (2, 0, 'HKEY_CURRENT_USER', 'HKEY_CURRENT_USER'),
  (3, 0, 'HKEY_LOCAL_MACHINE', 'HKEY_LOCAL_MACHINE'),
  (4, 0, 'HKEY_USERS', 'HKEY_USERS');
PRAGMA application_id = 1448232263;
PRAGMA user_version = 1;
)sql";

// Resets the statements a call used when it ends, so that none half-read keeps the store's
// read of that moment open into the next call.
struct ResetWhenDone {
  explicit ResetWhenDone(SqliteDb& db) : db(db) {}
  ~ResetWhenDone() { db.resetPrepared(); }
  SqliteDb& db;
};

// The stored id of a predefined root (1..4), or 0 for any other handle value.
std::int64_t rootId(HKey key) {
  if (key >= hkey::ClassesRoot && key <= hkey::Users) return std::int64_t(key - hkey::ClassesRoot) + 1;
  return 0;
}

std::int64_t pragmaValue(SqliteDb& db, const char* sql) {
  Statement query(db, sql);
  return query.step() ? query.integer(0) : 0;
}

// Makes the schema in a new file and checks an existing one (only checks, read-only). Throws
// MachineError.
void prepareSchema(SqliteDb& db, const std::filesystem::path& file) {
  Transaction transaction(db, db.readOnly() ? Transaction::Kind::Read : Transaction::Kind::Write);
  std::int64_t tables = pragmaValue(db, "SELECT count(*) FROM sqlite_master");
  if (tables == 0 && db.readOnly()) throw MachineError(file.string() + ": registry file is empty and cannot be written");
  if (tables == 0) {
    db.exec(kSchema);
  } else {
    if (pragmaValue(db, "PRAGMA application_id") != kApplicationId)
      throw MachineError(file.string() + ": not a registry file (another SQLite database)");
    if (pragmaValue(db, "PRAGMA user_version") > kSchemaVersion)
      throw MachineError(file.string() + ": registry file of a newer version");
    Statement check(db, "PRAGMA quick_check");
    std::string verdict = check.step() ? check.text(0) : std::string("no answer");
    if (verdict != "ok") throw MachineError(file.string() + ": registry file is damaged: " + verdict);
  }
  transaction.commit();
}

}  // namespace

std::unique_ptr<SqliteRegistry> SqliteRegistry::open(const std::filesystem::path& dbFile,
                                                     bool ntSemantics) {
  std::error_code ec;
  if (std::filesystem::is_directory(dbFile, ec))
    throw MachineError(dbFile.string() + ": is a folder, not a registry file");
  try {
    auto db = std::make_unique<SqliteDb>(dbFile);
    // Wait for another process's write rather than failing at once.
    sqlite3_busy_timeout(db->handle(), 10000);
    // Kept in the file once set; a store opened read-only reads it as it is.
    if (!db->readOnly()) {
      db->exec("PRAGMA journal_mode=WAL");
      db->exec("PRAGMA synchronous=NORMAL");
    }
    prepareSchema(*db, dbFile);
    return std::unique_ptr<SqliteRegistry>(new SqliteRegistry(std::move(db), ntSemantics));
  } catch (const SqliteError& e) {
    int code = e.code() & 0xff;
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
      throw MachineError(dbFile.string() + ": registry file is damaged or not a registry (" +
                         e.what() + ")");
    throw MachineError(dbFile.string() + ": cannot open the registry file (" + e.what() + ")");
  }
}

SqliteRegistry::SqliteRegistry(std::unique_ptr<SqliteDb> db, bool ntSemantics)
    : db_(std::move(db)), ntSemantics_(ntSemantics) {}

SqliteRegistry::~SqliteRegistry() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (batchDepth_ > 0) commitBatch();
}

// Runs one registry call under the lock, turning a store failure into a Windows error code:
// no call ever throws to the program.
template <typename Body>
long SqliteRegistry::guarded(Body body) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  long rc = error::Success;
  ++callDepth_;
  try {
    rc = body();
  } catch (const SqliteError& e) {
    rc = windowsErrorFor(e.code());
  } catch (const std::bad_alloc&) {
    rc = error::NotEnoughMemory;
  }
  // A call made inside an update() is part of it: only the outermost call may end the
  // batch's transaction, never with the update's savepoint still open.
  if (--callDepth_ == 0 && batchDepth_ > 0) continueBatch();
  return rc;
}

// A batch is kept as one transaction of at most kBatchCalls calls, so that another process
// waiting to write is let in now and then.
void SqliteRegistry::continueBatch() {
  if (!db_->inTransaction()) {
    // SQLite ended the batch's transaction on a failure: the calls before it are undone.
    if (batchOpen_) batchLost_ = true;
    batchOpen_ = false;
  } else if (++batchCalls_ < kBatchCalls) {
    return;
  } else if (!commitBatch()) {
    return;
  }
  openBatch();
}

void SqliteRegistry::openBatch() {
  batchCalls_ = 0;
  // A batch that cannot begin (the store is busy) leaves each call its own transaction.
  batchOpen_ =
      sqlite3_exec(db_->handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteRegistry::commitBatch() {
  if (!batchOpen_) return true;
  batchOpen_ = false;
  db_->resetPrepared();
  if (sqlite3_exec(db_->handle(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  batchLost_ = true;
  return false;
}

void SqliteRegistry::beginBatch() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (batchDepth_++ > 0) return;
  batchLost_ = false;
  openBatch();
}

bool SqliteRegistry::endBatch() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (batchDepth_ == 0) return true;
  if (--batchDepth_ > 0) return !batchLost_;
  commitBatch();
  return !batchLost_;
}

long SqliteRegistry::update(const std::function<long()>& body) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Write);
    long result = body();
    transaction.commit();
    return result;
  });
}

long SqliteRegistry::keyOf(HKey handle, KeyId& id) const {
  if (KeyId root = rootId(handle)) {
    id = root;
    return error::Success;
  }
  auto found = handles_.find(handle);
  if (found == handles_.end()) return error::InvalidHandle;
  id = found->second;
  return error::Success;
}

long SqliteRegistry::liveKeyOf(HKey handle, KeyId& id) {
  long rc = keyOf(handle, id);
  if (rc != error::Success) return rc;
  return keyAlive(id) ? error::Success : error::KeyDeleted;
}

bool SqliteRegistry::keyAlive(KeyId id) {
  Statement& query = db_->prepared("SELECT 1 FROM reg_keys WHERE id = ?");
  query.bind(1, id);
  return query.step();
}

SqliteRegistry::KeyId SqliteRegistry::childOf(KeyId parent, const std::string& name) {
  Statement& query = db_->prepared("SELECT id FROM reg_keys WHERE parent = ? AND fold = ?");
  query.bind(1, parent).bind(2, foldName(name));
  return query.step() ? query.integer(0) : 0;
}

long SqliteRegistry::walk(KeyId start, const std::vector<std::string>& names, KeyId& found) {
  KeyId current = start;
  for (const std::string& name : names) {
    current = childOf(current, name);
    if (current == 0) return error::FileNotFound;
  }
  found = current;
  return error::Success;
}

std::size_t SqliteRegistry::depthOf(KeyId id) {
  // A root stands at depth 0 (no other key has so small an id): no need to ask the store.
  if (id <= kLastRootId) return 0;
  Statement& query = db_->prepared(
      "WITH RECURSIVE up(id, depth) AS (SELECT ?1, 0 UNION ALL "
      "SELECT k.parent, up.depth + 1 FROM reg_keys k JOIN up ON k.id = up.id "
      "WHERE k.parent <> 0) SELECT max(depth) FROM up");
  query.bind(1, id);
  return query.step() ? std::size_t(query.integer(0)) : 0;
}

bool SqliteRegistry::hasSubkeys(KeyId id) {
  Statement& query = db_->prepared("SELECT 1 FROM reg_keys WHERE parent = ? LIMIT 1");
  query.bind(1, id);
  return query.step();
}

void SqliteRegistry::deleteTree(KeyId id) {
  // The key and all keys below it, gathered once, then their values and themselves.
  static const std::string kTree =
      "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
      "SELECT k.id FROM reg_keys k JOIN tree t ON k.parent = t.id) ";
  Statement& values = db_->prepared(kTree + "DELETE FROM reg_values WHERE key IN tree");
  values.bind(1, id);
  values.step();
  Statement& keys = db_->prepared(kTree + "DELETE FROM reg_keys WHERE id IN tree");
  keys.bind(1, id);
  keys.step();
}

HKey SqliteRegistry::newHandle(KeyId id) {
  // Handle values stay well below the predefined roots and are not reused while open.
  while (handles_.count(nextHandle_) || nextHandle_ == 0 || rootId(nextHandle_)) {
    nextHandle_ = nextHandle_ >= 0x7ffffff0u ? 0x100 : nextHandle_ + 4;
  }
  HKey handle = nextHandle_;
  nextHandle_ = nextHandle_ >= 0x7ffffff0u ? 0x100 : nextHandle_ + 4;
  handles_[handle] = id;
  return handle;
}

long SqliteRegistry::createKey(HKey parent, const std::string& subKey, HKey& result,
                               bool* created) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Write);
    KeyId current = 0;
    long rc = liveKeyOf(parent, current);
    if (rc != error::Success) return rc;
    std::vector<std::string> names = splitKeyPath(subKey);
    if (names.size() > kMaxDepth || depthOf(current) + names.size() > kMaxDepth)
      return error::InvalidParameter;
    bool made = false;
    for (const std::string& name : names) {
      KeyId child = childOf(current, name);
      made = child == 0;
      if (made) {
        Statement& insert =
            db_->prepared("INSERT INTO reg_keys(parent, name, fold) VALUES (?, ?, ?)");
        insert.bind(1, current).bind(2, name).bind(3, foldName(name));
        insert.step();
        child = db_->lastInsertId();
      }
      current = child;
    }
    transaction.commit();
    result = newHandle(current);
    if (created) *created = made;
    return error::Success;
  });
}

long SqliteRegistry::openKey(HKey parent, const std::string& subKey, HKey& result) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Read);
    KeyId start = 0;
    long rc = liveKeyOf(parent, start);
    if (rc != error::Success) return rc;
    KeyId found = 0;
    rc = walk(start, splitKeyPath(subKey), found);
    if (rc != error::Success) return rc;
    transaction.commit();
    result = newHandle(found);
    return error::Success;
  });
}

long SqliteRegistry::queryValue(HKey key, const std::string& name, std::uint32_t& type,
                                Bytes& data) {
  return guarded([&] {
    KeyId id = 0;
    long rc = keyOf(key, id);
    if (rc != error::Success) return rc;
    // One statement, without a transaction around it (the most frequent call, often for a
    // value that is not there): the value's row; else, when the key is alive, a row of type
    // -1 (types are never negative); else none.
    ResetWhenDone reset(*db_);
    Statement& query = db_->prepared(
        "SELECT type, data FROM reg_values WHERE key = ?1 AND fold = ?2 "
        "UNION ALL SELECT -1, x'' WHERE EXISTS (SELECT 1 FROM reg_keys WHERE id = ?1) LIMIT 1");
    query.bind(1, id).bind(2, foldName(name));
    if (!query.step()) return error::KeyDeleted;
    if (query.integer(0) < 0) return error::FileNotFound;
    type = std::uint32_t(query.integer(0));
    data = query.blob(1);
    return error::Success;
  });
}

long SqliteRegistry::setValue(HKey key, const std::string& name, std::uint32_t type,
                              const Bytes& data) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Write);
    KeyId id = 0;
    long rc = liveKeyOf(key, id);
    if (rc != error::Success) return rc;
    // An existing value keeps the spelling of its name; type and data are replaced.
    Statement& upsert = db_->prepared(
        "INSERT INTO reg_values(key, name, fold, type, data) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, "
        "data = excluded.data");
    upsert.bind(1, id).bind(2, name).bind(3, foldName(name)).bind(4, std::int64_t(type));
    upsert.bind(5, data);
    upsert.step();
    transaction.commit();
    return error::Success;
  });
}

long SqliteRegistry::deleteValue(HKey key, const std::string& name) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Write);
    KeyId id = 0;
    long rc = liveKeyOf(key, id);
    if (rc != error::Success) return rc;
    Statement& remove = db_->prepared("DELETE FROM reg_values WHERE key = ? AND fold = ?");
    remove.bind(1, id).bind(2, foldName(name));
    remove.step();
    if (db_->changes() == 0) return error::FileNotFound;
    transaction.commit();
    return error::Success;
  });
}

long SqliteRegistry::deleteKey(HKey parent, const std::string& subKey) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Write);
    KeyId start = 0;
    long rc = liveKeyOf(parent, start);
    if (rc != error::Success) return rc;
    KeyId target = 0;
    rc = walk(start, splitKeyPath(subKey), target);
    if (rc != error::Success) return rc;
    // The four roots can never be deleted; NT keeps a key that still has subkeys.
    if (target <= kLastRootId) return error::AccessDenied;
    if (ntSemantics_ && hasSubkeys(target)) return error::AccessDenied;
    deleteTree(target);
    transaction.commit();
    return error::Success;
  });
}

long SqliteRegistry::closeKey(HKey key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (rootId(key)) return error::Success;
  return handles_.erase(key) ? error::Success : error::InvalidHandle;
}

long SqliteRegistry::enumKey(HKey key, std::uint32_t index, std::string& name) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Read);
    KeyId id = 0;
    long rc = liveKeyOf(key, id);
    if (rc != error::Success) return rc;
    Statement& query =
        db_->prepared("SELECT name FROM reg_keys WHERE parent = ? ORDER BY fold LIMIT 1 OFFSET ?");
    query.bind(1, id).bind(2, std::int64_t(index));
    if (!query.step()) return error::NoMoreItems;
    name = query.text(0);
    return error::Success;
  });
}

long SqliteRegistry::enumValue(HKey key, std::uint32_t index, std::string& name,
                               std::uint32_t& type, Bytes& data) {
  return guarded([&] {
    Transaction transaction(*db_, Transaction::Kind::Read);
    KeyId id = 0;
    long rc = liveKeyOf(key, id);
    if (rc != error::Success) return rc;
    Statement& query = db_->prepared(
        "SELECT name, type, data FROM reg_values WHERE key = ? ORDER BY fold "
        "LIMIT 1 OFFSET ?");
    query.bind(1, id).bind(2, std::int64_t(index));
    if (!query.step()) return error::NoMoreItems;
    name = query.text(0);
    type = std::uint32_t(query.integer(1));
    data = query.blob(2);
    return error::Success;
  });
}

std::size_t SqliteRegistry::openHandleCount() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return handles_.size();
}

}  // namespace vandrel::platform::emulated
