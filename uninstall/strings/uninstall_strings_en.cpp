// The uninstaller's strings in English.
#include "uninstall/strings/uninstall_strings.h"

namespace vandrel::uninstall {

const script::StringTable& uninstallStrings() {
  static const script::StringTable table{
#include "uninstall/strings/uninstall_names.inc"
      {203,
       "Dallow can not find the install script file used for Setup in the current path and "
       "will now exit..."},
      {204,
       "It seems that the script file used by Setup has been corrupted or altered. The "
       "uninstall process may not be complete. Do you still wish to proceed ?"},
      {205,
       "It seems that the script file used by Setup has been corrupted or altered. The "
       "uninstall process may not be complete. Do you still wish to proceed ?"},
      {206,
       "The uninstall procedure couldn't be completed. It is possible that the software may "
       "not run correctly anymore."},
      {207, "Please start the unInstall program by double-clicking on its associated icon. Thank you !"},
      {215, "Uninstall completed successfully."},
      {216,
       "Dallow is removing %1 from your computer. Please wait while components are deleted..."},
      {220, "You are about to remove %1 from your computer. Are you sure you want to proceed ?"},
      {221, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"},
      {222,
       "The shared file %1 has a zero usage-count and doesn't seems to be used anymore. Do you "
       "wish to erase it ?"},
      {224,
       "UnInstall is now completed, but some components couldn't be removed. You will have to "
       "erase manually all added files..."},
      {225,
       "Another installation or removal is running on this computer. Please run the removal "
       "again when it has finished."},
      {1001, "Caption"},
      {1004, "Shared program files..."},
      {1005, "Standard program files..."},
      {1008, "Program folders and shortcuts..."},
      {1010, "Application folders..."},
      {1012, "Windows Registry entries..."},
      {57344, "Dallow v3.0"},
  };
  return table;
}

}  // namespace vandrel::uninstall
