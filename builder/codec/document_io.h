// Opening, saving and importing script documents, with the messages these steps show.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "builder/codec/load_diagnostic.h"
#include "builder/model/script_doc.h"
#include "ui/interaction.h"

namespace vandrel::builder {

// Open: a fresh summary record (the file's own when it has one), then the content parsed.
// Empty content leaves the document as created; content without any key line shows
// message 186 and fails; a file that cannot be read shows message 334 and fails. The
// caller runs the integrity check afterwards when the preferences ask for it.
bool openDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui);

// Save: the summary record stamped (revision, title, authors, editing time), then the
// compound file written. A failure shows message 184 and leaves the old file in place.
bool saveDocument(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui);

// The form of a document file: the compound file the builder saves, or the plain text form.
enum class DocumentForm { Compound, Text };

// A document file as the builder's commands open and save it: the document is written back in
// the form it was read in.
class DocumentFile {
 public:
  DocumentFile() = default;
  // A file not read yet (a new document, a conversion's output): saves write path in form.
  DocumentFile(std::filesystem::path path, DocumentForm form)
      : path_(std::move(path)), form_(form) {}

  // openDocument's rules and messages; on success the file's form is noted, and what the
  // load could not read as written is kept in diagnostics(), named by path.
  bool open(CScriptDoc& doc, const std::filesystem::path& path, ui::Interaction& ui);
  // Writes the document in the file's form: a compound file as saveDocument saves it (the
  // summary record stamped); the text form as it is. A failure shows message 184. A text-form
  // document whose loading noted anything is not written back (its unread lines would be
  // dropped, its misread values written as read): message 353, and false.
  bool save(CScriptDoc& doc, ui::Interaction& ui);
  // save when the document was modified since it was opened or saved.
  bool saveIfModified(CScriptDoc& doc, ui::Interaction& ui);

  const std::filesystem::path& path() const { return path_; }
  DocumentForm form() const { return form_; }
  const LoadDiagnostics& diagnostics() const { return diagnostics_; }

 private:
  std::filesystem::path path_;
  DocumentForm form_ = DocumentForm::Compound;
  LoadDiagnostics diagnostics_;
};

// The document text form written to path, replacing the file only once the text is written;
// the document is left unmodified. An empty text on success, else what went wrong.
std::string writeDocumentText(CScriptDoc& doc, const std::filesystem::path& path);

// Import ("Merge script"): the chosen file's entries appended and its settings taken over.
// chosen is the file picked in the open-file dialog, nullopt when it was cancelled. Returns
// true when lines were read; the caller then gives the tree an item for each new entry. What the
// load could not read as written is added to diagnostics when given.
bool importScript(CScriptDoc& doc, const std::optional<std::string>& chosen, ui::Interaction& ui,
                  LoadDiagnostics* diagnostics = nullptr);

// How the command line's merge differs from the import above.
struct MergeOptions {
  // The document keeps its settings ([Settings], [Peskin], [Background], [Owner], Reboot and
  // StartURL); only the other file's entries are appended.
  bool entriesOnly = false;
};

// The command line's merge of the file other into doc, whose own file is own (both host
// paths): the import above, with what a person at a prompt expects of it. The document's own
// file, also reached through another path (a link, another spelling), is refused with the
// import's message; a file of any extension is read when its content is a document text (see
// isDocumentText), so a fragment kept as .txt merges; other files go through the import's
// extension rules. Returns true when lines were read.
bool mergeDocumentFile(CScriptDoc& doc, const std::filesystem::path& own,
                       const std::filesystem::path& other, const MergeOptions& options,
                       ui::Interaction& ui, LoadDiagnostics* diagnostics = nullptr);

// Whether text reads as a document's text form: its first line other than blank lines and
// comments (";...") is a section line of a document, such as [Settings] or [Files].
bool isDocumentText(std::string_view text);

// A stop message of the builder; detail names the file and the reason (ui::Message::detail).
void stopMessage(ui::Interaction& ui, const std::string& text, const std::string& detail = {});

}  // namespace vandrel::builder
