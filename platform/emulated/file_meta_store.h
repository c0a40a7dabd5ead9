// What the host file system cannot keep for a Windows file: its creation time and its
// attributes (read-only, hidden, system, archive). Kept in a small SQLite file in the machine
// root, keyed by host path; a file the store knows nothing about shows what the host tells.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/types.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vandrel::platform::emulated {

struct FileMeta {
  std::optional<FileTime> creation;
  std::optional<std::uint32_t> attributes;
  bool operator==(const FileMeta&) const = default;
};

class FileMetaStore {
 public:
  // Opens (or makes) the store. A damaged store is set aside as "<file>.damaged" and a fresh
  // one begun; a store that cannot be opened at all (or stays locked by another process)
  // leaves every query empty and every change failing.
  explicit FileMetaStore(const std::filesystem::path& dbFile);
  ~FileMetaStore();
  FileMetaStore(const FileMetaStore&) = delete;
  FileMetaStore& operator=(const FileMetaStore&) = delete;

  FileMeta get(const std::string& host);
  // Sets or (with no value) clears one part of a file's record. A change that changes nothing
  // writes nothing, and a record left with neither part is removed.
  bool setCreation(const std::string& host, std::optional<FileTime> time);
  bool setAttributes(const std::string& host, std::optional<std::uint32_t> attributes);
  // Both parts at once, as one change.
  bool setBoth(const std::string& host, std::optional<FileTime> time,
               std::optional<std::uint32_t> attributes);
  // The file is gone: its record goes with it.
  void forget(const std::string& host);
  // A new file was made at host: a record left there goes, as forget() does. In a batch the
  // delete waits for the next call to the store, and is left out when that call sets the
  // same file's whole record (setBoth), as a new copy's stamps do. Another program sees the
  // same, since it sees a batch's changes only as its transactions end.
  void forgetCreated(const std::string& host);
  // A file or folder was moved: its record and those of everything below it follow, and
  // whatever was recorded at the target goes.
  void rename(const std::string& from, const std::string& to);

  // The calls until endBatch() are a long run (the files of an installation or a removal):
  // they share transactions of up to a thousand changes or a tenth of a second, instead of
  // a transaction each (a store call then costs no locking of the file). Another program
  // sees the changes as each transaction ends, and may wait that long to write. endBatch()
  // is false when changes whose calls had succeeded were lost. Batches may nest.
  void beginBatch();
  bool endBatch();
  // Ends the batch's open transaction now; the next call begins another.
  void settleBatch();

 private:
  // Statements prepared once and reused for the life of the store.
  enum Query {
    kGet, kSetCreation, kSetAttributes, kSetBoth, kDelete, kAnyBelow, kReplace, kQueryCount
  };

  enum class Opened { Ok, Damaged, Failed };
  Opened openDb(const std::filesystem::path& dbFile);
  void close();
  bool exec(const char* sql);
  sqlite3_stmt* statement(Query query);
  bool write(const std::string& host, const FileMeta& now, const FileMeta& wanted);
  bool anyAtOrBelow(const std::string& path);
  // Makes the delete forgetCreated() left waiting, before any other use of the store.
  void settleForget();
  bool inTransaction() const;
  // At each call of a batch: the batch's transaction is ended when it is full or old, and
  // begun when none is open.
  void keepBatch();
  void openBatch();
  bool commitBatch();

  sqlite3* db_ = nullptr;
  sqlite3_stmt* statements_[kQueryCount] = {};
  int batchDepth_ = 0;
  bool batchOpen_ = false;  // the batch's transaction is open
  bool batchLost_ = false;  // a transaction of the batch was lost
  int batchChanges_ = 0;    // the changes its open transaction holds
  std::string createdForget_;  // the host path whose record forgetCreated() left (or empty)
  std::chrono::steady_clock::time_point batchStarted_;
};

}  // namespace vandrel::platform::emulated
