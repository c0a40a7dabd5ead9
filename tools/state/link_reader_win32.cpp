// Shortcut files on Windows: read by the system shell's own link object.
#include "platform/win32/win32_shell.h"
#include "tools/state/state_dump.h"

namespace vandrel::state {

LinkReader systemLinkReader(platform::Machine&) {
  return [](const std::string& path) { return platform::win32::readShortcut(path); };
}

}  // namespace vandrel::state
