// Files and folders of the emulated machine: the file operations, on paths the drive jail resolves.
#include "platform/emulated/emulated_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>

#include "platform/emulated/host_file.h"
#include "platform/emulated/staged_files.h"

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

constexpr std::uint32_t kKeptAttributes = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;

// A plain file or a folder (devices and pipes are not files here).
std::optional<bool> isFolder(const std::optional<HostStat>& st) {
  if (!st) return std::nullopt;
  if (S_ISDIR(st->mode)) return true;
  if (S_ISREG(st->mode)) return false;
  return std::nullopt;
}

// The folder and the name of a host path as resolve() makes it (never ending in "/" unless
// it is the root).
std::string parentOf(const std::string& host) {
  std::size_t slash = host.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : host.substr(0, slash);
}

std::string nameOf(const std::string& host) {
  std::size_t slash = host.rfind('/');
  return slash == std::string::npos ? host : host.substr(slash + 1);
}

}  // namespace

EmulatedFileSystem::EmulatedFileSystem(const MachineConfig& config, bool hostDriveWritable)
    : config_(config),
      hostDriveWritable_(hostDriveWritable),
      meta_(config.root / "filemeta.db"),
      jail_(config_.drives, names_) {
  std::error_code ec;
  fs::path here = fs::current_path(ec);
  std::optional<std::string> win = ec ? std::nullopt : windowsPath(here);
  std::optional<text::WinPath> start = win ? text::resolveWindowsPath(*win, text::WinPath{}) : std::nullopt;
  current_ = start ? *start : text::WinPath{};
}

EmulatedFileSystem::~EmulatedFileSystem() = default;

const DriveMapping* EmulatedFileSystem::drive(char letter) const {
  return jail_.drive(letter);
}

bool EmulatedFileSystem::writable(const DriveMapping& d) const {
  if (d.letter == 'Z') return hostDriveWritable_;
  return !d.readOnly;
}

std::optional<EmulatedFileSystem::Resolved> EmulatedFileSystem::resolve(const std::string& path) {
  std::optional<text::WinPath> win = text::resolveWindowsPath(path, current_);
  if (!win) return std::nullopt;
  return jail_.resolve(std::move(*win));
}

std::optional<EmulatedFileSystem::Resolved> EmulatedFileSystem::resolveForWrite(const std::string& path) {
  auto r = resolve(path);
  if (!r || !writable(*r->drive)) return std::nullopt;
  return r;
}

std::uint32_t EmulatedFileSystem::defaultAttributes(bool directory) { return directory ? 0 : attr::Archive; }

void EmulatedFileSystem::entryAdded(const std::string& host) { names_.added(parentOf(host), nameOf(host)); }

void EmulatedFileSystem::entryRemoved(const std::string& host) { names_.removed(parentOf(host), nameOf(host)); }

std::optional<FileStatus> EmulatedFileSystem::hostStatus(const fs::path& host) {
  return statusFrom(host.native(), hostStat(host));
}

std::optional<FileStatus> EmulatedFileSystem::hostStatus(const Resolved& r) { return statusFrom(r.host, r.entry); }

std::optional<FileStatus> EmulatedFileSystem::statusFrom(const std::string& host, const std::optional<HostStat>& st) {
  if (!st) return std::nullopt;
  bool dir = S_ISDIR(st->mode);
  if (!dir && !S_ISREG(st->mode)) return std::nullopt;  // devices, pipes: not files here
  FileMeta meta = meta_.get(host);
  FileStatus status;
  status.size = dir ? 0 : st->size;
  status.lastWriteTime = toFileTime(st->lastWrite);
  status.lastAccessTime = toFileTime(st->lastAccess);
  status.creationTime = meta.creation ? *meta.creation : toFileTime(st->birth);
  std::uint32_t a = meta.attributes ? *meta.attributes : defaultAttributes(dir);
  if (!dir && !(st->mode & S_IWUSR)) a |= attr::ReadOnly;
  if (dir) a |= attr::Directory;
  status.attributes = a ? a : attr::Normal;
  return status;
}

int EmulatedFileSystem::openExact(const std::string& path, std::string* host,
                                  std::optional<HostStat>* st) {
  std::optional<text::WinPath> win = text::resolveWindowsPath(path, current_);
  return win ? jail_.openExact(*win, host, st) : -1;
}

std::unique_ptr<File> EmulatedFileSystem::open(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::Read) {
    std::string host;
    std::optional<HostStat> st;
    if (int fd = openExact(path, &host, &st); fd >= 0) {
      return std::make_unique<HostFile>(fd, st->lastAccess, st->lastWrite);
    }
  }
  auto r = mode == OpenMode::Read ? resolve(path) : resolveForWrite(path);
  if (!r) return nullptr;
  if (mode == OpenMode::Read) {
    if (isFolder(r->entry) != false) return nullptr;  // attributes never keep a file from being read
  } else {
    auto st = hostStatus(*r);
    if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return nullptr;
  }
  if (mode != OpenMode::Read) {
    // A file with other hard links (perhaps from outside the machine) is first replaced by
    // a copy of its own, so writing in place changes this name only.
    struct stat st;
    if (::stat(r->host.c_str(), &st) != 0) return nullptr;
    if (st.st_nlink > 1 && !replaceWithCopy(r->host)) return nullptr;
  }
  int flags = mode == OpenMode::Read ? O_RDONLY : mode == OpenMode::Write ? O_WRONLY : O_RDWR;
  int fd = ::open(r->host.c_str(), flags | O_CLOEXEC);
  return fd < 0 ? nullptr : std::make_unique<HostFile>(fd);
}

// A file create() made: it knows its host path, so that the copy's stamps are set through
// the open file, without walking the path again.
class EmulatedFileSystem::CreatedFile : public HostFile {
 public:
  CreatedFile(int fd, EmulatedFileSystem& owner, std::string host)
      : HostFile(fd), owner_(owner), host_(std::move(host)) {}

  std::optional<bool> setCopyStamps(std::optional<FileTime> creation,
                                    std::optional<FileTime> lastWrite,
                                    std::uint32_t attributes) override {
    bool timesSet = setTimes(std::nullopt, lastWrite);
    return owner_.recordCopyStamps(host_, false, timesSet, creation, attributes);
  }

 private:
  EmulatedFileSystem& owner_;
  std::string host_;
};

std::unique_ptr<File> EmulatedFileSystem::createNew(const text::WinPath& win,
                                                    const DriveMapping& drive, std::string* host) {
  int fd = jail_.createExact(win, drive, host);
  if (fd < 0) return nullptr;
  entryAdded(*host);
  meta_.forgetCreated(*host);  // a record left by a file removed behind our back
  return std::make_unique<CreatedFile>(fd, *this, *host);
}

std::unique_ptr<File> EmulatedFileSystem::create(const std::string& path) {
  {
    std::optional<text::WinPath> win = text::resolveWindowsPath(path, current_);
    const DriveMapping* d = win ? drive(win->drive) : nullptr;
    if (!d || !writable(*d)) return nullptr;
    std::string host;
    if (auto file = createNew(*win, *d, &host)) return file;
  }
  auto r = resolveForWrite(path);
  if (!r || r->atRoot()) return nullptr;
  bool existed = r->exists;
  if (existed) {
    auto st = hostStatus(*r);
    if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return nullptr;
  }
  int fd = -1;
  if (existed) {
    // A new empty file takes the old one's name in one step, so a hard or symbolic link
    // there is replaced, never written through into the file it shares or leads to.
    fs::path staged;
    fd = createStaged(parentOf(r->host), &staged);
    if (fd < 0) return nullptr;
    if (::rename(staged.c_str(), r->host.c_str()) != 0) {
      ::unlink(staged.c_str());
      ::close(fd);
      return nullptr;
    }
  } else {
    fd = ::open(r->host.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  }
  if (fd < 0) return nullptr;
  if (!existed) {
    entryAdded(r->host);
    meta_.forgetCreated(r->host);  // a record left by a file removed behind our back
  }
  return std::make_unique<CreatedFile>(fd, *this, std::move(r->host));
}

bool EmulatedFileSystem::createDirectory(const std::string& path) {
  auto r = resolveForWrite(path);
  if (!r || r->atRoot()) return false;
  if (::mkdir(r->host.c_str(), 0755) != 0) return false;
  entryAdded(r->host);
  names_.dropTree(r->host);  // a listing kept of a folder that was here before
  meta_.forget(r->host);
  return true;
}

bool EmulatedFileSystem::removeDirectory(const std::string& path) {
  auto r = resolveForWrite(path);
  if (!r || r->atRoot()) return false;
  auto st = hostStatus(*r);
  if (!st || !st->isDirectory() || (st->attributes & attr::ReadOnly)) return false;
  if (::rmdir(r->host.c_str()) != 0) {
    // A folder that looks empty may still hold staged files left by a write that was
    // killed; they belong to no one now and go with the folder.
    if (errno != ENOTEMPTY && errno != EEXIST) return false;
    std::vector<fs::path> staged;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(r->host, ec)) {
      if (!isStaged(entry.path().filename().string())) return false;
      staged.push_back(entry.path());
    }
    if (ec) return false;
    for (const fs::path& leftover : staged) ::unlink(leftover.c_str());
    if (::rmdir(r->host.c_str()) != 0) return false;
  }
  entryRemoved(r->host);
  names_.dropTree(r->host);
  meta_.forget(r->host);
  return true;
}

bool EmulatedFileSystem::deleteFile(const std::string& path) {
  auto r = resolveForWrite(path);
  if (!r || r->atRoot()) return false;
  auto st = hostStatus(*r);
  if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return false;
  // A large file's storage is given back on the closing thread (a removal of many files
  // then frees one file's pages while the next is looked up); a small one's costs less
  // than the hand-over.
  constexpr std::uint64_t kHandedOver = 32 * 1024;
  int held = -1;
  const bool removed = jail_.unlinkBelow(*r, st->size >= kHandedOver ? &held : nullptr);
  if (held >= 0) {
    if (removed) {
      closing_.close(held);
    } else {
      ::close(held);
    }
  }
  if (!removed) return false;
  entryRemoved(r->host);
  meta_.forget(r->host);
  return true;
}

bool EmulatedFileSystem::moveFile(const std::string& from, const std::string& to) {
  auto src = resolveForWrite(from);
  auto dst = resolveForWrite(to);
  if (!src || !dst || src->atRoot() || dst->atRoot() || !src->exists) return false;
  fs::path target = dst->host;
  if (src->host == dst->host) {
    target = fs::path(parentOf(dst->host)) / dst->win.parts.back();  // a change of case only
    if (target == src->host) return true;
  } else if (dst->exists || isPrefix(src->host, dst->host)) {
    return false;  // the target exists, or a folder would move into itself
  }
  if (!fs::is_directory(target.parent_path())) return false;
  if (::rename(src->host.c_str(), target.c_str()) != 0) {
    // Another host file system: files are copied then removed, folders cannot move.
    std::error_code ec;
    if (errno != EXDEV || !fs::is_regular_file(src->host)) return false;
    if (!fs::copy_file(src->host, target, ec) || ec) {
      fs::remove(target, ec);
      return false;
    }
    fs::remove(src->host, ec);
  }
  entryRemoved(src->host);
  entryAdded(target.native());
  names_.dropTree(src->host);  // the listings of a moved folder and the folders below it
  meta_.rename(src->host, target.native());
  return true;
}

bool EmulatedFileSystem::replaceFile(const std::string& from, const std::string& to) {
  auto src = resolveForWrite(from);
  auto dst = resolveForWrite(to);
  if (!src || !dst || src->atRoot() || dst->atRoot() || src->host == dst->host) return false;
  auto old = hostStatus(*dst);
  auto fresh = hostStatus(*src);
  if (!old || !fresh || old->isDirectory() || fresh->isDirectory()) return false;
  if (old->attributes & attr::ReadOnly) return false;
  // rename() over the existing host file (whose stored spelling is kept) swaps the two in one
  // step: a reader sees the old or the new file, never neither.
  if (::rename(src->host.c_str(), dst->host.c_str()) != 0) return false;
  entryRemoved(src->host);
  entryAdded(dst->host);
  meta_.forget(dst->host);
  meta_.rename(src->host, dst->host);
  return true;
}

int EmulatedFileSystem::createStaged(const fs::path& folder, fs::path* staged) {
  // What killed writes of programs before this one left here goes the first time this
  // program writes here, so that a folder that never goes (the Windows folder) does not
  // gather them.
  sweepAbandonedOnce(folder);
  return createLockedStaged(folder, staged);
}

bool EmulatedFileSystem::replaceWithCopy(const fs::path& host) {
  fs::path staged;
  int fd = createStaged(host.parent_path(), &staged);
  if (fd < 0) return false;
  int in = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  HostFile from(in), to(fd);
  bool copied = in >= 0;
  for (std::int64_t n; copied && (n = from.copyTo(to, 1 << 20)) != 0;) copied = n > 0;
  if (!copied || ::rename(staged.c_str(), host.c_str()) != 0) {
    ::unlink(staged.c_str());
    return false;
  }
  return true;
}

std::optional<bool> EmulatedFileSystem::replaceWholeFile(const std::string& path, std::string_view contents) {
  auto r = resolveForWrite(path);
  if (!r || r->atRoot()) return false;
  if (r->exists) {
    auto st = hostStatus(*r);
    if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return false;
  }
  // The new text is written and flushed under a staged name in the same folder, then
  // renamed over the target: a reader sees the old or the new file, a crash leaves at most
  // a staged file that no listing shows, that the next program writing in the folder
  // removes and that removing the folder takes away.
  fs::path staged;
  int fd = createStaged(parentOf(r->host), &staged);
  if (fd < 0) return false;
  HostFile file(fd);
  std::size_t done = 0;
  while (done < contents.size()) {
    std::int64_t n = file.write(contents.data() + done, contents.size() - done);
    if (n <= 0) break;
    done += std::size_t(n);
  }
  if (done < contents.size() || ::fsync(fd) != 0 || ::rename(staged.c_str(), r->host.c_str()) != 0) {
    ::unlink(staged.c_str());
    return false;
  }
  if (!r->exists) {
    entryAdded(r->host);
    meta_.forget(r->host);
  }
  return true;
}

std::optional<FileStatus> EmulatedFileSystem::status(const std::string& path) {
  auto r = resolve(path);
  if (!r) return std::nullopt;
  return hostStatus(*r);
}

std::optional<FileSystem::OpenedFile> EmulatedFileSystem::openForReading(const std::string& path) {
  // One walk of the path, then the file is opened where the walk found it and its status is
  // taken from the open descriptor. A path without a link on the way is opened so that a
  // link met now fails the open: a part of it replaced by a link since the walk (one leading
  // out of the drive, say) is not followed. A path with links, which the walk found to stay
  // inside, is followed again by the open, and the file it reached is checked to lie inside
  // the drive. Either way the open file must be the one the walk checked; when the path
  // changed in between the walk is made again, and a path that keeps changing reads as
  // missing.
  {
    std::string host;
    std::optional<HostStat> opened;
    if (int fd = openExact(path, &host, &opened); fd >= 0) {
      auto file = std::make_unique<HostFile>(fd);
      file->knowSize(opened->size);
      std::optional<FileStatus> st = statusFrom(host, opened);
      if (st) return OpenedFile{std::move(file), *st};
    }
  }
  constexpr int kWalks = 3;
  for (int walk = 0; walk < kWalks; ++walk) {
    auto r = resolve(path);
    if (!r || isFolder(r->entry) != false) return std::nullopt;
    int fd = r->linked ? ::open(r->host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)
                       : jail_.openUnlinked(*r);
    if (fd < 0) {
      if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP || errno == EXDEV ||
          errno == EAGAIN) {
        continue;  // changed since the walk
      }
      std::optional<FileStatus> st = statusFrom(r->host, r->entry);
      if (!st) return std::nullopt;
      return OpenedFile{nullptr, *st};  // there, but the host does not let us read it
    }
    auto file = std::make_unique<HostFile>(fd);
    std::optional<HostStat> opened = hostStat(fd);
    if (!opened || !opened->sameFile(*r->entry)) continue;
    if (r->linked && !jail_.openInsideDrive(fd, *r->drive)) continue;
    file->knowSize(opened->size);
    std::optional<FileStatus> st = statusFrom(r->host, opened);
    if (!st || st->isDirectory()) return std::nullopt;
    return OpenedFile{std::move(file), *st};
  }
  return std::nullopt;
}

std::optional<FileSystem::ChangeStamp> EmulatedFileSystem::changeStamp(const std::string& path) {
  // The host tells both: the side store of creation times and attributes is not asked.
  auto r = resolve(path);
  if (!r || isFolder(r->entry) != false) return std::nullopt;
  return ChangeStamp{r->entry->size, toFileTime(r->entry->lastWrite)};
}

bool EmulatedFileSystem::setHostTimes(const std::string& host, std::optional<FileTime> lastAccess,
                                      std::optional<FileTime> lastWrite) {
  if (!lastAccess && !lastWrite) return true;
  timespec times[2];
  times[0] = lastAccess ? toTimespec(*lastAccess) : timespec{0, UTIME_OMIT};
  times[1] = lastWrite ? toTimespec(*lastWrite) : timespec{0, UTIME_OMIT};
  return ::utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

std::optional<std::uint32_t> EmulatedFileSystem::keptAttributes(std::uint32_t attributes, bool folder) {
  // What the host shows anyway needs no record.
  std::uint32_t kept = attributes & kKeptAttributes;
  return kept == defaultAttributes(folder) ? std::nullopt : std::optional(kept);
}

bool EmulatedFileSystem::setFileTimes(const std::string& path, std::optional<FileTime> creation,
                                      std::optional<FileTime> lastAccess,
                                      std::optional<FileTime> lastWrite) {
  auto r = resolveForWrite(path);
  if (!r || !isFolder(r->entry)) return false;
  if (!setHostTimes(r->host, lastAccess, lastWrite)) return false;
  return !creation || meta_.setCreation(r->host, *creation);
}

bool EmulatedFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  auto r = resolveForWrite(path);
  std::optional<bool> folder = r ? isFolder(r->entry) : std::nullopt;
  if (!folder) return false;
  return meta_.setAttributes(r->host, keptAttributes(attributes, *folder));
}

bool EmulatedFileSystem::setCopyStamps(const std::string& path, std::optional<FileTime> creation,
                                       std::optional<FileTime> lastWrite, std::uint32_t attributes) {
  // One look-up and one record change for what setFileTimes and setAttributes do in turn.
  auto r = resolveForWrite(path);
  std::optional<bool> folder = r ? isFolder(r->entry) : std::nullopt;
  if (!folder) return false;
  bool timesSet = setHostTimes(r->host, std::nullopt, lastWrite);
  return recordCopyStamps(r->host, *folder, timesSet, creation, attributes);
}

bool EmulatedFileSystem::recordCopyStamps(const std::string& host, bool folder, bool timesSet,
                                          std::optional<FileTime> creation,
                                          std::uint32_t attributes) {
  std::optional<std::uint32_t> kept = keptAttributes(attributes, folder);
  if (!timesSet) {
    meta_.setAttributes(host, kept);
    return false;
  }
  if (!creation) return meta_.setAttributes(host, kept);
  return meta_.setBoth(host, creation, kept);
}

std::vector<FindData> EmulatedFileSystem::find(const std::string& pattern) {
  auto [folder, name] = text::splitFindPattern(pattern);
  std::vector<FindData> found;
  auto dir = resolve(folder);
  if (name.empty() || !dir) return found;
  auto dirStatus = hostStatus(*dir);
  if (!dirStatus || !dirStatus->isDirectory()) return found;
  if (!dir->atRoot()) {
    // Windows lists the folder itself and its parent first.
    if (text::matchesWildcard(name, ".")) found.push_back({".", *dirStatus});
    auto parent = hostStatus(fs::path(parentOf(dir->host)));
    if (text::matchesWildcard(name, "..") && parent) found.push_back({"..", *parent});
  }
  std::vector<FindData> entries;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir->host, ec)) {
    std::string entryName = entry.path().filename().string();
    if (!text::isValidName(entryName) || !text::matchesWildcard(name, entryName)) continue;
    // The folder itself lies inside the drive; only a link in it may lead out.
    std::error_code linkError;
    bool link = entry.is_symlink(linkError) || linkError;
    if (link && !jail_.insideDrive(entry.path(), *dir->drive)) continue;
    if (auto st = hostStatus(entry.path())) entries.push_back({entryName, *st});
  }
  std::sort(entries.begin(), entries.end(), [](const FindData& a, const FindData& b) {
    return text::toUpper(a.name) < text::toUpper(b.name);
  });
  found.insert(found.end(), entries.begin(), entries.end());
  return found;
}

std::optional<DiskSpace> EmulatedFileSystem::diskFreeSpace(const std::string& root) {
  std::optional<text::WinPath> win = text::resolveWindowsPath(root, current_);
  const DriveMapping* d = win ? drive(win->drive) : nullptr;
  if (!d) return std::nullopt;
  std::uint64_t freeBytes = 0, totalBytes = 0;
  if (auto it = config_.freeSpace.find(d->letter); it != config_.freeSpace.end()) {
    freeBytes = totalBytes = it->second;
  } else {
    struct statvfs vfs;
    if (::statvfs(d->host.c_str(), &vfs) != 0) return std::nullopt;
    freeBytes = std::uint64_t(vfs.f_bavail) * vfs.f_frsize;
    totalBytes = std::uint64_t(vfs.f_blocks) * vfs.f_frsize;
  }
  DiskSpace space;
  space.bytesPerSector = 512;
  space.sectorsPerCluster = 1;
  // The smallest cluster that lets both counts fit in 32 bits.
  while (space.sectorsPerCluster < 0x8000 &&
         std::max(freeBytes, totalBytes) / (512ull * space.sectorsPerCluster) > UINT32_MAX)
    space.sectorsPerCluster *= 2;
  std::uint64_t cluster = 512ull * space.sectorsPerCluster;
  space.freeClusters = std::uint32_t(std::min<std::uint64_t>(freeBytes / cluster, UINT32_MAX));
  space.totalClusters = std::uint32_t(std::min<std::uint64_t>(totalBytes / cluster, UINT32_MAX));
  return space;
}

unsigned EmulatedFileSystem::tempFileName(const std::string& folder, const std::string& prefix,
                                          unsigned unique, std::string& name) {
  std::string base = fullPath(folder);
  if (base.empty()) return 0;
  if (base.back() != '\\') base += '\\';
  base += prefix.substr(0, 3);
  auto nameFor = [&](unsigned n) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", n & 0xFFFF);
    return base + digits + ".TMP";
  };
  if (unique != 0) {
    name = nameFor(unique);
    return unique;
  }
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned start = unsigned(ticks ^ ::getpid()) & 0xFFFF;
  for (unsigned i = 0; i < 0x10000; ++i) {
    unsigned n = (start + i) & 0xFFFF;
    if (n == 0) continue;  // 0 would read as a failure
    std::string candidate = nameFor(n);
    auto r = resolveForWrite(candidate);
    if (!r) return 0;
    int fd = ::open(r->host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      entryAdded(r->host);
      meta_.forget(r->host);
      name = candidate;
      return n;
    }
    if (errno != EEXIST) return 0;
  }
  return 0;
}

std::string EmulatedFileSystem::currentDirectory() { return current_.text(); }

bool EmulatedFileSystem::setCurrentDirectory(const std::string& path) {
  auto r = resolve(path);
  if (!r) return false;
  auto st = hostStatus(*r);
  if (!st || !st->isDirectory()) return false;
  current_ = r->win;
  return true;
}

std::string EmulatedFileSystem::fullPath(const std::string& path) {
  std::optional<text::WinPath> win = text::resolveWindowsPath(path, current_);
  if (!win || !drive(win->drive)) return {};
  return win->text();
}

std::optional<fs::path> EmulatedFileSystem::hostPath(const std::string& path) {
  auto r = resolve(path);
  if (!r) return std::nullopt;
  return fs::path(r->host);
}

std::optional<std::string> EmulatedFileSystem::windowsPath(const fs::path& host) {
  std::error_code ec;
  fs::path absolute = fs::absolute(host, ec).lexically_normal();
  if (ec) return std::nullopt;
  fs::path real = fs::weakly_canonical(absolute, ec);
  const DriveMapping* best = nullptr;
  fs::path bestRest;
  std::size_t bestDepth = 0;
  // The drive with the deepest folder holding the path: C: rather than Z:.
  for (const DriveMapping& d : config_.drives) {
    for (const fs::path& base : {d.host, jail_.canonicalRoot(d.letter)}) {
      for (const fs::path& candidate : {absolute, real}) {
        if (candidate.empty() || !isPrefix(base, candidate)) continue;
        std::size_t depth = std::distance(base.begin(), base.end());
        if (!best || depth > bestDepth) {
          best = &d;
          bestDepth = depth;
          bestRest = candidate.lexically_relative(base);
        }
      }
    }
  }
  if (!best) return std::nullopt;
  text::WinPath win{best->letter, {}};
  for (const fs::path& part : bestRest) {
    std::string name = part.string();
    if (name.empty() || name == ".") continue;
    if (!text::isValidName(name)) return std::nullopt;
    win.parts.push_back(name);
  }
  return win.text();
}

bool EmulatedFileSystem::writablePath(const std::string& path) { return resolveForWrite(path).has_value(); }

std::optional<fs::path> EmulatedFileSystem::currentHostDirectory() { return hostPath(current_.text()); }

}  // namespace vandrel::platform::emulated
