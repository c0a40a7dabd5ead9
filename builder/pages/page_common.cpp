// Shared helpers of the pages: trimming, case-blind comparison and the lists of entries.
#include "builder/pages/page_common.h"

#include <algorithm>
#include <cctype>

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::pages {

std::vector<EntryKey> treeOrder(ScriptTree& tree, int category) {
  std::vector<EntryKey> keys;
  const CScriptDoc& doc = tree.document();
  for (ItemHandle handle : tree.children(tree.categoryItem(category))) {
    if (doc.findEntry(category, handle) >= 0) keys.push_back(handle);
  }
  return keys;
}

std::string directoryPath(const DirectoryRecord& dir) {
  return strItem(sid::PredefinedDirPrefixes, dir.parent + 1) + dir.name;
}

namespace {

template <typename F>
std::vector<EntryItem> itemsOf(ScriptTree& tree, int category, F&& text) {
  const CScriptDoc& doc = tree.document();
  std::vector<EntryItem> items;
  for (EntryKey key : treeOrder(tree, category)) {
    std::optional<Entry> entry = doc.entryCopy(category, key);
    if (entry) items.push_back({text(doc, *entry), key});
  }
  return items;
}

}  // namespace

std::vector<EntryItem> directoryItems(ScriptTree& tree) {
  return itemsOf(tree, category::Directories, [](const CScriptDoc&, const Entry& e) {
    return directoryPath(std::get<DirectoryRecord>(e));
  });
}

std::vector<EntryItem> descriptionItems(ScriptTree& tree) {
  return itemsOf(tree, category::Descriptions, [](const CScriptDoc&, const Entry& e) {
    return std::get<DescriptionRecord>(e).text;
  });
}

std::vector<EntryItem> groupItems(ScriptTree& tree) {
  return itemsOf(tree, category::Groups,
                 [](const CScriptDoc&, const Entry& e) { return std::get<GroupRecord>(e).name; });
}

std::vector<EntryItem> fileItems(ScriptTree& tree) {
  return itemsOf(tree, category::Files, [](const CScriptDoc& doc, const Entry& e) {
    return doc.destinationPath(std::get<FileRecord>(e));
  });
}

int indexOfKey(const std::vector<EntryItem>& items, EntryKey key) {
  if (key == 0) return -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].key == key) return int(i);
  }
  return -1;
}

EntryKey keyAt(const std::vector<EntryItem>& items, int index) {
  return index >= 0 && index < int(items.size()) ? items[std::size_t(index)].key : 0;
}

std::vector<std::string> stringItems(unsigned id, int count) {
  std::vector<std::string> items;
  for (int k = 1; k <= count; ++k) items.push_back(strItem(id, k));
  return items;
}

void relabelDependents(ScriptTree& tree, int category, EntryKey key) {
  CScriptDoc& doc = tree.document();
  std::vector<EntryKey> files;
  if (category == category::Directories) {
    for (const FileRecord& file : doc.files) {
      if (file.directoryRef == key) files.push_back(file.key);
    }
  }
  bool shortcutsChanged = false;
  for (const ShortcutRecord& shortcut : doc.shortcuts) {
    bool viaFile = std::find(files.begin(), files.end(), shortcut.fileRef) != files.end();
    if (viaFile || (key != 0 && (shortcut.fileRef == key || shortcut.groupRef == key))) {
      tree.relabel(shortcut.key);
      shortcutsChanged = true;
    }
  }
  for (EntryKey file : files) tree.relabel(file);
  if (!files.empty()) tree.sortCategory(category::Files);
  if (shortcutsChanged) tree.sortCategory(category::ProgramAdds);
}

}  // namespace vandrel::builder::pages
