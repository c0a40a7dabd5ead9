// Engine-file names by the document's engine kinds and language.
#include "builder/generate/engine_files.h"

#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

// Items of the setup list (237) and the uninstaller list (236).
constexpr int kSetup16E = 1, kSetup16OnDisk = 3, kSetup32E = 4, kSetup32OnDisk = 6, kStarter = 7;
constexpr int kUn16E = 1, kUn16OnDisk = 3, kUn16Installed = 4;
constexpr int kUn32E = 5, kUn32OnDisk = 7, kUn32Installed = 8;

bool french(const ScriptSettings& s) { return s.language == 1; }
bool with16(const ScriptSettings& s) { return s.nSyst == 0 || s.nSyst == 2; }
// An nSyst outside 0..2 is taken as the default, 32 bits.
bool with32(const ScriptSettings& s) { return s.nSyst != 0; }

std::string setup(int englishItem, const ScriptSettings& s) {
  return strItem(sid::SetupFiles, englishItem + (french(s) ? 1 : 0));
}
std::string uninstaller(int englishItem, const ScriptSettings& s) {
  return strItem(sid::UninstallerFiles, englishItem + (french(s) ? 1 : 0));
}

}  // namespace

std::vector<EnginePair> enginePairs(const ScriptSettings& s) {
  std::string starter = strItem(sid::SetupFiles, kStarter, "Setup.exe");
  std::vector<EnginePair> pairs{{starter, starter}};
  if (with32(s)) pairs.push_back({setup(kSetup32E, s), strItem(sid::SetupFiles, kSetup32OnDisk)});
  if (with16(s)) pairs.push_back({setup(kSetup16E, s), strItem(sid::SetupFiles, kSetup16OnDisk)});
  if (s.ownUnInstall == 0) {
    if (with32(s))
      pairs.push_back({uninstaller(kUn32E, s), strItem(sid::UninstallerFiles, kUn32OnDisk)});
    if (with16(s))
      pairs.push_back({uninstaller(kUn16E, s), strItem(sid::UninstallerFiles, kUn16OnDisk)});
  }
  return pairs;
}

UninstallerFiles uninstallerFiles(const ScriptSettings& s) {
  if (with16(s)) {
    return {uninstaller(kUn16E, s), strItem(sid::UninstallerFiles, kUn16OnDisk),
            strItem(sid::UninstallerFiles, kUn16Installed)};
  }
  return {uninstaller(kUn32E, s), strItem(sid::UninstallerFiles, kUn32OnDisk),
          strItem(sid::UninstallerFiles, kUn32Installed)};
}

std::vector<std::string> overheadFiles(const ScriptSettings& s) {
  std::vector<std::string> names;
  if (with16(s)) {
    names.push_back(setup(kSetup16E, s));
    names.push_back(uninstaller(kUn16E, s));
  }
  if (with32(s)) {
    names.push_back(setup(kSetup32E, s));
    names.push_back(uninstaller(kUn32E, s));
  }
  names.push_back(strItem(sid::SetupFiles, kStarter, "Setup.exe"));
  return names;
}

}  // namespace vandrel::builder
