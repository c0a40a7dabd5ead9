// What the host file system cannot keep for a Windows file: its creation time and its
// attributes (read-only, hidden, system, archive). Kept in a small SQLite file in the machine
// root, keyed by host path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/types.h"

struct sqlite3;

namespace vandrel::platform::emulated {

struct FileMeta {
  std::optional<FileTime> creation;
  std::optional<std::uint32_t> attributes;
};

class FileMetaStore {
 public:
  // Opens (or makes) the store. A damaged store is set aside as "<file>.damaged" and a fresh
  // one begun; a store that cannot be made at all leaves every query empty and every change
  // failing.
  explicit FileMetaStore(const std::filesystem::path& dbFile);
  ~FileMetaStore();
  FileMetaStore(const FileMetaStore&) = delete;
  FileMetaStore& operator=(const FileMetaStore&) = delete;

  FileMeta get(const std::filesystem::path& host);
  bool setCreation(const std::filesystem::path& host, FileTime time);
  bool setAttributes(const std::filesystem::path& host, std::uint32_t attributes);
  // The file is gone: its record goes with it.
  void forget(const std::filesystem::path& host);
  // A file or folder was moved: its record and those of everything below it follow.
  void rename(const std::filesystem::path& from, const std::filesystem::path& to);

 private:
  bool openDb(const std::filesystem::path& dbFile);
  bool exec(const char* sql);
  bool upsert(const std::filesystem::path& host, const char* column, std::int64_t value);
  sqlite3* db_ = nullptr;
};

}  // namespace vandrel::platform::emulated
