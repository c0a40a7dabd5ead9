// The setting groups of a script document, with their defaults.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/model/entries.h"

namespace vandrel::builder {

struct ScriptSettings {
  std::string appName;
  std::string ver;
  std::string title;
  std::string loadTxt;
  std::string loadBmp;
  std::string defDir;
  int showLicence = 1;
  int type = 0;  // 0 Freeware, 1 Shareware, 2 Copyright, 3 Owner
  int regInfo = 1;
  std::string ownMsg;
  int minCpu = 1;  // 0 386, 1 486, 2 Pentium
  int minWin = 3;  // 0 3.1, 1 3.11, 2 Win32s, 3 95/98, 4 NT 3.51, 5 NT 4
  int nCompil = 0;
  int nSyst = 1;  // 0 16 bits, 1 32 bits, 2 both
  int ownUnInstall = 0;
  std::int32_t archiveSize = 0;
  int language = 0;  // 0 English, 1 French
  std::string lastGenPath;

  bool operator==(const ScriptSettings&) const = default;
};

// Whether the package has a name: the uninstall registration's key and the uninstaller's
// shortcut are named after AppName, so a name of blanks only counts as none.
inline bool hasApplicationName(const ScriptSettings& settings) {
  return settings.appName.find_first_not_of(" \t\r\n\v\f") != std::string::npos;
}

struct BackgroundSettings {
  int gradient = 1;
  int vert = 1;
  int bitmap = 0;
  std::string bmpName;
  int bmpMode = 0;  // Centered, Stretched, Mosaic, Centered Mosaic, All Screen
  int caption = 0;
  std::uint32_t top = 0x000000;     // 0x00BBGGRR
  std::uint32_t bottom = 0xff0000;  // blue

  bool operator==(const BackgroundSettings&) const = default;
};

struct DocumentProperties {
  std::string author;
  std::string subject;
  std::string templateName;

  bool operator==(const DocumentProperties&) const = default;
};

struct EndOfInstall {
  int reboot = 0;  // 0 no, 1 computer, 2 Windows
  std::vector<std::string> launch;

  bool operator==(const EndOfInstall&) const = default;
};

struct WebSettings {
  std::string startUrl;
  std::vector<std::string> favoriteNames;
  std::vector<std::string> favoriteUrls;

  bool operator==(const WebSettings&) const = default;
};

struct UninstallSettings {
  EntryKey groupKey = 0;  // the GroupRecord that receives the uninstaller's shortcut
  int unGroup = -1;       // that group's index, recomputed whenever the section is written
  std::string unDesc;     // the uninstaller shortcut's name

  bool operator==(const UninstallSettings&) const = default;
};

}  // namespace vandrel::builder
