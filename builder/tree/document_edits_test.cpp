// Undo and redo over the tree commands: each edit is taken back and done again with the
// document's content, the tree's labels and the modified flag following.
#include "builder/tree/document_edits.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "builder/tree/testing/tree_fixture.h"

namespace vandrel::builder {
namespace {

class RenamingEditor : public EntryEditor {
 public:
  bool ok = true;
  bool editEntry(int, Entry& entry, const std::string&, bool) override {
    if (auto* group = std::get_if<GroupRecord>(&entry)) group->name = "Tools";
    return ok;
  }
};

struct UndoFixture : testing::TreeFixture {
  RenamingEditor editor;
  std::unique_ptr<UndoStack> undo;

  void SetUp() override {
    load(testing::kOneOfEachScript, editor);
    undo = std::make_unique<UndoStack>(*tree);
    prefs.confirmErase = false;
  }
  std::vector<std::string> allLabels() {
    std::vector<std::string> out;
    for (const EntryKind& kind : kEntryKinds) {
      const int c = kind.category;
      for (const std::string& label : labels(c)) out.push_back(label);
    }
    return out;
  }
};

TEST_F(UndoFixture, EraseOfAReferencedDirectoryIsTakenBackWithTheLabelsThatShowedIt) {
  DocumentContent original = DocumentContent::of(doc);
  std::vector<std::string> before = allLabels();
  tree->select(doc.directories.at(0).key);
  EXPECT_TRUE(undo->perform("Erase", [&] { return commands->erase(); }));
  EXPECT_EQ(labels(category::Files), (std::vector<std::string>{"Disk 1:a.exe copied to [Install]\\a.exe"}));
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(undo->undoName(), "Erase");

  EXPECT_TRUE(undo->undo());
  EXPECT_EQ(DocumentContent::of(doc), original);
  // The same items, each category now sorted as after any edit.
  std::vector<std::string> after = allLabels();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(undo->redoName(), "Erase");

  EXPECT_TRUE(undo->redo());
  EXPECT_EQ(doc.count(category::Directories), 0);
  EXPECT_EQ(labels(category::Files)[0], "Disk 1:a.exe copied to [Install]\\a.exe");
  EXPECT_TRUE(doc.isModified());
  EXPECT_FALSE(undo->redo());
}

TEST_F(UndoFixture, AnEditThatChangesNothingLeavesNoCommand) {
  editor.ok = false;
  EXPECT_FALSE(undo->perform("New", [&] { return commands->addEntry(category::Groups); }));
  tree->select(tree->root());
  undo->perform("Erase", [&] { return commands->erase(); });
  EXPECT_FALSE(undo->canUndo());
  EXPECT_EQ(undo->undoName(), "");
}

TEST_F(UndoFixture, ANewEditDropsTheRedoHistoryAndTheCleanStateBeyondIt) {
  undo->perform("New", [&] { return commands->addEntry(category::Groups); });
  undo->markClean();  // saved with the new group
  doc.setModifiedFlag(false);
  EXPECT_TRUE(undo->undo());
  EXPECT_TRUE(doc.isModified());
  tree->select(doc.files.at(0).key);
  undo->perform("Shared", [&] { return commands->toggle(command::ToggleShared); });
  EXPECT_FALSE(undo->canRedo());
  // The saved state cannot be reached again: undoing never makes the document look saved.
  EXPECT_TRUE(undo->undo());
  EXPECT_TRUE(doc.isModified());
}

TEST_F(UndoFixture, UndoingACategoryEraseNeverReusesTheKeyOfAFixedItem) {
  tree->select(tree->categoryItem(category::Directories));
  undo->perform("Erase", [&] { return commands->erase(); });
  undo->undo();
  EXPECT_EQ(labels(category::Directories).size(), 5u);
  undo->perform("New", [&] { return commands->addEntry(category::Groups); });
  EntryKey added = doc.groups.at(1).key;
  for (int i = 0; i < 4; ++i) EXPECT_NE(added, tree->predefinedDirectoryItem(i));
  EXPECT_EQ(labels(category::Groups), (std::vector<std::string>{"Create group G", "Create group Tools"}));
}

TEST_F(UndoFixture, TheHistoryKeepsItsLimit) {
  UndoStack small(*tree, 2);
  tree->select(doc.files.at(0).key);
  for (int i = 0; i < 3; ++i) small.perform("Shared", [&] { return commands->toggle(command::ToggleShared); });
  EXPECT_EQ(small.size(), 2u);
  EXPECT_TRUE(small.undo());
  EXPECT_TRUE(small.undo());
  EXPECT_FALSE(small.undo());
  EXPECT_EQ(doc.files.at(0).shared, 1);  // the first toggle was dropped from the history
  EXPECT_TRUE(doc.isModified());
}

}  // namespace
}  // namespace vandrel::builder
