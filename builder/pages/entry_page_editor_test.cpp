// Tests of the entry dialogs over the page models, run by the tree's add and edit commands:
// the page each category opens with, refused OKs shown again, and the write-back.
#include "builder/pages/entry_page_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include "builder/pages/pages_fixture_test.h"
#include "builder/strings/string_ids.h"

namespace vandrel::builder::pages {
namespace {

// A view that lets the test act on each showing of a page; it answers OK unless told.
struct ScriptedView : EntryPageView {
  std::function<bool(EntryPage&, int showing)> act = [](EntryPage&, int) { return true; };
  std::vector<std::string> captions;
  int showings = 0;
  bool show(EntryPage& page, const std::string& caption) override {
    captions.push_back(caption);
    return act(page, showings++);
  }
};

struct Editor : ::testing::Test, testing::DocFixture {
  BuilderPreferences prefs;
  test::FakeInteraction ui;
  ScriptedView view;
  PageEntryEditor editor{*tree, view, ui};
  TreeCommands commands{*tree, prefs, ui, editor};
};

TEST_F(Editor, NewDirectoryPageAndWriteBack) {
  view.act = [](EntryPage& page, int) {
    auto& dir = std::get<CDirPropDlg>(page);
    EXPECT_EQ(dir.name, "New Directory");
    EXPECT_EQ(dir.description, "New Directory");
    EXPECT_TRUE(dir.optional);
    dir.name = "  App";
    dir.parent = 3;
    return true;
  };
  ASSERT_TRUE(commands.addEntry(category::Directories));
  ASSERT_EQ(doc.directories.count(), 1);
  EXPECT_EQ(doc.directories.at(0).name, "App");
  EXPECT_EQ(doc.directories.at(0).optional, 1);
  EXPECT_EQ(view.captions, (std::vector<std::string>{"New "}));
  EXPECT_EQ(labels(category::Directories).front(), "Create [Windows]\\App");
}

TEST_F(Editor, RefusedOkShowsThePageAgain) {
  view.act = [](EntryPage& page, int showing) {
    auto& reg = std::get<CRegPropDlg>(page);
    reg.mainKey = showing == 0 ? "HKEY_LOCAL" : "hkey_current_user";
    reg.subkey = "Software\\Co";
    reg.value = "1";
    return true;
  };
  ASSERT_TRUE(commands.addEntry(category::Registry));
  EXPECT_EQ(view.showings, 2);
  EXPECT_EQ(ui.beeps, 1);
  ASSERT_EQ(doc.registryEntries.count(), 1);
  EXPECT_EQ(doc.registryEntries.at(0).root, 1);
}

TEST_F(Editor, CancelledDescriptionLeavesNothing) {
  view.act = [](EntryPage& page, int) {
    EXPECT_EQ(std::get<CSetDescDlg>(page).text, "New Description");
    return false;
  };
  EXPECT_FALSE(commands.addEntry(category::Descriptions));
  EXPECT_EQ(doc.descriptions.count(), 0);
  EXPECT_TRUE(labels(category::Descriptions).empty());
}

TEST_F(Editor, MessagePageStartsOnTheHighestDiskAndEditsKeepTheirValues) {
  addFile("a.exe", 0, 2);
  view.act = [](EntryPage& page, int) {
    auto& msg = std::get<CMsgPropDlg>(page);
    EXPECT_EQ(msg.disk, 2);
    msg.destName = "disk2.txt";
    return true;
  };
  ASSERT_TRUE(commands.addEntry(category::Messages));
  tree->select(doc.messages.at(0).key);
  view.act = [](EntryPage& page, int) {
    auto& msg = std::get<CMsgPropDlg>(page);
    EXPECT_EQ(msg.destName, "disk2.txt");
    msg.disk = 5;
    return true;
  };
  ASSERT_TRUE(commands.editSelection());
  EXPECT_EQ(doc.messages.at(0).disk, 5);
  EXPECT_EQ(labels(category::Messages), (std::vector<std::string>{"Disk 5 message is file disk2.txt"}));
}

TEST_F(Editor, ValidateAndAddThroughTheEditor) {
  view.act = [](EntryPage& page, int) {
    auto& file = std::get<CAddFileDlg>(page);
    file.browse("Z:\\src\\one.exe", 1);
    EXPECT_TRUE(file.validateAndAddNew().ok());
    file.browse("Z:\\src\\two.exe", 2);
    return false;  // Cancel: only two.exe goes
  };
  EXPECT_FALSE(commands.addEntry(category::Files));
  ASSERT_EQ(doc.files.count(), 1);
  EXPECT_EQ(doc.files.at(0).sourceName, "one.exe");
  EXPECT_EQ(labels(category::Files).size(), 1u);
}

TEST_F(Editor, RefusalMessages) {
  showRefusal(ui, Check::info(sid::UninstallGroupWarning));
  showRefusal(ui, Check::frameworkText("Please enter an integer."));
  showRefusal(ui, Check::silent());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text.rfind("Warning: when using Dallow", 0), 0u);
  EXPECT_EQ(ui.messages[1].text, "Please enter an integer.");
  EXPECT_EQ(ui.beeps, 0);
}

}  // namespace
}  // namespace vandrel::builder::pages
