// The drive jail: the link walk, the one-call walks by openat2 and the name-by-name walk.
#include "platform/emulated/drive_jail.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

// Whether the host has openat2 (Linux 5.6); cleared at the first ENOSYS or EPERM (a
// sandbox's filter).
bool hostHasOpenat2 = true;

// From this many names on, resolve() lets the host walk the folders in one call: the walk by
// names costs one lstat per name, each walking the path again from the top.
constexpr std::size_t kDeepPath = 4;

// Opens name below the open folder root in one call that refuses every link and any step out
// of root; -1 with errno on failure. A host without the call is remembered.
int openBeneath(int root, const char* name, std::uint64_t flags, std::uint64_t mode = 0) {
  open_how how{};
  how.flags = flags;
  how.mode = mode;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  int fd = int(::syscall(SYS_openat2, root, name, &how, sizeof how));
  if (fd < 0 && (errno == ENOSYS || errno == EPERM)) hostHasOpenat2 = false;
  return fd;
}

// Where a host path really leads: every symbolic link on the way is followed, also one that
// leads nowhere (its target then stands for it, with the names after it), and "." and ".."
// are taken as the host takes them. Empty when links loop or nest too deep.
std::optional<fs::path> followLinks(const fs::path& path) {
  std::vector<fs::path> todo;  // the names still to walk, the next one last
  for (const fs::path& part : path.relative_path()) todo.insert(todo.begin(), part);
  fs::path done = path.root_path().empty() ? fs::current_path() : path.root_path();
  int hops = 0;
  while (!todo.empty()) {
    fs::path part = std::move(todo.back());
    todo.pop_back();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      done = done.parent_path();
      continue;
    }
    fs::path next = done / part;
    struct stat st;
    if (::lstat(next.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
      if (++hops > 40) return std::nullopt;
      std::error_code ec;
      fs::path target = fs::read_symlink(next, ec);
      if (ec) return std::nullopt;
      if (target.is_absolute()) done = target.root_path();
      const fs::path rest = target.relative_path();
      std::vector<fs::path> parts(rest.begin(), rest.end());
      todo.insert(todo.end(), parts.rbegin(), parts.rend());
      continue;
    }
    done = std::move(next);
  }
  return done;
}

// Where the names below a drive begin in a host path made from its folder: the length of
// the folder's path with its final "/".
std::size_t belowDrive(const DriveMapping& drive) {
  const std::string& top = drive.host.native();
  return top.size() + (top.empty() || top.back() != '/' ? 1 : 0);
}

}  // namespace

bool isPrefix(const fs::path& folder, const fs::path& path) {
  auto q = path.begin();
  for (const fs::path& part : folder) {
    if (part.empty()) continue;  // trailing separator
    if (q == path.end() || part != *q) return false;
    ++q;
  }
  return true;
}

DriveJail::DriveJail(const std::vector<DriveMapping>& drives, FolderNames& names)
    : drives_(drives), names_(names) {
  for (const DriveMapping& d : drives_) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(d.host, ec);
    canonicalRoots_[d.letter] = ec ? d.host : canonical;
  }
}

DriveJail::~DriveJail() {
  for (const auto& [letter, fd] : rootFolders_)
    if (fd >= 0) ::close(fd);
}

const DriveMapping* DriveJail::drive(char letter) const {
  for (const DriveMapping& d : drives_)
    if (d.letter == letter) return &d;
  return nullptr;
}

bool DriveJail::insideDrive(const fs::path& host, const DriveMapping& d) const {
  // Every link is followed, dangling or not: a link that leads nowhere yet may be created
  // through, and the file would appear where it leads.
  std::optional<fs::path> real = followLinks(host);
  return real && isPrefix(canonicalRoots_.at(d.letter), *real);
}

// The names are real entries, never "." or "..", so a path without a symbolic link on the
// way cannot leave the drive folder; one with a link is checked where it really leads. A deep
// path is first tried in one call (resolveDeep), which gives the same answer where it gives
// one.
std::optional<DriveJail::Resolved> DriveJail::resolve(text::WinPath win) {
  const DriveMapping* d = drive(win.drive);
  if (!d) return std::nullopt;
  Resolved r{std::move(win), {}, d, false, std::nullopt};
  if (r.win.parts.size() >= kDeepPath && resolveDeep(r)) return r;
  std::optional<HostStat> found = walkNames(r);
  if (r.linked && !insideDrive(r.host, *d)) return std::nullopt;
  if (r.atRoot()) found = hostStat(r.host.c_str());
  r.exists = found.has_value();
  r.entry = found && S_ISLNK(found->mode) ? hostStat(r.host.c_str()) : found;
  return r;
}

// Each name is looked for as given first (one lstat), and only when that misses among the
// folder's names without regard to case; once a name is missing, the names below it are
// taken as given.
std::optional<HostStat> DriveJail::walkNames(Resolved& r) {
  const DriveMapping* d = r.drive;
  bool missing = false, linked = false;
  std::optional<HostStat> found;
  // The host path grows as a string (a filesystem path would split itself into its parts
  // again at every step). Each name is looked at from the drive's open folder where there is
  // one, so that the host walks only the names below it.
  std::string host = d->host.native();
  const int root = rootFolder(*d);
  const std::size_t below = belowDrive(*d);
  auto look = [&] {
    return root >= 0 ? hostStatIn(root, host.c_str() + below) : hostStat(host.c_str(), false);
  };
  for (const std::string& part : r.win.parts) {
    if (!host.empty() && host.back() != '/') host += '/';
    const std::size_t folderEnd = host.size();
    if (!missing) {
      host += part;
      if ((found = look())) {
        linked = linked || S_ISLNK(found->mode);
        continue;
      }
      host.resize(folderEnd);
      if (std::optional<std::string> other = names_.find(host, part)) {
        host += *other;
        if ((found = look())) {
          linked = linked || S_ISLNK(found->mode);
          continue;
        }
        host.resize(folderEnd);
      }
      missing = true;
    }
    host += part;
  }
  r.host = std::move(host);
  r.linked = linked;
  return found;
}

// The folders are opened in one call that refuses every link and any step out of the drive;
// when it succeeds, each folder's name is there as given and is no link, which is what the
// name-by-name walk would have found. The last name is then looked for as that walk does.
bool DriveJail::resolveDeep(Resolved& r) {
  int root = hostHasOpenat2 ? rootFolder(*r.drive) : -1;
  if (root < 0) return false;
  const std::string& last = r.win.parts.back();
  std::size_t below = 0;
  std::string host = exactHostPath(r.win, *r.drive, &below);
  host.resize(host.size() - last.size());  // the folder, ending in "/"
  int folder = openBeneath(root, host.c_str() + below, O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  std::string name = last;
  std::optional<HostStat> found = hostStatIn(folder, name.c_str());
  if (!found) {
    if (std::optional<std::string> other = names_.find(host, last)) {
      found = hostStatIn(folder, other->c_str());
      if (found) name = *other;
    }
  }
  ::close(folder);
  if (found && S_ISLNK(found->mode)) return false;  // a link is checked where it leads
  r.host = host + name;
  r.linked = false;
  r.exists = found.has_value();
  r.entry = found;
  return true;
}

bool DriveJail::unlinkBelow(const Resolved& r, int* held) {
  // From the drive's open folder, so that the host walks only the names below it.
  const std::string& top = r.drive->host.native();
  const std::size_t below = belowDrive(*r.drive);
  int folder = rootFolder(*r.drive);
  const char* name = r.host.c_str() + below;
  if (folder < 0 || r.host.size() <= below || r.host.compare(0, top.size(), top) != 0) {
    folder = AT_FDCWD;
    name = r.host.c_str();
  }
  if (held) *held = ::openat(folder, name, O_PATH | O_NOFOLLOW | O_CLOEXEC);
  return ::unlinkat(folder, name, 0) == 0;
}

int DriveJail::rootFolder(const DriveMapping& drive) {
  auto [at, isNew] = rootFolders_.try_emplace(drive.letter, -1);
  if (isNew) {
    at->second = ::open(drive.host.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    // The kept listings of the folders below it are checked from it too.
    std::string top = drive.host.native();
    if (top.empty() || top.back() != '/') top += '/';
    names_.lookFrom(top, at->second);
  }
  return at->second;
}

std::string DriveJail::exactHostPath(const text::WinPath& win, const DriveMapping& drive,
                                     std::size_t* below) {
  std::string host = drive.host.native();
  if (!host.empty() && host.back() != '/') host += '/';
  *below = belowDrive(drive);
  for (std::size_t i = 0; i < win.parts.size(); ++i) {
    if (i) host += '/';
    host += win.parts[i];
  }
  return host;
}

// A file read is most often named as it is spelt on the host, without a link on the way:
// then one openat2 finds it, where the walk would look at every name first. Whatever the
// call refuses, the walk sees again and decides on.
int DriveJail::openExact(const text::WinPath& win, std::string* host, std::optional<HostStat>* st) {
  const DriveMapping* d = !win.parts.empty() ? drive(win.drive) : nullptr;
  int root = d && hostHasOpenat2 ? rootFolder(*d) : -1;
  if (root < 0) return -1;
  std::size_t below = 0;
  *host = exactHostPath(win, *d, &below);
  // Only a plain file is opened: opening a device does something (a watchdog, a tape), and
  // a pipe would wake its writer. The look follows links on the way, but only decides
  // whether to try; the open below refuses them.
  std::optional<HostStat> seen = hostStatIn(root, host->c_str() + below);
  if (!seen || !S_ISREG(seen->mode)) return -1;
  int fd = openBeneath(root, host->c_str() + below, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  *st = hostStat(fd);
  // Something else put there since the look is left to the walk.
  if (!*st || !S_ISREG((*st)->mode) || !(*st)->sameFile(*seen)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Most files a setup or a generation writes are new: the name is looked for in the folder's
// kept listing, and when no spelling of it is there the file is made with O_EXCL, below the
// drive's folder, without a link on the way. The host refuses an exact name that is there
// after all; then, as for anything else, the walk decides.
int DriveJail::createExact(const text::WinPath& win, const DriveMapping& drive, std::string* host) {
  int root = hostHasOpenat2 && !win.parts.empty() ? rootFolder(drive) : -1;
  if (root < 0) return -1;
  const std::string& name = win.parts.back();
  std::size_t below = 0;
  *host = exactHostPath(win, drive, &below);
  if (names_.find(host->substr(0, host->size() - name.size()), name)) return -1;
  return openBeneath(root, host->c_str() + below, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

int DriveJail::openUnlinked(const Resolved& r) {
  // Read-only and not blocking: a pipe put in the file's place must not hold the program up
  // before the caller's check refuses it (a plain file reads the same either way).
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
  const std::string& folder = r.drive->host.native();
  int root = rootFolder(*r.drive);
  if (!hostHasOpenat2 || root < 0 || r.host.compare(0, folder.size(), folder) != 0) {
    return ::open(r.host.c_str(), kFlags);
  }
  std::size_t below = folder.size();
  while (below < r.host.size() && r.host[below] == '/') ++below;
  int fd = openBeneath(root, r.host.c_str() + below, kFlags);
  // A host (or a sandbox's filter) without the call: the open by path, whose file the
  // caller checks against the walk's.
  if (fd < 0 && (errno == ENOSYS || errno == EPERM)) return ::open(r.host.c_str(), kFlags);
  return fd;
}

bool DriveJail::openInsideDrive(int fd, const DriveMapping& d) const {
  std::error_code ec;
  fs::path real = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
  return ec || isPrefix(canonicalRoots_.at(d.letter), real);
}

}  // namespace vandrel::platform::emulated
