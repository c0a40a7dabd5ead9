// Kept listings of host folders for matching names without regard to case.
#include "platform/emulated/folder_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"

namespace vandrel::platform::emulated {

namespace {

// Beyond this many names in all listings together, every listing is dropped and made again
// when next needed.
constexpr std::size_t kMaxNames = 1u << 20;

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// "a/b/" and "a/b" are one folder.
std::string keyOf(const std::string& folder) {
  std::string key = folder;
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

}  // namespace

void FolderNames::lookFrom(const std::string& top, int fd) {
  if (fd >= 0 && !top.empty() && top.back() == '/') heldTops_.emplace_back(top, fd);
}

// Of several held folders holding it (a drive for the host's whole tree holds the others),
// the deepest.
int FolderNames::heldFolderOf(const std::string& folder, const char** below) const {
  int held = -1;
  std::size_t deepest = 0;
  for (const auto& [top, fd] : heldTops_) {
    const bool inside = folder.compare(0, top.size(), top) == 0;
    const bool itself = folder.size() + 1 == top.size() && top.compare(0, folder.size(), folder) == 0;
    if ((!inside && !itself) || (held >= 0 && top.size() <= deepest)) continue;
    held = fd;
    deepest = top.size();
    *below = inside ? folder.c_str() + top.size() : "";
  }
  return held;
}

// Links below the held folder are followed as a look by the whole path follows them; only
// the walk down to the held folder is saved.
std::optional<FolderNames::FolderTime> FolderNames::timeOf(const std::string& folder) const {
  struct stat st;
  const char* below = nullptr;
  const int held = heldFolderOf(folder, &below);
  const int looked = held < 0 ? ::stat(folder.c_str(), &st)
                     : *below  ? ::fstatat(held, below, &st, 0)
                               : ::fstat(held, &st);
  if (looked != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderTime{st.st_mtim, st.st_ctim};
}

FolderNames::Listing* FolderNames::current(const std::string& folder) {
  const std::string key = keyOf(folder);
  auto it = listings_.find(key);
  auto time = timeOf(folder);
  if (time && it != listings_.end() && sameTime(it->second.changed, time->modified) &&
      sameTime(it->second.changedInode, time->changed))
    return &it->second;
  if (it != listings_.end()) {
    kept_ -= it->second.count;
    listings_.erase(it);
  }
  if (!time) return nullptr;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return nullptr;
  Listing listing;
  listing.changed = time->modified;
  listing.changedInode = time->changed;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    listing.names[text::toUpper(name)].push_back(std::move(name));
    ++listing.count;
  }
  ::closedir(dir);
  for (auto& [upper, spellings] : listing.names) std::sort(spellings.begin(), spellings.end());
  ++listingsMade_;
  if (kept_ + listing.count > kMaxNames) {
    listings_.clear();
    kept_ = 0;
  }
  kept_ += listing.count;
  return &(listings_[key] = std::move(listing));
}

std::optional<std::string> FolderNames::find(const std::string& folder, const std::string& name) {
  Listing* listing = current(folder);
  if (!listing) return std::nullopt;
  auto it = listing->names.find(text::toUpper(name));
  if (it == listing->names.end() || it->second.empty()) return std::nullopt;
  return it->second.front();
}

FolderNames::Listing* FolderNames::afterChange(const std::string& folder) {
  auto it = listings_.find(keyOf(folder));
  if (it == listings_.end()) return nullptr;
  auto time = timeOf(folder);
  if (!time) {
    kept_ -= it->second.count;
    listings_.erase(it);
    return nullptr;
  }
  it->second.changed = time->modified;
  it->second.changedInode = time->changed;
  return &it->second;
}

void FolderNames::added(const std::string& folder, const std::string& name) {
  Listing* listing = afterChange(folder);
  if (!listing) return;
  std::vector<std::string>& spellings = listing->names[text::toUpper(name)];
  auto at = std::lower_bound(spellings.begin(), spellings.end(), name);
  if (at != spellings.end() && *at == name) return;
  spellings.insert(at, name);
  ++listing->count;
  ++kept_;
}

void FolderNames::removed(const std::string& folder, const std::string& name) {
  Listing* listing = afterChange(folder);
  if (!listing) return;
  auto it = listing->names.find(text::toUpper(name));
  if (it == listing->names.end()) return;
  auto at = std::find(it->second.begin(), it->second.end(), name);
  if (at == it->second.end()) return;
  it->second.erase(at);
  if (it->second.empty()) listing->names.erase(it);
  --listing->count;
  --kept_;
}

void FolderNames::dropTree(const std::string& folder) {
  const std::string top = keyOf(folder);
  if (top == "/") {
    listings_.clear();
    kept_ = 0;
    return;
  }
  auto drop = [this](std::map<std::string, Listing>::iterator from, std::map<std::string, Listing>::iterator to) {
    for (auto it = from; it != to; ++it) kept_ -= it->second.count;
    listings_.erase(from, to);
  };
  if (auto it = listings_.find(top); it != listings_.end()) drop(it, std::next(it));
  // Byte order puts everything below "a/" between "a/" and "a0" ('0' follows '/').
  drop(listings_.lower_bound(top + "/"), listings_.lower_bound(top + "0"));
}

}  // namespace vandrel::platform::emulated
