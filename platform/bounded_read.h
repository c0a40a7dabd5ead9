// Reading whole input files into memory with a size limit, so that a folder, a device or an
// endless file named as an input ends with a clear reason instead of a crash or a hang.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vandrel::platform {

// The limit for text read whole: answers files, install scripts, INI files and the texts the
// setup shows are written by people and stay far below it.
constexpr std::uint64_t kTextFileLimit = 8ull << 20;  // 8 MiB

// The whole rest of an open file, or nothing with the reason in *reason ("is larger than
// 8 MiB", "cannot be read").
std::optional<std::string> readBounded(File& file, std::uint64_t limit, std::string* reason);

// A whole host file: refused with a reason when it is a folder, cannot be opened or read,
// or is larger than limit (read in blocks, so a device without an end stops at the limit).
std::optional<std::string> readHostFileBounded(const std::filesystem::path& path,
                                               std::uint64_t limit, std::string* reason);

// "8 MiB", "256 MiB", "100 bytes": a limit as messages show it.
std::string describeLimit(std::uint64_t limit);
// "is larger than 8 MiB": the reason given for a file over the limit.
std::string tooLarge(std::uint64_t limit);

}  // namespace vandrel::platform
