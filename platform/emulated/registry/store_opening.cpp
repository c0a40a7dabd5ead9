// The opening of a machine's SQLite store: read and write, or read-only where the host says
// it cannot be written.
#include "platform/emulated/registry/store_opening.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vandrel::platform::emulated {

namespace {

// A path as the path of a file: URI: the characters a URI gives a meaning to are escaped.
std::string uriPath(const std::string& path) {
  std::string out;
  for (unsigned char ch : path) {
    if (ch == '%' || ch == '?' || ch == '#' || ch < 0x20 || ch >= 0x7f) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", ch);
      out += escaped;
    } else {
      out += char(ch);
    }
  }
  return out;
}

bool writable(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace

StoreOpening storeOpening(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  const std::filesystem::path folder = absolute.parent_path();
  const bool exists = ::access(absolute.c_str(), F_OK) == 0;
  StoreOpening opening;
  if (!exists || (writable(absolute) && writable(folder))) {
    opening.name = absolute.string();
    opening.flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    return opening;
  }
  opening.readOnly = true;
  opening.name = "file:" + uriPath(absolute.string()) + "?mode=ro";
  // The shared memory file can be made only in a folder that can be written; one left
  // there already serves as well.
  std::filesystem::path shm = absolute;
  shm += "-shm";
  if (!writable(folder) && !(::access(shm.c_str(), R_OK | W_OK) == 0)) opening.name += "&immutable=1";
  opening.flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  return opening;
}

}  // namespace vandrel::platform::emulated
