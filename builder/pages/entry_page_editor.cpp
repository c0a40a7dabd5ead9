// Filling, checking and writing back the entry pages for the tree's add and edit commands.
#include "builder/pages/entry_page_editor.h"

#include "builder/strings/builder_strings.h"

namespace vandrel::builder::pages {

EntryPage makeEntryPage(ScriptTree& tree, const Entry& entry, bool addMode) {
  struct Maker {
    ScriptTree& tree;
    bool addMode;
    EntryPage operator()(const DirectoryRecord& e) const {
      CDirPropDlg page;
      if (addMode) {
        page.fillNew(e.name);
      } else {
        page.fill(e);
      }
      return page;
    }
    EntryPage operator()(const DescriptionRecord& e) const {
      CSetDescDlg page;
      page.fill(e);
      return page;
    }
    EntryPage operator()(const GroupRecord& e) const {
      CGrpPropDlg page;
      page.fill(e);
      return page;
    }
    EntryPage operator()(const IniRecord& e) const {
      CINIPropDlg page;
      page.fill(e);
      return page;
    }
    EntryPage operator()(const RegistryRecord& e) const {
      CRegPropDlg page;
      page.fill(e);
      return page;
    }
    EntryPage operator()(const FileRecord& e) const {
      CAddFileDlg page(tree);
      page.fill(e);
      return page;
    }
    EntryPage operator()(const ShortcutRecord& e) const {
      CAddGroupDlg page(tree);
      page.fill(e);
      return page;
    }
    EntryPage operator()(const MessageRecord& e) const {
      CMsgPropDlg page;
      if (addMode) {
        page.fillNew(tree.document());
      } else {
        page.fill(e);
      }
      return page;
    }
  };
  return std::visit(Maker{tree, addMode}, entry);
}

Check checkEntryPage(const EntryPage& page) {
  return std::visit([](const auto& p) { return p.check(); }, page);
}

Entry pageResult(const EntryPage& page, const Entry& original) {
  if (const auto* file = std::get_if<CAddFileDlg>(&page)) return file->result();
  Entry result = original;
  std::visit(
      [&result](const auto& p) {
        using Page = std::decay_t<decltype(p)>;
        if constexpr (!std::is_same_v<Page, CAddFileDlg>) {
          std::visit(
              [&p](auto& record) {
                if constexpr (requires { p.apply(record); }) p.apply(record);
              },
              result);
        }
      },
      page);
  return result;
}

void showRefusal(ui::Interaction& ui, const Check& check) {
  if (check.kind == Check::Kind::Beep) ui.beep();
  if (check.kind != Check::Kind::Message) return;
  ui::Message message;
  message.caption = str(sid::Title);
  message.text = check.message != 0 ? str(check.message) : check.text;
  message.icon = ui::Icon::Information;
  ui.message(message);
}

bool PageEntryEditor::editEntry(int, Entry& entry, const std::string& caption, bool addMode) {
  EntryPage page = makeEntryPage(tree_, entry, addMode);
  for (;;) {
    if (!view_.show(page, caption)) {
      // Cancel: the file page may have moved on to a further new file, which goes.
      if (std::holds_alternative<CAddFileDlg>(page)) entry = pageResult(page, entry);
      return false;
    }
    Check check = checkEntryPage(page);
    if (check.ok()) break;
    showRefusal(ui_, check);
  }
  entry = pageResult(page, entry);
  return true;
}

}  // namespace vandrel::builder::pages
