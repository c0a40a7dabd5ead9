// corvix add DOC PATH... [--recursive] [--into DIR] [--component LABEL] [--disk N]: files and
// folders become entries by the folder rules of the drop import, without preferences or
// dialogs, and what was added, made and skipped is printed; --preferences runs the drop import
// itself, with the builder's preferences and its dialogs through the interaction port. Files
// below the document's folder are recorded relative to it, so the project folder can move.
// The document is saved afterwards, in the form it was read in.
#include <filesystem>

#include "builder/cli/command_session.h"
#include "builder/dropimport/drop_import.h"
#include "builder/dropimport/path_import.h"
#include "builder/prefs/preference_rules.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

struct AddOptions {
  std::string document;
  std::vector<std::string> paths;
  bool noSave = false, preferences = false;
  bool shared = false, expand = false, noExpand = false, optional = false;
  dropimport::PathImportOptions import;
  std::optional<std::string> into, component;
  std::optional<int> disk;
};

// What the import did, one line each, then the counts.
void printReport(CommandContext& context, const dropimport::PathImportReport& report) {
  auto utf8 = [](const std::string& text) { return platform::cp1252ToUtf8(text); };
  for (const std::string& name : report.directoriesMade)
    context.out << "made directory " << utf8(name) << "\n";
  for (const std::string& label : report.componentsMade)
    context.out << "made component " << utf8(label) << "\n";
  for (const auto& file : report.files)
    context.out << "added " << utf8(file.path) << " -> " << utf8(file.directory) << "\n";
  for (const auto& skipped : report.skipped)
    context.out << "skipped " << utf8(skipped.path) << ": " << skipped.why << "\n";
  context.out << report.files.size() << " file(s) added, " << report.directoriesMade.size()
              << " directorie(s) made, " << report.skipped.size() << " skipped\n";
  context.out.flush();
}

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

// The flags of the file entries from index first on that --shared, --expand/--no-expand and
// --optional ask for. A component the user may leave out is an optional directory: every
// directory receiving the files becomes one. Empty on success, else what was refused.
std::string applyFileFlags(CScriptDoc& doc, int first, const AddOptions& options) {
  for (int i = first; i < doc.files.count(); ++i) {
    FileRecord& file = doc.files.at(i);
    if (options.shared) file.shared = 1;
    // Generation copies a file as it is: the flag says the source already is compressed
    // (SZDD) and the setup expands it when copying.
    if (options.expand) file.decompress = 1;
    if (options.noExpand) file.decompress = 0;
    if (!options.optional) continue;
    DirectoryRecord* dir = doc.directories.findEntry(file.directoryRef);
    if (!dir) {
      return "--optional: a predefined directory cannot be left out; give --into a directory "
             "of the document";
    }
    dir->optional = 1;
  }
  return {};
}

}  // namespace

CommandRun defineAdd(CommandLine& sub) {
  auto options = std::make_shared<AddOptions>();
  sub.argument("DOC", options->document, "the document that receives the entries");
  sub.argument("PATH", options->paths, "files and folders, as dropped on the document");
  sub.flag("--recursive", options->import.recursive,
               "walk sub-folders too: each becomes a directory folder\\sub holding its files");
  sub.option("--into", options->into,
                 "the directory the files and folders go into: one of the document's, "
                 "\"Install Path\", \"Root Drive\", \"Windows System\", \"Windows Dir\", "
                 "or a new one (default: files into Install Path, each folder a directory)");
  sub.option("--component", options->component,
                 "the component (description) of every file added; made when missing");
  sub.option("--disk", options->disk,
                 "the disk of every file added (default: the highest in use)", 1, 9999);
  sub.flag("--shared", options->shared,
           "mark every file added as shared (counted, removed only by its last user)");
  sub.flag("--expand", options->expand,
           "every file added already is compressed (SZDD) and is expanded when installed; "
           "corvix does not compress it");
  sub.flag("--no-expand", options->noExpand,
           "every file added is installed as it is (the default)");
  sub.flag("--optional", options->optional,
           "make the directories receiving the files optional: components the user may leave "
           "out on the components page");
  sub.flag("--preferences", options->preferences,
               "run the builder's drop import instead: its stored FileDrop preferences and "
               "dialogs (through the interaction port); the options above do not apply");
  sub.flag("--no-save", options->noSave, "leave the document file unchanged");
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
    if (options->preferences &&
        (options->import.recursive || options->into || options->component || options->disk ||
         options->shared || options->expand || options->noExpand || options->optional)) {
      return usageError(context,
                        "--preferences takes its rules from the preferences: "
                        "--recursive, --into, --component, --disk, --shared, --expand, "
                        "--no-expand and --optional do not apply");
    }
    if (options->expand && options->noExpand) {
      return usageError(context, "--expand and --no-expand exclude each other");
    }
    std::unique_ptr<HeadlessSession> session = openSession(context, options->document);
    if (!session) return exit_status::Failed;
    if (!options->preferences) {
      // Typed in UTF-8, kept in the document's code page.
      dropimport::PathImportOptions rules = options->import;
      if (options->into) rules.into = platform::utf8ToCp1252(*options->into);
      if (options->component) rules.component = platform::utf8ToCp1252(*options->component);
      rules.disk = options->disk;
      int first = session->doc.files.count();
      dropimport::PathImport import(session->tree(), machine->files());
      dropimport::PathImportReport report = import.run(dropped, rules);
      relativeToDocument(session->doc, first);
      std::string refused = applyFileFlags(session->doc, first, *options);
      if (!refused.empty()) return usageError(context, refused);  // nothing saved
      printReport(context, report);
      if (!options->noSave && !session->saveIfModified()) return exit_status::Failed;
      return exit_status::Done;
    }
    BuilderPreferences preferences = prefs::storedPreferences(*machine);
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
