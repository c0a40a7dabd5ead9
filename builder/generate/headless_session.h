// One document opened for a headless builder command: the document, its entry tree, the
// progress service and the builder context over a machine; saved back when it changed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "builder/codec/build_variables.h"
#include "builder/codec/document_io.h"
#include "builder/model/script_doc.h"
#include "builder/tree/script_tree.h"
#include "builder/generate/builder_context.h"
#include "builder/generate/progress_service.h"
#include "platform/machine.h"

namespace vandrel::builder {

class HeadlessSession {
 public:
  HeadlessSession(platform::Machine& machine, ui::Interaction& ui);

  // Opens the document (a .cvx compound file or the text form); false after its message.
  bool open(const std::filesystem::path& path);
  // What loading the document could not read as written, named by the path given to open.
  const LoadDiagnostics& loadDiagnostics() const { return diagnostics_; }
  // Adds to loadDiagnostics what cannot be filled in of the document's build variables with
  // the values given, one error each with its line: the file's own line for a text-form
  // document, the line `corvix dump` prints for a .cvx. Returns the findings added; the names
  // given that no field uses go to unused when given.
  LoadDiagnostics noteBuildVariables(const BuildValues& given,
                                     std::vector<std::string>* unused = nullptr);
  // Writes the document back in the form it was read in, when it was modified.
  bool saveIfModified();
  // Whether the document was read from its text form (not a .cvx compound file).
  bool isTextForm() const { return file_.form() == DocumentForm::Text; }

  CScriptDoc doc;
  ScriptTree& tree() { return *tree_; }
  BuilderContext& context() { return context_; }
  ProgressService& progress() { return progress_; }
  platform::Machine& machine() { return machine_; }

 private:
  platform::Machine& machine_;
  ui::Interaction& ui_;
  ProgressService progress_;
  BuilderContext context_;
  std::unique_ptr<ScriptTree> tree_;
  DocumentFile file_;
  LoadDiagnostics diagnostics_;
  std::string openedAs_;  // the path given to open, which names the diagnostics
};

// The folder of the running program as a Windows path, without trailing backslash.
std::string programFolderOf(platform::Machine& machine);

// The context of the builder's commands on a machine: its files, processes and libraries, the
// program's folder and the system's temporary folder.
BuilderContext machineContext(platform::Machine& machine, ui::Interaction& ui,
                              ProgressService& progress);

}  // namespace vandrel::builder
