// The files of a machine seen through the changes of one run kept in memory: reads see the
// machine's own files plus what this run wrote, created, moved and deleted; nothing reaches
// the machine itself. The file system of a plan.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vandrel::platform {

class OverlayFileSystem : public FileSystem {
 public:
  // base is only read; clock gives the times of the files this run writes.
  OverlayFileSystem(FileSystem& base, Clock& clock);
  ~OverlayFileSystem() override;

  // One change this run made, by full path (sorted): a file written (its contents now), a
  // folder made, or a file or folder removed.
  struct Change {
    enum class Kind { File, Folder, Removed };
    Kind kind = Kind::File;
    std::string path;
    std::string contents;  // of a file
  };
  std::vector<Change> changes();
  // Takes a change over as if this run had made it (the changes a starting program carries
  // to the program it starts). False for a path that cannot be mapped.
  bool apply(const Change& change);
  // Whether the file at path is one this run wrote or moved (not the machine's file as it is).
  bool holds(const std::string& path);

  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override;
  std::unique_ptr<File> create(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  bool replaceFile(const std::string& from, const std::string& to) override;
  std::optional<FileStatus> status(const std::string& path) override;
  bool setFileTimes(const std::string& path, std::optional<FileTime> creation,
                    std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) override;
  bool setAttributes(const std::string& path, std::uint32_t attributes) override;
  std::vector<FindData> find(const std::string& pattern) override;
  std::optional<DiskSpace> diskFreeSpace(const std::string& root) override;
  unsigned tempFileName(const std::string& folder, const std::string& prefix, unsigned unique,
                        std::string& name) override;
  std::string currentDirectory() override { return current_; }
  bool setCurrentDirectory(const std::string& path) override;
  std::string fullPath(const std::string& path) override;
  std::optional<std::filesystem::path> hostPath(const std::string& path) override;
  std::optional<std::string> windowsPath(const std::filesystem::path& host) override;
  bool mayWrite(const std::string& path) override { return base_.mayWrite(path); }

  struct Entry;

 private:
  using EntryPtr = std::shared_ptr<Entry>;
  // The entry of a full path in this run's changes, or null.
  EntryPtr changed(const std::string& full) const;
  // A file of this run at a full path, taken over from the machine's file when needed.
  EntryPtr writableFile(const std::string& full);
  // Reads a file entry's contents into memory (a file still the machine's is read from it).
  bool load(Entry& entry);
  bool isFolder(const std::string& full);
  bool moveEntry(const std::string& from, const std::string& to);
  void put(const std::string& full, EntryPtr entry);

  FileSystem& base_;
  Clock& clock_;
  std::map<std::string, EntryPtr> entries_;  // upper-case full path -> change
  std::string current_;
};

}  // namespace vandrel::platform
