// A restart's RunOnce commands, kept in the registry from the moment they leave their key until
// they have run.
#include "tools/machine/run_once.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/registry_update.h"

namespace vandrel::tools {

using namespace vandrel::platform;

namespace {

const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// A kept command's value name: "<starts>|<root>|<name>", starts being 1 before its first start
// and 2 before the start that follows a kill.
std::string keptName(int starts, HKey root, const std::string& name) {
  return std::to_string(starts) + (root == hkey::LocalMachine ? "|HKLM|" : "|HKCU|") + name;
}

long deleteValueOf(Registry& reg, HKey root, const std::string& path, const std::string& name) {
  HKey key = 0;
  long rc = reg.openKey(root, path, key);
  if (rc != error::Success) return rc;
  rc = reg.deleteValue(key, name);
  reg.closeKey(key);
  return rc;
}

// Moves a command, as one change: the value from (root, path, name) to the kept value keptAs.
// False when it could not be kept (it then stays where it was).
bool keep(Registry& reg, HKey root, const std::string& path, const std::string& name, const std::string& keptAs,
          const std::string& command) {
  return updateRegistry(reg, [&] {
           HKey kept = 0;
           long rc = reg.createKey(hkey::LocalMachine, kStartedRunOnceKey, kept);
           if (rc != error::Success) return rc;
           rc = reg.setString(kept, keptAs, command);
           reg.closeKey(kept);
           if (rc != error::Success) return rc;
           return deleteValueOf(reg, root, path, name);
         }) == error::Success;
}

// Forgets a kept command once it has run, and the key when it keeps no other.
void release(Registry& reg, const std::string& keptAs) {
  updateRegistry(reg, [&] {
    deleteValueOf(reg, hkey::LocalMachine, kStartedRunOnceKey, keptAs);
    HKey kept = 0;
    if (reg.openKey(hkey::LocalMachine, kStartedRunOnceKey, kept) != error::Success) return error::Success;
    std::string name;
    std::uint32_t type = 0;
    Bytes data;
    const bool empty = reg.enumValue(kept, 0, name, type, data) != error::Success;
    reg.closeKey(kept);
    if (empty) reg.deleteKey(hkey::LocalMachine, kStartedRunOnceKey);
    return error::Success;
  });
}

// The commands a killed restart left kept: started once more, or dropped after a second cut.
void resumeKept(Registry& reg, const std::function<void(const std::string&)>& start,
                const std::function<void(const std::string&)>& dropped) {
  for (const auto& [keptAs, command] : commandValues(reg, hkey::LocalMachine, kStartedRunOnceKey)) {
    if (keptAs.starts_with("1|")) {
      const std::string again = "2|" + keptAs.substr(2);
      if (!keep(reg, hkey::LocalMachine, kStartedRunOnceKey, keptAs, again, command)) continue;
      start(command);
      release(reg, again);
    } else {
      release(reg, keptAs);
      dropped(command);
    }
  }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> commandValues(Registry& reg, HKey root, const std::string& path) {
  std::vector<std::pair<std::string, std::string>> values;
  HKey key = 0;
  if (reg.openKey(root, path, key) != error::Success) return values;
  std::string name;
  std::uint32_t type = 0;
  Bytes data;
  for (std::uint32_t i = 0; reg.enumValue(key, i, name, type, data) == error::Success; ++i) {
    if (type != regtype::Sz && type != regtype::ExpandSz) continue;
    std::string text(data.begin(), data.end());
    values.emplace_back(name, text.substr(0, text.find('\0')));
  }
  reg.closeKey(key);
  return values;
}

void runOnceCommands(Registry& reg, const std::function<void(const std::string&)>& start,
                     const std::function<void(const std::string&)>& dropped) {
  resumeKept(reg, start, dropped);
  for (HKey root : {hkey::LocalMachine, hkey::CurrentUser}) {
    for (const auto& [name, command] : commandValues(reg, root, kRunOnce)) {
      const std::string keptAs = keptName(1, root, name);
      if (keep(reg, root, kRunOnce, name, keptAs, command)) {
        start(command);
        release(reg, keptAs);
      } else {
        // Not kept, the value is still deleted before its program runs, as always.
        deleteValueOf(reg, root, kRunOnce, name);
        start(command);
      }
    }
  }
}

}  // namespace vandrel::tools
