// Package generation: the disk folders, the author's files, the engine files and Script.vrx;
// "Regenerate script only"; the generated-complete flag that Test install reads. Generation
// reads the document and leaves it as it is; what the document keeps of a run is stored by
// keepGenerationChoices.
#pragma once

#include <optional>
#include <string>

#include "builder/model/entry_order.h"
#include "builder/model/script_doc.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/engine_files.h"

namespace vandrel::builder {

struct GenerateOptions {
  // Answers the first disk's folder prompt (a Windows folder, created when missing).
  std::optional<std::string> firstFolder;
  // Answers "Do you wish to choose each destination disk directory ?" without asking it:
  // true per-disk folders, false automatic DiskN folders.
  std::optional<bool> eachDisk;
};

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
  ui::Answer ask(unsigned id, ui::Buttons buttons, ui::Icon icon);
  void inform(unsigned id);
  // A package without an application name would register an uninstall entry named by
  // blanks: message 354 and false.
  bool namedPackage();
  // "Some of your files are missing ..." when a source file is missing; false on No.
  bool confirmMissingSources(int& highestDisk);
  std::optional<std::string> promptFolder(int disk);
  bool copyEngineFiles(const std::string& firstDisk, bool& engineError);
  GenerateOutcome copyAuthorFiles(const std::string& firstDisk, const std::string& base,
                                  bool automatic, int highestDisk, bool& error);
  void copyDiskMessage(int disk, const std::string& folder);
  // One file put into the package (folder + name), for the action log.
  void logCopy(const std::string& source, int disk, const std::string& folder,
               const std::string& name, std::int64_t copied);
  GenerateOutcome cancelledBy(unsigned id);

  const CScriptDoc& doc_;
  EntryOrder order_;
  BuilderContext& context_;
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
std::string sourceFilePath(const std::string& documentPath, const FileEntry& file);

}  // namespace vandrel::builder
