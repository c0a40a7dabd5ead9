// The integrity check through Scanlet.dll, loaded from the builder's folder.
#include "builder/generate/integrity_check.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "builder/codec/document_io.h"
#include "builder/generate/progress_service.h"
#include "builder/generate/scanlet_document.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

namespace {

constexpr const char* kLogName = "CheckLog.txt";

using Outcome = IntegrityCheckResult::Outcome;

// The check functions of the loaded library; false when it lacks any of them.
bool scanletFunctions(platform::Library* library, ScanletFunctions& table) {
  if (!library) return false;
  auto get = reinterpret_cast<ScanletGetFunctionInfo>(library->symbol(kScanletExport));
  if (!get) return false;
  table = {};
  get(&table);
  return table.checkItem && table.begin && table.end && table.count;
}

std::int64_t machineFileSize(void* files, const char* path) {
  std::optional<std::uint64_t> size = fileSize(*static_cast<platform::FileSystem*>(files), path);
  return size ? std::int64_t(*size) : -1;
}

void copyText(char (&target)[260], const std::string& text) {
  std::strncpy(target, text.c_str(), sizeof target - 1);
  target[sizeof target - 1] = '\0';
}

ScanletDocument describe(const CScriptDoc& doc, const ScriptTree& tree, BuilderContext& context) {
  ScanletDocument d = scanletRecords(doc);
  copyText(d.lastGenPath, doc.settings.lastGenPath);
  copyText(d.programFolder, context.programFolder);
  d.treeView = &tree;
  for (int c = 0; c < 12; ++c) d.nodes[c] = tree.categoryItem(c);
  for (int page = 0; page < 3; ++page) d.nodes[12 + page] = tree.settingsPageItem(page);
  copyText(d.documentPath, doc.pathName());
  d.machine = &context.files;
  d.fileSize = &machineFileSize;
  return d;
}

std::optional<std::string> chooseLogPath(const CScriptDoc& doc, BuilderContext& context,
                                         const IntegrityCheckOptions& options) {
  if (options.logPath) return *options.logPath;
  if (doc.runningAfterLoad) return defaultLogPath(doc, context);
  ui::Message question{str(sid::AppName), str(sid::AskLogFileName), ui::Buttons::YesNoCancel,
                       ui::Icon::Question, 1};
  ui::Answer answer = context.ui.message(question);
  if (answer == ui::Answer::Cancel) return std::nullopt;
  if (answer == ui::Answer::No) return defaultLogPath(doc, context);
  ui::FolderPrompt save;
  save.caption = str(sid::SaveLogTitle);
  save.text = str(sid::TextFileFilter);
  save.dummyName = kLogName;
  save.initialFolder = context.files.currentDirectory();
  save.forWriting = true;
  return context.ui.folder(save);
}

void runChecks(const ScanletFunctions& scanlet, ProgressService& progress) {
  int checks[12] = {};
  int total = 0;
  for (int c = 1; c <= 11; ++c) {
    checks[c] = scanlet.count(c);
    total += scanlet.count(c);
  }
  int done = 0;
  for (int c = 1; c <= 11; ++c) {
    for (int i = 0; i < checks[c]; ++i) {
      scanlet.checkItem(c);
      ++done;
      progress.SetProgress(int(double(done) / double(total) * 100.0));
    }
    progress.pump(21);
  }
}

// The program a command line starts: its first word, or the quoted text it begins with.
std::string programOf(const std::string& commandLine) {
  std::size_t start = commandLine.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  if (commandLine[start] == '"') {
    std::size_t end = commandLine.find('"', start + 1);
    return commandLine.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
  }
  std::size_t end = commandLine.find(' ', start);
  return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

std::string defaultLogPath(const CScriptDoc& doc, const BuilderContext& context) {
  const std::string& path = doc.pathName();
  std::size_t cut = path.find_last_of('\\');
  std::string folder = cut == std::string::npos ? context.tempFolder : path.substr(0, cut);
  return withBackslash(folder) + kLogName;
}

IntegrityCheckResult runIntegrityCheck(CScriptDoc& doc, const ScriptTree& tree,
                                       BuilderContext& context,
                                       const IntegrityCheckOptions& options) {
  IntegrityCheckResult result;
  std::optional<std::string> log = chooseLogPath(doc, context, options);
  if (!log) return result;
  result.logPath = *log;

  std::string libraryPath = joinPath(context.programFolder, str(sid::CheckLibraryName));
  // The library stays loaded until the check has ended, on every path.
  std::unique_ptr<platform::Library> library =
      context.libraries ? context.libraries->load(libraryPath) : nullptr;
  ScanletFunctions scanlet{};
  if (!scanletFunctions(library.get(), scanlet)) {
    stopMessage(
        context.ui,
        strFormat(sid::CheckLibraryMissing, str(sid::CheckLibraryName), context.programFolder),
        libraryPath + (fileSize(context.files, libraryPath)
                           ? ": not a checking library (no GetFunctionInfo)"
                           : ": not found"));
    result.outcome = Outcome::NoLibrary;
    return result;
  }
  ScanletDocument description = describe(doc, tree, context);
  std::optional<std::filesystem::path> hostLog = context.files.hostPath(*log);
  // The library takes the path in the program's code page.
  std::string hostLogName = hostLog ? hostLog->string() : std::string();
  if (!hostLog || scanlet.begin(hostLogName.c_str(), &description) == 0) {
    stopMessage(context.ui, str(sid::LogCreateFailed),
                *log + (hostLog ? ": the file cannot be created (is its folder there and writable?)"
                                : ": not a path of this machine"));
    scanlet.end();
    result.outcome = Outcome::LogFailed;
    return result;
  }
  context.progress.BeginProgress("Checking script integrity...");
  runChecks(scanlet, context.progress);
  scanlet.end();
  context.progress.EndProgress();
  result.outcome = Outcome::Done;

  ui::Message offer{str(sid::AppName), strFormat(sid::AskShowLog, *log), ui::Buttons::YesNo,
                    ui::Icon::Question};
  if (context.ui.message(offer) == ui::Answer::Yes && context.process) {
    std::string viewer = script::formatMessage(options.defEdit, *log);
    // A viewer that cannot be started is named, so the author knows why nothing is shown.
    if (context.process->winExec(viewer, platform::show::Normal) <= 31) {
      ui::Message failed{str(sid::AppName), strFormat(sid::ViewerNotStarted, *log), ui::Buttons::OK,
                         ui::Icon::Information};
      failed.detail = programOf(viewer) + ": not found or cannot be started";
      context.ui.message(failed);
    }
  }
  return result;
}

std::optional<int> checkLogFindings(const std::string& log) {
  std::size_t end = log.find_last_not_of("\r\n");
  if (end == std::string::npos) return std::nullopt;
  std::size_t newline = log.rfind('\n', end);
  std::size_t start = newline == std::string::npos ? 0 : newline + 1;
  std::string last = log.substr(start, end + 1 - start);
  int count = 0;
  char tail[16] = {};
  if (std::sscanf(last.c_str(), "; %d finding(s%15[)]", &count, tail) != 2 || count < 0) {
    return std::nullopt;
  }
  return count;
}

CheckLog readCheckLog(platform::FileSystem& files, const std::string& logPath) {
  std::optional<std::filesystem::path> host = files.hostPath(logPath);
  std::ifstream in(host ? *host : std::filesystem::path());
  std::stringstream text;
  text << in.rdbuf();
  CheckLog log{text.str(), std::nullopt};
  log.findings = checkLogFindings(log.text);
  return log;
}

}  // namespace vandrel::builder
