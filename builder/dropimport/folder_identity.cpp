// Host folder identities and the folders of a walk.
#include "builder/dropimport/folder_identity.h"

#include <cstdint>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/text/text_rules.h"

namespace vandrel::builder::dropimport {

std::string folderIdentity(platform::FileSystem& files, const std::string& path) {
  std::optional<std::filesystem::path> host = files.hostPath(path);
  if (!host) return {};
#ifdef _WIN32
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(*host, error);
  return error ? std::string() : text::toUpper(real.string());
#else
  struct stat seen {};
  if (::stat(host->c_str(), &seen) != 0) return {};
  return std::to_string(std::uint64_t(seen.st_dev)) + ":" + std::to_string(std::uint64_t(seen.st_ino));
#endif
}

std::size_t WalkedFolders::add(std::string path, std::string identity, std::size_t foundIn) {
  folders_.push_back({std::move(path), std::move(identity), foundIn});
  return folders_.size() - 1;
}

std::optional<std::size_t> WalkedFolders::above(std::size_t walked,
                                                 const std::string& identity) const {
  if (identity.empty()) return std::nullopt;
  for (std::size_t at = walked; at != kNamed && at < folders_.size(); at = folders_[at].foundIn) {
    if (folders_[at].identity == identity) return at;
  }
  return std::nullopt;
}

}  // namespace vandrel::builder::dropimport
