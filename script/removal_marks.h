// The marks a removal leaves of the shared files' usage counts it released: where they live,
// how the installed script names the removal that made them, and how they are read back.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace vandrel::script {

// The registry key (under HKEY_LOCAL_MACHINE) holding the marks of the removals under way.
// It exists only while a removal has marks there, or after one was killed.
inline constexpr const char* kRemovalMarksKey = "Software\\Vandrel Removals";
// Where a removal names itself in the installation's script: [Removal] Run=<id>.
inline constexpr const char* kRemovalSection = "Removal";
inline constexpr const char* kRemovalRunKey = "Run";

// One mark is a value of kRemovalMarksKey named "<FOLDER>|<run id>|<FILE>": the installation
// folder and the shared file's full path in upper case.
std::string removalMarkPrefix(const std::string& installFolder, const std::string& runId);

// A file as its mark names it: its full path on the machine, in upper case, so that two
// spellings of one path are one file.
std::string removalMarkFile(platform::FileSystem& files, const std::string& path);

// One mark: the registry value's name, and the file it names (as removalMarkFile gives it).
struct RemovalMark {
  std::string name;
  std::string file;
};

// The run id the installed script names; empty when no removal of it has released a count.
std::string removalRunOf(platform::Profile& profile, const std::string& scriptPath);

// The marks of the named run of a removal of the folder; none for an empty run id.
std::vector<RemovalMark> removalMarks(platform::Registry& registry,
                                      const std::string& installFolder, const std::string& runId);

// The marks of the installation's removal (its folder and installed script): the counts that
// a removal stopped before it deleted the script had already released.
std::vector<RemovalMark> removalMarksOf(platform::Registry& registry, platform::Profile& profile,
                                        const std::string& installFolder,
                                        const std::string& scriptPath);

// Deletes one mark, and the marks' key once it holds none; gives the registry's error code.
// Within a change of the registry (platform/registry_update.h) when the mark goes together
// with the count it stands for.
long dropRemovalMark(platform::Registry& registry, const std::string& name);

}  // namespace vandrel::script
