// Files and folders addressed by Windows paths ("C:\Program Files\App\a.exe").
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace vandrel::platform {

class CopyQueue;

// File attribute bits, as Windows numbers them.
namespace attr {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
constexpr std::uint32_t Normal = 0x80;
}  // namespace attr

struct FileStatus {
  std::uint64_t size = 0;
  FileTime creationTime = 0;
  FileTime lastAccessTime = 0;
  FileTime lastWriteTime = 0;
  std::uint32_t attributes = 0;
  bool isDirectory() const { return (attributes & attr::Directory) != 0; }
};

// One match of a folder search (FindFirstFileA / FindNextFileA).
struct FindData {
  std::string name;  // the name as stored, without folder
  FileStatus status;
};

// Free space of a drive as GetDiskFreeSpaceA reports it.
struct DiskSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
  std::uint64_t freeBytes() const {
    return std::uint64_t(freeClusters) * sectorsPerCluster * bytesPerSector;
  }
};

// The two times a copy takes from its source.
struct FileTimes {
  FileTime lastAccess = 0;
  FileTime lastWrite = 0;
};

// An open file (_lopen/_lcreat handle). Closed when destroyed.
class File {
 public:
  virtual ~File() = default;
  // Bytes read (0 at the end), or -1 on an error.
  virtual std::int64_t read(void* buffer, std::size_t count) = 0;
  // Bytes written, or -1 on an error (disk full, read-only).
  virtual std::int64_t write(const void* buffer, std::size_t count) = 0;
  // Moves to an absolute offset; false on an error.
  virtual bool seek(std::uint64_t offset) = 0;
  virtual std::uint64_t size() = 0;
  // Copies up to count bytes from this file's position to out's position: the bytes copied
  // (0 at the end of this file), or -1 on an error. Fewer than count are copied only at the
  // end of this file or when writing failed part way, so a short count ends a copy loop.
  // Files of one backend may copy without passing the data through the program.
  virtual std::int64_t copyTo(File& out, std::size_t count) {
    std::vector<char> buffer(count);
    std::int64_t got = read(buffer.data(), count);
    if (got <= 0) return got;
    std::int64_t put = out.write(buffer.data(), std::size_t(got));
    return put < 0 ? -1 : put;
  }
  // The open file's last access and last write times, as status() of its path gives them
  // (a file system may give those it saw when it opened the file for reading, before any
  // read moved the access time); empty when this kind of file cannot tell (callers then ask
  // by path).
  virtual std::optional<FileTimes> times() { return std::nullopt; }
  // Sets the open file's times (an empty one stays), as setFileTimes() does by path; false
  // when this kind of file cannot (callers then set them by path).
  virtual bool setTimes(std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) {
    (void)lastAccess;
    (void)lastWrite;
    return false;
  }
  // Gives this file the host permission bits of source, as a file copy on the host does;
  // false when either is no host file.
  virtual bool takeHostMode(File& source) {
    (void)source;
    return false;
  }
  // The stamps a copy takes, set on the file this file system's create() made, as
  // FileSystem::setCopyStamps() sets them by its path: true or false as that call would
  // answer, empty when this kind of file cannot (callers then set them by path). Saves
  // looking the path up again for a file still open.
  virtual std::optional<bool> setCopyStamps(std::optional<FileTime> creation,
                                            std::optional<FileTime> lastWrite,
                                            std::uint32_t attributes) {
    (void)creation;
    (void)lastWrite;
    (void)attributes;
    return std::nullopt;
  }
};

enum class OpenMode { Read, Write, ReadWrite };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // _lopen: an existing file; null when it is missing, a folder, read-only for writing,
  // or the path cannot be mapped.
  virtual std::unique_ptr<File> open(const std::string& path, OpenMode mode) = 0;
  // _lcreat: creates the file, or empties an existing one; null on failure.
  virtual std::unique_ptr<File> create(const std::string& path) = 0;

  virtual bool createDirectory(const std::string& path) = 0;  // one level
  virtual bool removeDirectory(const std::string& path) = 0;  // empty folders only
  virtual bool deleteFile(const std::string& path) = 0;
  virtual bool moveFile(const std::string& from, const std::string& to) = 0;
  // Moves from over an existing file to in one step (as MoveFileEx with the replace flag),
  // so that a reader sees the old or the new file at every moment. False when this file
  // system cannot do that; callers then fall back to moving the old file aside first.
  virtual bool replaceFile(const std::string& from, const std::string& to) {
    (void)from;
    (void)to;
    return false;
  }

  // Writes a whole file in one step (creating it or replacing the old one): a reader sees
  // the old or the new file, never a part, and a crash on the way leaves no file under a
  // name a folder listing shows. True when done, false when it failed with nothing changed,
  // empty when this file system has no such way (callers then write a temporary file
  // themselves and replace the old one with it).
  virtual std::optional<bool> replaceWholeFile(const std::string& path, std::string_view contents) {
    (void)path;
    (void)contents;
    return std::nullopt;
  }

  virtual std::optional<FileStatus> status(const std::string& path) = 0;

  // A file opened for reading together with its status.
  struct OpenedFile {
    std::unique_ptr<File> file;  // null when the file is there but cannot be read
    FileStatus status;
  };
  // status(path) and open(path, OpenMode::Read) in one call, for a caller that reads the file
  // it looked at: empty for a missing file, a folder or a path that cannot be mapped. A file
  // system may find both with one look-up of the path; the status is then the open file's.
  virtual std::optional<OpenedFile> openForReading(const std::string& path) {
    std::optional<FileStatus> st = status(path);
    if (!st || st->isDirectory()) return std::nullopt;
    return OpenedFile{open(path, OpenMode::Read), *st};
  }
  // What shows that a file changed, its size and last write time, for a caller that keeps
  // its contents: status() without the parts that may cost more to find. Empty for a missing
  // file or a folder.
  struct ChangeStamp {
    std::uint64_t size = 0;
    FileTime lastWrite = 0;
  };
  virtual std::optional<ChangeStamp> changeStamp(const std::string& path) {
    std::optional<FileStatus> st = status(path);
    if (!st || st->isDirectory()) return std::nullopt;
    return ChangeStamp{st->size, st->lastWriteTime};
  }
  // Times left empty are not changed.
  virtual bool setFileTimes(const std::string& path, std::optional<FileTime> creation,
                            std::optional<FileTime> lastAccess,
                            std::optional<FileTime> lastWrite) = 0;
  virtual bool setAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // The stamps a copied file takes, in one call: setFileTimes(path, creation, none, lastWrite),
  // then setAttributes(path, attributes), both made even when the first fails. False when
  // either failed. A file system may do both with one look-up of the path.
  virtual bool setCopyStamps(const std::string& path, std::optional<FileTime> creation,
                             std::optional<FileTime> lastWrite, std::uint32_t attributes) {
    bool times = setFileTimes(path, creation, std::nullopt, lastWrite);
    return setAttributes(path, attributes) && times;
  }

  // FindFirstFileA/FindNextFileA over one folder: pattern is a path whose last part
  // may hold "*" and "?" ("C:\App\*.*"). "." and ".." are listed for folders, as Windows does.
  virtual std::vector<FindData> find(const std::string& pattern) = 0;

  // GetDiskFreeSpaceA for the drive of a path ("C:\").
  virtual std::optional<DiskSpace> diskFreeSpace(const std::string& root) = 0;

  // GetTempFileNameA: folder + "\" + prefix (first three characters) + four hex digits +
  // ".TMP". With unique 0 a free name is chosen and the file created; otherwise the last
  // four hex digits of unique are used and nothing is created. Returns the number used,
  // or 0 on failure.
  virtual unsigned tempFileName(const std::string& folder, const std::string& prefix,
                                unsigned unique, std::string& name) = 0;

  // Current folder of this process (_chdir / GetCurrentDirectoryA).
  virtual std::string currentDirectory() = 0;
  virtual bool setCurrentDirectory(const std::string& path) = 0;
  // A full Windows path with "." and ".." resolved, relative paths taken from the current
  // folder; empty when the path cannot be mapped to a drive.
  virtual std::string fullPath(const std::string& path) = 0;

  // The host file behind a Windows path (also for a path that does not exist yet), and
  // back. Empty when there is none.
  virtual std::optional<std::filesystem::path> hostPath(const std::string& path) = 0;
  virtual std::optional<std::string> windowsPath(const std::filesystem::path& host) = 0;

  // Whether the drive of a path may be written at all (a read-only drive may not), asked
  // without writing anything.
  virtual bool mayWrite(const std::string& path) {
    (void)path;
    return true;
  }

  // The calls until endBatch() are a long run of file work (the files of an installation or
  // a removal): what a file system keeps beside the files may go to its store in larger
  // transactions. Nothing else changes: every call does what it does alone, in order.
  // endBatch() is false when records kept beside the files (creation times, attributes)
  // whose calls had succeeded were lost. Batches may nest.
  virtual void beginBatch() {}
  virtual bool endBatch() { return true; }
  // Ends what a batch holds now (a transaction of its store), before the program waits on
  // something else (the user's answer): no other program waits on it meanwhile. The batch
  // goes on.
  virtual void settleBatch() {}

  // Where copies between this file system's open files can be made by another thread while
  // the caller goes on (see CopyQueue); null when every copy is made by the caller.
  virtual CopyQueue* copyQueue() { return nullptr; }
};

// A batch of file work for the life of a scope.
class FileBatch {
 public:
  explicit FileBatch(FileSystem& files) : files_(files) { files_.beginBatch(); }
  ~FileBatch() { files_.endBatch(); }
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;

 private:
  FileSystem& files_;
};

}  // namespace vandrel::platform
