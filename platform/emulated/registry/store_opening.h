// How a machine's SQLite stores (registry.db, filemeta.db) are opened: for writing where the
// machine can be written, read-only where it cannot, so that a machine on a read-only folder
// or mount still answers every reading command.
#pragma once

#include <filesystem>
#include <string>

namespace vandrel::platform::emulated {

struct StoreOpening {
  std::string name;  // what sqlite3_open_v2 takes: a plain path, or a file: URI
  int flags = 0;     // its flags
  bool readOnly = false;
};

// For writing (made when missing) when the store's folder and file can be written or the file
// is not there yet; else read-only. Read-only in a folder where SQLite cannot make the shared
// memory file it reads a write-ahead log through, the store is opened as immutable: read as
// it lies on disk, without locks or the log (its last changes not yet copied into the file
// are then not seen).
StoreOpening storeOpening(const std::filesystem::path& file);

}  // namespace vandrel::platform::emulated
