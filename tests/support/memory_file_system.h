// An in-memory Windows file system for unit tests, able to fail on demand.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vandrel::test {

// Windows paths ("C:\App\a.txt", "/" accepted as separator), names matched without regard
// to case and stored in the case first given. Drive C: exists from the start, with the
// current folder "C:\". Every change advances a logical clock by one second, so write
// times are deterministic and differ between changes.
//
// moveFile refuses an existing target, as MoveFileA and the emulated machine do;
// refuseMoveOntoExisting(false) makes it replace a target file instead (MoveFileEx with
// MOVEFILE_REPLACE_EXISTING).
class MemoryFileSystem : public platform::FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // --- Set-up and inspection for tests ---
  void addDrive(char letter);
  // Creates the folder and every missing parent; false when the path cannot be mapped or
  // a file is in the way.
  bool makeDirectories(const std::string& path);
  // Writes a whole file, creating its folders; ignores failures set up below.
  bool writeFile(const std::string& path, const std::string& content);
  std::optional<std::string> readFile(const std::string& path) const;
  bool exists(const std::string& path) const;
  // Full paths of every file and folder, in the case stored, sorted.
  std::vector<std::string> listAll() const;

  // Free bytes of a drive (GetDiskFreeSpaceA); writes that grow files beyond it fall short.
  void setFreeSpace(char drive, std::uint64_t bytes);
  // From now on at most `bytes` more bytes are written (over all files); then writes fall
  // short and finally fail, as on a full disk.
  void failWritesAfter(std::uint64_t bytes);
  // Every operation on the path, or on anything below it, fails as access denied (status
  // and find still see it, as Windows shows a locked file).
  void denyAccess(const std::string& path);
  void clearFailures();
  void refuseMoveOntoExisting(bool refuse) { refuseMoveOntoExisting_ = refuse; }
  void setClock(platform::FileTime now) { now_ = now; }
  platform::FileTime clock() const { return now_; }

  // How often open() was asked for an existing file, and how many files were created.
  int openCount() const { return openCount_; }
  int createCount() const { return createCount_; }
  // The queue copyQueue() gives (none unless a test sets one).
  void useCopyQueue(platform::CopyQueue* queue) { copyQueue_ = queue; }

  // --- platform::FileSystem ---
  std::unique_ptr<platform::File> open(const std::string& path, platform::OpenMode mode) override;
  std::unique_ptr<platform::File> create(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  std::optional<platform::FileStatus> status(const std::string& path) override;
  bool setFileTimes(const std::string& path, std::optional<platform::FileTime> creation,
                    std::optional<platform::FileTime> lastAccess,
                    std::optional<platform::FileTime> lastWrite) override;
  bool setAttributes(const std::string& path, std::uint32_t attributes) override;
  std::vector<platform::FindData> find(const std::string& pattern) override;
  std::optional<platform::DiskSpace> diskFreeSpace(const std::string& root) override;
  unsigned tempFileName(const std::string& folder, const std::string& prefix, unsigned unique,
                        std::string& name) override;
  std::string currentDirectory() override { return current_; }
  bool setCurrentDirectory(const std::string& path) override;
  std::string fullPath(const std::string& path) override;
  std::optional<std::filesystem::path> hostPath(const std::string&) override { return {}; }
  std::optional<std::string> windowsPath(const std::filesystem::path&) override { return {}; }
  platform::CopyQueue* copyQueue() override { return copyQueue_; }

  struct Node;
  struct Drive;
  class OpenFile;

 private:
  friend class OpenFile;
  std::string normalize(const std::string& path) const;
  Node* node(const std::string& full);
  const Node* node(const std::string& full) const;
  Node* parentFolder(const std::string& full);
  bool denied(const std::string& full) const;
  Drive* driveOf(const std::string& full);
  // Bytes a file may still grow by, counting the drive's free space and the write budget.
  std::uint64_t writeAllowance(const std::string& full);
  void consume(const std::string& full, std::int64_t grown, std::uint64_t written);
  platform::FileTime tick();

  std::map<std::string, std::shared_ptr<Node>> nodes_;  // upper-case full path -> node
  std::map<char, std::unique_ptr<Drive>> drives_;
  std::set<std::string> deniedPaths_;                    // upper-case full paths
  std::optional<std::uint64_t> writeBudget_;
  bool refuseMoveOntoExisting_ = true;
  std::string current_ = "C:\\";
  platform::FileTime now_ = 133485408000000000ull;  // 2024-01-01 00:00 UTC
  unsigned nextTemp_ = 1;
  int openCount_ = 0;
  int createCount_ = 0;
  platform::CopyQueue* copyQueue_ = nullptr;
};

}  // namespace vandrel::test
