// The tree view's commands: which are enabled where, the context menus, and the add, edit,
// erase, properties and toggle handlers over the document and its tree.
#pragma once

#include <string>
#include <vector>

#include "builder/model/builder_preferences.h"
#include "builder/tree/script_tree.h"
#include "ui/interaction.h"

namespace vandrel::builder {

namespace command {
constexpr int EndInPlace = 32769;
constexpr int SmallIcons = 32771;
constexpr int GeneralSettings = 32772;
constexpr int BackgroundSettings = 32773;
// Each entry kind's "New" command is in its row of kEntryKinds; these two are named here.
constexpr int AddDirectory = entryKind(category::Directories).addCommand;
constexpr int AddMessage = entryKind(category::Messages).addCommand;
constexpr int EndSettings = 32782;
constexpr int TestInstall = 32783;
constexpr int Generate = 32784;
constexpr int Erase = 32785;
constexpr int Properties = 32786;
constexpr int AddCurrent = 32788;
constexpr int CheckIntegrity = 32789;
constexpr int Summary = 32799;
constexpr int MergeScript = 32800;
constexpr int GenerateScript = 32801;
constexpr int CheckFiles = 32805;
constexpr int ToggleUninstall = 32808;
constexpr int ToggleExpand = 32809;
constexpr int ToggleForceCopy = 32810;
constexpr int ToggleShared = 32811;
constexpr int FirstAssistant = 32812;
constexpr int LastAssistant = 32816;
}  // namespace command

struct CommandState {
  bool enabled = false;
  bool checked = false;
};

struct ContextMenu {
  struct Item {
    int command = 0;
    std::string text;
    bool enabled = true;
    bool checked = false;
  };
  int menu = 130;  // 132 for a file entry
  std::vector<Item> items;
};

// The entry dialogs, shown as the single page of a modal sheet. On OK the entry holds the
// dialog's values and the result is true; on Cancel it is false.
class EntryEditor {
 public:
  virtual ~EntryEditor() = default;
  virtual bool editEntry(int category, Entry& entry, const std::string& caption, bool addMode) = 0;
};

// What "Properties" opens when the selection is not an entry.
struct PropertiesTarget {
  enum class Kind { None, Background, EndOfInstall, InstallSummary, SettingsPage, Entry };
  Kind kind = Kind::None;
  int page = -1;  // settings page 0..2
};

class TreeCommands {
 public:
  TreeCommands(ScriptTree& tree, const BuilderPreferences& preferences, ui::Interaction& ui,
               EntryEditor& editor);

  CommandState state(int command) const;
  ContextMenu contextMenu() const;

  // Add an entry of a category (the "New" commands); false when cancelled or not possible.
  bool addEntry(int category);
  // "Add current": add an entry to the category of the selection.
  bool addCurrent();
  // Edit the selected entry; false when there is none or the dialog was cancelled.
  bool editSelection();
  // Properties of the selection (also double-click and Enter): an entry is edited here, the
  // other targets are returned for the caller to open.
  PropertiesTarget properties();
  // Erase the selection (an entry or a whole category), after the confirmation.
  bool erase();
  // Invert a flag of the selected file entry (the four toggle commands).
  bool toggle(int command);
  // Switch the tree between 16- and 32-pixel icons; the preference keeps its value.
  void toggleIconSize();

  // True only while an edit started by "Properties" runs.
  bool editing() const { return editing_; }

 private:
  bool ask(const std::string& text) const;
  bool runEditor(int category, Entry& entry, const std::string& caption, bool addMode);
  bool editEntry(int category, EntryKey key);
  // Rebuilds the labels of entries whose labels show another entry, then sorts them.
  void refreshDependents(const std::vector<EntryKey>& keys);
  void refreshDependentsOf(int category);
  bool eraseCategory(int category);
  bool eraseEntry(int category, EntryKey key);
  FileRecord* selectedFile() const;

  ScriptTree& tree_;
  CScriptDoc& doc_;
  const BuilderPreferences& preferences_;
  ui::Interaction& ui_;
  EntryEditor& editor_;
  bool editing_ = false;
};

}  // namespace vandrel::builder
