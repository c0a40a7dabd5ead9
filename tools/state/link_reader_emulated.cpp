// Shortcut files on the emulated machine: decoded by our own reader, as its shell wrote them.
#include "tools/state/state_dump.h"

namespace vandrel::state {

LinkReader systemLinkReader(platform::Machine& machine) {
  return [&machine](const std::string& path) { return readLinkFile(machine.files(), path); };
}

}  // namespace vandrel::state
