// Opening and saving the document of a headless command.
#include "builder/generate/headless_session.h"

#include "builder/codec/cvx_file.h"
#include "builder/codec/document_io.h"
#include "builder/codec/document_text.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder {

std::string programFolderOf(platform::Machine& machine) {
  std::string exe = machine.process().moduleFileName();
  std::size_t cut = exe.find_last_of('\\');
  return cut == std::string::npos ? std::string() : exe.substr(0, cut);
}

HeadlessSession::HeadlessSession(platform::Machine& machine, ui::Interaction& ui)
    : machine_(machine),
      ui_(ui),
      progress_(ui, machine.files()),
      context_{machine.files(), ui, progress_, programFolderOf(machine), &machine.process()} {
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (!ec) {
    if (std::optional<std::string> windows = machine.files().windowsPath(temp)) {
      context_.tempFolder = *windows;
    }
  }
}

bool HeadlessSession::open(const std::filesystem::path& path) {
  path_ = std::filesystem::absolute(path);
  if (!openDocument(doc, path_, ui_)) return false;
  compound_ = isCompoundFile(path_).value_or(true);
  if (std::optional<std::string> windows = machine_.files().windowsPath(path_)) {
    doc.setPathName(*windows);
  }
  doc.setModifiedFlag(false);
  tree_ = std::make_unique<ScriptTree>(doc);
  return true;
}

bool HeadlessSession::saveIfModified() {
  if (!doc.isModified()) return true;
  if (compound_) return saveDocument(doc, path_, ui_);
  if (std::string error = writeTextFile(path_, documentText(doc)); !error.empty()) {
    stopMessage(ui_, str(184));
    return false;
  }
  doc.setModifiedFlag(false);
  return true;
}

}  // namespace vandrel::builder
