// The document text form: the INI-style text kept in a .cvx file, written and parsed.
#pragma once

#include <string>
#include <string_view>

#include "builder/model/script_doc.h"
#include "script/schema.h"

namespace vandrel::builder {

// The whole text form, line feeds only. Recomputes the uninstaller section first, so the
// document may change (UnGroup, an empty UnDesc).
std::string documentText(CScriptDoc& doc);

// The body of one section (its lines after the "[name]" line), each ending in a line feed.
// The uninstaller section shows the values of its rule without storing them.
std::string sectionText(const CScriptDoc& doc, script::Section section);

// One entry line: "n=" and the fields of the entry at index of its category's list.
std::string entryText(const CScriptDoc& doc, int lineNumber, int category, int index);

// Parses a document text into doc, appending entries after the existing ones and offsetting
// their references accordingly; settings present in the text replace the current ones.
// Returns the number of key and value lines read.
int loadDocumentText(CScriptDoc& doc, std::string_view text);

}  // namespace vandrel::builder
