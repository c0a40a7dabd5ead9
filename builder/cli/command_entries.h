// What the entry commands share: an entry added through its page, entries named by their list
// numbers, and the entry kinds by the names the commands take.
#pragma once

#include <functional>
#include <string>

#include "builder/cli/command.h"
#include "builder/pages/entry_page_editor.h"

namespace vandrel::builder {
class HeadlessSession;
}

namespace vandrel::builder::cli {

// What every entry command takes besides the entry's own fields: its document, and --no-save.
struct EntryTarget {
  std::string document;
  bool noSave = false;
};

// Declares the DOC argument (described by help), first of an entry command's.
void declareDocument(CommandLine& sub, EntryTarget& target, const char* help);
// Declares --no-save, last of an entry command's options.
void declareNoSave(CommandLine& sub, EntryTarget& target);

// The checks of a command's options, run in order until one refuses: what is wrong with the
// first value refused, naming its option, is the one a command reports.
class OptionChecks {
 public:
  // check gives what is wrong, or empty; it is not run once an earlier check refused.
  OptionChecks& then(const std::function<std::string()>& check);
  // The refusal of requireText for option.
  OptionChecks& require(const char* option, const std::string& text);
  // Empty when every check passed.
  const std::string& refusal() const { return refusal_; }

 private:
  std::string refusal_;
};

// The end of an entry command that made an entry: "made KIND N: LABEL" (the label in the
// document's code page), then the document saved unless noSave.
int reportMade(CommandContext& context, HeadlessSession& session, const std::string& kind,
               std::size_t number, const std::string& label, bool noSave);

// Fills a new entry's page from the command's options; empty when they fit, else what is
// wrong, naming the option. The page's own check runs afterwards.
using PageFill = std::function<std::string(pages::EntryPage& page, CScriptDoc& doc)>;

// Adds an entry of category to the target document the way the tree's "New" command does,
// with the page filled by fill instead of shown. Prints "made KIND N: LABEL" (N its number in
// `corvix list`) and saves unless --no-save; a refused value changes nothing.
int addEntryThroughPage(CommandContext& context, const EntryTarget& target, int category,
                        const PageFill& fill);

// The entry kind a command names: its name ("registry"), its plural ("registries", "groups"),
// or "winini"/"ini"; nullptr when none.
const EntryKind* entryKindCalled(const std::string& name);

// The key of the entry of category that option names: its number in `corvix list` (1 for the
// first) or, for the kinds that have one, its name or destination path as the pages show it.
// Empty on success, else what is wrong, naming the option.
std::string entryReference(CScriptDoc& doc, int category, const std::string& option,
                           const std::string& value, EntryKey& key);

// The entry of category at list number n (1-based) as a copy; nullopt beyond the list.
std::optional<Entry> entryNumbered(CScriptDoc& doc, int category, int n);

// True when text holds nothing but blanks, as the pages judge a required field.
bool isBlankText(const std::string& text);

// "--OPTION: is required" when text is blank, else empty.
std::string requireText(const char* option, const std::string& text);

}  // namespace vandrel::builder::cli
