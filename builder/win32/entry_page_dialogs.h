// The entry pages as sheets: each page's controls over its model, filled from it, written
// back on OK and checked there (a refused check keeps the sheet open).
#pragma once

#include <string>

#include "builder/pages/entry_page_editor.h"
#include "builder/win32/builder_dialogs.h"

namespace vandrel::builder::win32 {

// Shows one entry page in a sheet captioned caption; true on OK with the page's check passed.
bool showEntryPage(const DialogContext& context, pages::EntryPage& page,
                   const std::string& caption);

// The file page alone, in the mode the page was made in (a drop import's or the tree's).
bool showFilePage(const DialogContext& context, pages::CAddFileDlg& page,
                  const std::string& caption, const std::string& id);

}  // namespace vandrel::builder::win32
