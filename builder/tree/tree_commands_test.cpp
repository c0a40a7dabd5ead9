// Tests of the entry tree and its commands: fixed items, sorting, lookup, enablement, the
// add/edit/erase flows with their questions, and the toggles.
#include "builder/tree/tree_commands.h"

#include <gtest/gtest.h>

#include "builder/strings/string_ids.h"
#include "builder/tree/testing/tree_fixture.h"

namespace vandrel::builder {
namespace {

// The entry dialogs: applies a change to the entry and answers OK, or Cancel.
class FakeEditor : public EntryEditor {
 public:
  std::function<void(Entry&)> change = [](Entry&) {};
  bool ok = true;
  std::vector<std::string> captions;
  std::vector<Entry> seen;
  bool editEntry(int, Entry& entry, const std::string& caption, bool) override {
    captions.push_back(caption);
    seen.push_back(entry);
    if (ok) change(entry);
    return ok;
  }
};

struct Fixture : testing::TreeFixture {
  FakeEditor editor;

  void load(const char* text) { TreeFixture::load(text, editor); }
  void SetUp() override { load(""); }
  ItemHandle entryItem(int category, int index) {
    return std::visit([](auto* e) { return e->key; }, *doc.entryAt(category, index));
  }
};

TEST_F(Fixture, FixedItems) {
  EXPECT_EQ(tree->item(tree->root())->label, "Script Properties");
  EXPECT_EQ(tree->selection(), tree->root());
  std::vector<std::string> categories;
  for (ItemHandle h : tree->children(tree->root())) categories.push_back(tree->item(h)->label);
  EXPECT_EQ(categories, (std::vector<std::string>{"Settings", "Background", "Directories",
                                                  "Descriptions", "Groups", "Win.ini", "Registry",
                                                  "Files to Copy", "Program Adds", "Messages",
                                                  "End of Install"}));
  EXPECT_EQ(labels(category::Settings), (std::vector<std::string>{"General", "System", "UnInstall"}));
  EXPECT_EQ(labels(category::Directories),
            (std::vector<std::string>{"Default: Install Path", "Default: Install Root",
                                      "Default: System (Windows)", "Default: Windows"}));
  EXPECT_EQ(tree->item(tree->settingsPageItem(2))->image, 13);
}

TEST_F(Fixture, LoadedEntriesShowInListOrderUntilSorted) {
  load("[Groups]\n0=b\n1=C\n2=a\n");
  EXPECT_EQ(labels(category::Groups),
            (std::vector<std::string>{"Create group b", "Create group C", "Create group a"}));
  EXPECT_EQ(tree->orderedKeys(category::Groups),
            (std::vector<EntryKey>{entryItem(5, 2), entryItem(5, 0), entryItem(5, 1)}))
      << "generation numbers by label, case-insensitive, even before a sort";
  tree->sortCategory(category::Groups);
  EXPECT_EQ(labels(category::Groups),
            (std::vector<std::string>{"Create group a", "Create group b", "Create group C"}));
  EXPECT_EQ(tree->positions(category::Groups).at(entryItem(5, 1)), 2);
}

TEST_F(Fixture, EqualLabelsKeepListOrderWhateverTheEditHistory) {
  load("[Groups]\n0=x\n1=a\n");
  tree->select(entryItem(5, 0));
  editor.change = [](Entry& e) { std::get<GroupRecord>(e).name = "a"; };
  ASSERT_TRUE(commands->editSelection());
  EXPECT_EQ(tree->children(tree->categoryItem(5)), tree->orderedKeys(5));
  EXPECT_EQ(tree->orderedKeys(5), (std::vector<EntryKey>{entryItem(5, 0), entryItem(5, 1)}));
}

TEST_F(Fixture, CategoryLookupWalksUpAtMostFiftySteps) {
  load("[Files]\n0=a,a\n");
  EXPECT_EQ(tree->categoryOf(entryItem(8, 0)), category::Files);
  EXPECT_EQ(tree->categoryOf(tree->settingsPageItem(1)), category::Settings);
  EXPECT_EQ(tree->categoryOf(tree->categoryItem(category::EndOfInstall)), category::EndOfInstall);
  EXPECT_EQ(tree->categoryOf(tree->root()), std::nullopt);
  EXPECT_EQ(tree->categoryOf(987654), std::nullopt);
}

TEST_F(Fixture, AddCreatesTheEntryOnOkAndNothingOnCancel) {
  editor.ok = false;
  EXPECT_FALSE(commands->addEntry(category::Descriptions));
  EXPECT_EQ(doc.count(category::Descriptions), 0);
  EXPECT_TRUE(tree->children(tree->categoryItem(category::Descriptions)).empty());
  EXPECT_EQ(std::get<DescriptionRecord>(editor.seen.at(0)).text, "New Description");
  EXPECT_EQ(editor.captions.at(0), "New ");

  editor.ok = true;
  editor.change = [](Entry& e) { std::get<DescriptionRecord>(e).text = "Zeta"; };
  EXPECT_TRUE(commands->addEntry(category::Descriptions));
  editor.change = [](Entry& e) { std::get<DescriptionRecord>(e).text = "alpha"; };
  EXPECT_TRUE(commands->addEntry(category::Descriptions));
  EXPECT_EQ(doc.count(category::Descriptions), 2);
  EXPECT_EQ(doc.descriptions.at(1).text, "alpha") << "appended last";
  EXPECT_EQ(labels(category::Descriptions), (std::vector<std::string>{"alpha", "Zeta"}));
  EXPECT_TRUE(doc.isModified());
}

TEST_F(Fixture, EditChangesTheRecordAndTheLabelsThatShowIt) {
  load("[Directories]\n0=Old,0,0,d\n[Files]\n0=a.exe,a.exe,1,1,0,0,0,0,-1,0,0,p,0\n"
       "[Groups]\n0=G\n[Shortcuts]\n0=A,,0,0\n");
  tree->select(entryItem(category::Directories, 0));
  editor.change = [](Entry& e) { std::get<DirectoryRecord>(e).name = "New"; };
  EXPECT_EQ(commands->properties().kind, PropertiesTarget::Kind::Entry);
  EXPECT_EQ(editor.captions.back(), "Properties");
  EXPECT_EQ(doc.directories.at(0).name, "New");
  EXPECT_EQ(labels(category::Files), std::vector<std::string>{"Disk 1:a.exe copied to [Install]\\New\\a.exe"});
  EXPECT_EQ(labels(category::ProgramAdds),
            std::vector<std::string>{"Declare [Install]\\New\\a.exe in group G as A"});

  editor.ok = false;
  doc.setModifiedFlag(false);
  EXPECT_FALSE(commands->editSelection());
  EXPECT_FALSE(doc.isModified());
}

TEST_F(Fixture, PropertiesTargets) {
  using Kind = PropertiesTarget::Kind;
  struct Case { ItemHandle item; Kind kind; int page; };
  const Case cases[] = {
      {tree->categoryItem(category::Background), Kind::Background, -1},
      {tree->categoryItem(category::EndOfInstall), Kind::EndOfInstall, -1},
      {tree->categoryItem(category::Files), Kind::InstallSummary, -1},
      {tree->categoryItem(category::Groups), Kind::None, -1},
      {tree->root(), Kind::None, -1},
      {tree->settingsPageItem(1), Kind::SettingsPage, 1},
      {tree->predefinedDirectoryItem(0), Kind::None, -1},
  };
  for (const Case& c : cases) {
    tree->select(c.item);
    PropertiesTarget target = commands->properties();
    EXPECT_EQ(target.kind, c.kind) << tree->item(c.item)->label;
    EXPECT_EQ(target.page, c.page) << tree->item(c.item)->label;
  }
  EXPECT_TRUE(editor.captions.empty()) << "no entry dialog for fixed items";
}

TEST_F(Fixture, EraseDirectoriesCategoryAsksWith160AndKeepsThePredefinedItems) {
  load("[Directories]\n0=A,0,0,a\n1=B,0,0,b\n[Files]\n0=f,f,1,1,0,0,0,1,-1,0,0,p,0\n");
  tree->select(tree->categoryItem(category::Directories));
  EXPECT_TRUE(commands->erase());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "This operation will erase the whole Directory category and could alterate associated "
            "files and/or shortcuts declarations. Do you wish to proceed ?");
  EXPECT_EQ(ui.messages[0].buttons, ui::Buttons::YesNo);
  EXPECT_EQ(ui.messages[0].icon, ui::Icon::Question);
  EXPECT_EQ(doc.count(category::Directories), 0);
  EXPECT_EQ(labels(category::Directories).size(), 4u);
  EXPECT_EQ(labels(category::Directories)[0], "Default: Install Path");
}

TEST_F(Fixture, EraseQuestionsAndNo) {
  load("[Directories]\n0=A,0,0,a\n[Descriptions]\n0=d\n[Groups]\n0=G\n"
       "[Files]\n0=f,f,1,1,0,0,0,-1,-1,0,0,p,0\n[Shortcuts]\n0=S,,0,0\n");
  struct Case { int category; bool entry; unsigned id; };
  const Case cases[] = {{category::Directories, true, sid::AskEraseDirectory},
                        {category::Files, true, sid::AskEraseFile},
                        {category::Groups, true, sid::AskEraseFile},
                        {category::Descriptions, true, sid::AskEraseEntry},
                        {category::Descriptions, false, sid::AskEraseCategory},
                        {category::Files, false, sid::AskEraseReferencedCategory},
                        {category::Groups, false, sid::AskEraseReferencedCategory},
                        {category::ProgramAdds, false, sid::AskEraseCategory}};
  const std::map<unsigned, std::string> starts{
      {sid::AskEraseCategory, "This operation will erase the whole "},
      {sid::AskEraseEntry, "This operation will erase the current entry. "},
      {sid::AskEraseDirectory,
       "This operation will erase the current entry and could alterate associations"},
      {sid::AskEraseFile, "This operation will erase the current entry and could alterate its"},
      {sid::AskEraseReferencedCategory, "This operation will erase the whole "}};
  for (const Case& c : cases) {
    tree->select(c.entry ? entryItem(c.category, 0) : tree->categoryItem(c.category));
    ui.answers = {ui::Answer::No};
    EXPECT_FALSE(commands->erase());
    const std::string& text = ui.messages.back().text;
    EXPECT_EQ(text.rfind(starts.at(c.id), 0), 0u) << c.category << " " << text;
    bool alters = c.id == sid::AskEraseDirectory || c.id == sid::AskEraseFile ||
                  c.id == sid::AskEraseReferencedCategory;
    EXPECT_EQ(text.find("alterate") != std::string::npos, alters);
  }
  EXPECT_EQ(doc.count(category::Files) + doc.count(category::Groups) + doc.count(category::Directories), 3)
      << "No erases nothing";
}

TEST_F(Fixture, ErasingAFileDetachesItsShortcut) {
  load("[Directories]\n0=D,0,0,d\n[Groups]\n0=G\n[Files]\n0=f,f.exe,1,1,0,0,0,0,-1,0,0,p,0\n"
       "[Shortcuts]\n0=S,,0,0\n");
  tree->select(entryItem(category::Directories, 0));
  EXPECT_TRUE(commands->erase());
  EXPECT_EQ(labels(category::Files), std::vector<std::string>{"Disk 1:f copied to [Install]\\f.exe"});
  tree->select(entryItem(category::Files, 0));
  EXPECT_TRUE(commands->erase());
  EXPECT_EQ(ui.messages.back().text,
            "This operation will erase the current entry and could alterate its associated shortcut "
            "declaration. Do you wish to proceed ?");
  EXPECT_EQ(labels(category::ProgramAdds),
            std::vector<std::string>{"Declare [File Not Found] in group G as S"});
  EXPECT_EQ(doc.shortcuts.at(0).fileRef, 0u);
  EXPECT_EQ(tree->selection(), 0u);
}

TEST_F(Fixture, NoQuestionWithConfirmEraseOff) {
  load("[Groups]\n0=G\n");
  prefs.confirmErase = false;
  tree->select(entryItem(category::Groups, 0));
  EXPECT_TRUE(commands->erase());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.count(category::Groups), 0);
  tree->select(tree->predefinedDirectoryItem(2));
  EXPECT_FALSE(commands->erase()) << "a predefined directory is not an entry";
}

TEST_F(Fixture, CommandStates) {
  load("[Files]\n0=f,f,1,1,0,1,0,-1,-1,0,0,p,1\n");
  auto enabled = [this](ItemHandle item, int command) {
    tree->select(item);
    return commands->state(command).enabled;
  };
  ItemHandle file = entryItem(category::Files, 0);
  EXPECT_TRUE(enabled(file, command::Erase));
  EXPECT_TRUE(enabled(tree->categoryItem(category::Messages), command::Erase));
  EXPECT_FALSE(enabled(tree->categoryItem(category::Background), command::Erase));
  EXPECT_FALSE(enabled(tree->root(), command::Properties));
  EXPECT_FALSE(enabled(tree->categoryItem(category::Settings), command::Properties));
  EXPECT_FALSE(enabled(tree->categoryItem(category::Registry), command::Properties));
  EXPECT_TRUE(enabled(tree->categoryItem(category::Files), command::Properties));
  EXPECT_TRUE(enabled(tree->settingsPageItem(0), command::Properties));
  EXPECT_FALSE(enabled(tree->categoryItem(category::ProgramAdds), command::AddCurrent))
      << "no group yet";
  EXPECT_TRUE(enabled(tree->categoryItem(category::Groups), command::AddCurrent));
  EXPECT_TRUE(enabled(file, command::ToggleShared));
  EXPECT_FALSE(enabled(tree->categoryItem(category::Files), command::ToggleShared));
  tree->select(file);
  EXPECT_TRUE(commands->state(command::ToggleExpand).checked);
  EXPECT_FALSE(commands->state(command::ToggleForceCopy).checked);
  EXPECT_TRUE(commands->state(command::Generate).enabled);
  EXPECT_FALSE(commands->state(command::GenerateScript).enabled);
  EXPECT_TRUE(commands->state(command::CheckFiles).enabled);
}

TEST_F(Fixture, ContextMenus) {
  load("[Files]\n0=f,f,1,1,0,0,0,-1,-1,0,0,p,0\n");
  auto states = [this](ItemHandle item) {
    tree->select(item);
    ContextMenu menu = commands->contextMenu();
    std::string out = std::to_string(menu.menu) + ":";
    for (const auto& i : menu.items) out += std::string(i.enabled ? "+" : "-") + (i.checked ? "v" : "");
    return out;
  };
  // New, Properties, the four flags (uninstall set), Erase.
  EXPECT_EQ(states(entryItem(category::Files, 0)), "132:+++v++++");
  EXPECT_EQ(states(tree->categoryItem(category::Files)), "130:+++");
  EXPECT_EQ(states(tree->categoryItem(category::ProgramAdds)), "130:--+") << "no group";
  EXPECT_EQ(states(tree->categoryItem(category::Groups)), "130:+-+");
  EXPECT_EQ(states(tree->root()), "130:---");
  EXPECT_EQ(states(tree->categoryItem(category::Background)), "130:-+-");
  EXPECT_EQ(states(tree->settingsPageItem(2)), "130:-+-");
}

TEST_F(Fixture, TogglesAndIconSize) {
  load("[Files]\n0=f,f,1,1,0,0,0,-1,-1,0,0,p,0\n");
  tree->select(entryItem(category::Files, 0));
  EXPECT_TRUE(commands->toggle(command::ToggleForceCopy));
  EXPECT_TRUE(commands->toggle(command::ToggleExpand));
  EXPECT_EQ(doc.files.at(0).forceCopy, 1);
  EXPECT_EQ(doc.files.at(0).decompress, 1);
  EXPECT_EQ(labels(category::Files), std::vector<std::string>{"Disk 1:f decompressed to [Install]\\f"});
  tree->select(tree->categoryItem(category::Files));
  EXPECT_FALSE(commands->toggle(command::ToggleShared));

  prefs.iconSize = 16;
  commands->toggleIconSize();
  EXPECT_EQ(tree->iconSize(), 32);
  EXPECT_FALSE(commands->state(command::SmallIcons).checked);
  commands->toggleIconSize();
  EXPECT_EQ(tree->iconSize(), 16);
  EXPECT_EQ(prefs.iconSize, 16);
}

}  // namespace
}  // namespace vandrel::builder
