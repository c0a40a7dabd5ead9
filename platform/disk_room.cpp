// Room on a drive: expanded sizes, free space and the full-disk report.
#include "platform/disk_room.h"

#include <array>
#include <cctype>

#include "platform/formats/szdd.h"

namespace vandrel::platform {

char driveLetterOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) {
    return 0;
  }
  return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
}

std::optional<std::uint64_t> expandedSizeOf(FileSystem& files, const std::string& path) {
  std::unique_ptr<File> file = files.open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  std::array<std::uint8_t, szdd::HeaderSize> head{};
  std::int64_t got = file->read(head.data(), head.size());
  if (got < 0) return std::nullopt;
  if (auto header = szdd::parseHeader(head.data(), static_cast<std::size_t>(got))) {
    return header->length;
  }
  return file->size();
}

std::optional<DiskShortage> shortageFor(FileSystem& files, const std::string& path,
                                        std::uint64_t needed) {
  char drive = driveLetterOf(path);
  if (drive == 0) return std::nullopt;
  std::optional<DiskSpace> space = files.diskFreeSpace(std::string(1, drive) + ":\\");
  if (!space || space->freeBytes() >= needed) return std::nullopt;
  return DiskShortage{drive, needed, space->freeBytes()};
}

std::string describeShortage(const DiskShortage& shortage) {
  return std::string("drive ") + shortage.drive + ": is full: " + std::to_string(shortage.needed) +
         " bytes are needed, " + std::to_string(shortage.free) + " are free";
}

}  // namespace vandrel::platform
