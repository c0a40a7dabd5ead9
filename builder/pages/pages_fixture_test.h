// A document with its tree for the page tests, and a recording interaction port.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "builder/document/script_tree.h"
#include "ui/interaction.h"

namespace vandrel::builder::testing {

// Records messages and beeps; answers questions from a queue (OK/Yes when empty).
class RecordingInteraction : public ui::Interaction {
 public:
  std::deque<ui::Answer> answers;
  std::vector<ui::Message> shown;
  int beeps = 0;

  ui::Answer message(const ui::Message& m) override {
    shown.push_back(m);
    if (m.buttons == ui::Buttons::OK || answers.empty()) {
      return m.buttons == ui::Buttons::YesNo ? ui::Answer::Yes : ui::Answer::OK;
    }
    ui::Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  ui::PageResult page(const ui::Page&) override { return {}; }
  std::optional<std::string> folder(const ui::FolderPrompt&) override { return std::nullopt; }
  std::optional<int> choose(const ui::Choice&) override { return std::nullopt; }
  void diskMessage(const ui::DiskMessage&) override {}
  void closing(const ui::Closing&) override {}
  void beep() override { ++beeps; }
  void progress(const ui::Progress&) override {}
  bool cancelPressed() override { return false; }
  void endProgress() override {}
};

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
    DirectoryEntry d;
    d.name = name;
    d.parent = parent;
    return add(d);
  }
  EntryKey addFile(const std::string& name, EntryKey dir = 0, int disk = 1, int predefined = 0) {
    FileEntry f;
    f.sourceName = f.destName = name;
    f.directoryRef = dir;
    f.disk = disk;
    f.predefinedDir = predefined;
    return add(f);
  }
  EntryKey addGroup(const std::string& name) {
    GroupEntry g;
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
