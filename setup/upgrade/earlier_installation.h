// An earlier installation of the same application: found through the machine's uninstall
// registrations and the installed script in the folder each one names, with what that
// script records for the uninstaller.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "script/directories.h"
#include "script/script_reader.h"

namespace vandrel::setup {

// The uninstall registrations live below this key of HKEY_LOCAL_MACHINE, one subkey each.
inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// What an installed script makes the uninstaller remove, as the uninstaller reads it: full
// paths of the files ([Files] entries it deletes, entry 0 excepted), of the shared files, of
// the links and group folders the setup made, of the author's folders, and the [AddINI] and
// [Registry] lines as written.
struct InstalledRecords {
  std::vector<std::string> files;
  std::vector<std::string> sharedFiles;
  std::vector<std::string> links;
  std::vector<std::string> groupFolders;
  std::vector<std::string> folders;
  std::vector<std::string> iniLines;
  std::vector<std::string> registryLines;
};

// A usage count that a removal of the installation released before it was stopped: the
// name of the removal's mark, and the file as the installed script names it.
struct ReleasedCount {
  std::string mark;
  std::string path;
};

// One installation of the application: its folder, the registrations that name it, the
// version its installed script carries, what that script records, and the counts a stopped
// removal of it already released (none when no removal of it was stopped midway).
struct EarlierInstallation {
  std::string folder;                          // without trailing backslash
  std::vector<std::string> registrations;      // subkey names below kUninstallKey
  std::string version;                         // [Settings] Ver of the installed script
  InstalledRecords records;
  std::vector<ReleasedCount> releasedCounts;
};

// A path as the comparisons take it: doubled backslashes made single, none at the end.
std::string normalPath(const std::string& path);
// Whether two paths name the same file or folder (Windows compares names without case).
bool samePath(const std::string& a, const std::string& b);

// The records of the installed script at scriptPath, its directories resolved with context
// (the installation's folder and the Windows folder), as the uninstaller resolves them.
InstalledRecords readInstalledRecords(platform::Profile& profile, const std::string& scriptPath,
                                      const script::DirectoryContext& context);

// The installation folder an uninstall command names ("<Windows>\Peskin32.exe <folder>"),
// nothing when the command does not start this system's uninstaller.
std::optional<std::string> folderOfUninstallCommand(const std::string& command);

// Every installation of appName on the machine, in the order of its registrations: each
// registration starting this system's uninstaller on a folder whose installed script names
// the same application (compared without case). Registrations of one folder make one
// installation.
std::vector<EarlierInstallation> findInstallations(platform::Machine& machine,
                                                   const std::string& windowsFolder,
                                                   const std::string& appName);

}  // namespace vandrel::setup
