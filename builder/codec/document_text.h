// The document text form: the INI-style text kept in a .cvx file, written and parsed.
#pragma once

#include <string>
#include <string_view>

#include "builder/codec/load_diagnostic.h"
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
// The same load, noting in diagnostics (named by file) each line it cannot read as written:
// unknown sections and keys, lines without "=", entries with too few fields (or, for a file's
// source folder and a shortcut's command line, extra commas), non-numbers where numbers
// belong, references to entries not read, keys given twice (the later one is kept), entry
// keys that are not the entry's position. The document is loaded exactly as without them.
int loadDocumentText(CScriptDoc& doc, std::string_view text, LoadDiagnostics& diagnostics,
                     std::string_view file = {});

}  // namespace vandrel::builder
