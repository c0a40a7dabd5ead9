// What tells one folder of the host from every other, for walks that must not follow a link
// back into a folder they are walking.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vandrel::builder::dropimport {

// The identity of the folder at a Windows path of files: its device and inode, or on Windows
// its path with every link resolved. Empty when the file system has no host folder for it
// or the folder cannot be looked at (such folders are never taken for one another).
std::string folderIdentity(platform::FileSystem& files, const std::string& path);

// The folders of a breadth-first walk, each with the folder it was found in, so that a
// link found in a walk that points back up the tree is seen as the loop it is.
class WalkedFolders {
 public:
  static constexpr std::size_t kNamed = std::size_t(-1);  // a folder the walk starts from

  // Records the folder at path found in the folder `foundIn` (a number add() gave, or
  // kNamed) and gives its number.
  std::size_t add(std::string path, std::string identity, std::size_t foundIn);
  const std::string& path(std::size_t folder) const { return folders_[folder].path; }
  // The folder among `walked` and the folders that lead to it that has this identity; empty
  // when there is none (or the identity is empty).
  std::optional<std::size_t> above(std::size_t walked, const std::string& identity) const;
  void clear() { folders_.clear(); }

 private:
  struct Folder {
    std::string path;
    std::string identity;
    std::size_t foundIn;
  };
  std::vector<Folder> folders_;
};

}  // namespace vandrel::builder::dropimport
