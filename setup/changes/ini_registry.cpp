// Win.ini and registry entries of the script, and the usage counts of shared files.
#include "setup/changes/ini_registry.h"

#include <cctype>
#include <cstdint>

#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/schema.h"
#include "setup/common/copy_progress.h"
#include "setup/common/setup_texts.h"
#include "setup/common/setup_state.h"

namespace vandrel::setup {
namespace {

using script::Section;

const char* const kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kRaiseCount = "[+]";

void writeIniEntries(const Changes& c, bool& changeFailed) {
  CopyProgress& progress = c.progress;
  const std::string section = script::sectionName(Section::AddIni);
  for (long i = 0; !progress.cancelled(); ++i) {
    std::string line = c.script.value(section, std::to_string(i), "");
    if (line.empty()) break;
    auto entry = script::readEntry<script::IniEntry>(line);
    std::string value = expandPlaceholders(c.script, c.state, entry.value.text("NoValue"));
    std::string key = entry.key.text(std::to_string(i));
    std::string iniSection = entry.section.text("Vandrel Errors");
    if (!c.profile.writeProfileString(iniSection, key, value)) changeFailed = true;
    progress.pump();
  }
}

void writeRegistryEntries(const Changes& c, bool& changeFailed) {
  CopyProgress& progress = c.progress;
  const std::string section = script::sectionName(Section::Registry);
  platform::Registry& registry = c.registry;
  for (long i = 0; !progress.cancelled(); ++i) {
    std::string line = c.script.value(section, std::to_string(i), "");
    if (i == 0 && !line.empty()) {
      progress.setStatus(copyText(c.strings, sid::UpdatingRegistry));
      progress.pump(20);
    }
    if (line.empty()) break;
    auto entry = script::readEntry<script::RegistryEntry>(line);
    if (text::equalsNoCase(entry.data.text(""), kRaiseCount)) {
      raiseSharedCount(registry, expandPlaceholders(c.script, c.state, entry.name.text("NoEntry")));
    } else if (!setRegistryString(registry, entry.root.number("1"),
                                  entry.subkey.text("Vandrel Errors"),
                                  expandPlaceholders(c.script, c.state, entry.name.text("NoEntry")),
                                  expandPlaceholders(c.script, c.state, entry.data.text("NoValue")))) {
      changeFailed = true;
    }
    progress.pump();
  }
}

void recordSharedFiles(const Changes& c, const std::vector<std::string>& shared) {
  if (shared.empty()) return;
  const std::string section = script::sectionName(Section::SharedFiles);
  c.script.write(section, script::countKey(Section::SharedFiles),
                     std::to_string(shared.size()));
  for (std::size_t i = 0; i < shared.size(); ++i) {
    raiseSharedCount(c.registry, shared[i]);
    c.script.write(section, std::to_string(i), shared[i]);
  }
}

}  // namespace

platform::HKey rootForCode(long code) {
  switch (code) {
    case 0: return platform::hkey::ClassesRoot;
    case 2: return platform::hkey::LocalMachine;
    case 3: return platform::hkey::Users;
    default: return platform::hkey::CurrentUser;
  }
}

bool setRegistryString(platform::Registry& registry, long rootCode, const std::string& subKey,
                       const std::string& name, const std::string& text) {
  platform::HKey key = 0;
  if (registry.createKey(rootForCode(rootCode), subKey, key) != platform::error::Success) {
    return false;
  }
  long result = registry.setString(key, name, text);
  registry.closeKey(key);
  return result == platform::error::Success;
}

void raiseSharedCount(platform::Registry& registry, const std::string& path) {
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, kSharedDllsKey, key) !=
      platform::error::Success) {
    return;
  }
  std::uint32_t count = 0;
  // A count that is missing or not a 4-byte number starts again at 1.
  if (registry.queryDword(key, path, count) != platform::error::Success) count = 0;
  if (count < UINT32_MAX) ++count;  // a count at its limit stays there
  registry.setDword(key, path, count);
  registry.closeKey(key);
}

bool updateIniAndRegistry(const Changes& changes, const std::vector<std::string>& sharedFiles,
                          bool& changeFailed) {
  CopyProgress& progress = changes.progress;
  progress.setStatus(copyText(changes.strings, sid::UpdatingIni));
  progress.pump(20);
  writeIniEntries(changes, changeFailed);
  if (!progress.cancelled()) writeRegistryEntries(changes, changeFailed);
  recordSharedFiles(changes, sharedFiles);
  return !progress.cancelled();
}

}  // namespace vandrel::setup
