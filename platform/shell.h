// Shell facilities: special folders and shortcut (.lnk) files.
#pragma once

#include <optional>
#include <string>

namespace vandrel::platform {

namespace csidl {
constexpr int Programs = 2;
constexpr int Favorites = 6;
constexpr int Startup = 7;
constexpr int StartMenu = 11;
constexpr int DesktopDirectory = 16;
constexpr int CommonStartMenu = 22;
constexpr int CommonPrograms = 23;
constexpr int CommonStartup = 24;
constexpr int CommonDesktopDirectory = 25;
}  // namespace csidl

struct ShellLink {
  std::string target;            // full Windows path of the program or document
  std::string arguments;
  std::string workingDirectory;
  std::string description;
  std::string iconLocation;
  int iconIndex = 0;
  int showCommand = 1;  // SW_SHOWNORMAL
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetSpecialFolderLocation + SHGetPathFromIDListA; empty when the folder does not exist
  // on this system.
  virtual std::optional<std::string> specialFolder(int csidl) = 0;
  // Writes a shortcut file at linkPath (IShellLinkA + IPersistFile::Save).
  virtual bool createShortcut(const std::string& linkPath, const ShellLink& link) = 0;
};

}  // namespace vandrel::platform
