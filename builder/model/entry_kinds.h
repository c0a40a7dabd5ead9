// The entry kinds of a script document in one table: a kind's category number, text-form
// section, names, tree picture, page and "New" command all come from its row.
#pragma once

#include <array>
#include <string>

#include "script/schema.h"

namespace vandrel::builder {

// Category numbers: the tree's fixed items and the index of every category-indexed call. The
// entry categories' numbers are stored in .cvx files and in the text form: never renumber them.
namespace category {
constexpr int ScriptProperties = 0;
constexpr int Settings = 1;
constexpr int Background = 2;
constexpr int Directories = 3;
constexpr int Descriptions = 4;
constexpr int Groups = 5;
constexpr int WinIni = 6;
constexpr int Registry = 7;
constexpr int Files = 8;
constexpr int ProgramAdds = 9;
constexpr int Messages = 10;
constexpr int EndOfInstall = 11;
}  // namespace category

// One kind of entry the author adds to a document.
struct EntryKind {
  int category;             // its category number (see above)
  script::Section section;  // the section of the text forms that holds its entries
  int nameItem;   // its item in the comma list sid::EntryKindNames: "Directory"
  int labelItem;  // its category item's in sid::CategoryLabels: "Directories"
  // The tree's image index of its category and entry items, and how that image is drawn.
  int picture;
  char pictureLetter;
  unsigned pictureRgb;  // 0xRRGGBB
  int addCommand;       // the "New" command of the menus, the toolbar and "Add current"
  // Its name in scripted runs ("--run directory") and, as "page-" + name, its page's name.
  const char* name;
  const char* menuText;         // the "Script" menu's item for the "New" command
  bool categoryHasProperties;   // "Properties" on its category item opens something
  bool installsSomething;       // one entry of it is enough to enable "Generate" and "Test"
};

// One row per kind: category, section, name and label items, picture (index, letter, colour),
// "New" command, name, menu text, whether its category item has properties, whether it
// installs something. The alternatives of the Entry variant, the document's lists and the
// entry pages follow the order of the rows. Adding a kind: a row here (with new numbers:
// stored numbers never move), its record, list, label, text-form fields and page.
inline constexpr std::array<EntryKind, 8> kEntryKinds = {{
    {category::Directories, script::Section::Directories, 3, 4, 3, 'D', 0xC0A000, 32774,
     "directory", "&Directory...", false, false},
    {category::Descriptions, script::Section::Descriptions, 4, 5, 4, 'T', 0x800080, 32775,
     "description", "Des&cription...", false, false},
    {category::Groups, script::Section::Groups, 5, 6, 5, 'P', 0x008000, 32776, "group",
     "&Group...", false, true},
    {category::WinIni, script::Section::AddIni, 6, 7, 6, 'I', 0x804000, 32777, "winini",
     "&Win.ini...", false, true},
    {category::Registry, script::Section::Registry, 7, 8, 7, 'R', 0xA00000, 32778, "registry",
     "&Registry...", false, true},
    {category::Files, script::Section::Files, 8, 9, 8, 'F', 0x0060C0, 32779, "file", "&File...",
     true, true},
    {category::ProgramAdds, script::Section::Shortcuts, 9, 10, 9, 'L', 0x00A060, 32780,
     "shortcut", "&Add to Group...", false, true},
    {category::Messages, script::Section::Messages, 10, 11, 10, 'M', 0x6000A0, 32781, "message",
     "&Message...", false, false},
}};

// The position of an entry category's row (the slot of its list, its Entry alternative); -1
// for a category of settings or any other number.
constexpr int kindSlot(int category) {
  for (std::size_t i = 0; i < kEntryKinds.size(); ++i) {
    if (kEntryKinds[i].category == category) return int(i);
  }
  return -1;
}
constexpr bool isEntryCategory(int c) { return kindSlot(c) >= 0; }

// The highest number of an entry category, for arrays indexed by category.
constexpr int kHighestEntryCategory = [] {
  int highest = 0;
  for (const EntryKind& kind : kEntryKinds) highest = kind.category > highest ? kind.category : highest;
  return highest;
}();

// The row of an entry category; callers check isEntryCategory first.
constexpr const EntryKind& entryKind(int entryCategory) {
  return kEntryKinds[std::size_t(kindSlot(entryCategory))];
}

// The section of the text forms that holds the entries of an entry category.
constexpr script::Section sectionOf(int entryCategory) { return entryKind(entryCategory).section; }

// The kind whose entries a section holds, whose "New" command is cmd, or whose name is name;
// nullptr when none.
const EntryKind* entryKindOfSection(script::Section section);
const EntryKind* entryKindOfCommand(int cmd);
const EntryKind* entryKindNamed(const std::string& name);

// "Directory", "Win.ini entry", ...: the kind's name as prompts and provisional labels show it.
std::string entryKindName(int entryCategory);
// The label of a category's item in the tree: "Directories", ..., also for the categories of
// settings ("Settings", "End of Install").
std::string categoryLabel(int category);

}  // namespace vandrel::builder
