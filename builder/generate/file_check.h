// The file check: every file to copy looked for in its source folder, missing files located
// with the author's help, recorded sizes corrected, and the table of results.
#pragma once

#include <string>
#include <vector>

#include "builder/model/script_doc.h"
#include "builder/generate/builder_context.h"

namespace vandrel::builder {

struct FileCheckRow {
  std::string file;    // source name
  int disk = 0;
  std::string sizeKb;  // size found, "%0.1f" KB; "-" when the file was not found
  bool corrected = false;
};

struct FileCheckResult {
  std::vector<FileCheckRow> rows;
  int scanned = 0;
  int corrected = 0;
  int missing = 0;
};

// Offered when the document has at least one file to copy.
bool canCheckFiles(const CScriptDoc& doc);

FileCheckResult runFileCheck(CScriptDoc& doc, BuilderContext& context);

// The results as text: the three counters, then the table (header and one row per file),
// columns separated by tabs.
std::string fileCheckReport(const FileCheckResult& result);

}  // namespace vandrel::builder
