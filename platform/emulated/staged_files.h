// Staged files: a file written whole is first written under a staged name beside its target
// and then renamed over it. A program killed between the two leaves the staged file behind;
// the next program that writes in that folder removes it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vandrel::platform::emulated {

// The colon keeps staged names out of every Windows path and folder listing.
inline constexpr std::string_view kStagedPrefix = ".vandrel:staged-";

inline bool isStaged(const std::string& name) { return name.rfind(kStagedPrefix, 0) == 0; }

// The staged name of this process's n-th whole-file write: the prefix, the process id, n.
// The id only keeps names apart; programs with their own process table (confined ones) may
// share it, and a name taken already is passed over.
std::string stagedName(unsigned long n);

// Makes a new staged file in folder, open for reading and writing, and holds an exclusive
// flock on it for as long as the descriptor (or one duplicated from it) stays open: that hold,
// not a process id, is what tells a live write from an abandoned one, whichever process table
// its writer sees. Renamed over its target while the descriptor is open, the file is never
// taken for abandoned. Its path in *staged; -1 on failure.
int createLockedStaged(const std::filesystem::path& folder, std::filesystem::path* staged);

// Removes the staged file at path if it is abandoned: no descriptor holds its flock (its
// writer has closed it or ended, however it ended). A file this process still writes is held
// and stays. True when it was removed.
bool removeIfAbandoned(const std::filesystem::path& staged);

// Removes the abandoned staged files of folder, the first time this process asks for that
// folder; later calls for it do nothing.
void sweepAbandonedOnce(const std::filesystem::path& folder);

}  // namespace vandrel::platform::emulated
