// The six removal steps, run by the driver in this order: shared files, standard files,
// program folders and shortcuts, application folders, INI entries, registry entries. Each
// returns true on success and false when the user chose to stop.
#pragma once

#include <string>

#include "uninstall/removal.h"

namespace vandrel::uninstall {

// The folder below the installation folder that holds the setup's backups.
inline constexpr const char* kBackupFolder = "Backup";

// Lowers the usage count of a shared file. True when the file may be deleted: it has no
// count, or its count was 0 or 1 and the user agreed (or had answered Yes to all). A count
// above 1 is lowered by one; a No leaves the count at 0. Either way the file then stays.
bool ReleaseSharedFile(Removal& removal, const std::string& path);

bool RemoveSharedFiles(Removal& removal);
bool RemoveFiles(Removal& removal);
bool RemoveLinksAndGroups(Removal& removal);
bool RemoveAppFolders(Removal& removal);
bool RemoveIniEntries(Removal& removal);
bool RemoveRegistryEntries(Removal& removal);

// Deletes a file; one that is still there afterwards is noted as a leftover (a file that
// was already gone is not). Both are logged as the kind given.
void DeleteInstalledFile(Removal& removal, const std::string& path,
                         const std::string& kind = "file");

// Deletes the files of one folder (not its subfolders), then the folder if it is empty.
// A file that stays is noted as a leftover; the folder's own removal may fail unnoted (it
// is logged either way).
void DeleteFolderFiles(Removal& removal, const std::string& folder);

}  // namespace vandrel::uninstall
