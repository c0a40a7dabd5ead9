// Writing Script.vrx: the install script of a generated package, built from a document and
// the order of its entries. Writing a script leaves the document as it is.
#pragma once

#include <cstdint>
#include <string>

#include "builder/generate/builder_context.h"
#include "builder/model/entry_order.h"
#include "builder/model/script_doc.h"

namespace vandrel::builder {

// The whole script, lines ending in "\r\n". uninstallerSize is the size of the uninstaller
// file that the built-in uninstaller entry installs (0 when it is missing). The built-in
// uninstaller's shortcut goes into the document's uninstaller group (CScriptDoc::
// uninstallerGroup) under its name (CScriptDoc::uninstallName).
std::string scriptText(const CScriptDoc& doc, const EntryOrder& order,
                       std::int64_t uninstallerSize);

// Writes the script to path (a Windows path), replacing an existing file. On failure shows
// "An error has occured during the saving process..." and returns false.
bool writeScript(const CScriptDoc& doc, const EntryOrder& order, BuilderContext& context,
                 const std::string& path);

}  // namespace vandrel::builder
