// CScriptDoc: the entry lists, the category-indexed operations, the erase rules, the title and
// the new-document and uninstaller-section steps.
#include "builder/model/script_doc.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "builder/strings/builder_strings.h"
#include "script/list_item.h"

namespace vandrel::builder {

namespace {

// The list at a position of kEntryLists holds the records of the Entry alternative there.
template <std::size_t... I>
constexpr bool listsMatchRecords(std::index_sequence<I...>) {
  return (std::is_same_v<typename std::decay_t<decltype(std::declval<AuthoredContent&>().*
                                                          std::get<I>(kEntryLists))>::value_type,
                         std::variant_alternative_t<I, Entry>> &&
          ...);
}
static_assert(listsMatchRecords(std::make_index_sequence<kEntryKinds.size()>()));

template <typename Doc, typename F, typename R, std::size_t... I>
R withListAt(Doc& doc, std::size_t slot, R def, F& f, std::index_sequence<I...>) {
  R result = def;
  ((slot == I ? void(result = f(doc.*std::get<I>(kEntryLists))) : void()), ...);
  return result;
}

// Calls f with the list of a category; returns def for categories without entries.
template <typename Doc, typename F, typename R>
R withList(Doc& doc, int category, R def, F&& f) {
  if (!isEntryCategory(category)) return def;
  return withListAt(doc, std::size_t(kindSlot(category)), def, f,
                    std::make_index_sequence<kEntryKinds.size()>());
}

template <std::size_t... I>
Entry makeAt(std::size_t slot, std::index_sequence<I...>) {
  Entry entry;
  ((slot == I ? void(entry.emplace<I>()) : void()), ...);
  return entry;
}

std::string stripTrailingBlanks(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

}  // namespace

std::string decimal(long long value) { return std::to_string(value); }

Entry makeEntry(int category) {
  // Any other number gives a directory, the first kind.
  if (!isEntryCategory(category)) return Entry{};
  return makeAt(std::size_t(kindSlot(category)),
                std::make_index_sequence<kEntryKinds.size()>());
}

CScriptDoc::CScriptDoc(Clock clock) : clock_(clock ? std::move(clock) : Clock(fileTimeNow)) {
  updateTitle();
}

int CScriptDoc::findEntry(int category, EntryKey key) const {
  return withList(*this, category, -1, [key](const auto& list) { return list.find(key); });
}

void CScriptDoc::eraseEntryAt(int category, int index) {
  withList(*this, category, 0, [index](auto& list) {
    list.eraseAt(index);
    return 0;
  });
}

bool CScriptDoc::eraseEntry(int category, EntryKey key) {
  int index = findEntry(category, key);
  if (index < 0) return false;
  eraseEntryAt(category, index);
  return true;
}

void CScriptDoc::eraseCategory(int category) {
  withList(*this, category, 0, [](auto& list) {
    list.clear();
    return 0;
  });
  setModifiedFlag();
}

void CScriptDoc::appendEntry(Entry entry) {
  withList(*this, categoryOf(entry), 0, [&entry](auto& list) {
    using Record = typename std::decay_t<decltype(list)>::value_type;
    list.append(std::get<Record>(std::move(entry)));
    return 0;
  });
}

int CScriptDoc::count(int category) const {
  return withList(*this, category, 0, [](const auto& list) { return list.count(); });
}

std::optional<EntryRef> CScriptDoc::entryAt(int category, int index) {
  return withList(*this, category, std::optional<EntryRef>(),
                  [index](auto& list) -> std::optional<EntryRef> {
                    if (index < 0 || index >= list.count()) return std::nullopt;
                    return EntryRef(&list.at(index));
                  });
}

std::optional<Entry> CScriptDoc::entryCopy(int category, EntryKey key) const {
  return withList(*this, category, std::optional<Entry>(),
                  [key](const auto& list) -> std::optional<Entry> {
                    const auto* record = list.findEntry(key);
                    if (!record) return std::nullopt;
                    return Entry(*record);
                  });
}

std::vector<EntryKey> CScriptDoc::detachReferencesTo(int category, EntryKey key) {
  std::vector<EntryKey> changed;
  if (key == 0) return changed;
  if (category == category::Directories) {
    for (FileRecord& file : files) {
      if (file.directoryRef != key) continue;
      file.directoryRef = 0;
      file.predefinedDir = 0;
      changed.push_back(file.key);
    }
    // The shortcuts to the moved files show the new destination path too.
    std::vector<EntryKey> moved = changed;
    std::sort(moved.begin(), moved.end());
    for (const ShortcutRecord& shortcut : shortcuts) {
      if (std::binary_search(moved.begin(), moved.end(), shortcut.fileRef)) {
        changed.push_back(shortcut.key);
      }
    }
  } else if (category == category::Groups || category == category::Files) {
    for (ShortcutRecord& shortcut : shortcuts) {
      EntryKey& ref = category == category::Groups ? shortcut.groupRef : shortcut.fileRef;
      if (ref != key) continue;
      ref = 0;
      changed.push_back(shortcut.key);
    }
  }
  if (!changed.empty()) setModifiedFlag();
  return changed;
}

void CScriptDoc::onNewDocument(const std::optional<std::string>& userName) {
  updateTitle();
  // GetUserNameA is given a buffer of 260 characters: a longer name makes the call fail.
  properties.author = userName && userName->size() < 260 ? *userName : str(sid::Unknown);
  resetSummary();
  summary.created = clock_();
  summary.pageCount = 1;
  summary.appName = kApplicationName;
  summary.author = properties.author;
}

void CScriptDoc::prepareUninstallSection() {
  uninstall.unGroup = uninstallGroupIndex();
  if (uninstall.unDesc.empty()) uninstall.unDesc = uninstallName();
}

int CScriptDoc::uninstallGroupIndex() const {
  return uninstall.groupKey == 0 ? -1 : groups.find(uninstall.groupKey);
}

std::string CScriptDoc::uninstallName() const {
  if (!uninstall.unDesc.empty()) return uninstall.unDesc;
  return stripTrailingBlanks(strFormat(sid::UninstallShortcutName, settings.appName));
}

EntryKey CScriptDoc::uninstallerGroup() const {
  if (groups.find(uninstall.groupKey) >= 0) return uninstall.groupKey;
  return groups.empty() ? 0 : groups.at(0).key;
}

void CScriptDoc::settleUninstaller() {
  if (settings.ownUnInstall != 0) return;
  // With no group at all a stale choice stays as it is: there is nothing to put in its place.
  EntryKey group = uninstallerGroup();
  if (group != 0 && group != uninstall.groupKey) {
    uninstall.groupKey = group;
    setModifiedFlag();
  }
  prepareUninstallSection();
}

int CScriptDoc::highestFileDisk() const {
  int disk = 1;
  for (const FileRecord& file : files) disk = std::max(disk, file.disk);
  return disk;
}

Entry CScriptDoc::newEntry(int category) const {
  Entry entry = makeEntry(category);
  if (auto* file = std::get_if<FileRecord>(&entry)) file->disk = highestFileDisk();
  return entry;
}

void CScriptDoc::updateTitle() {
  if (settings.appName.empty()) {
    title_ = str(sid::UntitledTitle);
  } else if (settings.ver.empty()) {
    title_ = strFormat(sid::TitleWithAppName, settings.appName);
  } else {
    title_ = strFormat(sid::TitleWithAppNameAndVersion, settings.appName, settings.ver);
  }
}

void CScriptDoc::setPathName(const std::string& path) {
  pathName_ = path;
  updateTitle();
}

void CScriptDoc::resetSummary() {
  summary = SummaryInfo{};
  startEditingClock();
}

void CScriptDoc::startEditingClock() { editingSince_ = clock_(); }

void CScriptDoc::stampSave() {
  long revision = script::readInt(summary.revision);
  summary.revision = decimal(revision < 0 || revision == LONG_MAX ? 1 : revision + 1);
  summary.title =
      settings.appName.empty() ? str(sid::UntitledTitle) : settings.appName + " " + settings.ver;
  // The record's author follows the document's Author, the only author the user edits.
  summary.author = properties.author;
  summary.lastAuthor = summary.author;
  std::uint64_t now = clock_();
  if (now > editingSince_) summary.editingTime += now - editingSince_;
  summary.lastSaved = now;
  editingSince_ = now;
}

}  // namespace vandrel::builder
