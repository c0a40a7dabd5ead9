// Staged files left by killed writes, told by the flock their writer holds, and their removal.
#include "platform/emulated/staged_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <mutex>
#include <set>

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

// A name this system makes: the prefix, digits, "-", digits. Others are left alone.
bool hasStagedForm(const std::string& name) {
  if (!isStaged(name)) return false;
  const std::string rest = name.substr(kStagedPrefix.size());
  const std::size_t dash = rest.find('-');
  auto digits = [](const std::string& part) {
    if (part.empty()) return false;
    for (char ch : part)
      if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    return true;
  };
  return dash != std::string::npos && digits(rest.substr(0, dash)) && digits(rest.substr(dash + 1));
}

}  // namespace

std::string stagedName(unsigned long n) {
  return std::string(kStagedPrefix) + std::to_string(::getpid()) + "-" + std::to_string(n);
}

int createLockedStaged(const fs::path& folder, fs::path* staged) {
  static std::atomic<unsigned long> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = folder / stagedName(counter++);
    int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (errno != EEXIST) return -1;
      continue;
    }
    // Between the open and the lock another program's sweep may take the new file for
    // abandoned and remove it (it holds the lock while it does): the name is then gone, and
    // another is taken. Once held here, no sweep removes it.
    struct stat st {};
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      *staged = std::move(candidate);
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

bool removeIfAbandoned(const fs::path& staged) {
  if (!hasStagedForm(staged.filename().string())) return false;
  int fd = ::open(staged.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat held {}, there {};
  // Held here, the file cannot be taken by its writer any more; it is removed only if the
  // name still leads to it (its writer may have renamed it over its target meanwhile, and
  // the name been taken again).
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
      ::lstat(staged.c_str(), &there) == 0 && held.st_dev == there.st_dev && held.st_ino == there.st_ino) {
    removed = ::unlink(staged.c_str()) == 0;
  }
  ::close(fd);
  return removed;
}

void sweepAbandonedOnce(const fs::path& folder) {
  static std::mutex guard;
  static std::set<fs::path> swept;
  {
    std::lock_guard<std::mutex> lock(guard);
    if (!swept.insert(folder).second) return;
  }
  std::error_code ec;
  for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
    removeIfAbandoned(entry->path());
  }
}

}  // namespace vandrel::platform::emulated
