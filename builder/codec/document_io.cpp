// Opening, saving and importing script documents.
#include "builder/codec/document_io.h"

#include <algorithm>
#include <cctype>

#include "builder/codec/cvx_file.h"
#include "builder/codec/document_text.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"
#include "script/schema.h"

namespace vandrel::builder {

namespace {

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// "path: reason" for a document file that cannot be read at all.
std::string unreadable(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(path, ec);
  const char* reason = "cannot be read (no permission?)";
  if (!std::filesystem::exists(status))
    reason = "no such file";
  else if (std::filesystem::is_directory(status))
    reason = "a folder, not a document";
  return path.string() + ": " + reason;
}

// "path: reason" from what the compound-file layer said.
std::string failure(const std::filesystem::path& path, const std::string& error) {
  if (error.find(path.string()) != std::string::npos) return error;
  return path.string() + ": " + error;
}

}  // namespace

void stopMessage(ui::Interaction& ui, const std::string& text, const std::string& detail) {
  ui::Message message;
  message.caption = str(sid::Title);
  message.text = text;
  message.detail = detail;
  message.buttons = ui::Buttons::OK;
  message.icon = ui::Icon::Stop;
  ui.message(message);
}

namespace {

// openDocument, telling the form of the file read; nullopt after the message on failure.
std::optional<DocumentForm> readDocument(CScriptDoc& doc, const std::filesystem::path& path,
                                         ui::Interaction& ui, LoadDiagnostics& diagnostics) {
  doc.resetSummary();
  CvxContent file = readCvx(path);
  switch (file.status) {
    case CvxContent::Status::Unreadable:
      stopMessage(ui, str(sid::FileAccessFailed), unreadable(path));
      return std::nullopt;
    case CvxContent::Status::Damaged:
      stopMessage(ui, str(sid::NotADocument), failure(path, file.error));
      return std::nullopt;
    case CvxContent::Status::NoContents:
    case CvxContent::Status::Ok:
      break;
  }
  // The record saved with the file is kept, so that its revision, creation time and
  // application name survive an open and a save.
  if (file.summary) doc.summary = *file.summary;
  if (!file.content.empty() &&
      loadDocumentText(doc, file.content, diagnostics, path.string()) == 0) {
    stopMessage(ui, str(sid::NotADocument), path.string() + ": no line of a document in it");
    return std::nullopt;
  }
  doc.setPathName(path.string());
  doc.setModifiedFlag(false);
  return file.compound ? DocumentForm::Compound : DocumentForm::Text;
}

}  // namespace

bool openDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui) {
  LoadDiagnostics diagnostics;
  return readDocument(doc, path, ui, diagnostics).has_value();
}

bool saveDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui) {
  SummaryInfo before = doc.summary;
  doc.stampSave();
  std::string text = documentText(doc);
  if (std::string error = writeCvx(path, text, doc.summary); !error.empty()) {
    doc.summary = before;
    stopMessage(ui, str(sid::SaveFailed), failure(path, error));
    return false;
  }
  doc.setPathName(path.string());
  doc.setModifiedFlag(false);
  return true;
}

std::string writeDocumentText(CScriptDoc& doc, const std::filesystem::path& path) {
  std::string error = writeTextFile(path, documentText(doc));
  if (error.empty()) doc.setModifiedFlag(false);
  return error;
}

bool DocumentFile::open(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui) {
  LoadDiagnostics diagnostics;
  std::optional<DocumentForm> form = readDocument(doc, path, ui, diagnostics);
  if (!form) return false;
  diagnostics_ = std::move(diagnostics);
  path_ = path;
  form_ = *form;
  return true;
}

bool DocumentFile::save(CScriptDoc& doc, ui::Interaction& ui) {
  if (form_ == DocumentForm::Compound) return saveDocument(doc, path_, ui);
  if (!diagnostics_.empty()) {
    stopMessage(ui, strFormat(sid::TextNotWrittenBack, path_.string()));
    return false;
  }
  if (std::string error = writeDocumentText(doc, path_); !error.empty()) {
    stopMessage(ui, str(sid::SaveFailed), failure(path_, error));
    return false;
  }
  return true;
}

bool DocumentFile::saveIfModified(CScriptDoc& doc, ui::Interaction& ui) {
  return !doc.isModified() || save(doc, ui);
}

namespace {

// The import's reading step, once the file is known to be one to read: its entries appended
// and its settings taken over. True when lines were read.
bool importContent(CScriptDoc& doc, const std::string& chosen, ui::Interaction& ui,
                   LoadDiagnostics* diagnostics) {
  CvxContent file = readCvx(chosen);
  if (file.status != CvxContent::Status::Ok) {
    stopMessage(ui, str(sid::FileAccessFailed),
                file.status == CvxContent::Status::Unreadable ? unreadable(chosen)
                                                              : failure(chosen, file.error));
    return false;
  }
  LoadDiagnostics notes;
  int lines = file.content.empty() ? 0 : loadDocumentText(doc, file.content, notes, chosen);
  if (diagnostics) diagnostics->insert(diagnostics->end(), notes.begin(), notes.end());
  if (lines > 0) doc.setModifiedFlag();
  doc.updateTitle();
  return lines > 0;
}

// Whether the file at path can be read and holds a document: a compound file, or a text for
// isDocumentText.
bool holdsDocument(const std::filesystem::path& path) {
  CvxContent file = readCvx(path);
  if (file.status != CvxContent::Status::Ok) return false;
  return file.compound || isDocumentText(file.content);
}

// Every setting of the document, which an entries-only merge puts back once the other file
// is read; the entries are left as the load made them.
struct SettingsSnapshot {
  ScriptSettings settings;
  BackgroundSettings background;
  DocumentProperties properties;
  UninstallSettings uninstall;
  int reboot = 0;
  std::string startUrl;

  static SettingsSnapshot of(const CScriptDoc& doc) {
    return {doc.settings, doc.background,         doc.properties,
            doc.uninstall, doc.endOfInstall.reboot, doc.web.startUrl};
  }
  void restore(CScriptDoc& doc) const {
    doc.settings = settings;
    doc.background = background;
    doc.properties = properties;
    doc.uninstall = uninstall;
    doc.endOfInstall.reboot = reboot;
    doc.web.startUrl = startUrl;
  }
};

}  // namespace

bool importScript(CScriptDoc& doc, const std::optional<std::string>& chosen, ui::Interaction& ui,
                  LoadDiagnostics* diagnostics) {
  if (!chosen) return false;
  if (!doc.pathName().empty() && text::toUpper(*chosen) == text::toUpper(doc.pathName())) {
    stopMessage(ui, str(sid::ImportSameDocument), *chosen);
    return false;
  }
  std::string name = text::toUpper(*chosen);
  if (!contains(name, ".CVX") && !contains(name, ".VRX")) {
    stopMessage(ui, str(sid::UnknownExtension), *chosen + ": neither .cvx nor .vrx");
    return false;
  }
  if (!contains(name, ".CVX")) {
    stopMessage(ui, kNotImplemented, *chosen + ": a script file cannot be imported");
    return false;
  }
  return importContent(doc, *chosen, ui, diagnostics);
}

bool isDocumentText(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Blank lines and comments may come first; the section line must be exact, as the
    // loader reads it.
    std::string_view shown = text::trim(line);
    if (shown.empty() || shown.front() == ';') continue;
    for (script::Section section : script::documentSections()) {
      if (text::equalsNoCase(line, "[" + script::sectionName(section) + "]")) return true;
    }
    return false;
  }
  return false;
}

bool mergeDocumentFile(CScriptDoc& doc, const std::filesystem::path& own,
                       const std::filesystem::path& other, const MergeOptions& options,
                       ui::Interaction& ui, LoadDiagnostics* diagnostics) {
  // A link or another spelling of the document's own path is the same file: merging it would
  // double every entry.
  std::error_code ec;
  if (std::filesystem::equivalent(own, other, ec)) {
    stopMessage(ui, str(sid::ImportSameDocument), other.string());
    return false;
  }
  const std::string chosen = other.string();
  const std::string name = text::toUpper(chosen);
  const bool knownExtension = contains(name, ".CVX") || contains(name, ".VRX");
  SettingsSnapshot kept = SettingsSnapshot::of(doc);
  bool read = !knownExtension && holdsDocument(other) ? importContent(doc, chosen, ui, diagnostics)
                                                      : importScript(doc, chosen, ui, diagnostics);
  if (read && options.entriesOnly) {
    kept.restore(doc);
    doc.updateTitle();
  }
  return read;
}

}  // namespace vandrel::builder
