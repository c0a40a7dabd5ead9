// The removal steps for what the setup recorded or wrote besides files: shortcuts and
// program groups, application folders, win.ini keys and registry entries.
#include "script/schema.h"
#include "uninstall/numbered_entries.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

namespace {

using platform::error::Success;

// Walks a section's entries, handing each non-empty value to act; every entry, present or
// not, counts once on the bar when counted is set.
void forEachValue(UninstallApp& app, Section section, long long n, Order order, bool counted,
                  const std::function<void(const std::string&)>& act) {
  walkEntries(
      app.presentEntries(section, n), n, order,
      [&](long long i) {
        std::string value = app.text(section, i);
        if (!value.empty()) act(value);
        if (counted) app.advanceProgress();
        return true;
      },
      [&](long long missing) {
        if (counted) app.advanceProgress(missing);
        return true;
      });
}

// Registry roots 0 to 3; any other number is no root at all.
std::optional<platform::HKey> registryRoot(const script::RegistryEntry& entry) {
  long root = entry.root.number("4");
  if (root < 0 || root > 3) return std::nullopt;
  return platform::hkey::ClassesRoot + static_cast<platform::HKey>(root);
}

// A value or key that was already gone is no leftover; one that refused to go is.
void noteRegistryResult(UninstallApp& app, long result) {
  if (result != Success && result != platform::error::FileNotFound) app.state().leftovers = true;
}

bool removesValueOnly(const script::RegistryEntry& entry) {
  return entry.removal.number("1") != 0;
}

}  // namespace

bool RemoveLinksAndGroups(UninstallApp& app) {
  platform::FileSystem& files = app.machine().files();
  long long links = app.count(Section::AddedLinks);
  long long folders = app.count(Section::AddedFolders);
  forEachValue(app, Section::AddedLinks, links, Order::Descending, true,
               [&](const std::string& link) { DeleteInstalledFile(app, link); });
  forEachValue(app, Section::AddedFolders, folders, Order::Descending, true,
               [&](const std::string& folder) { files.removeDirectory(folder); });
  return true;
}

bool RemoveAppFolders(UninstallApp& app) {
  long long n = app.count(Section::Directories);
  if (n == 3) return true;
  if (n < 3) return app.askYesNo(app.strings().get(ids::CorruptedDirs));
  // The last three entries (drive root, system folder, Windows folder) are never touched;
  // entry n-4, the installation folder's own, comes first.
  platform::FileSystem& files = app.machine().files();
  walkEntries(
      app.presentEntries(Section::Directories, n - 3), n - 3, Order::Descending,
      [&](long long k) {
        files.removeDirectory(app.resolveDirectory(k));
        app.advanceProgress();
        return true;
      },
      [&](long long missing) {
        // A missing entry stands for the installation folder.
        files.removeDirectory(app.state().installFolder);
        app.advanceProgress(missing);
        return true;
      });
  return true;
}

bool RemoveIniEntries(UninstallApp& app) {
  long long n = app.count(Section::AddIni);
  platform::Profile& profile = app.machine().profile();
  forEachValue(app, Section::AddIni, n, Order::Ascending, true, [&](const std::string& line) {
    auto entry = script::readEntry<script::IniEntry>(line);
    if (!profile.writeProfileString(entry.section.text("None"), entry.key.text("None"),
                                    std::nullopt)) {
      app.state().leftovers = true;
    }
  });
  return true;
}

bool RemoveRegistryEntries(UninstallApp& app) {
  long long n = app.count(Section::Registry);
  platform::Registry& registry = app.machine().registry();
  // Values first, so that a key entry of the package goes after every value of it.
  forEachValue(app, Section::Registry, n, Order::Ascending, true, [&](const std::string& line) {
    auto entry = script::readEntry<script::RegistryEntry>(line);
    std::optional<platform::HKey> root = registryRoot(entry);
    if (!root || !removesValueOnly(entry)) return;
    platform::HKey key = 0;
    if (registry.openKey(*root, entry.subkey.text("Dummy"), key) != Success) return;
    noteRegistryResult(app, registry.deleteValue(key, entry.name.text("Dummy")));
    registry.closeKey(key);
  });
  forEachValue(app, Section::Registry, n, Order::Ascending, false, [&](const std::string& line) {
    auto entry = script::readEntry<script::RegistryEntry>(line);
    std::optional<platform::HKey> root = registryRoot(entry);
    if (!root || removesValueOnly(entry)) return;
    noteRegistryResult(app, registry.deleteKey(*root, entry.subkey.text("Dummy")));
  });
  return true;
}

}  // namespace vandrel::uninstall
