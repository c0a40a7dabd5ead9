// Which tree commands are enabled for the selection, and the two context menus.
#include "builder/tree/tree_commands.h"

#include <algorithm>

namespace vandrel::builder {

namespace {

// Category items on which "Properties" does nothing and is greyed.
bool propertiesGreyedCategory(int c) {
  return isEntryCategory(c) && !entryKind(c).categoryHasProperties;
}

}  // namespace

TreeCommands::TreeCommands(ScriptTree& tree, const BuilderPreferences& preferences,
                           ui::Interaction& ui, EntryEditor& editor)
    : tree_(tree), doc_(tree.document()), preferences_(preferences), ui_(ui), editor_(editor) {}

FileRecord* TreeCommands::selectedFile() const {
  ItemHandle selection = tree_.selection();
  if (tree_.entryCategory(selection) != category::Files) return nullptr;
  return doc_.files.findEntry(selection);
}

CommandState TreeCommands::state(int cmd) const {
  ItemHandle selection = tree_.selection();
  ItemKind kind = tree_.kind(selection);
  int category = tree_.categoryOf(selection).value_or(-1);
  bool onCategory = kind == ItemKind::Category;
  bool canErase = kind == ItemKind::Entry || (onCategory && isEntryCategory(category));
  bool canAddShortcut = doc_.files.count() > 0 && doc_.groups.count() > 0;

  CommandState s;
  switch (cmd) {
    case command::SmallIcons:
      return {true, tree_.iconSize() == 16};
    case command::Erase:
      s.enabled = canErase;
      return s;
    case command::Properties:
      s.enabled = selection != 0 && kind != ItemKind::Root &&
                  selection != tree_.categoryItem(category::Settings) &&
                  !(onCategory && propertiesGreyedCategory(category));
      return s;
    case command::AddCurrent:
      s.enabled = canErase && (category != category::ProgramAdds || canAddShortcut);
      return s;
    case command::ToggleUninstall:
    case command::ToggleExpand:
    case command::ToggleForceCopy:
    case command::ToggleShared:
      if (const FileRecord* file = selectedFile()) {
        s.enabled = true;
        s.checked = cmd == command::ToggleUninstall   ? file->uninstall != 0
                    : cmd == command::ToggleExpand    ? file->decompress != 0
                    : cmd == command::ToggleForceCopy ? file->forceCopy != 0
                                                      : file->shared != 0;
      }
      return s;
    case command::Generate:
    case command::TestInstall:
      s.enabled = std::any_of(kEntryKinds.begin(), kEntryKinds.end(), [this](const EntryKind& k) {
        return k.installsSomething && doc_.count(k.category) > 0;
      });
      return s;
    case command::GenerateScript:
      s.enabled = !doc_.settings.lastGenPath.empty();
      return s;
    case command::CheckFiles:
      s.enabled = doc_.files.count() > 0;
      return s;
    default:
      // Settings, add, end, assistants, integrity check, summary, merge, in-place end.
      s.enabled = cmd == command::EndInPlace || entryKindOfCommand(cmd) != nullptr ||
                  (cmd >= command::GeneralSettings && cmd <= command::EndSettings) ||
                  (cmd >= command::FirstAssistant && cmd <= command::LastAssistant) ||
                  cmd == command::CheckIntegrity || cmd == command::Summary ||
                  cmd == command::MergeScript;
      return s;
  }
}

ContextMenu TreeCommands::contextMenu() const {
  ItemHandle selection = tree_.selection();
  ItemKind kind = tree_.kind(selection);
  int category = tree_.categoryOf(selection).value_or(-1);
  bool fixedPlace = kind == ItemKind::Root || kind == ItemKind::SettingsPage ||
                    (kind == ItemKind::Category &&
                     (category == category::Settings || category == category::Background ||
                      category == category::EndOfInstall));
  bool noShortcutSources = doc_.files.count() == 0 || doc_.groups.count() == 0;
  bool propertiesGreyed =
      kind == ItemKind::Root ||
      (kind == ItemKind::Category &&
       (category == category::Settings || propertiesGreyedCategory(category)));

  ContextMenu menu;
  menu.items.push_back({command::AddCurrent, "&New",
                        !fixedPlace && !(category == category::ProgramAdds && noShortcutSources)});
  menu.items.push_back({command::Properties, "&Properties", !propertiesGreyed});
  if (const FileRecord* file = selectedFile()) {
    menu.menu = 132;
    menu.items.push_back({command::ToggleUninstall, "&Uninstall file", true, file->uninstall != 0});
    menu.items.push_back({command::ToggleExpand, "&LZ Expand", true, file->decompress != 0});
    menu.items.push_back({command::ToggleForceCopy, "&Force copy", true, file->forceCopy != 0});
    menu.items.push_back({command::ToggleShared, "&Shared file", true, file->shared != 0});
  }
  menu.items.push_back({command::Erase, "&Erase", !fixedPlace});
  return menu;
}

void TreeCommands::toggleIconSize() { tree_.setIconSize(tree_.iconSize() == 16 ? 32 : 16); }

}  // namespace vandrel::builder
