// CScriptDoc: everything a user edits for one installation package, the entry lists and the
// rules that keep their references sound.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "builder/model/entries.h"
#include "builder/model/entry_list.h"
#include "builder/model/settings.h"
#include "builder/model/summary_info.h"

namespace vandrel::builder {

// The current time as a file time; replaced in tests.
using Clock = std::function<std::uint64_t()>;

// What an author edits in a document: the setting groups, read and written directly by the
// settings pages and assistants, and the entry lists; the undo history keeps copies of it.
struct AuthoredContent {
  ScriptSettings settings;
  BackgroundSettings background;
  DocumentProperties properties;
  EndOfInstall endOfInstall;
  WebSettings web;
  UninstallSettings uninstall;

  // The entry lists.
  EntryList<DirectoryRecord> directories;
  EntryList<DescriptionRecord> descriptions;
  EntryList<GroupRecord> groups;
  EntryList<IniRecord> iniEntries;
  EntryList<RegistryRecord> registryEntries;
  EntryList<FileRecord> files;
  EntryList<ShortcutRecord> shortcuts;
  EntryList<MessageRecord> messages;

  bool operator==(const AuthoredContent&) const = default;
};

// The document's list of each entry kind, in the order of kEntryKinds; the category-indexed
// operations reach the lists through it.
inline constexpr auto kEntryLists = std::make_tuple(
    &AuthoredContent::directories, &AuthoredContent::descriptions, &AuthoredContent::groups,
    &AuthoredContent::iniEntries, &AuthoredContent::registryEntries, &AuthoredContent::files,
    &AuthoredContent::shortcuts, &AuthoredContent::messages);
static_assert(std::tuple_size_v<decltype(kEntryLists)> == kEntryKinds.size());

// A variant of pointers to the alternatives of a variant.
template <typename Variant>
struct PointersTo;
template <typename... Records>
struct PointersTo<std::variant<Records...>> {
  using type = std::variant<Records*...>;
};
// Mutable access to an entry record of any kind, as returned by entry at.
using EntryRef = PointersTo<Entry>::type;

class CScriptDoc : public AuthoredContent {
 public:
  explicit CScriptDoc(Clock clock = {});

  // Category-indexed operations: categories outside 3..10 do nothing or find nothing.
  int findEntry(int category, EntryKey key) const;
  void eraseEntryAt(int category, int index);
  bool eraseEntry(int category, EntryKey key);
  void eraseCategory(int category);
  // Stores the record last in its category's list; its key must already be set.
  void appendEntry(Entry entry);
  int count(int category) const;
  std::optional<EntryRef> entryAt(int category, int index);
  std::optional<Entry> entryCopy(int category, EntryKey key) const;

  // A fresh key: unique in this document, never 0, never handed out twice.
  EntryKey newKey() { return ++lastKey_; }

  // Before a directory, group or file is erased: the files in the directory move to the
  // installation folder; shortcuts lose the group or the file. Returns the keys of the
  // entries changed (files, then shortcuts) so that their labels can be rebuilt.
  std::vector<EntryKey> detachReferencesTo(int category, EntryKey key);

  // The display label of an entry (the tree shows it).
  std::string label(const Entry& entry) const;
  std::string label(int category, EntryKey key) const;
  // "[Install]\App\tool.exe": where a file is installed, as labels show it.
  std::string destinationPath(const FileRecord& file) const;

  // New document: Author from the user name (nullopt when it cannot be read), a new
  // summary record stamped as created now, the title.
  void onNewDocument(const std::optional<std::string>& userName);
  // The uninstaller section rule: UnGroup from the group key, an empty UnDesc filled.
  void prepareUninstallSection();
  // The values that rule gives, without storing them: the index of the uninstaller's group
  // in its list (-1 when none is set or it is gone), and UnDesc or, when empty, the default
  // name made from the application name.
  int uninstallGroupIndex() const;
  std::string uninstallName() const;
  // The group that receives the built-in uninstaller's shortcut in a package: the one chosen,
  // else the first group declared; 0 when the document has no group.
  EntryKey uninstallerGroup() const;
  // The edit that goes with a generated script: with the built-in uninstaller, the group the
  // script gave its shortcut becomes the document's choice (modified when that changes it),
  // then the section rule above. An own uninstaller leaves the document alone.
  void settleUninstaller();
  // The highest disk used by any file, at least 1 (the disk of a new file).
  int highestFileDisk() const;
  // A new entry of a category with the defaults of a new record (key 0).
  Entry newEntry(int category) const;

  // Title, path, modified flag, summary record.
  const std::string& title() const { return title_; }
  void updateTitle();
  const std::string& pathName() const { return pathName_; }
  void setPathName(const std::string& path);
  bool isModified() const { return modified_; }
  void setModifiedFlag(bool modified = true) { modified_ = modified; }

  SummaryInfo summary;
  void resetSummary();          // a fresh record; the editing clock restarts
  void startEditingClock();
  void stampSave();             // revision + 1, title, last author, editing time
  std::uint64_t now() const { return clock_(); }

  // Set only while the integrity check runs automatically after a load.
  bool runningAfterLoad = false;

 private:
  Clock clock_;
  std::uint64_t editingSince_ = 0;
  EntryKey lastKey_ = 0;
  std::string title_;
  std::string pathName_;
  bool modified_ = false;
};

// Text of a field as the labels print numbers.
std::string decimal(long long value);

}  // namespace vandrel::builder
