// The five assistants: a few answers turned into ready-made registry, Win.ini and shortcut
// entries. Each model holds its page's fields, checks them on OK and adds its entries.
#pragma once

#include <string>
#include <vector>

#include "builder/model/builder_preferences.h"
#include "builder/pages/page_common.h"
#include "ui/interaction.h"

namespace vandrel::builder::assistants {

using pages::Check;
using pages::EntryItem;

// The shared routine: a registry entry built from its fields, its item inserted under
// "Registry" with its label, the record appended. removal is the stored field (1: only the
// value is removed at uninstall, 0: the whole key). Returns the new entry's key.
EntryKey AddRegistryEntry(ScriptTree& tree, int root, int removal, const std::string& subkey,
                          const std::string& entry, const std::string& value);

// "[n]\name": where a copied file lands at run time. n numbers the file's directory as the
// generated script does: a directory entry by its position in the tree's order, a
// predefined directory as the number of directory entries plus its own number (0..3).
std::string runtimeDirectory(ScriptTree& tree, const FileRecord& file);
std::string runtimeReference(ScriptTree& tree, const FileRecord& file);

// The assistant's title (string 171, item 1..5).
std::string assistantTitle(int number);

// Ending an assistant: the categories that received entries are sorted and, when the
// preference asks for it, the first added item (the last for the path assistant) is
// scrolled into view.
void finishAdding(ScriptTree& tree, const BuilderPreferences& prefs,
                  const std::vector<EntryKey>& added, bool scrollToLast = false);

// A program chosen from the document's files, or typed.
struct ProgramField {
  int file = -1;     // position in the assistant's file list; -1 when typed
  std::string text;  // the typed text
  // The value to write: the chosen file's run-time reference, else the typed text.
  std::string value(ScriptTree& tree, const std::vector<EntryItem>& files) const;
  bool chosen(const std::vector<EntryItem>& files) const;
};

class ExtensionAssistant {
 public:
  std::string extension;  // without the dot
  std::string fileType;
  bool useRegistry = false;
  bool useIni = false;
  std::string programPath;
  bool newDocument = false;
  int iconIndex = 0;

  Check check() const;  // messages 420 and 421
  // OK: the entries, in order; returns their keys.
  std::vector<EntryKey> ok(ScriptTree& tree, const BuilderPreferences& prefs) const;
};

class AutostartAssistant {
 public:
  explicit AutostartAssistant(ScriptTree& tree) : files(pages::fileItems(tree)) {}
  std::vector<EntryItem> files;
  ProgramField program;
  std::string title = "Application Name";
  bool eachTime = true;  // "EACH time" (Run) or "next time" only (RunOnce)
  bool addShortcut = false;

  Check check() const;  // message 431; empty program or title refused
  std::vector<EntryKey> ok(ScriptTree& tree, const BuilderPreferences& prefs) const;
};

// The path assistant acts at each "&Add now"; closing the sheet only sorts and scrolls.
class PathAssistant {
 public:
  explicit PathAssistant(ScriptTree& tree) : files(pages::fileItems(tree)), tree_(tree) {}
  std::vector<EntryItem> files;
  int selected = -1;

  // Adds the two entries for the selected file; a beep (false) without a selection.
  bool addNow(ui::Interaction& ui);
  // OK or Cancel.
  void close(const BuilderPreferences& prefs);
  const std::vector<EntryKey>& added() const { return added_; }

 private:
  ScriptTree& tree_;
  std::vector<EntryKey> added_;
};

class ProductAssistant {
 public:
  explicit ProductAssistant(const CScriptDoc& doc)
      : product(doc.settings.appName), version(doc.settings.ver) {}
  std::string company;
  std::string product;
  std::string version;
  bool localMachine = true;
  bool currentUser = false;
  bool userInfo = true;
  bool serial = false;

  Check check() const;  // beep, messages 445 and 447
  std::vector<EntryKey> ok(ScriptTree& tree, const BuilderPreferences& prefs) const;
};

class DesktopAssistant {
 public:
  explicit DesktopAssistant(ScriptTree& tree) : files(pages::fileItems(tree)) {}
  std::vector<EntryItem> files;
  ProgramField wallpaper;
  ProgramField screenSaver;
  int delay = 0;  // seconds
  bool activate = false;
  bool secure = false;
  bool dragFullWindows = false;
  bool tile = false;

  Check check() const { return Check::pass(); }
  std::vector<EntryKey> ok(ScriptTree& tree, const BuilderPreferences& prefs) const;
};

}  // namespace vandrel::builder::assistants
