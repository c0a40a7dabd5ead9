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
std::string stagedName(unsigned long n);

// Whether the process that staged this file is gone: no process has the id its name carries,
// the one that has it has ended (not yet waited for), or it started after the file was last
// written (the id was given out again). A name without an id, and this process's own files, are never abandoned.
bool isAbandoned(const std::filesystem::path& staged);

// Removes the abandoned staged files of folder, the first time this process asks for that
// folder; later calls for it do nothing.
void sweepAbandonedOnce(const std::filesystem::path& folder);

}  // namespace vandrel::platform::emulated
