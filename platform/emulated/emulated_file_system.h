// Files and folders of the emulated machine: Windows paths mapped onto host folders through the
// drive map, never reaching outside a drive's folder.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/closing_thread.h"
#include "platform/emulated/copy_thread.h"
#include "platform/emulated/drive_jail.h"
#include "platform/emulated/file_meta_store.h"
#include "platform/emulated/folder_names.h"
#include "platform/emulated/host_file.h"
#include "platform/emulated/machine_config.h"
#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"
#include "platform/file_system.h"

namespace vandrel::platform::emulated {

class EmulatedFileSystem : public FileSystem {
 public:
  // hostDriveWritable lets Z: (the host's own files) be written.
  EmulatedFileSystem(const MachineConfig& config, bool hostDriveWritable);
  ~EmulatedFileSystem() override;

  std::unique_ptr<File> open(const std::string& path, OpenMode mode) override;
  std::unique_ptr<File> create(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  bool replaceFile(const std::string& from, const std::string& to) override;
  std::optional<bool> replaceWholeFile(const std::string& path, std::string_view contents) override;
  std::optional<FileStatus> status(const std::string& path) override;
  std::optional<OpenedFile> openForReading(const std::string& path) override;
  std::optional<ChangeStamp> changeStamp(const std::string& path) override;
  bool setFileTimes(const std::string& path, std::optional<FileTime> creation,
                    std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) override;
  bool setAttributes(const std::string& path, std::uint32_t attributes) override;
  bool setCopyStamps(const std::string& path, std::optional<FileTime> creation,
                     std::optional<FileTime> lastWrite, std::uint32_t attributes) override;
  std::vector<FindData> find(const std::string& pattern) override;
  std::optional<DiskSpace> diskFreeSpace(const std::string& root) override;
  unsigned tempFileName(const std::string& folder, const std::string& prefix, unsigned unique,
                        std::string& name) override;
  std::string currentDirectory() override;
  bool setCurrentDirectory(const std::string& path) override;
  std::string fullPath(const std::string& path) override;
  std::optional<std::filesystem::path> hostPath(const std::string& path) override;
  std::optional<std::string> windowsPath(const std::filesystem::path& host) override;
  bool mayWrite(const std::string& path) override { return writablePath(path); }
  void beginBatch() override { meta_.beginBatch(); }
  bool endBatch() override { return meta_.endBatch(); }
  void settleBatch() override { meta_.settleBatch(); }
  CopyQueue* copyQueue() override { return &copies_; }

  // The host folder behind the current folder (where started programs run).
  std::optional<std::filesystem::path> currentHostDirectory();
  // Whether the drive of a path may be written (Z: only for the builder; "readonly" drives never).
  bool writablePath(const std::string& path);

 private:
  class CreatedFile;
  using Resolved = DriveJail::Resolved;
  // The host entry a Windows path names (from the current folder), through the drive jail.
  std::optional<Resolved> resolve(const std::string& path);
  // DriveJail::openExact for a Windows path (from the current folder).
  int openExact(const std::string& path, std::string* host, std::optional<HostStat>* st);
  // create() of a name no entry of its folder has in any spelling: the new file, made in one
  // call that refuses every link and any step out of the drive, or nullptr when that cannot
  // tell (for the walk to decide). Its host path goes to *host.
  std::unique_ptr<File> createNew(const text::WinPath& win, const DriveMapping& drive,
                                  std::string* host);
  // resolve(), and only when the drive may be written.
  std::optional<Resolved> resolveForWrite(const std::string& path);
  bool writable(const DriveMapping& drive) const;
  const DriveMapping* drive(char letter) const;
  std::optional<FileStatus> hostStatus(const std::filesystem::path& host);
  std::optional<FileStatus> hostStatus(const Resolved& r);
  std::optional<FileStatus> statusFrom(const std::string& host, const std::optional<HostStat>& st);
  // What setCopyStamps does after setting the host times (timesSet: whether that worked):
  // the side store's record of the file or folder at host.
  bool recordCopyStamps(const std::string& host, bool folder, bool timesSet,
                        std::optional<FileTime> creation, std::uint32_t attributes);
  // The host part of setFileTimes: the access and write times.
  static bool setHostTimes(const std::string& host, std::optional<FileTime> lastAccess,
                           std::optional<FileTime> lastWrite);
  // The record setAttributes keeps for attributes: none for what the host shows anyway.
  static std::optional<std::uint32_t> keptAttributes(std::uint32_t attributes, bool folder);
  // What a file shows without a stored record: Archive for a file, nothing for a folder.
  static std::uint32_t defaultAttributes(bool directory);
  // A new, empty host file in folder under a name no Windows path can reach and no folder
  // listing shows, open for reading and writing; its path in *staged. -1 on failure.
  static int createStaged(const std::filesystem::path& folder, std::filesystem::path* staged);
  // Puts a copy of the file in its place (one rename), ending its hard links to other names.
  static bool replaceWithCopy(const std::filesystem::path& host);
  // Keeps the kept folder listings in step with our own changes.
  void entryAdded(const std::string& host);
  void entryRemoved(const std::string& host);

  MachineConfig config_;
  bool hostDriveWritable_;
  FileMetaStore meta_;
  FolderNames names_;
  DriveJail jail_;  // after names_, which it matches names through
  text::WinPath current_;
  CopyThread copies_;
  ClosingThread closing_;  // the removed large files' last descriptors
};

}  // namespace vandrel::platform::emulated
