// What loading a document text did not understand: one note per line of the text, kept by
// the loader for its caller to show (the loader itself prints nothing).
#pragma once

#include <string>
#include <vector>

namespace vandrel::builder {

// A warning: the line was ignored, or one of two lines was dropped; what the author wrote
// elsewhere is read as written. An error: the document read differs from what the line says
// (defaults filled in, a value read as 0, lines misfiled), so building from it would build
// something the author did not write.
enum class Severity { Warning, Error };

struct LoadDiagnostic {
  std::string file;  // the document as its reader named it; empty for a text without a file
  int line = 0;      // from 1
  Severity severity = Severity::Warning;
  std::string message;
};

using LoadDiagnostics = std::vector<LoadDiagnostic>;

// "file:line: error: message" ("line N: ..." without a file name).
inline std::string diagnosticText(const LoadDiagnostic& d) {
  std::string where = d.file.empty() ? "line " + std::to_string(d.line)
                                     : d.file + ":" + std::to_string(d.line);
  return where + (d.severity == Severity::Error ? ": error: " : ": warning: ") + d.message;
}

inline int errorCount(const LoadDiagnostics& diagnostics) {
  int count = 0;
  for (const LoadDiagnostic& d : diagnostics) count += d.severity == Severity::Error ? 1 : 0;
  return count;
}

}  // namespace vandrel::builder
