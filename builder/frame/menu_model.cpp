// The frame's menus, background menu and toolbar, and the texts of their variable items.
#include "builder/frame/menu_model.h"

#include "builder/frame/frame_commands.h"
#include "builder/model/entry_kinds.h"
#include "builder/strings/builder_strings.h"
#include "builder/tree/tree_commands.h"

namespace vandrel::builder::frame {

namespace {

namespace b = builder::command;
using Kind = MenuItem::Kind;

MenuItem item(int cmd, std::string text, Shortcut keys = {}) {
  MenuItem out;
  out.command = cmd;
  out.text = std::move(text);
  out.shortcut = keys;
  out.checkable = isCheckable(cmd);
  return out;
}

// An item without a command: a separator or a slot the frame fills.
MenuItem placeholder(Kind kind) {
  MenuItem out;
  out.kind = kind;
  return out;
}

MenuItem separator() { return placeholder(Kind::Separator); }

Shortcut ctrl(Key key) { return {key, true, false}; }

Menu fileMenu() {
  MenuItem recent = placeholder(Kind::Submenu);
  recent.text = "Recent &Files";
  recent.items.push_back(placeholder(Kind::RecentFiles));
  return {"&File",
          {item(command::FileNew, "&New", ctrl(Key::N)), item(command::FileOpen, "&Open...", ctrl(Key::O)),
           item(command::FileClose, "&Close"), item(command::FileSave, "&Save", ctrl(Key::S)),
           item(command::FileSaveAs, "Save &As..."), separator(),
           item(b::MergeScript, "&Merge script..."), separator(), recent, separator(),
           item(command::Exit, "E&xit")}};
}

// The "Script" menu: the settings, then each entry kind's "New" command, then the rest.
Menu scriptMenu() {
  Menu menu{"&Script",
            {item(b::GeneralSettings, "Ge&neral settings..."), item(b::BackgroundSettings, "&Background..."),
             separator()}};
  for (const EntryKind& kind : kEntryKinds) menu.items.push_back(item(kind.addCommand, kind.menuText));
  for (MenuItem rest : {item(b::EndSettings, "&End..."), separator(),
                        item(b::Erase, "&Erase selection...", {Key::Delete}),
                        item(b::Properties, "&Properties...", {Key::Return, false, true}),
                        item(b::AddCurrent, "&Add current...", {Key::Insert}), separator(),
                        item(b::ToggleUninstall, "&Uninstall file"), item(b::ToggleExpand, "&LZ Expand"),
                        item(b::ToggleForceCopy, "&Force copy"), item(b::ToggleShared, "&Shared file")}) {
    menu.items.push_back(std::move(rest));
  }
  return menu;
}

Menu toolsMenu() {
  return {"&Tools",
          {item(b::CheckIntegrity, "&Check Integrity..."), item(b::CheckFiles, "Check Source &Files..."),
           item(b::Summary, "&Summary..."), separator(), item(b::Generate, "&Generate...", {Key::F7}),
           item(b::GenerateScript, "Generate S&cript..."), item(b::TestInstall, "&Test...", {Key::F5}),
           separator(),
           // The assistants, which the tree view starts from its Tools menu.
           item(b::FirstAssistant, "E&xtension maker..."), item(b::FirstAssistant + 1, "&Autostart programs..."),
           item(b::FirstAssistant + 2, "&Path registration..."),
           item(b::FirstAssistant + 3, "Product &registration..."), item(b::LastAssistant, "Desktop settings...")}};
}

std::vector<Menu> makeMenus() {
  return {
      fileMenu(),
      {"&Edit", {item(command::Undo, "&Undo", ctrl(Key::Z)), item(command::Redo, "&Redo", ctrl(Key::Y))}},
      {"&View",
       {item(command::ViewToolbar, "&Toolbar"), item(command::ViewStatusBar, "&Status Bar"),
        item(b::SmallIcons, "Small Icons"), separator(), item(command::Preferences, "&Preferences...")}},
      scriptMenu(),
      toolsMenu(),
      {"&Window",
       {item(command::WindowCascade, "&Cascade"), item(command::WindowTile, "&Tile"), placeholder(Kind::WindowList)}},
      // The tip of the day comes first in the Help menu, followed by a separator.
      {str(126),
       {item(command::TipOfTheDay, "Ti&p of the Day..."), separator(),
        item(command::VersionInfo, "&Version Info..."), item(command::About, "&About Corvix...")}},
  };
}

const MenuItem* findIn(const std::vector<MenuItem>& items, int cmd) {
  for (const MenuItem& it : items) {
    if (it.kind == Kind::Command && it.command == cmd) return &it;
    if (const MenuItem* inner = findIn(it.items, cmd)) return inner;
  }
  return nullptr;
}

}  // namespace

const std::vector<Menu>& frameMenus() {
  static const std::vector<Menu> menus = makeMenus();
  return menus;
}

const MenuItem* findCommand(int cmd) {
  for (const Menu& menu : frameMenus()) {
    if (const MenuItem* found = findIn(menu.items, cmd)) return found;
  }
  return nullptr;
}

const std::vector<MenuItem>& backgroundMenu() {
  static const std::vector<MenuItem> menu = {item(command::FileNew, "&New Script"),
                                             item(command::Preferences, ""),
                                             item(command::ViewToolbar, ""),
                                             item(command::ViewStatusBar, "")};
  return menu;
}

const std::vector<ToolbarButton>& frameToolbar() {
  static const std::vector<ToolbarButton> buttons = {
      {command::FileNew, Picture::New},     {command::FileOpen, Picture::Open},
      {command::FileSave, Picture::Save},   {},
      {command::Undo, Picture::Undo},       {command::Redo, Picture::Redo},
      {},
      {b::Properties, Picture::Properties}, {b::Erase, Picture::Erase},
      {},
      {b::Generate, Picture::Generate},     {b::TestInstall, Picture::Test},
      {},
      {command::About, Picture::About},
  };
  return buttons;
}

bool isCheckable(int cmd) {
  return cmd == b::SmallIcons || cmd == command::ViewToolbar || cmd == command::ViewStatusBar ||
         (cmd >= b::ToggleUninstall && cmd <= b::ToggleShared);
}

std::string toolTipOf(const std::string& menuText) {
  std::string tip;
  for (char c : menuText) {
    if (c != '&') tip += c;
  }
  for (std::size_t at; (at = tip.find("...")) != std::string::npos;) tip.erase(at, 3);
  return tip;
}

std::string recentFileText(std::size_t slot, const std::string& path) {
  return "&" + std::to_string(slot + 1) + " " + path;
}

std::string windowItemText(std::size_t index, const std::string& title) {
  std::string number = std::to_string(index + 1);
  return (index < 9 ? "&" + number : number) + " " + title;
}

}  // namespace vandrel::builder::frame
