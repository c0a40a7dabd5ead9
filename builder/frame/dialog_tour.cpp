// The builder's dialogs shown one after another over a document.
#include "builder/frame/dialog_tour.h"

#include "builder/strings/builder_strings.h"

namespace vandrel::builder::frame {

namespace {

// The first entry of a category, or nothing.
template <typename T>
const T* first(const EntryList<T>& list) {
  return list.count() > 0 ? &list.at(0) : nullptr;
}

}  // namespace

void showEntryPages(pages::EntryPageView& view, ScriptTree& tree) {
  const CScriptDoc& doc = tree.document();
  auto show = [&](const Entry& entry) {
    pages::EntryPage page = pages::makeEntryPage(tree, entry, false);
    view.show(page, str(sid::PropertiesCaption));
  };
  auto showOr = [&](const auto* entry, auto fresh) {
    if (entry) return show(*entry);
    show(fresh);
  };
  showOr(first(doc.directories), DirectoryRecord{"App", 0, 1, "The application"});
  showOr(first(doc.descriptions), DescriptionRecord{"Program files"});
  showOr(first(doc.groups), GroupRecord{"Tool"});
  showOr(first(doc.iniEntries), IniRecord{"Extensions", "tol", "[0]\\tool.exe ^.tol"});
  showOr(first(doc.registryEntries), RegistryRecord{2, "Software\\Orlwen\\Tool", "", "1"});
  showOr(first(doc.files), FileRecord{});
  showOr(first(doc.shortcuts), ShortcutRecord{});
  showOr(first(doc.messages), MessageRecord{"Disk2.txt", 2, "Z:\\src\\Disk2.txt"});
}

void showDropDialogs(dropimport::DropDialogs& dialogs, ScriptTree& tree) {
  dropimport::DirectorySelector selector(tree, "readme.txt", false);
  dialogs.selectDirectory(selector);
  pages::CAddFileDlg page(tree, true);
  FileRecord dropped;
  dropped.sourceName = dropped.destName = "readme.txt";
  dropped.sourcePath = "Z:\\src\\Tool";
  dropped.size = 1234;
  page.fill(dropped);
  dialogs.editFile(page);
}

}  // namespace vandrel::builder::frame
