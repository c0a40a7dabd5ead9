// The removal steps for what the setup recorded or wrote besides files: shortcuts and
// program groups, application folders, win.ini keys and registry entries.
#include "platform/text/text_rules.h"
#include "script/schema.h"
#include "uninstall/numbered_entries.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

namespace {

using platform::error::Success;

// Walks a section's entries, handing each non-empty value to act; every entry, present or
// not, counts once on the bar when counted is set.
void forEachValue(Removal& removal, Section section, long long n, Order order, bool counted,
                  const std::function<void(const std::string&)>& act) {
  platform::LookPerBlock looks(removal.profile, removal.folders.scriptPath);
  walkEntries(
      removal.presentEntries(section, n), n, order,
      [&](long long i) {
        looks.next();
        std::string value = removal.text(section, i);
        if (!value.empty()) act(value);
        if (counted) removal.advanceProgress();
        return true;
      },
      [&](long long missing) {
        if (counted) removal.advanceProgress(missing);
        return true;
      });
}

// Registry roots 0 to 3; any other number is no root at all.
std::optional<platform::HKey> registryRoot(const script::RegistryEntry& entry) {
  long root = entry.root.number("4");
  if (root < 0 || root > 3) return std::nullopt;
  return platform::hkey::ClassesRoot + static_cast<platform::HKey>(root);
}

const char* rootName(platform::HKey root) {
  switch (root - platform::hkey::ClassesRoot) {
    case 0: return "HKEY_CLASSES_ROOT";
    case 1: return "HKEY_CURRENT_USER";
    case 2: return "HKEY_LOCAL_MACHINE";
    default: return "HKEY_USERS";
  }
}

// A value or key that was already gone is no leftover (and not logged); one that refused to
// go is.
void noteRegistryResult(Removal& removal, long result, const std::string& kind,
                        const std::string& target) {
  if (result == Success) {
    removal.log().removal(kind, target, true);
  } else if (result != platform::error::FileNotFound) {
    removal.tally.leftovers = true;
    removal.log().removal(kind, target, false, "could not be removed");
  }
}

bool removesValueOnly(const script::RegistryEntry& entry) {
  return entry.removal.number("1") != 0;
}

}  // namespace

bool RemoveLinksAndGroups(Removal& removal) {
  long long links = removal.count(Section::AddedLinks);
  long long folders = removal.count(Section::AddedFolders);
  forEachValue(removal, Section::AddedLinks, links, Order::Descending, true,
               [&](const std::string& link) { DeleteInstalledFile(removal, link, "shortcut"); });
  forEachValue(removal, Section::AddedFolders, folders, Order::Descending, true,
               [&](const std::string& folder) { removal.removeFolder(folder, "group"); });
  return true;
}

bool RemoveAppFolders(Removal& removal) {
  long long n = removal.count(Section::Directories);
  if (n == 3) return true;
  if (n < 3) return removal.askYesNo(removal.strings.get(ids::CorruptedDirs));
  // The last three entries (drive root, system folder, Windows folder) are never touched;
  // entry n-4, the installation folder's own, comes first.
  walkEntries(
      removal.presentEntries(Section::Directories, n - 3), n - 3, Order::Descending,
      [&](long long k) {
        std::string folder = removal.resolveDirectory(k);
        // The installation folder still holds the script here: the driver removes and logs
        // it last.
        if (removal.keptFolder(folder)) {
          // There before the installation (a destination the user picked): it stays.
        } else if (text::equalsNoCase(folder, removal.folders.installFolder)) {
          removal.files.removeDirectory(folder);
        } else {
          removal.removeFolder(folder, "folder");
        }
        removal.advanceProgress();
        return true;
      },
      [&](long long missing) {
        // A missing entry stands for the installation folder.
        if (!removal.keptFolder(removal.folders.installFolder)) {
          removal.files.removeDirectory(removal.folders.installFolder);
        }
        removal.advanceProgress(missing);
        return true;
      });
  return true;
}

bool RemoveIniEntries(Removal& removal) {
  long long n = removal.count(Section::AddIni);
  platform::Profile& profile = removal.profile;
  forEachValue(removal, Section::AddIni, n, Order::Ascending, true, [&](const std::string& line) {
    auto entry = script::readEntry<script::IniEntry>(line);
    std::string section = entry.section.text("None");
    std::string key = entry.key.text("None");
    bool removed = profile.writeProfileString(section, key, std::nullopt);
    if (!removed) removal.tally.leftovers = true;
    removal.log().removal("ini", "WIN.INI [" + section + "] " + key, removed,
                          removed ? "" : "could not be removed");
  });
  return true;
}

bool RemoveRegistryEntries(Removal& removal) {
  long long n = removal.count(Section::Registry);
  platform::Registry& registry = removal.registry;
  // Values first, so that a key entry of the package goes after every value of it.
  forEachValue(removal, Section::Registry, n, Order::Ascending, true, [&](const std::string& line) {
    auto entry = script::readEntry<script::RegistryEntry>(line);
    std::optional<platform::HKey> root = registryRoot(entry);
    if (!root || !removesValueOnly(entry)) return;
    platform::HKey key = 0;
    if (registry.openKey(*root, entry.subkey.text("Dummy"), key) != Success) return;
    std::string name = entry.name.text("Dummy");
    noteRegistryResult(removal, registry.deleteValue(key, name), "registry-value",
                       std::string(rootName(*root)) + "\\" + entry.subkey.text("Dummy") + "\\" + name);
    registry.closeKey(key);
  });
  forEachValue(removal, Section::Registry, n, Order::Ascending, false, [&](const std::string& line) {
    auto entry = script::readEntry<script::RegistryEntry>(line);
    std::optional<platform::HKey> root = registryRoot(entry);
    if (!root || removesValueOnly(entry)) return;
    std::string subkey = entry.subkey.text("Dummy");
    noteRegistryResult(removal, registry.deleteKey(*root, subkey), "registry-key",
                       std::string(rootName(*root)) + "\\" + subkey);
  });
  return true;
}

}  // namespace vandrel::uninstall
