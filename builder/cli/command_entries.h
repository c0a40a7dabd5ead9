// What the entry commands share: an entry added through its page, entries named by their list
// numbers, and the entry kinds by the names the commands take.
#pragma once

#include <functional>
#include <string>

#include "builder/cli/command.h"
#include "builder/pages/entry_page_editor.h"

namespace vandrel::builder::cli {

// Fills a new entry's page from the command's options; empty when they fit, else what is
// wrong, naming the option. The page's own check runs afterwards.
using PageFill = std::function<std::string(pages::EntryPage& page, CScriptDoc& doc)>;

// Adds an entry of category to the document the way the tree's "New" command does, with the
// page filled by fill instead of shown. Prints "made KIND N: LABEL" (N its number in
// `corvix list`) and saves unless noSave; a refused value changes nothing.
int addEntryThroughPage(CommandContext& context, const std::string& document, int category,
                        const PageFill& fill, bool noSave);

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
