// Compound files (structured storage): the top-level streams of a file, read or written whole.
// The storage itself comes from the system the programs run on: the system's structured
// storage on Windows, a compound-file library elsewhere; both give the same streams.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vandrel::platform {

struct CompoundStreams {
  enum class Status {
    Ok,
    CannotOpen,  // the file cannot be opened for reading
    Damaged,     // the file is not a compound file the storage can read
  };
  Status status = Status::CannotOpen;
  std::string error;  // what went wrong, for messages and logs
  // One element per name asked for, in the same order: nullopt when the file has no such
  // stream, or when the stream cannot be read whole or is larger than the limit.
  std::vector<std::optional<std::string>> streams;
  // Per name: the file has a stream of that name (readable or not).
  std::vector<bool> present;
};

// Reads the named top-level streams of the compound file at path; no stream is believed
// beyond limit bytes (a damaged file can claim any size).
CompoundStreams readCompoundStreams(const std::filesystem::path& path,
                                    const std::vector<std::string>& names, std::uint64_t limit);

// Writes a new compound file at path holding these streams, in this order (an existing file
// is replaced). Returns an empty text on success, else what went wrong; on failure a partly
// written file may be left for the caller to remove.
std::string writeCompoundStreams(const std::filesystem::path& path,
                                 const std::vector<std::pair<std::string, std::string>>& streams);

}  // namespace vandrel::platform
