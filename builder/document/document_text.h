// The document text form: the INI-style text kept in a .cvx file, written and parsed.
#pragma once

#include <string>
#include <string_view>

#include "builder/document/script_doc.h"

namespace vandrel::builder {

// Section numbers of the text form (the entry categories use their category number).
namespace section {
constexpr int Settings = 1;
constexpr int Background = 2;
constexpr int End = 11;
constexpr int Owner = 12;
constexpr int Web = 13;
constexpr int Peskin = 14;
constexpr int Count = 14;
}  // namespace section

// The whole text form, line feeds only. Recomputes the uninstaller section first, so the
// document may change (UnGroup, an empty UnDesc).
std::string documentText(CScriptDoc& doc);

// The body of one section (its lines after the "[name]" line), each ending in a line feed.
std::string sectionText(CScriptDoc& doc, int sectionNumber);

// One entry line: "n=" and the fields of the entry at index of its category's list.
std::string entryText(const CScriptDoc& doc, int lineNumber, int category, int index);

// Parses a document text into doc, appending entries after the existing ones and offsetting
// their references accordingly; settings present in the text replace the current ones.
// Returns the number of key and value lines read.
int loadDocumentText(CScriptDoc& doc, std::string_view text);

}  // namespace vandrel::builder
