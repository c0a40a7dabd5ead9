// Host files a run names for its records (transcript, action log, recorded answers): opened
// without ever waiting on them, and told apart by identity rather than by spelling.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace vandrel::platform {

// Opens a host file for a run's records, made when missing: appended to, or emptied first
// when truncate is set. Never waits: a FIFO (which would block until a reader came), a
// socket, a device or a folder is refused, as is a file that cannot be opened; the reason
// ("is a FIFO, not a regular file") goes to *reason. Null on refusal.
std::FILE* openHostOutput(const std::filesystem::path& path, bool truncate, std::string* reason);

// The reason a host path that exists is not a regular file ("is a FIFO, not a regular
// file"); nothing for a regular file or a path that does not exist yet. Links are followed.
std::optional<std::string> notARegularFile(const std::filesystem::path& path);

// True when a and b name one file: the same device and inode (the same file by other names,
// through links or hard links) when both exist, else the same absolute normalised path.
bool sameHostFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace vandrel::platform
