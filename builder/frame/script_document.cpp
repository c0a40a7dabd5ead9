// Creating, opening and saving a document of the builder.
#include "builder/frame/script_document.h"

namespace vandrel::builder::frame {

ScriptDocument::ScriptDocument(const BuilderContext& context, platform::Machine& machine)
    : context_(context), machine_(machine) {}

void ScriptDocument::attachTree() {
  tree_ = std::make_unique<ScriptTree>(doc);
  undo_ = std::make_unique<UndoStack>(*tree_);
}

void ScriptDocument::takePath(const std::filesystem::path& hostPath) {
  if (std::optional<std::string> windows = machine_.files().windowsPath(hostPath)) {
    doc.setPathName(*windows);
  }
}

void ScriptDocument::createNew(int number) {
  doc.onNewDocument(machine_.system().userName());
  doc.setModifiedFlag(false);
  untitledName_ = "Script" + std::to_string(number);
  attachTree();
}

bool ScriptDocument::open(const std::filesystem::path& hostPath) {
  std::filesystem::path absolute = std::filesystem::absolute(hostPath);
  if (!file_.open(doc, absolute, context_.ui)) return false;
  takePath(absolute);
  doc.setModifiedFlag(false);
  attachTree();
  return true;
}

bool ScriptDocument::save() {
  if (!file_.save(doc, context_.ui)) return false;
  doc.setModifiedFlag(false);
  // A saved document takes its title from what it now holds (application name and version).
  doc.updateTitle();
  undo_->markClean();
  return true;
}

bool ScriptDocument::saveAs(const std::filesystem::path& hostPath) {
  std::filesystem::path absolute = std::filesystem::absolute(hostPath);
  DocumentFile previous = file_;
  // A document saved under a new name is written as a compound file, whatever it was read as.
  file_ = DocumentFile(absolute, DocumentForm::Compound);
  takePath(absolute);
  if (save()) return true;
  file_ = previous;
  return false;
}

std::string ScriptDocument::windowTitle() const {
  std::string name = hasFile() ? file_.path().filename().string() : untitledName_;
  return doc.isModified() ? name + " *" : name;
}

std::string ScriptDocument::frameTitle() const {
  return doc.isModified() ? doc.title() + " *" : doc.title();
}

}  // namespace vandrel::builder::frame
