// The Windows machine the program runs on: every facility over the real API.
#pragma once

#include "platform/machine.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_version_info.h"

namespace vandrel::platform::win32 {

class Win32Machine : public Machine {
 public:
  FileSystem& files() override { return files_; }
  Profile& profile() override { return profile_; }
  Registry& registry() override { return registry_; }
  System& system() override { return system_; }
  Shell& shell() override { return shell_; }
  Lz& lz() override { return lz_; }
  VersionInfo& versionInfo() override { return versionInfo_; }
  Process& process() override { return process_; }
  Clock& clock() override { return hostClock(); }
  LibraryLoader& libraries() override { return libraries_; }

 private:
  Win32FileSystem files_;
  Win32Profile profile_;
  Win32Registry registry_;
  Win32System system_;
  Win32Shell shell_;
  Win32Lz lz_;
  Win32VersionInfo versionInfo_;
  Win32Process process_;
  Win32LibraryLoader libraries_;
};

}  // namespace vandrel::platform::win32
