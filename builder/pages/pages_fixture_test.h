// A document with its tree for the page tests (their interaction port is test::FakeInteraction).
#pragma once

#include <memory>
#include <vector>

#include "builder/tree/script_tree.h"
#include "tests/support/fake_interaction.h"

namespace vandrel::builder::testing {

struct DocFixture {
  CScriptDoc doc{[] { return std::uint64_t(1); }};
  std::unique_ptr<ScriptTree> tree = std::make_unique<ScriptTree>(doc);

  // Appends an entry with a fresh key, gives it its item and returns the key.
  template <typename T>
  EntryKey add(T entry) {
    entry.key = doc.newKey();
    EntryKey key = entry.key;
    int category = categoryOf(Entry(entry));
    doc.appendEntry(std::move(entry));
    tree->insertEntryItem(category, key);
    tree->sortCategory(category);
    return key;
  }
  EntryKey addDir(const std::string& name, int parent = 0) {
    DirectoryRecord d;
    d.name = name;
    d.parent = parent;
    return add(d);
  }
  EntryKey addFile(const std::string& name, EntryKey dir = 0, int disk = 1, int predefined = 0) {
    FileRecord f;
    f.sourceName = f.destName = name;
    f.directoryRef = dir;
    f.disk = disk;
    f.predefinedDir = predefined;
    return add(f);
  }
  EntryKey addGroup(const std::string& name) {
    GroupRecord g;
    g.name = name;
    return add(g);
  }
  std::vector<std::string> labels(int category) const {
    std::vector<std::string> out;
    for (ItemHandle h : tree->children(tree->categoryItem(category))) out.push_back(tree->item(h)->label);
    return out;
  }
};

}  // namespace vandrel::builder::testing
