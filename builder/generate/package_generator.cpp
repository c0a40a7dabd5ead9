// Generate and Regenerate script only.
#include "builder/generate/package_generator.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "builder/codec/document_io.h"
#include "builder/generate/progress_service.h"
#include "builder/generate/script_writer.h"
#include "builder/strings/builder_strings.h"
#include "platform/formats/szdd.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder {

namespace {

constexpr int kPumpAfterFile = 61;

}  // namespace

std::int64_t PackageGenerator::copyLogged(const std::string& source, int disk,
                                          const std::string& folder, const std::string& name,
                                          bool counts) {
  bool compressed = false;
  std::int64_t copied = context_.progress.CopyFileWithProgress(source, folder + name, counts,
                                                               context_.log ? &compressed : nullptr);
  if (context_.log && copied >= 0) context_.log->packaged(source, disk, name, compressed, copied);
  return copied;
}

std::string sourceFilePath(const std::string& documentPath, const FileRecord& file) {
  return joinPath(pathBesideDocument(documentPath, file.sourcePath), file.sourceName);
}

PackageGenerator::PackageGenerator(const CScriptDoc& doc, EntryOrder order,
                                   BuilderContext& context)
    : doc_(doc), order_(std::move(order)), context_(context), ui_(context.ui, context.files) {}

void keepGenerationChoices(CScriptDoc& doc, const PackageGenerator& generator) {
  if (const std::optional<std::string>& folder = generator.chosenFolder()) {
    doc.settings.lastGenPath = *folder;
    doc.setModifiedFlag();
  }
  if (generator.scriptComposed()) doc.settleUninstaller();
}

bool PackageGenerator::canGenerate(const CScriptDoc& doc) {
  return !doc.groups.empty() || !doc.iniEntries.empty() || !doc.registryEntries.empty() ||
         !doc.files.empty() || !doc.shortcuts.empty();
}

ui::Answer PackageGenerator::ask(unsigned id, ui::Buttons buttons, ui::Icon icon,
                                 const std::string& detail) {
  ui::Message message{str(sid::AppName), str(id), buttons, icon};
  message.detail = detail;
  return ui_.message(message);
}

void PackageGenerator::inform(unsigned id, const std::string& detail) {
  ui::Message message{str(sid::AppName), str(id), ui::Buttons::OK, ui::Icon::Information};
  message.detail = detail;
  ui_.message(message);
}

namespace {

// Said with the cancel messages once files were written aside: the text of the second one
// speaks of copied files left in place, which a run that stages its folders never leaves.
constexpr const char* kNothingPutInPlace =
    "Nothing was put in place: the package folders are as they were.";

void addLine(std::string& lines, const std::string& line) {
  if (!lines.empty()) lines += "\n";
  lines += line;
}

}  // namespace

GenerateOutcome PackageGenerator::cancelledBy(unsigned id, const std::string& detail) {
  context_.progress.EndProgress();
  inform(id, detail);
  pairs_.clear();
  return GenerateOutcome::Cancelled;
}

bool PackageGenerator::namedPackage() {
  if (hasApplicationName(doc_.settings)) return true;
  stopMessage(ui_, str(sid::NoApplicationName));
  return false;
}

GenerateOutcome PackageGenerator::stagingFailed(const StagedFolders& staged) {
  context_.progress.EndProgress();
  pairs_.clear();
  stopMessage(ui_, str(sid::SaveFailed), staged.problem());
  return GenerateOutcome::Failed;
}

std::vector<SizeChange> changedSizes(const CScriptDoc& doc, platform::FileSystem& files,
                                     const std::vector<std::optional<std::uint64_t>>* measured) {
  std::vector<SizeChange> changes;
  const bool known = measured && measured->size() == std::size_t(doc.files.count());
  for (int i = 0; i < doc.files.count(); ++i) {
    const FileRecord& file = doc.files.at(i);
    std::string path = sourceFilePath(doc.pathName(), file);
    std::optional<std::uint64_t> size = known ? (*measured)[std::size_t(i)] : fileSize(files, path);
    if (size && (file.size < 0 || *size != std::uint64_t(file.size))) {
      changes.push_back({i, path, file.size, *size});
    }
  }
  return changes;
}

bool PackageGenerator::confirmMissingSources(int& highestDisk,
                                             std::vector<std::optional<std::uint64_t>>* sizes) {
  std::string missing;
  highestDisk = 0;
  if (sizes) sizes->clear();
  for (const FileRecord& file : doc_.files) {
    std::string path = sourceFilePath(doc_.pathName(), file);
    std::optional<std::uint64_t> size = fileSize(context_.files, path);
    if (sizes) sizes->push_back(size);
    if (!size) {
      std::optional<platform::FileStatus> s = context_.files.status(path);
      addLine(missing, path + (s ? ": a folder, not a file" : ": not found"));
    }
    highestDisk = std::max(highestDisk, file.disk);
  }
  if (missing.empty()) return true;
  if (sizes) sizes->clear();
  return ask(sid::AskGenerateWithMissing, ui::Buttons::YesNo, ui::Icon::Question, missing) ==
         ui::Answer::Yes;
}

bool PackageGenerator::distinctStoredNames() {
  struct Stored {
    int entry;
    std::string source;  // upper case
  };
  std::unordered_map<std::string, Stored> stored;  // disk and name in upper case
  for (int i = 0; i < doc_.files.count(); ++i) {
    const FileRecord& file = doc_.files.at(i);
    if (file.disk < 1) continue;  // never copied
    std::string source = sourceFilePath(doc_.pathName(), file);
    std::string key = std::to_string(file.disk) + "\\" + text::toUpper(file.sourceName);
    auto [it, first] = stored.try_emplace(key, Stored{i, text::toUpper(source)});
    if (first || it->second.source == text::toUpper(source)) continue;
    const FileRecord& other = doc_.files.at(it->second.entry);
    stopMessage(ui_, str(sid::SameStoredName),
                "entry " + std::to_string(it->second.entry) + ": " +
                    sourceFilePath(doc_.pathName(), other) + "\nentry " + std::to_string(i) +
                    ": " + source + "\nboth stored as " + file.sourceName + " on disk " +
                    std::to_string(file.disk));
    return false;
  }
  return true;
}

namespace {

// Whether folder is inside (or is) the folder above, as Windows paths of the machine and,
// where links or drive letters could hide it, as host paths.
bool withinFolder(platform::FileSystem& files, const std::string& folder, const std::string& above) {
  std::string inner = withBackslash(text::toUpper(files.fullPath(folder)));
  std::string outer = withBackslash(text::toUpper(files.fullPath(above)));
  if (inner.rfind(outer, 0) == 0) return true;
  std::optional<std::filesystem::path> innerHost = files.hostPath(folder);
  std::optional<std::filesystem::path> outerHost = files.hostPath(above);
  if (!innerHost || !outerHost) return false;
  std::error_code error;
  std::filesystem::path a = std::filesystem::weakly_canonical(*innerHost, error);
  if (error) return false;
  std::filesystem::path b = std::filesystem::weakly_canonical(*outerHost, error);
  if (error) return false;
  const char separator = char(std::filesystem::path::preferred_separator);
  std::string innerText = a.string(), outerText = b.string();
  if (!outerText.empty() && outerText.back() == separator) outerText.pop_back();
  return innerText == outerText || innerText.rfind(outerText + separator, 0) == 0;
}

}  // namespace

bool PackageGenerator::outsideSources(const std::string& diskFolder) {
  std::vector<std::string> sources;
  for (const FileRecord& file : doc_.files) sources.push_back(pathBesideDocument(doc_.pathName(), file.sourcePath));
  for (const MessageRecord& message : doc_.messages) {
    std::string path = pathBesideDocument(doc_.pathName(), message.filePath);
    std::size_t cut = path.find_last_of('\\');
    if (cut != std::string::npos) sources.push_back(path.substr(0, cut));
  }
  std::sort(sources.begin(), sources.end());
  sources.erase(std::unique(sources.begin(), sources.end()), sources.end());
  for (const std::string& source : sources) {
    if (!withinFolder(context_.files, source, diskFolder)) continue;
    stopMessage(ui_, str(sid::PackageOverSources),
                diskFolder + ": holds the source folder " + source);
    return false;
  }
  return true;
}

std::optional<std::string> PackageGenerator::promptFolder(int disk) {
  ui::FolderPrompt prompt;
  prompt.caption = strFormat(sid::PickDiskFolder, decimal(disk));
  prompt.text = prompt.caption;
  prompt.dummyName = "Junk";
  prompt.initialFolder = context_.files.currentDirectory();
  prompt.forWriting = true;
  std::optional<std::string> chosen = ui_.folder(prompt);
  // The dialog returns the folder followed by the dummy name: the name is cut off.
  if (!chosen || chosen->size() < 4) return std::nullopt;
  return withBackslash(chosen->substr(0, chosen->size() - 4));
}

std::string PackageGenerator::copyProblem(const std::string& source, const std::string& destination,
                                          std::int64_t copied, std::int64_t expected) {
  std::optional<platform::FileStatus> s = context_.files.status(source);
  if (!s) return source + ": not found";
  if (s->isDirectory()) return source + ": a folder, not a file";
  if (copied < 0) {
    if (!context_.files.open(source, platform::OpenMode::Read)) return source + ": cannot be read";
    return destination + ": the copy cannot be written";
  }
  if (std::uint64_t(copied) == s->size) {
    return source + ": size " + std::to_string(s->size) + " bytes, recorded " +
           std::to_string(expected) + " (the file changed since it was added)";
  }
  return source + ": only " + std::to_string(copied) + " of " + std::to_string(s->size) +
         " bytes copied (is the disk full?)";
}

GenerateOutcome PackageGenerator::generate(const GenerateOptions& options) {
  generatedComplete_ = false;
  chosenFolder_.reset();
  scriptComposed_ = false;
  if (!namedPackage() || !distinctStoredNames()) return GenerateOutcome::Failed;
  int highestDisk = 0;
  std::vector<std::optional<std::uint64_t>> sizes;
  if (!confirmMissingSources(highestDisk, &sizes)) return GenerateOutcome::Cancelled;
  if (options.changedSizes) {
    std::vector<SizeChange> changes = changedSizes(doc_, context_.files, &sizes);
    if (!changes.empty() && !options.changedSizes(changes)) return GenerateOutcome::Cancelled;
  }
  if (!doc_.settings.lastGenPath.empty()) {
    context_.files.setCurrentDirectory(doc_.settings.lastGenPath);
  }
  bool automatic = false;
  if (highestDisk > 1) {
    if (options.eachDisk) {
      automatic = !*options.eachDisk;
    } else {
      ui::Answer a = ask(sid::AskChooseDiskFolders, ui::Buttons::YesNoCancel, ui::Icon::Question);
      if (a == ui::Answer::Cancel) return GenerateOutcome::Cancelled;
      automatic = a == ui::Answer::No;
    }
  }
  std::optional<std::string> base =
      options.firstFolder ? std::optional(withBackslash(*options.firstFolder)) : promptFolder(1);
  if (!base) {
    inform(sid::CancelledByUser);
    return GenerateOutcome::Cancelled;
  }
  std::string first = automatic ? *base + strFormat(sid::DiskFolderName, "1") : *base;
  // Every folder known now is checked before anything is written; a folder asked for a later
  // disk is checked when it is chosen.
  if (!outsideSources(first)) return GenerateOutcome::Failed;
  for (int disk = 2; automatic && disk <= highestDisk; ++disk) {
    if (!outsideSources(*base + strFormat(sid::DiskFolderName, decimal(disk)))) {
      return GenerateOutcome::Failed;
    }
  }
  chosenFolder_ = first;

  // Every disk's files are written aside and put in place only once the package is whole;
  // leaving this function any other way discards them.
  StagedFolders staged(context_.files);
  std::optional<std::string> firstStaged = staged.stage(first);
  if (!firstStaged) return stagingFailed(staged);

  ProgressService& progress = context_.progress;
  progress.BeginProgress("Initializing...");
  scriptComposed_ = true;
  if (!writeScript(expandedForBuild(doc_, buildValues_), order_, context_,
                   *firstStaged + str(sid::ScriptFileName))) {
    progress.EndProgress();
    return GenerateOutcome::Failed;
  }
  progress.pump();
  if (progress.cancelled()) return cancelledBy(sid::CancelledByUser, kNothingPutInPlace);

  std::string engineProblems;
  if (!copyEngineFiles(*firstStaged, engineProblems)) {
    return cancelledBy(sid::CancelledByUser, kNothingPutInPlace);
  }
  setStarterExecutionLevel(context_.files, *firstStaged + pairs_.front().onDisk,
                           options.executionLevel);
  if (!engineProblems.empty() && ask(sid::AskEngineFilesMissing, ui::Buttons::YesNo,
                                     ui::Icon::Question, engineProblems) != ui::Answer::Yes) {
    progress.EndProgress();
    pairs_.clear();
    return GenerateOutcome::Cancelled;
  }

  std::string problems;
  GenerateOutcome copied = copyAuthorFiles(staged, first, *base, automatic, highestDisk, problems);
  if (copied != GenerateOutcome::Complete) return copied;

  progress.EndProgress();
  pairs_.clear();
  if (!staged.commit()) {
    stopMessage(ui_, str(sid::SaveFailed), staged.problem());
    return GenerateOutcome::Failed;
  }
  if (!problems.empty()) {
    inform(sid::GenerateHadErrors, problems);
    return GenerateOutcome::WithErrors;
  }
  if (!options.quiet) inform(sid::GenerateComplete);
  generatedComplete_ = true;
  return GenerateOutcome::Complete;
}

bool PackageGenerator::copyEngineFiles(const std::string& firstDisk, std::string& engineProblems) {
  ProgressService& progress = context_.progress;
  pairs_ = enginePairs(doc_.settings);
  for (const EnginePair& pair : pairs_) {
    std::string source = joinPath(context_.programFolder, pair.source);
    std::optional<std::uint64_t> size = fileSize(context_.files, source);
    if (size) {
      progress.SetProgress(0, strFormat(sid::CopyingEngineFile, pair.source));
      progress.setExpectedTotal(*size);
      std::int64_t copied = copyLogged(source, 1, firstDisk, pair.onDisk, true);
      if (copied < 0 || std::uint64_t(copied) != *size) {
        if (progress.cancelled()) return false;
        addLine(engineProblems,
                copyProblem(source, firstDisk + pair.onDisk, copied, std::int64_t(*size)));
      }
    } else {
      addLine(engineProblems, source + ": not found");
    }
    progress.pump();
    if (progress.cancelled()) return false;
  }
  return true;
}

GenerateOutcome PackageGenerator::copyAuthorFiles(StagedFolders& staged,
                                                  const std::string& firstDisk,
                                                  const std::string& base, bool automatic,
                                                  int highestDisk, std::string& problems) {
  ProgressService& progress = context_.progress;
  if (doc_.files.empty() || progress.cancelled()) return GenerateOutcome::Complete;
  // What the side store keeps of the copies (their names, for records of files removed
  // behind its back) goes in a transaction per many files.
  platform::FileBatch batch(context_.files);
  std::uint64_t expected = 0;
  for (const FileRecord& file : doc_.files) {
    if (file.size > 0) expected += std::uint64_t(file.size);
    // A file on no disk (below 1) is never copied: the package would lack it silently.
    if (file.disk < 1) {
      addLine(problems, sourceFilePath(doc_.pathName(), file) + ": on disk " +
                            std::to_string(file.disk) + ", which no package has: not copied");
    }
  }
  progress.setExpectedTotal(expected);
  for (int disk = 1; disk <= highestDisk; ++disk) {
    std::string folder = disk == 1 ? firstDisk : std::string();
    bool used = std::any_of(doc_.files.begin(), doc_.files.end(),
                            [disk](const FileRecord& f) { return f.disk == disk; });
    if (used && folder.empty()) {
      if (automatic) {
        folder = base + strFormat(sid::DiskFolderName, decimal(disk));
      } else {
        std::optional<std::string> chosen = promptFolder(disk);
        if (!chosen) return cancelledBy(sid::GenerateCancelled, kNothingPutInPlace);
        if (!outsideSources(*chosen)) {
          progress.EndProgress();
          pairs_.clear();
          return GenerateOutcome::Failed;
        }
        folder = *chosen;
      }
    }
    if (folder.empty()) continue;
    std::optional<std::string> into = staged.stage(folder);
    if (!into) return stagingFailed(staged);
    for (const FileRecord& file : doc_.files) {
      if (file.disk != disk) continue;
      progress.SetProgress(std::nullopt, strFormat(sid::CopyingTo, file.sourceName, folder));
      std::string source = sourceFilePath(doc_.pathName(), file);
      std::int64_t copied = copyLogged(source, disk, *into, file.sourceName, true);
      if (copied != std::int64_t(file.size)) {
        if (progress.cancelled()) return cancelledBy(sid::GenerateCancelled, kNothingPutInPlace);
        std::string problem = copyProblem(source, folder + file.sourceName, copied, file.size);
        if (ask(sid::AskAbortShortCopy, ui::Buttons::YesNo, ui::Icon::Exclamation, problem) ==
            ui::Answer::Yes) {
          progress.EndProgress();
          pairs_.clear();
          return GenerateOutcome::Cancelled;
        }
        addLine(problems, problem);
      }
      progress.pump(kPumpAfterFile);
    }
    copyDiskMessage(disk, *into);
  }
  return GenerateOutcome::Complete;
}

void PackageGenerator::copyDiskMessage(int disk, const std::string& folder) {
  for (const MessageRecord& message : doc_.messages) {
    if (message.disk != disk) continue;
    // Only the first message of a disk is copied; the others share its key in the script.
    std::string file = pathBesideDocument(doc_.pathName(), message.filePath);
    if (fileSize(context_.files, file)) {
      copyLogged(file, disk, folder, message.destName, false);
    }
    return;
  }
}

bool PackageGenerator::regenerateScript() {
  chosenFolder_.reset();
  scriptComposed_ = false;
  if (!namedPackage()) return false;
  int highestDisk = 0;
  if (!confirmMissingSources(highestDisk)) return false;
  const std::string& last = doc_.settings.lastGenPath;
  if (!last.empty() && !context_.files.find(withBackslash(last) + "*").empty()) {
    scriptComposed_ = true;
    return writeScript(expandedForBuild(doc_, buildValues_), order_, context_,
                       withBackslash(last) + str(sid::ScriptFileName));
  }
  stopMessage(ui_, str(sid::SetupNotFound),
              last.empty() ? std::string("the document was never generated")
                           : withBackslash(last) + ": no package there");
  return false;
}

}  // namespace vandrel::builder
