// The end-of-install sheet: the "End of Install" page with its launch list and the
// "Web favorites" page with its favourites; the list buttons act on the page only until OK.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "builder/pages/page_common.h"
#include "ui/interaction.h"

namespace vandrel::builder::pages {

class CEndSetDlg {
 public:
  int reboot = 0;  // "No", "Computer", "Windows"
  std::vector<std::string> launch;
  std::string edit;   // "New &Command Line:"
  int selected = -1;  // the selected line of the list

  void fill(const EndOfInstall& end);
  // "&Add": the edit's text without its leading blanks, when there is any, goes last; the
  // edit is cleared. False when nothing was added.
  bool add();
  // "&Delete": the selected line goes; nothing happens without a selection.
  bool remove();
  // Double-click on a line: copied into the edit.
  void pick(int line);
};

class CWebUrlDlg {
 public:
  std::string startUrl;
  std::vector<std::pair<std::string, std::string>> rows;  // (shortcut name, URL)
  std::string nameEdit, urlEdit;
  int selected = -1;

  void fill(const WebSettings& web);
  // "&Add": both edits are needed; a row whose name matches (without regard to case) gets
  // the new URL, otherwise a new row goes to the top; both edits are cleared. Beeps (returns
  // false) when an edit is empty.
  bool add(ui::Interaction& ui);
  // "&Delete": the selected row goes; beeps without a selection.
  bool remove(ui::Interaction& ui);
  // A click on a row: its name and URL into the edits.
  void pick(int row);
  // The list's column titles.
  static std::vector<std::string> columns();
};

class EndSheet {
 public:
  explicit EndSheet(const CScriptDoc& doc);
  CEndSetDlg end;
  CWebUrlDlg web;
  // OK: the reboot choice, the launch list, the start URL and both favourites lists are
  // replaced by the pages' values; the document is marked modified.
  void ok(CScriptDoc& doc) const;
};

}  // namespace vandrel::builder::pages
