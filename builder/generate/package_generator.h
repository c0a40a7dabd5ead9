// Package generation: the disk folders, the author's files, the engine files and Script.vrx;
// "Regenerate script only"; the generated-complete flag that Test install reads. Generation
// reads the document and leaves it as it is; what the document keeps of a run is stored by
// keepGenerationChoices.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "builder/codec/build_variables.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/engine_files.h"
#include "builder/generate/staged_folders.h"
#include "builder/generate/starter_manifest.h"
#include "builder/model/entry_order.h"
#include "builder/model/script_doc.h"
#include "ui/settling_interaction.h"

namespace vandrel::builder {

// An author's file whose size on disk is not the size its entry records.
struct SizeChange {
  int file = 0;      // index in the document's file list
  std::string path;  // the full source path
  std::int32_t recorded = 0;
  std::uint64_t actual = 0;
};

struct GenerateOptions {
  // Answers the first disk's folder prompt (a Windows folder, created when missing).
  std::optional<std::string> firstFolder;
  // Answers "Do you wish to choose each destination disk directory ?" without asking it:
  // true per-disk folders, false automatic DiskN folders.
  std::optional<bool> eachDisk;
  // Given the author's files whose size changed since they were recorded, before anything is
  // written; it may record the new sizes in the document (which the script then holds) and
  // returns whether to go on (false: Cancelled, without a message). Without it a changed file
  // is found by its copy, which asks whether to abort.
  std::function<bool(const std::vector<SizeChange>&)> changedSizes;
  // A quiet command-line run leaves out the message that the package is complete (its summary
  // line says so); every other message is still shown.
  bool quiet = false;
  // What the package's Setup.exe asks Windows for when it starts: written into the manifest
  // of a starter built for Windows (a starter without one is copied as it is).
  ExecutionLevel executionLevel = ExecutionLevel::Administrator;
};

// The author's files of doc whose size on disk differs from the recorded one (missing files
// are not listed: generation asks about them). Sizes just measured, one per file of doc in
// its order (empty for a missing one), spare looking the files up again.
std::vector<SizeChange> changedSizes(
    const CScriptDoc& doc, platform::FileSystem& files,
    const std::vector<std::optional<std::uint64_t>>* measured = nullptr);

enum class GenerateOutcome {
  Complete,    // "Operation complete..."; the generated-complete flag is set
  WithErrors,  // "Some errors occured..."
  Cancelled,   // a question answered No or Cancel, a folder prompt cancelled, Cancel pressed
  Failed,      // the script could not be written
};

class PackageGenerator {
 public:
  // order numbers the entries of the script (the tree's order, ScriptTree::entryOrder).
  PackageGenerator(const CScriptDoc& doc, EntryOrder order, BuilderContext& context);

  // Generate: Script.vrx and the engine files on the first disk, each author file on its
  // disk, each disk's message file. Every question and message goes through the port. A
  // document without an application name (AppName empty or blanks) is refused: Failed.
  GenerateOutcome generate(const GenerateOptions& options = {});
  // Regenerate script only: rewrites Script.vrx in LastGenPath (refused as generate is).
  bool regenerateScript();

  // The values given for this build: the script is written with $(NAME) in its entry fields
  // filled from them and from the document's settings (build_variables.h).
  void setBuildValues(BuildValues given) { buildValues_ = std::move(given); }

  bool generatedComplete() const { return generatedComplete_; }
  void clearGeneratedComplete() { generatedComplete_ = false; }
  // What the last run chose: the first disk's folder (with its trailing backslash) once it
  // was chosen, and whether a script was composed.
  const std::optional<std::string>& chosenFolder() const { return chosenFolder_; }
  bool scriptComposed() const { return scriptComposed_; }

  // Generate and Test install are offered when the document has groups, Win.ini or registry
  // entries, files or shortcuts.
  static bool canGenerate(const CScriptDoc& doc);

 private:
  ui::Answer ask(unsigned id, ui::Buttons buttons, ui::Icon icon, const std::string& detail = {});
  void inform(unsigned id, const std::string& detail = {});
  // A package without an application name would register an uninstall entry named by
  // blanks: message 354 and false.
  bool namedPackage();
  // "Some of your files are missing ..." when a source file is missing; false on No. The
  // sizes found go to *sizes, one per file, unless the question was asked: the author may
  // have changed the files meanwhile.
  bool confirmMissingSources(int& highestDisk,
                             std::vector<std::optional<std::uint64_t>>* sizes = nullptr);
  std::optional<std::string> promptFolder(int disk);
  // A disk keeps one file of a name: two entries of one disk stored under one name must be
  // the same source file, or every installed copy would hold whichever was stored last.
  // Otherwise message 355 naming both entries, and false.
  bool distinctStoredNames();
  // A disk folder that is, or holds, a folder the package's files are read from would mix
  // the package with its own sources (and replace them by their packaged copies): message
  // 356 naming both folders, and false.
  bool outsideSources(const std::string& diskFolder);
  bool copyEngineFiles(const std::string& firstDisk, std::string& engineProblems);
  GenerateOutcome copyAuthorFiles(StagedFolders& staged, const std::string& firstDisk,
                                  const std::string& base, bool automatic, int highestDisk,
                                  std::string& problems);
  void copyDiskMessage(int disk, const std::string& folder);
  // Copies one file into the package (folder + name) and writes it to the action log, when
  // the run has one; the bytes copied, -1 when nothing could be.
  std::int64_t copyLogged(const std::string& source, int disk, const std::string& folder,
                          const std::string& name, bool counts);
  GenerateOutcome cancelledBy(unsigned id, const std::string& detail = {});
  GenerateOutcome stagingFailed(const StagedFolders& staged);
  // Why a copy of source to destination gave `copied` bytes instead of `expected`.
  std::string copyProblem(const std::string& source, const std::string& destination,
                          std::int64_t copied, std::int64_t expected);

  const CScriptDoc& doc_;
  EntryOrder order_;
  BuildValues buildValues_;
  BuilderContext& context_;
  // The questions and messages of a run: what the file batch of the copy holds is ended
  // before each, so that no other program waits on the side store while one is open.
  ui::SettlingInteraction ui_;
  std::vector<EnginePair> pairs_;
  bool generatedComplete_ = false;
  std::optional<std::string> chosenFolder_;
  bool scriptComposed_ = false;
};

// What a document keeps of a run, stored by whoever generates for a document that is kept
// (the builder's commands, Test install): the first disk's folder chosen becomes LastGenPath;
// after a composed script, the uninstaller group the script used becomes the document's
// choice (CScriptDoc::settleUninstaller). A cancelled run that chose nothing changes nothing.
void keepGenerationChoices(CScriptDoc& doc, const PackageGenerator& generator);

// The full source path of a file entry of the document at documentPath: source path + "\" +
// source name, a relative source path taken from the document's folder.
std::string sourceFilePath(const std::string& documentPath, const FileRecord& file);

}  // namespace vandrel::builder
