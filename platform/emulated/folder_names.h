// The names in host folders, listed once and kept, so that finding a name without regard to
// case costs a table look-up instead of a listing of the whole folder.
#pragma once

#include <time.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
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
  Listing* current(const std::string& folder);
  // Takes the folder's new change time after one of our own changes; drops the listing when
  // the folder has gone.
  Listing* afterChange(const std::string& folder);

  // By host folder; in byte order, so that the folders below one lie together.
  std::map<std::string, Listing> listings_;
  std::size_t kept_ = 0;  // names held in all listings
  std::size_t listingsMade_ = 0;
};

}  // namespace vandrel::platform::emulated
