// The routines the assistants add entries with, and run-time file references.
#include "builder/assistants/assistants.h"

#include <algorithm>

#include "builder/strings/builder_strings.h"

namespace vandrel::builder::assistants {

EntryKey AddRegistryEntry(ScriptTree& tree, int root, int removal, const std::string& subkey,
                          const std::string& entry, const std::string& value) {
  CScriptDoc& doc = tree.document();
  RegistryRecord record;
  record.root = root;
  record.removal = removal;
  record.subkey = subkey;
  record.entry = entry;
  record.value = value;
  record.key = doc.newKey();
  EntryKey key = record.key;
  doc.appendEntry(std::move(record));
  tree.insertEntryItem(category::Registry, key);
  return key;
}

std::string runtimeDirectory(ScriptTree& tree, const FileRecord& file) {
  const CScriptDoc& doc = tree.document();
  int n = -1;
  if (doc.directories.find(file.directoryRef) >= 0) {
    std::vector<EntryKey> order = tree.orderedKeys(category::Directories);
    auto it = std::find(order.begin(), order.end(), file.directoryRef);
    if (it != order.end()) n = int(it - order.begin());
  }
  if (n < 0) n = doc.directories.count() + std::clamp(file.predefinedDir, 0, 3);
  return "[" + decimal(n) + "]";
}

std::string runtimeReference(ScriptTree& tree, const FileRecord& file) {
  return runtimeDirectory(tree, file) + "\\" + file.destName;
}

std::string assistantTitle(int number) { return strItem(sid::AssistantTitles, number); }

void finishAdding(ScriptTree& tree, const BuilderPreferences& prefs,
                  const std::vector<EntryKey>& added, bool scrollToLast) {
  std::vector<int> categories;
  for (EntryKey key : added) {
    if (std::optional<int> c = tree.entryCategory(key)) categories.push_back(*c);
  }
  std::sort(categories.begin(), categories.end());
  categories.erase(std::unique(categories.begin(), categories.end()), categories.end());
  for (int c : categories) tree.sortCategory(c);
  if (prefs.ensureVisible && !added.empty()) {
    tree.scrollIntoView(scrollToLast ? added.back() : added.front());
  }
}

bool ProgramField::chosen(const std::vector<EntryItem>& files) const {
  return pages::keyAt(files, file) != 0;
}

std::string ProgramField::value(ScriptTree& tree, const std::vector<EntryItem>& files) const {
  if (const FileRecord* chosenFile = tree.document().files.findEntry(pages::keyAt(files, file))) {
    return runtimeReference(tree, *chosenFile);
  }
  return text;
}

}  // namespace vandrel::builder::assistants
