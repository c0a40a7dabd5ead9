// Copying one file of the package: replacement decision, backup, plain or expanded copy,
// progress, the source's date stamps.
#pragma once

#include <map>
#include <string>

namespace vandrel::setup {

class SetupApp;
class CopyProgress;

struct CopyRequest {
  std::string sourceFolder;       // ends in a backslash
  std::string sourceName;         // the stored name
  std::string destinationFolder;  // ends in a backslash
  std::string targetName;         // the name at the destination
  std::string force;              // first character "0": compare with an existing file first
  std::string expand;             // first character "1": the stored file is compressed
  CopyProgress* progress = nullptr;
};

// The result of a copy when the source file does not exist.
constexpr long long kSourceMissing = -1;

// Copies the files of one installation. It remembers the backups it made, so that a second
// copy over the same destination keeps the first backup (the original file) and two files
// of the same name in different folders are not saved over each other.
class FileCopier {
 public:
  explicit FileCopier(SetupApp& app) : app_(app) {}

  // The number of bytes written (the stored, compressed bytes for an expanded file); the
  // source's size when the user chose to keep the existing file or the destination is the
  // source itself; kSourceMissing when the source does not exist. A copy that cannot be
  // made or completed (unsafe name, backup impossible, write or expansion failure) gives a
  // count that differs from the source's size.
  long long copy(const CopyRequest& request);

 private:
  bool backUp(const std::string& destination, const std::string& targetName);
  long long writeFile(const CopyRequest& request, const std::string& source,
                      const std::string& writeTarget);
  void addToRunningTotal(long long bytes, CopyProgress* progress);

  SetupApp& app_;
  std::map<std::string, std::string> backups_;  // backup path -> destination it saved (lower case)
};

// One copy outside an installation run (the install script itself).
long long copyOneFile(SetupApp& app, const CopyRequest& request);

// A file name that may be appended to a folder: no ".." part, no drive or stream colon, no
// device name (CON, NUL, COM1, ...), not empty.
bool isSafeFileName(const std::string& name);

}  // namespace vandrel::setup
