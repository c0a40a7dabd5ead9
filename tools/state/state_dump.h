// The state a package can leave on a machine, as sorted text lines that compare between
// machines of different layouts: files and folders, shortcuts, win.ini keys, registry keys.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/machine.h"

namespace vandrel::state {

// Reads a shortcut file the way the machine's shell reads it; nothing when it cannot.
using LinkReader = std::function<std::optional<platform::ShellLink>(const std::string& path)>;

// A shortcut file decoded from its bytes by our own reader (the emulated machine's shell).
std::optional<platform::ShellLink> readLinkFile(platform::FileSystem& files, const std::string& path);

struct StateRequest {
  std::vector<std::string> trees;  // more folders to describe with everything below them
  std::vector<std::string> keys;   // registry keys ("HKEY_CURRENT_USER\Software\X") and below
  // Files whose contents equal one of these files are named by the label instead of
  // described: the programs each machine has its own build of (label, Windows path).
  std::vector<std::pair<std::string, std::string>> sameAs;
  // Text files are shown without their empty lines (which are not counted either): Wine's
  // profile functions drop them when they write a file, where Windows keeps them.
  bool skipBlankLines = false;
};

// The machine's folders whose paths depend on its layout, each with the name that stands for
// it in the lines (%WINDOWS%, %SYSTEM%, %PROGRAMS%, ...); folders the machine lacks are left
// out.
std::vector<std::pair<std::string, std::string>> layoutFolders(platform::Machine& machine);

// Every path and text in the lines has the layout's folders replaced by their names, without
// regard to case, the longest folder first. Lines:
//   folder PATH
//   file PATH: N bytes, digest HEX        (a binary file)
//   file PATH: same as LABEL               (a file equal to one of request.sameAs)
//   text PATH:LINE: TEXT                   (each line of a small text file, without its CR)
//   link PATH: target T | arguments A | folder W | icon I,N | description D | show S
//   ini [SECTION] KEY=VALUE                (win.ini through the profile functions)
//   key KEY
//   value KEY: NAME TYPE DATA              (REG_SZ "text", REG_DWORD decimal, else hex bytes)
//   file PATH: N bytes                     (a file of the system folder)
// Described: the Windows and system folders' own files and folders (not below them), the
// Start menu, desktop and favorites folders (user and common) with everything below them, the
// request's trees, win.ini's keys and the request's registry keys. Shortcut files are read
// with readLink, and win.ini through the profile functions, not described as files. Throws
// std::runtime_error when the folders hold more than a package could leave (200,000 lines):
// a link among them leads elsewhere.
std::vector<std::string> describeState(platform::Machine& machine, const StateRequest& request,
                                       const LinkReader& readLink);

// The backend's own reader of shortcut files: the system shell on Windows, our decoder on
// the emulated machine.
LinkReader systemLinkReader(platform::Machine& machine);

}  // namespace vandrel::state
