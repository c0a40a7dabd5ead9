// The names in host folders, listed once and kept, so that finding a name without regard to
// case costs a table look-up instead of a listing of the whole folder.
#pragma once

#include <time.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vandrel::platform::emulated {

class FolderNames {
 public:
  // The entry of folder whose name matches name without regard to case; of several, the
  // smallest, so that the choice never depends on listing order. A listing is used again only
  // while the folder's change time (to the nanosecond) is the one it was made at.
  std::optional<std::string> find(const std::string& folder, const std::string& name);

  // Our own changes, applied to a kept listing so that it stays valid after the folder's
  // change time moves on. A change another program makes in the same folder within the same
  // clock tick as ours is not seen until the folder changes again; exact names are always
  // looked up on the host first, so this only affects spellings that differ in case.
  void added(const std::string& folder, const std::string& name);
  void removed(const std::string& folder, const std::string& name);
  // A folder was removed or moved away: its listing and those below it are dropped.
  void dropTree(const std::string& folder);

  // The folders below top (a host folder's path ending in "/") are looked at from fd, that
  // folder held open, so that the host walks only the names below it; fd stays the caller's.
  void lookFrom(const std::string& top, int fd);

  // How many folders have been listed from the host (for tests of the cost).
  std::size_t listings() const { return listingsMade_; }

 private:
  struct Listing {
    timespec changed{};       // the folder's modification time when listed
    timespec changedInode{};  // and its inode change time
    std::size_t count = 0;
    // Upper-case name -> the host names spelt that way.
    std::unordered_map<std::string, std::vector<std::string>> names;
  };
  struct FolderTime {
    timespec modified{}, changed{};
  };
  // A folder's change time: its modification time, and the inode change time that moves with
  // it and cannot be set back by hand; empty when it is no folder.
  std::optional<FolderTime> timeOf(const std::string& folder) const;
  // The held folder (lookFrom()) folder lies in, and in *below where its path below it
  // starts; -1 when it lies in none.
  int heldFolderOf(const std::string& folder, const char** below) const;
  Listing* current(const std::string& folder);
  // Takes the folder's new change time after one of our own changes; drops the listing when
  // the folder has gone.
  Listing* afterChange(const std::string& folder);

  // By host folder; in byte order, so that the folders below one lie together.
  std::map<std::string, Listing> listings_;
  std::size_t kept_ = 0;  // names held in all listings
  std::size_t listingsMade_ = 0;
  std::vector<std::pair<std::string, int>> heldTops_;  // lookFrom()'s folders
};

}  // namespace vandrel::platform::emulated
