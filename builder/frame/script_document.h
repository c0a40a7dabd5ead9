// One document of the builder's frame: the script document, its entry tree and undo
// history, the file it was read from and the context its long commands run in.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "builder/codec/document_io.h"
#include "builder/frame/frame_flow.h"
#include "builder/generate/builder_context.h"
#include "builder/model/script_doc.h"
#include "builder/tree/document_edits.h"
#include "builder/tree/script_tree.h"
#include "platform/machine.h"

namespace vandrel::builder::frame {

class ScriptDocument : public FrameDocument {
 public:
  // context: the builder's files, port, progress service and folders, shared by every document.
  explicit ScriptDocument(const BuilderContext& context, platform::Machine& machine);

  // A new document: the author from the user name, a fresh summary record.
  void createNew(int number);
  // Opens a document file (a .cvx or its text form); false after the loader's message.
  bool open(const std::filesystem::path& hostPath);
  // Writes the document into its file in the form it was read in (a new one as a .cvx
  // compound file); false after the message.
  bool save() override;
  bool saveAs(const std::filesystem::path& hostPath) override;
  bool hasFile() const override { return !file_.path().empty(); }
  const std::filesystem::path& hostPath() const override { return file_.path(); }
  bool modified() const override { return doc.isModified(); }

  // "Script1", or the file's name; with "*" while there are unsaved changes.
  std::string windowTitle() const override;
  // What the document's window shows: the document's title ("Tool 1.1 Install script"),
  // with "*" while there are unsaved changes.
  std::string frameTitle() const;

  CScriptDoc doc;
  ScriptTree& tree() { return *tree_; }
  UndoStack& undo() { return *undo_; }
  BuilderContext& context() { return context_; }
  platform::Machine& machine() { return machine_; }
  const LoadDiagnostics& loadDiagnostics() const { return file_.diagnostics(); }

 private:
  void attachTree();
  void takePath(const std::filesystem::path& hostPath);

  BuilderContext context_;
  platform::Machine& machine_;
  DocumentFile file_;
  std::unique_ptr<ScriptTree> tree_;
  std::unique_ptr<UndoStack> undo_;
  std::string untitledName_;
};

}  // namespace vandrel::builder::frame
