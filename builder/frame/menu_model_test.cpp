// Tests of the menu model: every command the toolbar, the background menu and answers files
// name has its menu item, and the texts of the items made as the frame runs.
#include "builder/frame/menu_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "builder/frame/frame_commands.h"
#include "builder/model/entry_kinds.h"
#include "builder/tree/tree_commands.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder::frame {
namespace {

void collect(const std::vector<MenuItem>& items, std::multiset<int>& commands, std::set<MenuItem::Kind>& slots) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItem::Kind::Command) commands.insert(item.command);
    if (item.kind == MenuItem::Kind::RecentFiles || item.kind == MenuItem::Kind::WindowList) {
      slots.insert(item.kind);
    }
    collect(item.items, commands, slots);
  }
}

struct Collected {
  std::multiset<int> commands;
  std::set<MenuItem::Kind> slots;
  Collected() {
    for (const Menu& menu : frameMenus()) collect(menu.items, commands, slots);
  }
};

TEST(MenuModel, EachCommandHasOneItemAndEachSlotIsThere) {
  Collected menus;
  for (int cmd : menus.commands) EXPECT_EQ(menus.commands.count(cmd), 1u) << cmd;
  EXPECT_EQ(menus.slots.size(), 2u);
  for (const Menu& menu : frameMenus()) {
    for (const MenuItem& item : menu.items) {
      if (item.kind == MenuItem::Kind::Command) {
        EXPECT_FALSE(item.text.empty()) << item.command;
      }
    }
  }
}

TEST(MenuModel, ToolbarAndBackgroundMenuUseCommandsOfTheMenus) {
  for (const ToolbarButton& button : frameToolbar()) {
    if (button.command != 0) {
      EXPECT_NE(findCommand(button.command), nullptr) << button.command;
    }
  }
  for (const MenuItem& item : backgroundMenu()) EXPECT_NE(findCommand(item.command), nullptr) << item.command;
}

TEST(MenuModel, EveryCommandNameHasItsItem) {
  for (const char* name : {"new", "save", "close", "undo", "redo", "preferences", "about", "tip", "version",
                           "cascade", "tile", "settings", "background", "end", "erase", "properties",
                           "generate", "script", "test", "check", "check-files", "summary", "small-icons",
                           "assistant1", "assistant2", "assistant3", "assistant4", "assistant5"}) {
    int cmd = commandByName(name);
    ASSERT_NE(cmd, 0) << name;
    EXPECT_NE(findCommand(cmd), nullptr) << name;
  }
  for (const EntryKind& kind : kEntryKinds) {
    EXPECT_EQ(commandByName(kind.name), kind.addCommand);
    EXPECT_NE(findCommand(kind.addCommand), nullptr) << kind.name;
  }
  EXPECT_EQ(commandByName("exit"), 0);
  EXPECT_EQ(commandByName(""), 0);
}

TEST(MenuModel, CheckableItemsAreMarked) {
  EXPECT_TRUE(findCommand(command::ViewToolbar)->checkable);
  EXPECT_TRUE(findCommand(builder::command::ToggleShared)->checkable);
  EXPECT_FALSE(findCommand(command::FileSave)->checkable);
}

TEST(MenuTexts, ToolTipLeavesAcceleratorAndEllipsis) {
  EXPECT_EQ(toolTipOf("&Open..."), "Open");
  EXPECT_EQ(toolTipOf("&About Corvix..."), "About Corvix");
  EXPECT_EQ(toolTipOf("&Undo"), "Undo");
}

TEST(MenuTexts, WindowItemsNumberedWithAcceleratorUpToNine) {
  EXPECT_EQ(windowItemText(0, "Tool *"), "&1 Tool *");
  EXPECT_EQ(windowItemText(8, "Nine"), "&9 Nine");
  EXPECT_EQ(windowItemText(9, "Ten"), "10 Ten");
  EXPECT_EQ(recentFileText(0, "/home/a.cvx"), "&1 /home/a.cvx");
  EXPECT_EQ(recentFileText(3, "/d.cvx"), "&4 /d.cvx");
}

// An answers file's commands run in their order, pictures among them; a misspelt name is
// skipped and makes the run fail rather than being taken for another command.
TEST(AnsweredCommands, RunInOrderAndAnUnknownNameFails) {
  test::TempDir dir;
  std::ofstream(dir / "answers.ini") << "[Wizard]\r\nCommands=nope\r\n[Builder]\r\n"
                                        "Commands= settings ,shot:after settings,setings,\tundo\r\n";
  std::vector<std::string> commands = answeredCommands((dir / "answers.ini").string());
  ASSERT_EQ(commands, (std::vector<std::string>{"settings", "shot:after settings", "setings", "undo"}));
  std::vector<std::string> done;
  bool known = runAnswered(
      commands, [&](const std::string& shot) { done.push_back("shot " + shot); },
      [&](int command) { done.push_back(std::to_string(command)); });
  EXPECT_FALSE(known);
  EXPECT_EQ(done, (std::vector<std::string>{std::to_string(commandByName("settings")), "shot after settings",
                                            std::to_string(commandByName("undo"))}));
  EXPECT_TRUE(answeredCommands((dir / "missing.ini").string()).empty());
}

}  // namespace
}  // namespace vandrel::builder::frame
