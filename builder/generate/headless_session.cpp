// Opening and saving the document of a headless command.
#include "builder/generate/headless_session.h"

#include <fstream>
#include <sstream>

#include "builder/codec/document_text.h"

namespace vandrel::builder {

std::string programFolderOf(platform::Machine& machine) {
  std::string exe = machine.process().moduleFileName();
  std::size_t cut = exe.find_last_of('\\');
  return cut == std::string::npos ? std::string() : exe.substr(0, cut);
}

BuilderContext machineContext(platform::Machine& machine, ui::Interaction& ui,
                              ProgressService& progress) {
  BuilderContext context{machine.files(), ui, progress, programFolderOf(machine), &machine.process()};
  context.libraries = &machine.libraries();
  std::error_code ec;
  std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (!ec) {
    if (std::optional<std::string> windows = machine.files().windowsPath(temp)) {
      context.tempFolder = *windows;
    }
  }
  return context;
}

HeadlessSession::HeadlessSession(platform::Machine& machine, ui::Interaction& ui)
    : machine_(machine),
      ui_(ui),
      progress_(ui, machine.files()),
      context_(machineContext(machine, ui, progress_)) {}

bool HeadlessSession::open(const std::filesystem::path& path) {
  if (!file_.open(doc, std::filesystem::absolute(path), ui_)) return false;
  diagnostics_ = file_.diagnostics();
  openedAs_ = path.string();
  for (LoadDiagnostic& d : diagnostics_) d.file = openedAs_;
  if (std::optional<std::string> windows = machine_.files().windowsPath(file_.path())) {
    doc.setPathName(*windows);
  }
  doc.setModifiedFlag(false);
  tree_ = std::make_unique<ScriptTree>(doc);
  return true;
}

LoadDiagnostics HeadlessSession::noteBuildVariables(const BuildValues& given,
                                                    std::vector<std::string>* unused) {
  std::string text;
  if (isTextForm()) {
    std::ifstream in(file_.path(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    text = content.str();
  } else {
    CScriptDoc shown = doc;  // the dump's text; the document itself stays as it is
    text = documentText(shown);
  }
  BuildVariables variables(doc, given);
  LoadDiagnostics found = buildVariableFindings(text, variables, openedAs_);
  if (unused) *unused = variables.unusedGiven();
  diagnostics_.insert(diagnostics_.end(), found.begin(), found.end());
  return found;
}

bool HeadlessSession::saveIfModified() { return file_.saveIfModified(doc, ui_); }

}  // namespace vandrel::builder
