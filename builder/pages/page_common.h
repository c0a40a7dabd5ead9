// What every entry and settings page shares: the outcome of a page's check on OK, the trimming
// of typed texts, and the lists of other entries that pages offer, in tree order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "builder/tree/script_tree.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::pages {

// The outcome of pressing OK on a page. A refused page stays open; it either beeps or shows
// one information message (a string id), or refuses silently.
struct Check {
  enum class Kind { Ok, Beep, Message, Silent };
  Kind kind = Kind::Ok;
  unsigned message = 0;  // string id for Kind::Message
  std::string text;      // a framework text (range messages) when message is 0

  bool ok() const { return kind == Kind::Ok; }
  static Check pass() { return {}; }
  static Check beep() { return {Kind::Beep, 0, {}}; }
  static Check silent() { return {Kind::Silent, 0, {}}; }
  static Check info(unsigned id) { return {Kind::Message, id, {}}; }
  static Check frameworkText(std::string text) { return {Kind::Message, 0, std::move(text)}; }
};


// One line of a list of other entries: the text shown and the entry it stands for.
struct EntryItem {
  std::string text;
  EntryKey key = 0;
};

// The entries of a category in the order of their items under the category in the tree;
// items without an entry (the fixed directories, a provisional item) are left out.
std::vector<EntryKey> treeOrder(ScriptTree& tree, int category);

// Directories shown as their path ("[Install]\App"), descriptions by their text, groups by
// their name, files by their destination path ("[Install]\App\tool.exe").
std::vector<EntryItem> directoryItems(ScriptTree& tree);
std::vector<EntryItem> descriptionItems(ScriptTree& tree);
std::vector<EntryItem> groupItems(ScriptTree& tree);
std::vector<EntryItem> fileItems(ScriptTree& tree);

// Position of key in items; -1 when key is 0 or not listed.
int indexOfKey(const std::vector<EntryItem>& items, EntryKey key);
// The key at a list position; 0 for no selection or a position out of range.
EntryKey keyAt(const std::vector<EntryItem>& items, int index);

// Texts of a comma-list string, items 1..count.
std::vector<std::string> stringItems(unsigned id, int count);

// "[Install]\App": the path a directory entry shows in lists.
std::string directoryPath(const DirectoryRecord& dir);

// Rebuilds the labels of the files in a directory, of the shortcuts of those files and of the
// shortcuts of a group or file, after that entry was edited; sorts what changed.
void relabelDependents(ScriptTree& tree, int category, EntryKey key);

}  // namespace vandrel::builder::pages
