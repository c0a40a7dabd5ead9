// The expansion's temporary files ("KVB", four hexadecimal digits, ".TMP" in the engine
// folder) outlive an installation killed while it copies. So that a later installation can
// tell them from other programs' files of such names, the copy phase keeps a record in the
// engine folder while it runs: the names of that kind that were there before it began.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace vandrel::setup {

inline constexpr const char* kExpansionPrefix = "KVB";
// The record's name in the engine folder.
inline constexpr const char* kExpansionRecord = "KVB.LST";

// A name the expansion makes: the prefix, four hexadecimal digits, ".TMP".
bool isExpansionName(const std::string& name);

// Writes the record into the engine folder (ending in a backslash): the expansion names
// there now, one a line. False when it cannot be written.
bool beginExpansionRecord(platform::FileSystem& files, const std::string& engineFolder);

// Removes the record: the copy phase has ended, and removed every temporary file it made.
void endExpansionRecord(platform::FileSystem& files, const std::string& engineFolder);

// For a run that holds the installation lock (no other installation is copying): a record
// found in the engine folder was left by a copy phase that was killed. Removes the expansion
// names of the folder that it does not list (that phase made them), then the record; other
// names, the names it lists and folders stay. The number of files removed.
int removeExpansionLeftovers(platform::FileSystem& files, const std::string& engineFolder);

}  // namespace vandrel::setup
