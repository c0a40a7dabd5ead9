// An open host file behind a File handle, and the conversions between host and Windows times.
#pragma once

#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <optional>

#include "platform/file_system.h"

namespace vandrel::platform::emulated {

FileTime toFileTime(const timespec& time);

class HostFile : public File {
 public:
  explicit HostFile(int fd) : fd_(fd) {}
  // A file whose times the opener has just read from the host: times() gives them without
  // asking again.
  HostFile(int fd, const timespec& lastAccess, const timespec& lastWrite)
      : fd_(fd), openedTimes_(FileTimes{toFileTime(lastAccess), toFileTime(lastWrite)}) {}
  // A file opened for reading whose size the opener has just read from the host: a copy
  // from its start that reaches exactly that size ends there, without one more call to learn
  // that nothing follows. One that finds more (the file grew since) reads on to the end.
  void knowSize(std::uint64_t size) { knownSize_ = size; }
  ~HostFile() override;
  HostFile(const HostFile&) = delete;
  HostFile& operator=(const HostFile&) = delete;

  std::int64_t read(void* buffer, std::size_t count) override;
  std::int64_t write(const void* buffer, std::size_t count) override;
  bool seek(std::uint64_t offset) override;
  std::uint64_t size() override;
  std::int64_t copyTo(File& out, std::size_t count) override;
  std::optional<FileTimes> times() override;
  bool setTimes(std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) override;
  bool takeHostMode(File& source) override;

 private:
  int fd_;
  std::optional<FileTimes> openedTimes_;
  std::optional<std::uint64_t> knownSize_;
  // Where the copies from the start have come to; empty once another read or a seek moved
  // the position.
  std::optional<std::uint64_t> copied_ = 0;
};

timespec toTimespec(FileTime time);
// What the host tells of a file in one query: its type, size and
// times, with the creation (birth) time where the file system keeps one, else the last write.
struct HostStat {
  mode_t mode = 0;
  std::uint64_t size = 0;
  timespec lastWrite{}, lastAccess{}, birth{};
  dev_t device = 0;  // with inode, which file it is
  ino_t inode = 0;
  bool sameFile(const HostStat& other) const {
    return device == other.device && inode == other.inode;
  }
};
// With followLinks false, a symbolic link tells of itself.
std::optional<HostStat> hostStat(const char* host, bool followLinks = true);
// What the host tells of an open file.
std::optional<HostStat> hostStat(int fd);
// What the host tells of the entry name in the open folder dirfd; a link tells of itself.
std::optional<HostStat> hostStatIn(int dirfd, const char* name);
inline std::optional<HostStat> hostStat(const std::filesystem::path& host, bool followLinks = true) {
  return hostStat(host.c_str(), followLinks);
}

}  // namespace vandrel::platform::emulated
