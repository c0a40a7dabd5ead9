// The frame's menus and toolbar as data: items with their command, text and shortcut,
// separators, submenus and the slots the frame fills as it runs (recent files, open windows).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vandrel::builder::frame {

// A key of a shortcut, named without any toolkit's key codes.
enum class Key { None, N, O, S, Y, Z, Delete, Insert, Return, F5, F7 };

struct Shortcut {
  Key key = Key::None;
  bool ctrl = false;
  bool alt = false;
  bool empty() const { return key == Key::None; }
};

struct MenuItem {
  enum class Kind {
    Command,      // a command: its number, text, shortcut and whether it is checked
    Separator,
    Submenu,      // items holds its items
    RecentFiles,  // the recent files' commands, one per file (recentFileText)
    WindowList,   // a separator and one item per open document (windowItemText), shown
                  // when there is one
  };
  Kind kind = Kind::Command;
  int command = 0;
  std::string text;  // with its & accelerator; empty for slots and separators
  Shortcut shortcut;
  bool checkable = false;
  std::vector<MenuItem> items;
};

struct Menu {
  std::string text;
  std::vector<MenuItem> items;
};

// The menu bar, left to right.
const std::vector<Menu>& frameMenus();
// The first command item of the menus with this number; nullptr when there is none.
const MenuItem* findCommand(int command);

// The context menu of the frame's background: commands of the menus; an item with a text
// shows that text instead of the menus' one.
const std::vector<MenuItem>& backgroundMenu();

// The "Standard" toolbar: its buttons' pictures, named for what they show.
enum class Picture { New, Open, Save, Undo, Redo, Properties, Erase, Generate, Test, About };

struct ToolbarButton {
  int command = 0;  // 0: a separator
  Picture picture = Picture::New;
};
const std::vector<ToolbarButton>& frameToolbar();

// Whether a command's item carries a check mark.
bool isCheckable(int command);

// A button's tip: its command's menu text without the accelerator and the ellipsis.
std::string toolTipOf(const std::string& menuText);
// "&1 C:\\path", the recent file of a slot (0 for the newest).
std::string recentFileText(std::size_t slot, const std::string& path);
// "&1 Title" for the first nine open documents, "10 Title" after.
std::string windowItemText(std::size_t index, const std::string& title);

}  // namespace vandrel::builder::frame
