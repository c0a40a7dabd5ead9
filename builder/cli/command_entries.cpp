// Adding an entry through its page on behalf of a command, and naming entries by number.
#include "builder/cli/command_entries.h"

#include <cctype>

#include "builder/cli/command_session.h"
#include "builder/pages/page_common.h"
#include "builder/tree/tree_commands.h"
#include "platform/code_page.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::cli {

namespace {

// The tree's editor for a command: the page is filled from the options, never shown. A value
// the options or the page refuse cancels the add, so the document stays as it was.
class FilledPageEditor : public EntryEditor {
 public:
  FilledPageEditor(ScriptTree& tree, const PageFill& fill) : tree_(tree), fill_(fill) {}

  bool editEntry(int, Entry& entry, const std::string&, bool addMode) override {
    pages::EntryPage page = pages::makeEntryPage(tree_, entry, addMode);
    refusal = fill_(page, tree_.document());
    if (!refusal.empty()) return false;
    if (!pages::checkEntryPage(page).ok()) {
      refusal = "the " + entryKindName(categoryOf(entry)) + " page refuses these values";
      return false;
    }
    entry = pages::pageResult(page, entry);
    return true;
  }

  std::string refusal;

 private:
  ScriptTree& tree_;
  const PageFill& fill_;
};

bool allDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The texts an entry is known by besides its number: a group's name, a file's destination
// path and name, a description's text, a directory's path and name.
bool entryCalled(const CScriptDoc& doc, const Entry& entry, const std::string& name) {
  auto same = [&name](const std::string& text) { return text::equalsNoCase(text, name); };
  if (auto* group = std::get_if<GroupRecord>(&entry)) return same(group->name);
  if (auto* file = std::get_if<FileRecord>(&entry))
    return same(doc.destinationPath(*file)) || same(file->destName);
  if (auto* text = std::get_if<DescriptionRecord>(&entry)) return same(text->text);
  if (auto* dir = std::get_if<DirectoryRecord>(&entry))
    return same(pages::directoryPath(*dir)) || same(dir->name);
  return false;
}

}  // namespace

void declareDocument(CommandLine& sub, EntryTarget& target, const char* help) {
  sub.argument("DOC", target.document, help);
}

void declareNoSave(CommandLine& sub, EntryTarget& target) {
  sub.flag("--no-save", target.noSave, "leave the document file unchanged");
}

OptionChecks& OptionChecks::then(const std::function<std::string()>& check) {
  if (refusal_.empty()) refusal_ = check();
  return *this;
}

OptionChecks& OptionChecks::require(const char* option, const std::string& text) {
  return then([&] { return requireText(option, text); });
}

int reportMade(CommandContext& context, HeadlessSession& session, const std::string& kind,
               std::size_t number, const std::string& label, bool noSave) {
  context.out << "made " << kind << " " << number << ": " << platform::cp1252ToUtf8(label) << "\n";
  context.out.flush();
  if (!noSave && !session.saveIfModified()) return exit_status::Failed;
  return exit_status::Done;
}

bool isBlankText(const std::string& text) { return text::trimLeading(text).empty(); }

std::string requireText(const char* option, const std::string& text) {
  if (!isBlankText(text)) return {};
  return std::string(option) + ": a value is required";
}

std::optional<Entry> entryNumbered(CScriptDoc& doc, int category, int n) {
  std::optional<EntryRef> record = doc.entryAt(category, n - 1);
  if (!record) return std::nullopt;
  return std::visit([](auto* e) { return Entry(*e); }, *record);
}

const EntryKind* entryKindCalled(const std::string& name) {
  std::string lower;
  for (char c : name) lower += char(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "ini" || lower == "win.ini") lower = "winini";
  if (lower == "registries") lower = "registry";
  if (lower == "directories") lower = "directory";
  if (lower.size() > 1 && lower.back() == 's' && !entryKindNamed(lower)) lower.pop_back();
  return entryKindNamed(lower);
}

std::string entryReference(CScriptDoc& doc, int category, const std::string& option,
                           const std::string& value, EntryKey& key) {
  std::string kind = entryKindName(category);
  int count = doc.count(category);
  if (allDigits(value)) {
    long n = value.size() > 6 ? 0 : std::stol(value);
    std::optional<Entry> entry = n >= 1 ? entryNumbered(doc, category, int(n)) : std::nullopt;
    if (!entry) {
      return option + ": " + value + " is beyond the list (" + std::to_string(count) + " " +
             kind + " entries, numbered from 1)";
    }
    key = keyOf(*entry);
    return {};
  }
  std::string name = platform::utf8ToCp1252(value);
  for (int n = 1; n <= count; ++n) {
    std::optional<Entry> entry = entryNumbered(doc, category, n);
    if (entry && entryCalled(doc, *entry, name)) {
      key = keyOf(*entry);
      return {};
    }
  }
  return option + ": no " + kind + " entry is called \"" + value + "\"";
}

int addEntryThroughPage(CommandContext& context, const EntryTarget& target, int category,
                        const PageFill& fill) {
  std::unique_ptr<HeadlessSession> session = openSession(context, target.document);
  if (!session) return exit_status::Failed;
  CScriptDoc& doc = session->doc;
  BuilderPreferences preferences;
  preferences.confirmErase = false;
  FilledPageEditor editor(session->tree(), fill);
  TreeCommands commands(session->tree(), preferences, context.ui(), editor);
  int before = doc.count(category);
  if (!commands.addEntry(category) || doc.count(category) != before + 1) {
    std::string why = editor.refusal.empty() ? "the entry could not be added" : editor.refusal;
    return usageError(context, why);
  }
  int number = doc.count(category);
  std::optional<Entry> made = entryNumbered(doc, category, number);
  return reportMade(context, *session, entryKind(category).name, std::size_t(number),
                    doc.label(*made), target.noSave);
}

}  // namespace vandrel::builder::cli
