// Shell facilities of the emulated machine: special folders and shortcut files.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace vandrel::platform::emulated {

// Special folders come from the "Shell Folders" values the machine's preset wrote (per-user
// folders under HKEY_CURRENT_USER, common folders under HKEY_LOCAL_MACHINE); a folder without
// a value does not exist on this system.
class EmulatedShell : public Shell {
 public:
  EmulatedShell(Registry& registry, FileSystem& files) : registry_(registry), files_(files) {}

  std::optional<std::string> specialFolder(int csidl) override;
  bool createShortcut(const std::string& linkPath, const ShellLink& link) override;

 private:
  Registry& registry_;
  FileSystem& files_;
};

// The registry root and "Shell Folders" value name of a special folder; false for an unknown one.
bool shellFolderValue(int csidl, HKey& root, std::string& valueName);

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace vandrel::platform::emulated
