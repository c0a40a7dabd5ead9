// The directory, description, group, Win.ini, registry, shortcut and message pages.
#include "builder/pages/entry_pages.h"

#include <algorithm>

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::pages {

namespace {

bool blank(const std::string& text) { return text::trimLeading(text).empty(); }

}  // namespace

std::string fileNameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// --- Directory ---

void CDirPropDlg::fill(const DirectoryRecord& dir) {
  name = dir.name;
  parent = dir.parent;
  optional = dir.optional != 0;
  description = dir.description;
}

void CDirPropDlg::fillNew(const std::string& provisional) {
  name = provisional;
  description = provisional;
  parent = 0;
  optional = true;
}

Check CDirPropDlg::check() const {
  if (blank(name) || parent < 0 || parent > 3) return Check::beep();
  return Check::pass();
}

void CDirPropDlg::apply(DirectoryRecord& dir) const {
  dir.name = text::trimLeading(name);
  dir.parent = parent;
  dir.optional = optional ? 1 : 0;
  dir.description = description;
}

std::vector<std::string> CDirPropDlg::parentChoices() {
  return {"Installation", "Install drive root", "Windows System", "Windows"};
}

// --- Description and group ---

Check CSetDescDlg::check() const { return blank(text) ? Check::beep() : Check::pass(); }
void CSetDescDlg::apply(DescriptionRecord& entry) const { entry.text = text::trimLeading(text); }

Check CGrpPropDlg::check() const { return blank(name) ? Check::beep() : Check::pass(); }
void CGrpPropDlg::apply(GroupRecord& entry) const { entry.name = text::trimLeading(name); }

// --- Win.ini ---

void CINIPropDlg::fill(const IniRecord& ini) {
  section = ini.section;
  entry = ini.entry;
  value = ini.value;
}

Check CINIPropDlg::check() const {
  return blank(section) || blank(entry) ? Check::beep() : Check::pass();
}

void CINIPropDlg::apply(IniRecord& ini) const {
  ini.section = text::trimLeading(section);
  ini.entry = text::trimLeading(entry);
  ini.value = text::trimLeading(value);
}

// --- Registry ---

std::vector<std::string> CRegPropDlg::mainKeyChoices() {
  std::vector<std::string> names = stringItems(sid::RegistryRootNames, 4);
  std::sort(names.begin(), names.end());
  return names;
}

int CRegPropDlg::rootOf(const std::string& typed) {
  std::string text(text::trimLeading(typed));
  for (int root = 0; root < 4; ++root) {
    if (text::equalsNoCase(text, strItem(sid::RegistryRootNames, root + 1))) return root;
  }
  return -1;
}

void CRegPropDlg::fill(const RegistryRecord& reg) {
  mainKey = strItem(sid::RegistryRootNames, std::clamp(reg.root, 0, 3) + 1);
  subkey = reg.subkey;
  entry = reg.entry;
  value = reg.value;
  eraseWholeKey = reg.removal == 0;
}

Check CRegPropDlg::check() const {
  if (rootOf(mainKey) < 0 || blank(subkey) || blank(value)) return Check::beep();
  return Check::pass();
}

void CRegPropDlg::apply(RegistryRecord& reg) const {
  reg.root = rootOf(mainKey);
  reg.subkey = text::trimLeading(subkey);
  reg.entry = text::trimLeading(entry);
  reg.value = text::trimLeading(value);
  reg.removal = eraseWholeKey ? 0 : 1;
}

// --- Shortcut ---

CAddGroupDlg::CAddGroupDlg(ScriptTree& tree) : files(fileItems(tree)), groups(groupItems(tree)) {}

void CAddGroupDlg::fill(const ShortcutRecord& shortcut) {
  file = indexOfKey(files, shortcut.fileRef);
  group = indexOfKey(groups, shortcut.groupRef);
  commandLine = shortcut.commandLine;
  name = shortcut.name;
}

Check CAddGroupDlg::check() const {
  if (keyAt(files, file) == 0 || keyAt(groups, group) == 0 || name.empty()) return Check::beep();
  return Check::pass();
}

void CAddGroupDlg::apply(ShortcutRecord& shortcut) const {
  shortcut.fileRef = keyAt(files, file);
  shortcut.groupRef = keyAt(groups, group);
  shortcut.commandLine = commandLine;
  shortcut.name = name;
}

// --- Message ---

void CMsgPropDlg::fill(const MessageRecord& message) {
  destName = message.destName;
  filePath = message.filePath;
  disk = message.disk;
}

void CMsgPropDlg::fillNew(const CScriptDoc& doc) {
  disk = doc.files.empty() ? 0 : doc.highestFileDisk();
  destName.clear();
  filePath.clear();
}

void CMsgPropDlg::apply(MessageRecord& message) const {
  message.destName = destName;
  message.filePath = filePath;
  message.disk = disk;
}

void CMsgPropDlg::browse(const std::string& chosenPath) {
  destName = fileNameOf(chosenPath);
  filePath = chosenPath;
}

std::string CMsgPropDlg::browseFolder() const { return folderOf(filePath); }

}  // namespace vandrel::builder::pages
