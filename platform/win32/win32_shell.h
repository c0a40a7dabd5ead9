// Shell facilities of the Windows machine the program runs on: special folders and shortcut
// files through the shell's own link object.
#pragma once

#include "platform/shell.h"

namespace vandrel::platform::win32 {

class Win32Shell : public Shell {
 public:
  Win32Shell();   // joins the thread to COM
  ~Win32Shell() override;

  std::optional<std::string> specialFolder(int csidl) override;
  // IShellLinkA filled in, then IPersistFile::Save.
  bool createShortcut(const std::string& linkPath, const ShellLink& link) override;

 private:
  bool comStarted_ = false;
};

// A shortcut file as the shell reads it (IPersistFile::Load, then the IShellLinkA getters);
// nothing when it cannot be loaded.
std::optional<ShellLink> readShortcut(const std::string& linkPath);

}  // namespace vandrel::platform::win32
