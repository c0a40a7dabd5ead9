// Files and folders of the Windows machine the program runs on: the Windows file calls
// (CreateFileA, FindFirstFileA, GetDiskFreeSpaceA, GetTempFileNameA...). A Windows path is
// its own host path.
#pragma once

#include "platform/file_system.h"

namespace vandrel::platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
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
  std::string currentDirectory() override;
  bool setCurrentDirectory(const std::string& path) override;
  std::string fullPath(const std::string& path) override;
  std::optional<std::filesystem::path> hostPath(const std::string& path) override;
  std::optional<std::string> windowsPath(const std::filesystem::path& host) override;
};

}  // namespace vandrel::platform::win32
