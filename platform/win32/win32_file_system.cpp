// Files and folders through the Windows file calls.
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/win32/win32_time.h"

namespace vandrel::platform::win32 {

namespace {

// An open file handle; closed when destroyed.
class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }

  std::int64_t read(void* buffer, std::size_t count) override {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, DWORD(count), &got, nullptr)) return -1;
    return got;
  }
  std::int64_t write(const void* buffer, std::size_t count) override {
    DWORD put = 0;
    if (!WriteFile(handle_, buffer, DWORD(count), &put, nullptr)) return -1;
    return put < count ? -1 : std::int64_t(put);  // a short write is a full disk
  }
  bool seek(std::uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(offset);
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) != 0;
  }
  std::uint64_t size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle_, &size) ? std::uint64_t(size.QuadPart) : 0;
  }

 private:
  HANDLE handle_;
};

std::unique_ptr<File> openHandle(const std::string& path, DWORD access, DWORD disposition) {
  HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(handle);
}

FileStatus statusOf(DWORD attributes, const FILETIME& creation, const FILETIME& access,
                    const FILETIME& write, DWORD sizeHigh, DWORD sizeLow) {
  FileStatus status;
  status.attributes = attributes;
  status.creationTime = fromFileTime(creation);
  status.lastAccessTime = fromFileTime(access);
  status.lastWriteTime = fromFileTime(write);
  status.size = (std::uint64_t(sizeHigh) << 32) | sizeLow;
  return status;
}

}  // namespace

std::unique_ptr<File> Win32FileSystem::open(const std::string& path, OpenMode mode) {
  DWORD access = mode == OpenMode::Read    ? GENERIC_READ
                 : mode == OpenMode::Write ? GENERIC_WRITE
                                           : GENERIC_READ | GENERIC_WRITE;
  return openHandle(path, access, OPEN_EXISTING);
}

std::unique_ptr<File> Win32FileSystem::create(const std::string& path) {
  return openHandle(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

bool Win32FileSystem::createDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32FileSystem::removeDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool Win32FileSystem::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::moveFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<FileStatus> Win32FileSystem::status(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return statusOf(data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime,
                  data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
}

bool Win32FileSystem::setFileTimes(const std::string& path, std::optional<FileTime> creation,
                                   std::optional<FileTime> lastAccess,
                                   std::optional<FileTime> lastWrite) {
  // Folders open only with the backup flag.
  HANDLE handle = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  FILETIME times[3];
  const std::optional<FileTime>* given[3] = {&creation, &lastAccess, &lastWrite};
  for (int i = 0; i < 3; ++i)
    if (*given[i]) times[i] = toFileTime(**given[i]);
  bool done = SetFileTime(handle, creation ? &times[0] : nullptr, lastAccess ? &times[1] : nullptr,
                          lastWrite ? &times[2] : nullptr) != 0;
  CloseHandle(handle);
  return done;
}

bool Win32FileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

std::vector<FindData> Win32FileSystem::find(const std::string& pattern) {
  std::vector<FindData> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back({data.cFileName, statusOf(data.dwFileAttributes, data.ftCreationTime,
                                              data.ftLastAccessTime, data.ftLastWriteTime,
                                              data.nFileSizeHigh, data.nFileSizeLow)});
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return found;
}

std::optional<DiskSpace> Win32FileSystem::diskFreeSpace(const std::string& root) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters))
    return std::nullopt;
  return DiskSpace{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
}

unsigned Win32FileSystem::tempFileName(const std::string& folder, const std::string& prefix,
                                       unsigned unique, std::string& name) {
  char buffer[MAX_PATH];
  UINT used = GetTempFileNameA(folder.c_str(), prefix.c_str(), unique, buffer);
  if (used != 0) name = buffer;
  return used;
}

std::string Win32FileSystem::currentDirectory() {
  char buffer[MAX_PATH];
  DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

bool Win32FileSystem::setCurrentDirectory(const std::string& path) {
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string Win32FileSystem::fullPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::optional<std::filesystem::path> Win32FileSystem::hostPath(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return std::filesystem::path(path);
}

std::optional<std::string> Win32FileSystem::windowsPath(const std::filesystem::path& host) {
  if (host.empty()) return std::nullopt;
  return host.string();
}

}  // namespace vandrel::platform::win32
