// The tree's add, edit, properties, erase and toggle handlers.
#include <algorithm>

#include "builder/tree/tree_commands.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

// Copies the values of edited into the document's record of its key.
void assign(CScriptDoc& doc, int category, EntryKey key, const Entry& edited) {
  int index = doc.findEntry(category, key);
  std::optional<EntryRef> record = doc.entryAt(category, index);
  if (!record) return;
  std::visit(
      [&edited, key](auto* target) {
        using T = std::decay_t<decltype(*target)>;
        *target = std::get<T>(edited);
        target->key = key;
      },
      *record);
}

}  // namespace

bool TreeCommands::ask(const std::string& text) const {
  ui::Message message;
  message.caption = str(sid::Title);
  message.text = text;
  message.buttons = ui::Buttons::YesNo;
  message.icon = ui::Icon::Question;
  return ui_.message(message) == ui::Answer::Yes;
}

bool TreeCommands::runEditor(int category, Entry& entry, const std::string& caption,
                             bool addMode) {
  if (preferences_.ensureVisible) tree_.scrollIntoView(keyOf(entry));
  return editor_.editEntry(category, entry, caption, addMode);
}

bool TreeCommands::addEntry(int category) {
  if (!isEntryCategory(category)) return false;
  EntryKey key = doc_.newKey();
  Entry entry = doc_.newEntry(category);
  setKey(entry, key);
  std::string provisional = str(sid::NewPrefix) + entryKindName(category);
  // The description, directory and group pages start with the provisional label.
  if (auto* dir = std::get_if<DirectoryRecord>(&entry)) dir->name = provisional;
  if (auto* text = std::get_if<DescriptionRecord>(&entry)) text->text = provisional;
  if (auto* group = std::get_if<GroupRecord>(&entry)) group->name = provisional;
  tree_.insertItem(category, key, provisional);

  bool ok = runEditor(category, entry, str(sid::NewPrefix), true);
  // The file dialog's "Validate and Add new file" stores the file it holds and goes on with a
  // further new one: the dialog ends on the entry it holds last.
  if (EntryKey last = keyOf(entry); last != 0) key = last;
  if (ok) {
    setKey(entry, key);
    doc_.appendEntry(std::move(entry));
    tree_.relabel(key);
    doc_.setModifiedFlag();
  } else {
    tree_.removeItem(key);
  }
  tree_.sortCategory(category);
  return ok;
}

bool TreeCommands::addCurrent() {
  std::optional<int> category = tree_.categoryOf(tree_.selection());
  if (!category || !state(command::AddCurrent).enabled) return false;
  return addEntry(*category);
}

bool TreeCommands::editEntry(int category, EntryKey key) {
  std::optional<Entry> entry = doc_.entryCopy(category, key);
  if (!entry) return false;
  bool ok = runEditor(category, *entry, str(sid::PropertiesCaption), false);
  if (EntryKey last = keyOf(*entry); last != 0 && last != key) {
    // The dialog stored the edited entry itself and went on with a new one (the file
    // dialog's "Validate and Add new file"): that one is added, or dropped on Cancel.
    if (ok) {
      doc_.appendEntry(std::move(*entry));
      tree_.relabel(last);
      doc_.setModifiedFlag();
    } else {
      tree_.removeItem(last);
    }
    tree_.sortCategory(category);
    return ok;
  }
  if (ok) {
    assign(doc_, category, key, *entry);
    tree_.relabel(key);
    doc_.setModifiedFlag();
    // Labels of files and shortcuts show the directory, file and group they refer to.
    std::vector<EntryKey> dependents;
    if (category == category::Directories || category == category::Files ||
        category == category::Groups) {
      for (const FileRecord& file : doc_.files) {
        if (category == category::Directories && file.directoryRef == key) dependents.push_back(file.key);
      }
      for (const ShortcutRecord& shortcut : doc_.shortcuts) {
        bool usesFile = std::find(dependents.begin(), dependents.end(), shortcut.fileRef) != dependents.end();
        if (shortcut.fileRef == key || shortcut.groupRef == key || usesFile) {
          dependents.push_back(shortcut.key);
        }
      }
    }
    refreshDependents(dependents);
  }
  tree_.sortCategory(category);
  return ok;
}

bool TreeCommands::editSelection() {
  ItemHandle selection = tree_.selection();
  std::optional<int> category = tree_.categoryOf(selection);
  if (!category || !isEntryCategory(*category)) return false;
  editing_ = true;
  bool ok = editEntry(*category, selection);
  editing_ = false;
  return ok;
}

PropertiesTarget TreeCommands::properties() {
  ItemHandle selection = tree_.selection();
  if (selection == 0) return {};
  if (preferences_.ensureVisible) tree_.scrollIntoView(selection);
  using Kind = PropertiesTarget::Kind;
  switch (tree_.kind(selection)) {
    case ItemKind::Root: return {};
    case ItemKind::SettingsPage: return {Kind::SettingsPage, tree_.settingsPage(selection)};
    case ItemKind::Category: {
      int category = tree_.categoryOf(selection).value_or(-1);
      if (category == category::Background) return {Kind::Background};
      if (category == category::EndOfInstall) return {Kind::EndOfInstall};
      if (category == category::Files) return {Kind::InstallSummary};
      return {};
    }
    default:
      return editSelection() ? PropertiesTarget{Kind::Entry} : PropertiesTarget{};
  }
}

void TreeCommands::refreshDependents(const std::vector<EntryKey>& keys) {
  std::vector<int> touched;
  for (EntryKey key : keys) {
    tree_.relabel(key);
    if (std::optional<int> category = tree_.entryCategory(key)) touched.push_back(*category);
  }
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (int category : touched) tree_.sortCategory(category);
}

void TreeCommands::refreshDependentsOf(int category) {
  std::vector<EntryKey> keys;
  if (category == category::Directories) {
    for (const FileRecord& file : doc_.files) keys.push_back(file.key);
  }
  if (category == category::Directories || category == category::Files ||
      category == category::Groups) {
    for (const ShortcutRecord& shortcut : doc_.shortcuts) keys.push_back(shortcut.key);
  }
  refreshDependents(keys);
}

bool TreeCommands::eraseCategory(int category) {
  if (preferences_.confirmErase) {
    bool alters = ((category == category::Files || category == category::Groups) &&
                   doc_.shortcuts.count() > 0) ||
                  (category == category::Directories && doc_.files.count() > 0);
    if (!ask(strFormat(alters ? sid::AskEraseReferencedCategory : sid::AskEraseCategory,
                       entryKindName(category))))
      return false;
  }
  doc_.eraseCategory(category);
  tree_.clearCategory(category);
  // No reference is cleared, but the labels that showed the erased entries are rebuilt.
  refreshDependentsOf(category);
  return true;
}

bool TreeCommands::eraseEntry(int category, EntryKey key) {
  if (doc_.findEntry(category, key) < 0) return false;
  if (preferences_.confirmErase) {
    unsigned question = sid::AskEraseEntry;
    if (category == category::Directories && doc_.files.count() > 0)
      question = sid::AskEraseDirectory;
    if ((category == category::Files || category == category::Groups) && doc_.shortcuts.count() > 0) {
      question = sid::AskEraseFile;
    }
    if (!ask(str(question))) return false;
  }
  std::vector<EntryKey> changed = doc_.detachReferencesTo(category, key);
  refreshDependents(changed);
  tree_.removeItem(key);
  doc_.setModifiedFlag();
  doc_.eraseEntry(category, key);
  tree_.sortCategory(category);
  return true;
}

bool TreeCommands::erase() {
  ItemHandle selection = tree_.selection();
  if (selection == 0) return false;
  std::optional<int> category = tree_.categoryOf(selection);
  if (!category || !isEntryCategory(*category)) return false;
  if (tree_.kind(selection) == ItemKind::Category) return eraseCategory(*category);
  return eraseEntry(*category, selection);
}

bool TreeCommands::toggle(int cmd) {
  FileRecord* file = selectedFile();
  if (!file) return false;
  int* flag = cmd == command::ToggleUninstall   ? &file->uninstall
              : cmd == command::ToggleExpand    ? &file->decompress
              : cmd == command::ToggleForceCopy ? &file->forceCopy
              : cmd == command::ToggleShared    ? &file->shared
                                                : nullptr;
  if (!flag) return false;
  *flag = *flag ? 0 : 1;
  doc_.setModifiedFlag();
  if (cmd == command::ToggleExpand) {
    // The label says "copied" or "decompressed": it must follow the flag.
    tree_.relabel(file->key);
    tree_.sortCategory(category::Files);
  }
  return true;
}

}  // namespace vandrel::builder
