// Directory references ("path,root,optional,label") resolved to full paths.
#pragma once

#include <string>
#include <string_view>

namespace vandrel::script {

// The facts a resolution needs, without any machine behind them.
struct DirectoryContext {
  std::string installFolder;  // without trailing backslash
  std::string windowsFolder;  // without trailing backslash
  std::string engineFolder;   // ends in a backslash (setup form)
};

// Setup engine form: an empty reference or one without comma gives the engine folder; root
// 0 install folder, 1 its drive, 2 Windows folder + "\System", 3 Windows folder, other the
// install folder alone; one trailing backslash left by an empty path is dropped.
std::string resolveDirectorySetup(std::string_view reference, const DirectoryContext& context);

// Uninstaller form: as above, but root 3 is the Windows folder with a trailing backslash
// ensured, and an empty reference or one without comma gives the install folder. Root 2 is
// the setup's folder (Windows folder + "\System"), not the system-folder query: on NT that
// query reports System32, where the setup never put the file.
std::string resolveDirectoryUninstall(std::string_view reference,
                                      const DirectoryContext& context);

}  // namespace vandrel::script
