// The file page's fields, checks, write-back, browse and "Validate and Add new file".
#include "builder/pages/file_page.h"

#include <algorithm>
#include <limits>

#include "builder/pages/entry_pages.h"
#include "builder/strings/builder_strings.h"

namespace vandrel::builder::pages {

namespace {
constexpr int kMaxDisk = 999;
}

CAddFileDlg::CAddFileDlg(ScriptTree& tree, bool dropImport)
    : descriptions(descriptionItems(tree)),
      tree_(tree),
      dropImport_(dropImport),
      directories_(directoryItems(tree)) {}

std::vector<std::string> CAddFileDlg::directoryChoices() const {
  std::vector<std::string> choices;
  for (const EntryItem& item : directories_) choices.push_back(item.text);
  for (const std::string& name : stringItems(sid::RootDirectoryNames, 4)) choices.push_back(name);
  return choices;
}

void CAddFileDlg::fill(const FileRecord& file) {
  base_ = file;
  key_ = file.key;
  sourceName = file.sourceName;
  size = file.size;
  disk = file.disk;
  destName = file.destName;
  uninstall = file.uninstall != 0;
  forceCopy = file.forceCopy != 0;
  decompress = file.decompress != 0;
  shared = file.shared != 0;
  int dir = indexOfKey(directories_, file.directoryRef);
  if (dir < 0) dir = int(directories_.size()) + std::clamp(file.predefinedDir, 0, 3);
  directory = dir;
  platform = std::clamp(file.platform, 0, 3);
  description = indexOfKey(descriptions, file.descriptionRef);
  sourcePath = file.sourcePath;
  useDefaults = false;
}

Check CAddFileDlg::check() const {
  // Disks are numbered 1..999 (the spin button offers 0, stored as 1); a typed number
  // beyond that would name a disk no package can have.
  if (sourceName.empty() || disk < 0 || disk > kMaxDisk) return Check::beep();
  if (platform < 0 || platform > 3) return Check::beep();
  return Check::pass();
}

void CAddFileDlg::apply(FileRecord& file) const {
  file.sourceName = sourceName;
  file.size = size;
  file.disk = disk == 0 ? 1 : disk;
  file.destName = destName.empty() ? sourceName : destName;
  file.uninstall = uninstall ? 1 : 0;
  file.forceCopy = forceCopy ? 1 : 0;
  file.decompress = decompress ? 1 : 0;
  file.shared = shared ? 1 : 0;
  int entries = int(directories_.size());
  if (directory >= 0 && directory < entries) {
    file.directoryRef = keyAt(directories_, directory);
    file.predefinedDir = 0;
  } else {
    file.directoryRef = 0;
    file.predefinedDir = directory >= entries && directory < entries + 4 ? directory - entries : 0;
  }
  file.platform = platform;
  file.descriptionRef = keyAt(descriptions, description);
  if (!sourcePath.empty()) file.sourcePath = sourcePath;
}

FileRecord CAddFileDlg::result() const {
  FileRecord file = base_;
  apply(file);
  file.key = key_;
  return file;
}

void CAddFileDlg::browse(const std::string& chosenPath, std::int64_t fileSize) {
  sourceName = fileNameOf(chosenPath);
  size = std::int32_t(std::clamp<std::int64_t>(fileSize, 0, std::numeric_limits<std::int32_t>::max()));
  sourcePath = folderOf(chosenPath);
}

Check CAddFileDlg::validateAndAddNew() {
  if (dropImport_) return Check::silent();
  Check result = check();
  if (!result.ok()) return result;
  CScriptDoc& doc = tree_.document();
  FileRecord stored = base_;
  apply(stored);
  stored.key = key_;
  if (FileRecord* existing = doc.files.findEntry(key_)) {
    *existing = stored;
    tree_.relabel(key_);
    relabelDependents(tree_, category::Files, key_);
  } else {
    doc.appendEntry(stored);
    tree_.relabel(key_);
  }
  doc.setModifiedFlag();

  // A further new file with the defaults of a new record, under its provisional item.
  Entry next = doc.newEntry(category::Files);
  EntryKey key = doc.newKey();
  setKey(next, key);
  tree_.insertItem(category::Files, key,
                   str(sid::NewPrefix) + entryKindName(category::Files));
  tree_.sortCategory(category::Files);
  // The page stays open on it: its controls keep their values except the names and the
  // size, which are cleared.
  base_ = std::get<FileRecord>(next);
  key_ = key;
  sourceName.clear();
  destName.clear();
  size = 0;
  return Check::pass();
}

}  // namespace vandrel::builder::pages
