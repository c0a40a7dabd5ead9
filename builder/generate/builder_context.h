// What the builder's long document commands work with: the machine's files, the interaction
// port, the builder's own folder and its progress service.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/process.h"
#include "ui/action_log.h"
#include "ui/interaction.h"

namespace vandrel::builder {

class ProgressService;

struct BuilderContext {
  platform::FileSystem& files;
  ui::Interaction& ui;
  ProgressService& progress;
  // The folder of the builder's program file (Windows path, no trailing backslash): the
  // engine files, Scanlet.dll and tips.txt are looked up there.
  std::string programFolder;
  // Starts programs (WinExec); null where nothing may be started.
  platform::Process* process = nullptr;
  // The system's temporary folder (GetTempPathA), a Windows path.
  std::string tempFolder = "C:\\WINDOWS\\TEMP";
  // Loads Scanlet.dll for the integrity check; null where no library may be loaded.
  platform::LibraryLoader* libraries = nullptr;
  // Where generation logs each file it puts into a package; null: not logged.
  ui::ActionLog* log = nullptr;
};

// "folder\name" with exactly one backslash between them.
std::string joinPath(const std::string& folder, const std::string& name);
// A source folder or file named by a document entry as a Windows path: a relative one (no drive, no leading
// backslash) lies below the folder of the document at documentPath, so that a project folder
// can be moved or generated from anywhere. Unchanged when the document has no path yet.
std::string pathBesideDocument(const std::string& documentPath, const std::string& folder);
// The folder with a trailing backslash.
std::string withBackslash(const std::string& folder);
// Creates a folder and its missing parents; true when it exists afterwards.
bool makeFolders(platform::FileSystem& files, const std::string& folder);
// Size of an existing file, nullopt when it is missing or a folder.
std::optional<std::uint64_t> fileSize(platform::FileSystem& files, const std::string& path);

}  // namespace vandrel::builder
