// The builder's dialogs shown one after another over a document, for the pictures of every
// window (corvix-dialogs): the same pages over the same entries whichever toolkit shows them.
#pragma once

#include "builder/dropimport/drop_import.h"
#include "builder/pages/entry_page_editor.h"
#include "builder/tree/script_tree.h"

namespace vandrel::builder::frame {

// The eight entry pages, each over the document's first entry of its kind, or over a made-up
// one when the document has none.
void showEntryPages(pages::EntryPageView& view, ScriptTree& tree);

// The drop import's directory selector and file page, for a file dropped on the document.
void showDropDialogs(dropimport::DropDialogs& dialogs, ScriptTree& tree);

}  // namespace vandrel::builder::frame
