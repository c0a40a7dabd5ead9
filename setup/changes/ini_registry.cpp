// Win.ini and registry entries of the script, and the usage counts of shared files.
#include "setup/changes/ini_registry.h"

#include <cctype>
#include <cstdint>
#include <optional>

#include "platform/registry_update.h"
#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/schema.h"
#include "setup/common/copy_progress.h"
#include "setup/common/setup_texts.h"
#include "setup/common/setup_state.h"
#include "setup/upgrade/earlier_installation.h"

namespace vandrel::setup {
namespace {

using script::Section;

const char* const kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kRaiseCount = "[+]";

// The WIN.INI value of section and key, nullopt when the key is not among the section's
// listed keys.
std::optional<std::string> iniValue(platform::Profile& profile, const std::string& section,
                                    const std::string& key) {
  // A plain key (no blanks around it, not a comment, not empty) is listed exactly when a
  // read finds it, which two reads with different defaults tell without listing the whole
  // section.
  if (!key.empty() && key.front() != ';' && text::trim(key, " \t\r\v\f") == key) {
    std::string first = profile.getProfileString(section, key, "\x01", 32767);
    if (first != "\x01") return first;
    std::string second = profile.getProfileString(section, key, "\x02", 32767);
    if (second != "\x02") return second;
    return std::nullopt;
  }
  std::string keys = profile.getProfileString(section, std::nullopt, "", 32767);
  for (std::size_t start = 0; start < keys.size();) {
    std::size_t end = keys.find('\0', start);
    if (end == std::string::npos) end = keys.size();
    if (text::equalsNoCase(keys.substr(start, end - start), key)) {
      return profile.getProfileString(section, key, "", 32767);
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<std::string> registryValue(platform::Registry& registry, long rootCode,
                                         const std::string& subKey, const std::string& name) {
  platform::HKey key = 0;
  if (registry.openKey(rootForCode(rootCode), subKey, key) != platform::error::Success) {
    return std::nullopt;
  }
  std::string value;
  long result = registry.queryString(key, name, value);
  registry.closeKey(key);
  if (result != platform::error::Success) return std::nullopt;
  return value;
}

const char* rootName(long code) {
  switch (code) {
    case 0: return "HKEY_CLASSES_ROOT";
    case 2: return "HKEY_LOCAL_MACHINE";
    case 3: return "HKEY_USERS";
    default: return "HKEY_CURRENT_USER";
  }
}

void writeIniEntries(const Changes& c, bool& changeFailed) {
  CopyProgress& progress = c.progress;
  const std::string section = script::sectionName(Section::AddIni);
  // The entries are written in order as one run, so that a long list does not copy the
  // whole file once per entry; the file keeps every entry once the run is flushed.
  c.profile.gatherWrites();
  PlaceholderExpander expand(c.script, c.state);
  for (long i = 0; !progress.cancelled(); ++i) {
    std::string line = c.script.value(section, std::to_string(i), "");
    if (line.empty()) break;
    auto entry = script::readEntry<script::IniEntry>(line);
    std::string value = expand(entry.value.text("NoValue"));
    std::string key = entry.key.text(std::to_string(i));
    std::string iniSection = entry.section.text("Vandrel Errors");
    std::optional<std::string> old;
    if (c.log && c.log->enabled()) old = iniValue(c.profile, iniSection, key);
    bool written = c.profile.writeProfileString(iniSection, key, value);
    if (!written) changeFailed = true;
    if (c.log) {
      c.log->change("ini", {{"file", "WIN.INI"}, {"section", iniSection}, {"key", key}}, old, value,
                    written);
    }
    progress.pump();
  }
  if (!c.profile.flush()) changeFailed = true;
}

void writeRegistryEntries(const Changes& c, bool& changeFailed) {
  CopyProgress& progress = c.progress;
  const std::string section = script::sectionName(Section::Registry);
  platform::Registry& registry = c.registry;
  // The entries go to the store as one run (a transaction holds many of them), not one
  // transaction per call.
  registry.beginBatch();
  PlaceholderExpander expand(c.script, c.state);
  for (long i = 0; !progress.cancelled(); ++i) {
    std::string line = c.script.value(section, std::to_string(i), "");
    if (i == 0 && !line.empty()) {
      progress.setStatus(copyText(c.strings, sid::UpdatingRegistry));
      progress.pump(20);
    }
    if (line.empty()) break;
    auto entry = script::readEntry<script::RegistryEntry>(line);
    if (text::equalsNoCase(entry.data.text(""), kRaiseCount)) {
      raiseSharedCount(registry, expand(entry.name.text("NoEntry")), c.log);
    } else {
      long rootCode = entry.root.number("1");
      std::string subKey = entry.subkey.text("Vandrel Errors");
      std::string name = expand(entry.name.text("NoEntry"));
      std::string data = expand(entry.data.text("NoValue"));
      std::optional<std::string> old;
      if (c.log && c.log->enabled()) old = registryValue(registry, rootCode, subKey, name);
      bool written = setRegistryString(registry, rootCode, subKey, name, data);
      if (!written) changeFailed = true;
      if (c.log) {
        c.log->change("registry", {{"key", std::string(rootName(rootCode)) + "\\" + subKey}, {"name", name}},
                      old, data, written);
      }
    }
    progress.pump();
  }
  if (!registry.endBatch()) changeFailed = true;
}

bool countedBefore(const SetupState& state, const std::string& path) {
  for (const std::string& counted : state.countedSharedFiles) {
    if (samePath(counted, path)) return true;
  }
  return false;
}

void recordSharedFiles(const Changes& c, const std::vector<std::string>& shared) {
  if (shared.empty()) return;
  const std::string section = script::sectionName(Section::SharedFiles);
  c.script.write(section, script::countKey(Section::SharedFiles),
                     std::to_string(shared.size()));
  for (std::size_t i = 0; i < shared.size(); ++i) {
    // A count is raised once per installation: an upgrade or repair leaves the one the
    // earlier installation in this folder raised.
    if (!countedBefore(c.state, shared[i])) raiseSharedCount(c.registry, shared[i], c.log);
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

void raiseSharedCount(platform::Registry& registry, const std::string& path,
                      ui::ActionLog* log) {
  platform::HKey key = 0;
  if (registry.openKey(platform::hkey::LocalMachine, kSharedDllsKey, key) !=
      platform::error::Success) {
    return;
  }
  std::uint32_t count = 0;
  std::optional<std::string> before;
  // Read and written back as one change, so that another installation raising or lowering
  // the same count at the same moment is never undone.
  long result = platform::updateRegistry(registry, [&] {
    // A count that is missing or not a 4-byte number starts again at 1.
    before.reset();
    if (registry.queryDword(key, path, count) != platform::error::Success) {
      count = 0;
    } else {
      before = std::to_string(count);
    }
    if (count < UINT32_MAX) ++count;  // a count at its limit stays there
    return registry.setDword(key, path, count);
  });
  bool written = result == platform::error::Success;
  registry.closeKey(key);
  if (log) log->change("shared-count", {{"file", path}}, before, std::to_string(count), written);
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
