// Room on a drive: the bytes a file will take once written (a compressed file expanded), and
// the full-disk report that names the drive, the bytes needed and the bytes free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vandrel::platform {

// A drive with less room than a write needs.
struct DiskShortage {
  char drive = 'C';          // upper case
  std::uint64_t needed = 0;  // bytes the write needs
  std::uint64_t free = 0;    // bytes the drive has free
};

// The drive letter of a full Windows path ("C:\..."), upper case; 0 for any other path.
char driveLetterOf(const std::string& path);

// The bytes the file at path takes once expanded: the length its SZDD header gives, or its
// own size when it is not compressed; empty when it cannot be read.
std::optional<std::uint64_t> expandedSizeOf(FileSystem& files, const std::string& path);

// The shortage when the drive of path has fewer than needed bytes free; empty when it has
// room or its free space cannot be asked.
std::optional<DiskShortage> shortageFor(FileSystem& files, const std::string& path,
                                        std::uint64_t needed);

// "drive C: is full: 123456 bytes are needed, 1000 are free"
std::string describeShortage(const DiskShortage& shortage);

}  // namespace vandrel::platform
