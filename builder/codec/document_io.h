// Opening, saving and importing script documents, with the messages these steps show.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "builder/model/script_doc.h"
#include "ui/interaction.h"

namespace vandrel::builder {

// Open: a fresh summary record (the file's own when it has one), then the content parsed.
// Empty content leaves the document as created; content without any key line shows
// message 186 and fails; a file that cannot be read shows message 334 and fails. The
// caller runs the integrity check afterwards when the preferences ask for it.
bool openDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui);

// Save: the summary record stamped (revision, title, authors, editing time), then the
// compound file written. A failure shows message 184 and leaves the old file in place.
bool saveDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui);

// Import ("Merge script"): the chosen file's entries appended and its settings taken over.
// chosen is the file picked in the open-file dialog, nullopt when it was cancelled. Returns
// true when lines were read; the caller then gives the tree an item for each new entry.
bool importScript(CScriptDoc& doc, const std::optional<std::string>& chosen, ui::Interaction& ui);

// A stop message of the builder.
void stopMessage(ui::Interaction& ui, const std::string& text);

}  // namespace vandrel::builder
