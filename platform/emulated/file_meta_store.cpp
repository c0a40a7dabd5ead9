// The side store of creation times and attributes.
#include "platform/emulated/file_meta_store.h"

#include <sqlite3.h>

#include <system_error>
#include <vector>

namespace vandrel::platform::emulated {

namespace {

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS files ("
    " path TEXT PRIMARY KEY, creation INTEGER, attributes INTEGER)";

// A prepared statement closed when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (db && sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  explicit operator bool() const { return stmt_ != nullptr; }
  // Paths are kept as bytes: host names need not be valid UTF-8.
  void bind(int index, const std::string& bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
  }
  void bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  int step() { return sqlite3_step(stmt_); }
  sqlite3_stmt* get() { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

FileMetaStore::FileMetaStore(const std::filesystem::path& dbFile) {
  if (openDb(dbFile)) return;
  // Unreadable: keep the damaged file for inspection and start again.
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
  std::error_code ec;
  std::filesystem::path aside = dbFile;
  aside += ".damaged";
  std::filesystem::rename(dbFile, aside, ec);
  if (ec) std::filesystem::remove(dbFile, ec);
  if (!openDb(dbFile)) {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
  }
}

FileMetaStore::~FileMetaStore() {
  if (db_) sqlite3_close(db_);
}

bool FileMetaStore::openDb(const std::filesystem::path& dbFile) {
  if (sqlite3_open_v2(dbFile.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
    return false;
  sqlite3_busy_timeout(db_, 5000);
  return exec(kSchema) && exec("SELECT count(*) FROM files");
}

bool FileMetaStore::exec(const char* sql) {
  return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

FileMeta FileMetaStore::get(const std::filesystem::path& host) {
  FileMeta meta;
  Statement st(db_, "SELECT creation, attributes FROM files WHERE path = ?1");
  if (!st) return meta;
  st.bind(1, host.string());
  if (st.step() == SQLITE_ROW) {
    if (sqlite3_column_type(st.get(), 0) != SQLITE_NULL)
      meta.creation = FileTime(sqlite3_column_int64(st.get(), 0));
    if (sqlite3_column_type(st.get(), 1) != SQLITE_NULL)
      meta.attributes = std::uint32_t(sqlite3_column_int64(st.get(), 1));
  }
  return meta;
}

bool FileMetaStore::upsert(const std::filesystem::path& host, const char* column, std::int64_t value) {
  std::string sql = std::string("INSERT INTO files (path, ") + column + ") VALUES (?1, ?2) "
                    "ON CONFLICT(path) DO UPDATE SET " + column + " = excluded." + column;
  Statement st(db_, sql.c_str());
  if (!st) return false;
  st.bind(1, host.string());
  st.bind(2, value);
  return st.step() == SQLITE_DONE;
}

bool FileMetaStore::setCreation(const std::filesystem::path& host, FileTime time) {
  return upsert(host, "creation", std::int64_t(time));
}

bool FileMetaStore::setAttributes(const std::filesystem::path& host, std::uint32_t attributes) {
  return upsert(host, "attributes", attributes);
}

void FileMetaStore::forget(const std::filesystem::path& host) {
  Statement st(db_, "DELETE FROM files WHERE path = ?1");
  if (!st) return;
  st.bind(1, host.string());
  st.step();
}

void FileMetaStore::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (!db_) return;
  const std::string f = from.string(), t = to.string();
  // Byte order puts everything below "a/" between "a/" and "a0" ('0' follows '/').
  const char* below = "path = ?1 OR (path > ?2 AND path < ?3)";
  exec("BEGIN IMMEDIATE");
  Statement drop(db_, (std::string("DELETE FROM files WHERE ") + below).c_str());
  if (drop) {
    drop.bind(1, t);
    drop.bind(2, t + "/");
    drop.bind(3, t + "0");
    drop.step();
  }
  std::vector<std::string> moved;
  Statement list(db_, (std::string("SELECT path FROM files WHERE ") + below).c_str());
  if (list) {
    list.bind(1, f);
    list.bind(2, f + "/");
    list.bind(3, f + "0");
    while (list.step() == SQLITE_ROW) {
      const char* data = static_cast<const char*>(sqlite3_column_blob(list.get(), 0));
      moved.emplace_back(data ? data : "", std::size_t(sqlite3_column_bytes(list.get(), 0)));
    }
  }
  for (const std::string& old : moved) {
    Statement update(db_, "UPDATE files SET path = ?2 WHERE path = ?1");
    if (!update) break;
    update.bind(1, old);
    update.bind(2, t + old.substr(f.size()));
    update.step();
  }
  exec("COMMIT");
}

}  // namespace vandrel::platform::emulated
