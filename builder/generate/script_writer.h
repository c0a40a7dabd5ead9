// Writing Script.vrx: the install script of a generated package, built from a document and
// the order of its entries in the tree.
#pragma once

#include <cstdint>
#include <string>

#include "builder/model/script_doc.h"
#include "builder/tree/script_tree.h"
#include "builder/generate/builder_context.h"

namespace vandrel::builder {

// The whole script, lines ending in "\r\n". uninstallerSize is the size of the uninstaller
// file that the built-in uninstaller entry installs (0 when it is missing). When the
// built-in uninstaller has no group yet, the document's first group becomes its group (the
// document is then marked modified); an empty uninstaller shortcut name is filled in.
std::string scriptText(CScriptDoc& doc, const ScriptTree& tree, std::int64_t uninstallerSize);

// Writes the script to path (a Windows path), replacing an existing file. On failure shows
// "An error has occured during the saving process..." and returns false.
bool writeScript(CScriptDoc& doc, const ScriptTree& tree, BuilderContext& context,
                 const std::string& path);

}  // namespace vandrel::builder
