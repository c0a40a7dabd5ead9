// The integrity check: the document handed to Scanlet.dll item by item, the log it writes,
// and the offer to show that log in the author's text viewer.
#pragma once

#include <optional>
#include <string>

#include "builder/model/script_doc.h"
#include "builder/tree/script_tree.h"
#include "builder/generate/builder_context.h"

namespace vandrel::builder {

struct IntegrityCheckOptions {
  // The log file (Windows path); when given, the question about the log's name is not asked.
  std::optional<std::string> logPath;
  // The text viewer's command line; %1 is the log.
  std::string defEdit = "Notepad.exe %1";
};

struct IntegrityCheckResult {
  enum class Outcome { Done, Cancelled, NoLibrary, LogFailed };
  Outcome outcome = Outcome::Cancelled;
  std::string logPath;  // Windows path of the log written
};

// Runs the check. After a load (doc.runningAfterLoad) the default log path is used without
// asking. The default log is "CheckLog.txt" in the document's folder, or in the temporary
// folder for a document never saved.
IntegrityCheckResult runIntegrityCheck(CScriptDoc& doc, const ScriptTree& tree,
                                       BuilderContext& context,
                                       const IntegrityCheckOptions& options = {});

// A check log as the checking library wrote it: its code page text, and the number of findings
// its last line gives ("; 3 finding(s)"), nullopt when it ends in no such line (or cannot be read).
struct CheckLog {
  std::string text;
  std::optional<int> findings;
};
CheckLog readCheckLog(platform::FileSystem& files, const std::string& logPath);

// The number of findings the last line of a log's text gives; nullopt without it.
std::optional<int> checkLogFindings(const std::string& log);

// The default log path of a document.
std::string defaultLogPath(const CScriptDoc& doc, const BuilderContext& context);

}  // namespace vandrel::builder
