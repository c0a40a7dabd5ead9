// corvix add DOC PATH...: the file-drop import of files and folders into a document, with the
// builder's preferences; the directory selector and file pages go through the interaction
// port. The document is saved afterwards, in the form it was read in.
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
    dropimport::DropResult result = import.run(dropped);
    // Entries added before a cancel stay in the document, as they do in the builder.
    if (!options->noSave && !session->saveIfModified()) return exit_status::Failed;
    return result.cancelled ? exit_status::Failed : exit_status::Done;
  };
}

}  // namespace vandrel::builder::cli
