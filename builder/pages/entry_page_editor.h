// The tree's entry dialogs over the page models: the page of an entry's category filled for
// add or edit, shown by a view until OK passes its check or Cancel, then written back.
#pragma once

#include <string>
#include <variant>

#include "builder/tree/tree_commands.h"
#include "builder/pages/entry_pages.h"
#include "builder/pages/file_page.h"
#include "ui/interaction.h"

namespace vandrel::builder::pages {

using EntryPage = std::variant<CDirPropDlg, CSetDescDlg, CGrpPropDlg, CINIPropDlg, CRegPropDlg,
                               CAddFileDlg, CAddGroupDlg, CMsgPropDlg>;
// One page per entry kind, in the order of kEntryKinds and of the Entry variant.
static_assert(std::variant_size_v<EntryPage> == kEntryKinds.size());

// The page for an entry. In add mode the directory page starts from the provisional label the
// entry carries as its name, and the message page from the highest disk of the files.
EntryPage makeEntryPage(ScriptTree& tree, const Entry& entry, bool addMode);
Check checkEntryPage(const EntryPage& page);
// The entry with the page's values written into it; the file page gives the file it holds
// last (a further new file after "&Validate and Add new file").
Entry pageResult(const EntryPage& page, const Entry& original);

// What renders a page (a Qt dialog, a console form): true for OK, false for Cancel.
class EntryPageView {
 public:
  virtual ~EntryPageView() = default;
  virtual bool show(EntryPage& page, const std::string& caption) = 0;
};

class PageEntryEditor : public EntryEditor {
 public:
  PageEntryEditor(ScriptTree& tree, EntryPageView& view, ui::Interaction& ui)
      : tree_(tree), view_(view), ui_(ui) {}
  // A refused OK beeps (or shows its message) and shows the page again.
  bool editEntry(int category, Entry& entry, const std::string& caption, bool addMode) override;

 private:
  ScriptTree& tree_;
  EntryPageView& view_;
  ui::Interaction& ui_;
};

// A refused check as the author sees it: a beep or an information message.
void showRefusal(ui::Interaction& ui, const Check& check);

}  // namespace vandrel::builder::pages
