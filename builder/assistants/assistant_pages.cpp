// The five assistants' checks and the entries each adds, in order.
#include "builder/assistants/assistants.h"

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::assistants {

namespace {

constexpr int kClassesRoot = 0;
constexpr int kCurrentUser = 1;
constexpr int kLocalMachine = 2;

bool hasBlank(const std::string& text) { return text.find_first_of(" \t") != std::string::npos; }

// Marks the document modified and ends the assistant.
std::vector<EntryKey> done(ScriptTree& tree, const BuilderPreferences& prefs,
                           std::vector<EntryKey> added) {
  tree.document().setModifiedFlag();
  finishAdding(tree, prefs, added);
  return added;
}

}  // namespace

// --- Extension making assistant ---

Check ExtensionAssistant::check() const {
  if (extension.empty() || (!useRegistry && !useIni) || programPath.empty())
    return Check::info(sid::AssistantExtensionMissing);
  if (useRegistry && (hasBlank(extension) || hasBlank(fileType) || fileType.empty())) {
    return Check::info(sid::AssistantNoBlanks);
  }
  return Check::pass();
}

std::vector<EntryKey> ExtensionAssistant::ok(ScriptTree& tree, const BuilderPreferences& prefs) const {
  std::vector<EntryKey> added;
  std::string dotted = "." + extension;
  if (useRegistry) {
    added.push_back(AddRegistryEntry(tree, kClassesRoot, 0, dotted, "", fileType));
    added.push_back(AddRegistryEntry(tree, kClassesRoot, 0, fileType, "", fileType));
    added.push_back(AddRegistryEntry(tree, kClassesRoot, 1, fileType + "\\DefaultIcon", "",
                                     programPath + "," + decimal(iconIndex)));
    if (newDocument) {
      added.push_back(AddRegistryEntry(tree, kClassesRoot, 1, dotted + "\\ShellNew", "NullFile", ""));
    }
  }
  if (useIni) {
    CScriptDoc& doc = tree.document();
    IniRecord ini;
    ini.section = "extensions";
    ini.entry = text::toUpper(extension);
    ini.value = programPath + " ^." + text::toUpper(extension);
    ini.key = doc.newKey();
    EntryKey key = ini.key;
    doc.appendEntry(std::move(ini));
    tree.insertEntryItem(category::WinIni, key);
    added.push_back(key);
  }
  return done(tree, prefs, std::move(added));
}

// --- Autostart assistant ---

Check AutostartAssistant::check() const {
  if (addShortcut && !program.chosen(files)) return Check::info(sid::AssistantFileFirst);
  bool hasProgram = program.chosen(files) || !program.text.empty();
  if (!hasProgram || title.empty()) return Check::silent();
  return Check::pass();
}

std::vector<EntryKey> AutostartAssistant::ok(ScriptTree& tree, const BuilderPreferences& prefs) const {
  std::vector<EntryKey> added;
  added.push_back(AddRegistryEntry(tree, kLocalMachine, 1, strItem(sid::RunKeys, eachTime ? 2 : 1),
                                   title, program.value(tree, files)));
  if (addShortcut) {
    CScriptDoc& doc = tree.document();
    ShortcutRecord shortcut;
    shortcut.fileRef = pages::keyAt(files, program.file);
    shortcut.name = title;
    shortcut.key = doc.newKey();
    EntryKey key = shortcut.key;
    doc.appendEntry(std::move(shortcut));
    tree.insertEntryItem(category::ProgramAdds, key);
    added.push_back(key);
  }
  return done(tree, prefs, std::move(added));
}

// --- Path registration assistant ---

bool PathAssistant::addNow(ui::Interaction& ui) {
  const FileRecord* file = tree_.document().files.findEntry(pages::keyAt(files, selected));
  if (!file) {
    ui.beep();
    return false;
  }
  std::string subkey = str(sid::AppPathsKey) + file->destName;
  std::string reference = runtimeReference(tree_, *file);
  std::string directory = runtimeDirectory(tree_, *file);
  tree_.document().setModifiedFlag();
  added_.push_back(AddRegistryEntry(tree_, kLocalMachine, 0, subkey, "", reference));
  added_.push_back(AddRegistryEntry(tree_, kLocalMachine, 1, subkey, "Path", directory));
  return true;
}

void PathAssistant::close(const BuilderPreferences& prefs) {
  if (added_.empty()) return;
  finishAdding(tree_, prefs, added_, true);
}

// --- Product registration assistant ---

Check ProductAssistant::check() const {
  if (company.empty() || product.empty()) return Check::beep();
  if (!localMachine && !currentUser) return Check::info(sid::AssistantPickRoot);
  if ((userInfo || serial) && !localMachine) return Check::info(sid::AssistantLocalMachine);
  return Check::pass();
}

std::vector<EntryKey> ProductAssistant::ok(ScriptTree& tree, const BuilderPreferences& prefs) const {
  std::vector<EntryKey> added;
  std::string companyKey = str(sid::SoftwareKey) + company;
  std::string productKey = companyKey + "\\" + product;
  // With an empty version the values go under the product key followed by a backslash.
  std::string versionKey = productKey + "\\" + version;
  auto keys = [&](int root) {
    added.push_back(AddRegistryEntry(tree, root, 0, companyKey, "", ""));
    added.push_back(AddRegistryEntry(tree, root, 1, productKey, "", ""));
    if (!version.empty()) added.push_back(AddRegistryEntry(tree, root, 1, versionKey, "", ""));
  };
  if (localMachine) {
    keys(kLocalMachine);
    if (userInfo) {
      added.push_back(AddRegistryEntry(tree, kLocalMachine, 1, versionKey,
                                       strItem(sid::ProductRegistrationValues, 1),
                                       strItem(sid::ProductRegistrationValues, 2)));
      added.push_back(AddRegistryEntry(tree, kLocalMachine, 1, versionKey,
                                       strItem(sid::ProductRegistrationValues, 3),
                                       strItem(sid::ProductRegistrationValues, 4)));
    }
    if (serial) {
      added.push_back(AddRegistryEntry(tree, kLocalMachine, 1, versionKey,
                                       strItem(sid::ProductRegistrationValues, 5),
                                       strItem(sid::ProductRegistrationValues, 6)));
    }
  }
  if (currentUser) keys(kCurrentUser);
  return done(tree, prefs, std::move(added));
}

// --- Desktop assistant ---

std::vector<EntryKey> DesktopAssistant::ok(ScriptTree& tree, const BuilderPreferences& prefs) const {
  std::vector<EntryKey> added;
  const std::string subkey = str(sid::DesktopKey);
  auto add = [&](int item, const std::string& value) {
    added.push_back(AddRegistryEntry(tree, kCurrentUser, 1, subkey,
                                     strItem(sid::DesktopValueNames, item), value));
  };
  std::string wallpaperValue = wallpaper.value(tree, files);
  std::string saverValue = screenSaver.value(tree, files);
  if (!wallpaperValue.empty()) add(1, wallpaperValue);
  if (tile) add(2, "1");
  if (activate) add(3, "1");
  if (secure) add(4, "1");
  if (delay != 0) add(6, decimal(delay));
  if (!saverValue.empty()) add(7, saverValue);
  if (dragFullWindows) add(8, "1");
  return done(tree, prefs, std::move(added));
}

}  // namespace vandrel::builder::assistants
