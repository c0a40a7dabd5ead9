// The entry pages: directory, description, group, Win.ini, registry, shortcut and disk message.
// Each page fills from an entry, holds the fields its controls show, checks them on OK and
// writes them back into the entry. The file page has its own header.
#pragma once

#include <string>
#include <vector>

#include "builder/pages/page_common.h"

namespace vandrel::builder::pages {

class CDirPropDlg {
 public:
  std::string name;
  int parent = 0;  // "Installation", "Install drive root", "Windows System", "Windows"
  bool optional = false;
  std::string description;

  void fill(const DirectoryRecord& dir);
  // A new directory: name and description show the provisional label, optional is on.
  void fillNew(const std::string& provisional);
  Check check() const;  // the name, trimmed, is required
  void apply(DirectoryRecord& dir) const;
  static std::vector<std::string> parentChoices();
};

class CSetDescDlg {
 public:
  std::string text;
  void fill(const DescriptionRecord& entry) { text = entry.text; }
  Check check() const;  // trimmed, required
  void apply(DescriptionRecord& entry) const;
};

class CGrpPropDlg {
 public:
  // The page's note under the name: where else shortcuts can go, and the 16-bit limit.
  static constexpr const char* kNote =
      "Besides a program group, the shortcuts can go into folders named at install time: "
      "[program] (the Programs menu), [startup] (the StartUp folder), [startmenu] (the Start "
      "menu) and [desktop] (the desktop).\n\nA 16-bit setup accepts group names of at most 24 "
      "characters.";

  std::string name;
  void fill(const GroupRecord& entry) { name = entry.name; }
  Check check() const;  // trimmed, required; run-time folder names and lengths are not checked
  void apply(GroupRecord& entry) const;
};

class CINIPropDlg {
 public:
  std::string section, entry, value;
  void fill(const IniRecord& ini);
  Check check() const;  // all trimmed; section and entry required
  void apply(IniRecord& ini) const;
};

class CRegPropDlg {
 public:
  std::string mainKey;  // typed or chosen: one of the four main-key names, any case
  std::string subkey, entry, value;
  bool eraseWholeKey = false;  // shows the stored removal field inverted

  void fill(const RegistryRecord& reg);
  Check check() const;
  void apply(RegistryRecord& reg) const;
  // The drop-down's names, sorted.
  static std::vector<std::string> mainKeyChoices();
  // The root (0..3) a main-key text names, compared without regard to case after trimming;
  // -1 when it names none.
  static int rootOf(const std::string& mainKey);
};

class CAddGroupDlg {
 public:
  explicit CAddGroupDlg(ScriptTree& tree);

  std::vector<EntryItem> files;   // by destination path, in tree order
  std::vector<EntryItem> groups;  // in tree order
  int file = -1;                  // list positions; -1 for no selection
  int group = -1;
  std::string commandLine;
  std::string name;

  void fill(const ShortcutRecord& shortcut);
  Check check() const;  // a file, a group and a name are required
  void apply(ShortcutRecord& shortcut) const;
};

class CMsgPropDlg {
 public:
  std::string destName;
  std::string filePath;
  int disk = 0;

  void fill(const MessageRecord& message);
  // A new message: the highest disk used by any file (0 without files), empty texts.
  void fillNew(const CScriptDoc& doc);
  Check check() const { return Check::pass(); }  // nothing is checked
  void apply(MessageRecord& message) const;
  // "&Browse...": the chosen file's name and full path.
  void browse(const std::string& chosenPath);
  // Where the file chooser starts: the folder part of the current file path.
  std::string browseFolder() const;
};

// The text after a path's last backslash, and the text before it.
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);

}  // namespace vandrel::builder::pages
