// The tree adapter checked by Qt's model tester through a sequence of edits: adds, edits,
// erases of entries and of whole categories, toggles, undo and redo.
#include "builder/qt/script_tree_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>

#include "builder/qt/testing/gui_fixture.h"
#include "builder/tree/document_edits.h"
#include "builder/tree/testing/tree_fixture.h"

namespace vandrel::builder::app {
namespace {

class NamingEditor : public EntryEditor {
 public:
  int count = 0;
  bool editEntry(int, Entry& entry, const std::string&, bool) override {
    std::string name = "Item " + std::to_string(9 - count++ % 10);
    if (auto* group = std::get_if<GroupRecord>(&entry)) group->name = name;
    if (auto* dir = std::get_if<DirectoryRecord>(&entry)) dir->name = name;
    if (auto* text = std::get_if<DescriptionRecord>(&entry)) text->text = name;
    return true;
  }
};

struct ModelFixture : builder::testing::TreeFixture {
  NamingEditor editor;
  std::unique_ptr<ScriptTreeModel> model;
  std::unique_ptr<QAbstractItemModelTester> tester;

  void SetUp() override {
    testing::application();
    load(builder::testing::kOneOfEachScript, editor);
    model = std::make_unique<ScriptTreeModel>(*tree);
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    prefs.confirmErase = false;
  }
  QStringList rows(ItemHandle parent) {
    QStringList out;
    QModelIndex at = model->indexOf(parent);
    for (int r = 0; r < model->rowCount(at); ++r) out << model->index(r, 0, at).data().toString();
    return out;
  }
};

TEST_F(ModelFixture, ShowsTheFixedItemsAndTheEntries) {
  ASSERT_EQ(model->rowCount(), 1);
  QModelIndex root = model->index(0, 0);
  EXPECT_EQ(root.data().toString(), "Script Properties");
  EXPECT_EQ(model->rowCount(root), 11);
  EXPECT_EQ(rows(tree->categoryItem(category::Groups)), QStringList{"Create group G"});
  EXPECT_EQ(model->handleOf(model->indexOf(doc.files.at(0).key)), doc.files.at(0).key);
  EXPECT_FALSE(root.data(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(ModelFixture, FollowsASequenceOfEdits) {
  UndoStack undo(*tree);
  QPersistentModelIndex groupG(model->indexOf(doc.groups.at(0).key));
  for (int i = 0; i < 3; ++i) {
    undo.perform("New", [&] { return commands->addEntry(category::Groups); });
  }
  // Sorted by label: the persistent index of "G" moved to the end with the sort.
  EXPECT_EQ(rows(tree->categoryItem(category::Groups)),
            (QStringList{"Create group G", "Create group Item 7", "Create group Item 8",
                         "Create group Item 9"}));
  EXPECT_EQ(groupG.data().toString(), "Create group G");

  undo.perform("New", [&] { return commands->addEntry(category::Directories); });
  undo.perform("New", [&] { return commands->addEntry(category::Descriptions); });
  tree->select(doc.files.at(0).key);
  undo.perform("LZ", [&] { return commands->toggle(command::ToggleExpand); });
  EXPECT_EQ(rows(tree->categoryItem(category::Files)),
            QStringList{"Disk 1:a.exe decompressed to [Install]\\App\\a.exe"});
  tree->select(doc.directories.at(0).key);
  undo.perform("Erase", [&] { return commands->erase(); });
  tree->select(tree->categoryItem(category::Groups));
  undo.perform("Erase", [&] { return commands->erase(); });
  EXPECT_EQ(rows(tree->categoryItem(category::Groups)), QStringList{});
  EXPECT_FALSE(groupG.isValid());

  while (undo.undo()) {
  }
  EXPECT_EQ(rows(tree->categoryItem(category::Groups)), QStringList{"Create group G"});
  EXPECT_EQ(rows(tree->categoryItem(category::Directories)).size(), 5);
  while (undo.redo()) {
  }
  EXPECT_EQ(rows(tree->categoryItem(category::Groups)), QStringList{});
  EXPECT_EQ(rows(tree->categoryItem(category::Descriptions)), QStringList{"Item 5"});
  tree->select(tree->categoryItem(category::Directories));
  undo.perform("Erase", [&] { return commands->erase(); });
  EXPECT_EQ(rows(tree->categoryItem(category::Directories)),
            (QStringList{"Default: Install Path", "Default: Install Root",
                         "Default: System (Windows)", "Default: Windows"}));
}

TEST_F(ModelFixture, IconsFollowTheSize) {
  model->setIconSize(32);
  QIcon icon = model->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_EQ(icon.availableSizes().value(0), QSize(32, 32));
}

}  // namespace
}  // namespace vandrel::builder::app
