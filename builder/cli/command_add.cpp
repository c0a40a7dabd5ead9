// corvix add DOC PATH...: the file-drop import of files and folders into a document, with the
// builder's preferences; the directory selector and file pages go through the interaction
// port. Files below the document's folder are recorded relative to it, so the project folder
// can move. The document is saved afterwards, in the form it was read in.
#include <filesystem>

#include "builder/cli/command_session.h"
#include "builder/dropimport/drop_import.h"
#include "builder/prefs/preferences_store.h"

namespace vandrel::builder::cli {

namespace {

struct AddOptions {
  std::string document;
  std::vector<std::string> paths;
  bool noSave = false;
};

// The source folders of the entries from index first on, made relative to the document's
// folder when they lie below it ("." for the folder itself).
void relativeToDocument(CScriptDoc& doc, int first) {
  std::size_t cut = doc.pathName().find_last_of('\\');
  if (cut == std::string::npos) return;
  std::string base = doc.pathName().substr(0, cut);
  for (int i = first; i < doc.files.count(); ++i) {
    std::string& folder = doc.files.at(i).sourcePath;
    if (folder == base) folder = ".";
    else if (folder.size() > base.size() + 1 && folder.rfind(base + "\\", 0) == 0) {
      folder = folder.substr(base.size() + 1);
    }
  }
}

}  // namespace

CommandRun defineAdd(CLI::App& sub) {
  auto options = std::make_shared<AddOptions>();
  sub.add_option("DOC", options->document, "the document that receives the entries")->required();
  sub.add_option("PATH", options->paths, "files and folders, as dropped on the document")->required();
  sub.add_flag("--no-save", options->noSave, "leave the document file unchanged");
  return [options](CommandContext& context) {
    platform::Machine* machine = context.machine();
    if (!machine) return exit_status::Failed;
    // Every path is checked before anything changes: a typed path that does not exist is a
    // mistake, not a file of size 0.
    std::vector<std::string> dropped;
    for (const std::string& host : options->paths) {
      std::error_code error;
      if (!std::filesystem::exists(host, error)) return fail(context, "no such file or folder: " + host);
      std::optional<std::string> path = context.windowsPath(host);
      if (!path) return fail(context, "the path cannot be reached from the machine: " + host);
      dropped.push_back(*path);
    }
    std::unique_ptr<HeadlessSession> session = openSession(context, options->document);
    if (!session) return exit_status::Failed;
    BuilderPreferences preferences = prefs::readPreferences();
    dropimport::InteractionDropDialogs dialogs(context.ui());
    dropimport::DropImport import(session->tree(), preferences, machine->files(), context.ui(),
                                  dialogs);
    int first = session->doc.files.count();
    dropimport::DropResult result = import.run(dropped);
    relativeToDocument(session->doc, first);
    // Entries added before a cancel stay in the document, as they do in the builder.
    if (!options->noSave && !session->saveIfModified()) return exit_status::Failed;
    return result.cancelled ? exit_status::Failed : exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
