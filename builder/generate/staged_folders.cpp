// Staged disk folders: made beside their targets, moved into place or removed.
#include "builder/generate/staged_folders.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <utility>

#include "platform/text/text_rules.h"

namespace vandrel::builder {

namespace {

// Beside each staged folder, the lock file its run holds.
constexpr const char* kLockSuffix = ".lock";

std::string withoutBackslash(std::string folder) {
  // A drive's root keeps its backslash ("A:\").
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

bool isDriveRoot(const std::string& folder) {
  return folder.size() <= 3 && folder.size() >= 2 && folder[1] == ':';
}

std::string parentOf(const std::string& folder) {
  std::size_t cut = folder.find_last_of("\\/");
  if (cut == std::string::npos) return {};
  return cut <= 2 ? folder.substr(0, cut + 1) : folder.substr(0, cut);
}

std::string join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

StagedFolders::StagedFolders(platform::FileSystem& files) : files_(files) {}

StagedFolders::~StagedFolders() { discard(); }

std::string StagedFolders::freeName(const std::string& base) {
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".partial-%04x", unsigned(random() & 0xffff));
    std::string name = base + suffix;
    if (!files_.status(name) && !files_.status(name + kLockSuffix)) return name;
  }
  return {};
}

std::string StagedFolders::makeStaged(const std::string& base, platform::OwnerLock& lock, std::string& tried) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    std::string staged = freeName(base);
    if (staged.empty()) return {};
    tried = staged;
    // The lock first: a folder found without one is never taken for a left-over.
    if (std::optional<std::filesystem::path> host = files_.hostPath(staged + kLockSuffix)) {
      if (!lock.hold(*host) && files_.status(staged + kLockSuffix)) continue;  // taken meanwhile
    }
    if (files_.createDirectory(staged)) return staged;
    lock.release();
    if (!files_.status(staged)) return {};
  }
  return {};
}

void StagedFolders::clearLeftovers(const std::string& base) {
  std::string parent = parentOf(base);
  if (parent.empty()) return;
  const std::string stem = base.substr(base.find_last_of("\\/") + 1) + ".partial-";
  for (const platform::FindData& found : files_.find(base + ".partial-*")) {
    const std::string& name = found.name;
    if (found.status.isDirectory() || name.size() <= std::string(kLockSuffix).size() ||
        !text::equalsNoCase(std::string_view(name).substr(0, stem.size()), stem) || !name.ends_with(kLockSuffix)) {
      continue;
    }
    const std::string lockFile = join(parent, name);
    const std::string staged = lockFile.substr(0, lockFile.size() - std::string(kLockSuffix).size());
    std::optional<std::filesystem::path> host = files_.hostPath(lockFile);
    if (host) platform::clearIfOwnerGone(*host, [&] { removeTree(staged); });
  }
}

bool StagedFolders::makeParents(const std::string& folder) {
  if (folder.empty()) return false;
  if (std::optional<platform::FileStatus> s = files_.status(folder)) return s->isDirectory();
  if (isDriveRoot(folder)) return false;
  if (!makeParents(parentOf(folder))) return false;
  if (!files_.createDirectory(folder)) return false;
  madeParents_.push_back(folder);
  return true;
}

std::optional<std::string> StagedFolders::stage(const std::string& targetFolder) {
  std::string full = files_.fullPath(targetFolder);
  std::string target = withoutBackslash(full.empty() ? targetFolder : full);
  for (const Stage& s : stages_) {
    if (text::equalsNoCase(s.target, target)) return s.staged + "\\";
  }
  std::optional<platform::FileStatus> existing = files_.status(target);
  if (existing && !existing->isDirectory()) {
    problem_ = target + ": a file of that name is in the way of the folder";
    return std::nullopt;
  }
  // Beside the target, so that putting it in place is a rename on the same drive; inside a
  // drive's root, which has nothing beside it.
  std::string base;
  if (isDriveRoot(target)) {
    base = join(target, "package");
  } else {
    std::string parent = parentOf(target);
    if (!makeParents(parent)) {
      problem_ = parent + ": the folder cannot be made";
      return std::nullopt;
    }
    base = target;
  }
  clearLeftovers(base);
  platform::OwnerLock lock;
  std::string tried;
  std::string staged = makeStaged(base, lock, tried);
  if (staged.empty() && existing && !isDriveRoot(target)) {
    // Nothing can be made beside it (a mount point in a folder the author may not write):
    // inside it, then, as on a drive's root.
    base = join(target, "package");
    clearLeftovers(base);
    tried.clear();
    staged = makeStaged(base, lock, tried);
  }
  if (staged.empty()) {
    problem_ = (tried.empty() ? base : tried) + ": the folder cannot be made";
    return std::nullopt;
  }
  stages_.push_back({target, staged, std::move(lock)});
  return staged + "\\";
}

bool StagedFolders::merge(const std::string& from, const std::string& into) {
  for (const platform::FindData& found : files_.find(join(from, "*"))) {
    if (found.name == "." || found.name == "..") continue;
    std::string source = join(from, found.name);
    std::string destination = join(into, found.name);
    std::optional<platform::FileStatus> there = files_.status(destination);
    if (found.status.isDirectory()) {
      if (!there) {
        if (!files_.moveFile(source, destination)) {
          problem_ = destination + ": the folder cannot be put in place";
          return false;
        }
      } else if (!there->isDirectory()) {
        problem_ = destination + ": a file of that name is in the way of the folder";
        return false;
      } else if (!merge(source, destination)) {
        return false;
      }
      continue;
    }
    if (there && there->isDirectory()) {
      problem_ = destination + ": a folder of that name is in the way of the file";
      return false;
    }
    bool moved = !there
                     ? files_.moveFile(source, destination)
                     : files_.replaceFile(source, destination) ||
                           (files_.deleteFile(destination) && files_.moveFile(source, destination));
    if (!moved) {
      problem_ = destination + (there ? ": the file there cannot be replaced (read-only or in use)"
                                      : ": the file cannot be written");
      return false;
    }
  }
  files_.removeDirectory(from);
  return true;
}

bool StagedFolders::commit() {
  while (!stages_.empty()) {
    Stage& s = stages_.front();
    bool placed =
        files_.status(s.target) ? merge(s.staged, s.target) : files_.moveFile(s.staged, s.target);
    if (!placed) {
      if (problem_.empty()) problem_ = s.target + ": the folder cannot be put in place";
      discard();
      return false;
    }
    s.lock.release();  // nothing staged is left for it to mark
    stages_.erase(stages_.begin());
  }
  madeParents_.clear();  // they hold the package now
  return true;
}

void StagedFolders::removeTree(const std::string& folder) {
  for (const platform::FindData& found : files_.find(join(folder, "*"))) {
    if (found.name == "." || found.name == "..") continue;
    std::string path = join(folder, found.name);
    if (found.status.isDirectory()) {
      removeTree(path);
    } else {
      files_.setAttributes(path, platform::attr::Normal);
      files_.deleteFile(path);
    }
  }
  files_.removeDirectory(folder);
}

void StagedFolders::discard() {
  // Each folder goes before its lock, so that no run finds it unmarked.
  for (auto s = stages_.rbegin(); s != stages_.rend(); ++s) {
    removeTree(s->staged);
    s->lock.release();
  }
  stages_.clear();
  // Only folders still empty: a parent that holds something else is the author's now.
  for (auto made = madeParents_.rbegin(); made != madeParents_.rend(); ++made) {
    files_.removeDirectory(*made);
  }
  madeParents_.clear();
}

}  // namespace vandrel::builder
