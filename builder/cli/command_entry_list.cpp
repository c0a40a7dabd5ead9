// corvix list DOC KIND and corvix remove DOC KIND N: the entries of one kind by number, and the
// removal of one of them as the tree's "Erase" does it (files in a removed directory move to
// the installation folder, shortcuts lose a removed group or file).
#include "builder/cli/command_end_lists.h"
#include "builder/cli/command_entries.h"
#include "builder/cli/command_session.h"
#include "builder/tree/tree_commands.h"
#include "platform/code_page.h"

namespace vandrel::builder::cli {

namespace {

const char* kKindsHelp =
    "the entry kind: directory, description, group, winini, registry, file, shortcut, message "
    "(plurals accepted), or the end-of-install lists launch and favorite";

// The editor of a removal, which never edits.
class NoEditor : public EntryEditor {
 public:
  bool editEntry(int, Entry&, const std::string&, bool) override { return false; }
};

const EntryKind* kindOrRefuse(CommandContext& context, const std::string& name) {
  const EntryKind* kind = entryKindCalled(name);
  if (!kind) usageError(context, "unknown entry kind \"" + name + "\" (" + kKindsHelp + ")");
  return kind;
}

}  // namespace

CommandRun defineList(CommandLine& sub) {
  auto document = std::make_shared<std::string>();
  auto kindName = std::make_shared<std::string>();
  sub.argument("DOC", *document, "the document (.cvx or text form)");
  sub.argument("KIND", *kindName, kKindsHelp);
  return [document, kindName](CommandContext& context) {
    if (std::optional<std::string> list = endListCalled(*kindName)) {
      std::unique_ptr<HeadlessSession> session = openSession(context, *document);
      if (!session) return exit_status::Failed;
      int n = 0;
      for (const std::string& line : endListLines(session->doc, *list))
        context.out << ++n << ": " << platform::cp1252ToUtf8(line) << "\n";
      return exit_status::Done;
    }
    const EntryKind* kind = kindOrRefuse(context, *kindName);
    if (!kind) return exit_status::Usage;
    std::unique_ptr<HeadlessSession> session = openSession(context, *document);
    if (!session) return exit_status::Failed;
    CScriptDoc& doc = session->doc;
    for (int n = 1; n <= doc.count(kind->category); ++n) {
      std::optional<Entry> entry = entryNumbered(doc, kind->category, n);
      context.out << n << ": " << platform::cp1252ToUtf8(doc.label(*entry)) << "\n";
    }
    return exit_status::Done;
  };
}

CommandRun defineRemove(CommandLine& sub) {
  auto document = std::make_shared<std::string>();
  auto kindName = std::make_shared<std::string>();
  auto number = std::make_shared<std::string>();
  sub.argument("DOC", *document, "the document (.cvx or text form)");
  sub.argument("KIND", *kindName, kKindsHelp);
  sub.argument("N", *number, "the entry's number in `corvix list DOC KIND`, or its name");
  return [document, kindName, number](CommandContext& context) {
    if (std::optional<std::string> list = endListCalled(*kindName)) {
      std::unique_ptr<HeadlessSession> session = openSession(context, *document);
      if (!session) return exit_status::Failed;
      std::vector<std::string> lines = endListLines(session->doc, *list);
      std::string error = removeEndListLine(context, session->doc, *list, *number);
      if (!error.empty()) return usageError(context, error);
      context.out << "removed " << *list << " "
                  << platform::cp1252ToUtf8(lines[std::size_t(std::stoi(*number) - 1)]) << "\n";
      return session->saveIfModified() ? exit_status::Done : exit_status::Failed;
    }
    const EntryKind* kind = kindOrRefuse(context, *kindName);
    if (!kind) return exit_status::Usage;
    std::unique_ptr<HeadlessSession> session = openSession(context, *document);
    if (!session) return exit_status::Failed;
    CScriptDoc& doc = session->doc;
    EntryKey key = 0;
    std::string error = entryReference(doc, kind->category, "N", *number, key);
    if (!error.empty()) return usageError(context, error);
    std::string label = doc.label(kind->category, key);
    BuilderPreferences preferences;
    preferences.confirmErase = false;
    NoEditor editor;
    TreeCommands commands(session->tree(), preferences, context.ui(), editor);
    session->tree().select(key);
    if (!commands.erase()) return fail(context, "the entry could not be removed");
    context.out << "removed " << kind->name << " " << platform::cp1252ToUtf8(label) << "\n";
    return session->saveIfModified() ? exit_status::Done : exit_status::Failed;
  };
}

}  // namespace vandrel::builder::cli
