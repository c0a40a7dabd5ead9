// The disk folders of one generation, written aside and put in place at the end: each disk's
// files go into a fresh folder beside the disk's folder ("Disk1.partial-3f2a"), and only a
// package that is complete is moved into place. A run that fails or is cancelled leaves every
// disk folder as it was, and a package already there is replaced only by a complete one.
// Each staged folder has a lock file beside it ("Disk1.partial-3f2a.lock") held while the run
// lasts: a run killed outright leaves both, and a later run staging beside the same folder
// removes them once it finds the lock free.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/owner_lock.h"

namespace vandrel::builder {

class StagedFolders {
 public:
  explicit StagedFolders(platform::FileSystem& files);
  // What was not committed is discarded.
  ~StagedFolders();
  StagedFolders(const StagedFolders&) = delete;
  StagedFolders& operator=(const StagedFolders&) = delete;

  // The folder (with a trailing backslash) that receives, during the run, the files meant for
  // the disk folder target; the same one each time for one target. Missing parents of target
  // are made (and removed again by discard). nullopt when it cannot be made: problem() says
  // which folder and why.
  std::optional<std::string> stage(const std::string& target);

  // Puts the staged files in place, target by target. A target that does not exist is the
  // staged folder renamed. An existing target keeps the files it holds besides the package
  // (what the author keeps there): each staged file replaces the file of its name. False when
  // a file could not be put in place: problem() says which and why, and what was not moved
  // yet is discarded.
  bool commit();

  // Removes the staged folders with their files, and the parents that stage made.
  void discard();

  const std::string& problem() const { return problem_; }

 private:
  struct Stage {
    std::string target;  // no trailing backslash
    std::string staged;  // no trailing backslash
    platform::OwnerLock lock;  // held while staged exists (none where the host cannot lock)
  };
  bool makeParents(const std::string& folder);
  bool merge(const std::string& from, const std::string& into);
  void removeTree(const std::string& folder);
  std::string freeName(const std::string& base);
  // A fresh staged folder beside base, with its lock held; empty when none can be made (tried
  // is then the last name tried, if any).
  std::string makeStaged(const std::string& base, platform::OwnerLock& lock, std::string& tried);
  // Removes the staged folders (and their lock files) of earlier runs beside base whose run
  // has ended without removing them.
  void clearLeftovers(const std::string& base);

  platform::FileSystem& files_;
  std::vector<Stage> stages_;
  std::vector<std::string> madeParents_;  // in the order made
  std::string problem_;
};

}  // namespace vandrel::builder
