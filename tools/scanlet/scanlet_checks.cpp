// The checks: settings, background, every entry kind, disk messages and end-of-install texts.
#include "tools/scanlet/scanlet_checks.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/text/text_rules.h"

namespace vandrel::scanlet {

using namespace vandrel::builder;

namespace {

const char* const kCategoryNames[] = {"Script Properties", "Settings", "Background",
                                      "Directories", "Descriptions", "Groups", "Win.ini",
                                      "Registry", "Files to Copy", "Program Adds", "Messages",
                                      "End of Install"};

// One line: category, entry and what is wrong.
void report(Run& run, int category, const std::string& entry, const std::string& text) {
  std::fprintf(run.log, "%s, %s: %s\n", kCategoryNames[category], entry.c_str(), text.c_str());
  ++run.findings;
}

std::string entryName(int index, const std::string& name) {
  return "entry " + std::to_string(index) + " (" + name + ")";
}

std::int64_t sizeOf(const ScanletDocument& doc, const std::string& path) {
  return doc.fileSize ? doc.fileSize(doc.machine, path.c_str()) : -1;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

// A source folder or file named by the document: a relative one lies below its own folder.
std::string besideDocument(const ScanletDocument& doc, const std::string& folder) {
  bool rooted = (folder.size() >= 2 && folder[1] == ':') ||
                (!folder.empty() && (folder[0] == '\\' || folder[0] == '/'));
  std::string documentPath = doc.documentPath;
  std::size_t cut = documentPath.find_last_of("\\/");
  if (rooted || cut == std::string::npos) return folder;
  std::string base = documentPath.substr(0, cut);
  if (folder.empty() || folder == ".") return base;
  return joinPath(base, folder.rfind(".\\", 0) == 0 ? folder.substr(2) : folder);
}

// The script numbers of the directories: the author's ones, then the four fixed ones.
int directoryNumbers(const ScanletDocument& doc) { return doc.directories->count() + 4; }

// Placeholders of a value that the setup cannot fill: directory numbers without a directory
// and names other than u, c, s and d (both are replaced by nothing).
void checkPlaceholders(Run& run, int category, const std::string& entry, const std::string& what,
                       const std::string& text) {
  for (std::size_t at = text.find('['); at != std::string::npos; at = text.find('[', at + 1)) {
    if (at + 1 < text.size() && text[at + 1] == ']') continue;
    std::size_t close = text.find(']', at + 1);
    std::string name = text.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
    if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) {
      long number = std::strtol(name.c_str(), nullptr, 10);
      if (number >= directoryNumbers(*run.doc)) {
        report(run, category, entry, what + " names directory [" + name + "], which does not exist");
      }
    } else if (name.size() != 1 || std::string("ucsdUCSD").find(name[0]) == std::string::npos) {
      report(run, category, entry, what + " holds [" + name + "], which is no placeholder");
    }
  }
}

bool onFirstDisk(const ScanletDocument& doc, const std::string& name) {
  return std::any_of(doc.files->begin(), doc.files->end(), [&](const FileRecord& f) {
    return f.disk == 1 && text::toLower(f.sourceName) == text::toLower(name);
  });
}

void checkSettings(Run& run) {
  const ScriptSettings& s = *run.doc->settings;
  if (!hasApplicationName(s)) report(run, 1, script::key::AppName, "the application has no name");
  if (s.type == 3 && s.ownMsg.empty()) {
    report(run, 1, script::key::Type, "the own licence warning is chosen but OwnMsg is empty");
  }
  if (s.showLicence == 1 && !onFirstDisk(*run.doc, "License.txt")) {
    report(run, 1, script::key::ShowLicence, "the licence page needs a License.txt file on disk 1");
  }
}

void checkBackground(Run& run) {
  const BackgroundSettings& b = *run.doc->background;
  if (b.bitmap != 1) return;
  if (b.bmpName.empty())
    report(run, 2, script::key::BmpName, "a bitmap is shown but none is named");
  else if (!onFirstDisk(*run.doc, b.bmpName)) {
    report(run, 2, script::key::BmpName, "the bitmap " + b.bmpName + " is not copied on disk 1");
  }
}

// The first directory entry with the parent and name of entry index.
int firstDirectory(Run& run, int index) {
  RunIndexes& ix = run.indexes;
  const auto& list = *run.doc->directories;
  auto keyOf = [](const DirectoryRecord& d) {
    return std::to_string(d.parent) + "\\" + text::toLower(d.name);
  };
  if (!ix.directories) {
    ix.directories = true;
    for (int i = 0; i < list.count(); ++i) ix.firstDirectory.emplace(keyOf(list.at(i)), i);
  }
  return ix.firstDirectory.at(keyOf(list.at(index)));
}

bool groupUsed(Run& run, EntryKey group) {
  RunIndexes& ix = run.indexes;
  if (!ix.groups) {
    ix.groups = true;
    for (const ShortcutRecord& s : *run.doc->shortcuts) ix.groupsUsed.insert(s.groupRef);
  }
  return ix.groupsUsed.count(group) != 0;
}

void checkDirectory(Run& run, int index) {
  const auto& list = *run.doc->directories;
  const DirectoryRecord& d = list.at(index);
  std::string entry = entryName(index, d.name);
  if (d.name.empty()) report(run, 3, entry, "the directory has no name");
  if (d.parent < 0 || d.parent > 3) report(run, 3, entry, "the parent directory is unknown");
  int first = firstDirectory(run, index);
  if (first < index) {
    report(run, 3, entry, "the same directory is declared as entry " + std::to_string(first));
  }
}

void checkGroup(Run& run, int index) {
  const ScanletDocument& doc = *run.doc;
  const GroupRecord& g = doc.groups->at(index);
  std::string entry = entryName(index, g.name);
  if (g.name.empty()) report(run, 5, entry, "the group has no name");
  bool used = groupUsed(run, g.key);
  if (doc.settings->ownUnInstall == 0 && doc.uninstall) {
    EntryKey chosen = doc.uninstall->groupKey;
    // Without a group of its own the uninstaller's shortcut goes to the first group.
    if (chosen == g.key || ((chosen == 0 || doc.groups->find(chosen) < 0) && index == 0)) used = true;
  }
  if (!used) report(run, 5, entry, "no shortcut is added to this group");
}

void checkIni(Run& run, int index) {
  const IniRecord& e = run.doc->iniEntries->at(index);
  std::string entry = entryName(index, e.section + "/" + e.entry);
  if (e.section.empty()) report(run, 6, entry, "the section is empty");
  if (e.entry.empty()) report(run, 6, entry, "the key is empty");
  checkPlaceholders(run, 6, entry, "the value", e.value);
}

void checkRegistry(Run& run, int index) {
  const RegistryRecord& e = run.doc->registryEntries->at(index);
  std::string entry = entryName(index, e.subkey);
  if (e.root < 0 || e.root > 3) report(run, 7, entry, "the root key is unknown");
  if (e.subkey.empty()) report(run, 7, entry, "the subkey is empty");
  if (e.value.empty()) report(run, 7, entry, "the value is empty");
  checkPlaceholders(run, 7, entry, "the value name", e.entry);
  checkPlaceholders(run, 7, entry, "the value", e.value);
}

// Where a file lands: its directory entry or predefined directory, and its name.
std::string destinationKey(const FileRecord& f) {
  std::string where = f.directoryRef ? "d" + std::to_string(f.directoryRef)
                                     : "p" + std::to_string(f.predefinedDir);
  return where + "\\" + text::toLower(f.destName);
}

// The package file a file entry is stored as: its disk and its source name.
std::string storedKey(const FileRecord& f) {
  return std::to_string(f.disk) + "\\" + text::toLower(f.sourceName);
}

void indexFiles(Run& run) {
  RunIndexes& ix = run.indexes;
  if (ix.files) return;
  ix.files = true;
  const ScanletDocument& doc = *run.doc;
  const int count = doc.files->count();
  ix.sourceFiles.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    const FileRecord& f = doc.files->at(i);
    ix.sourceFiles.push_back(text::toUpper(joinPath(besideDocument(doc, f.sourcePath), f.sourceName)));
    ix.firstDestination.emplace(destinationKey(f), i);
    RunIndexes::Stored& stored = ix.firstStored[storedKey(f)];
    if (stored.first < 0) {
      stored.first = i;
    } else if (stored.firstOther < 0 &&
               ix.sourceFiles[std::size_t(i)] != ix.sourceFiles[std::size_t(stored.first)]) {
      stored.firstOther = i;
    }
  }
}

// The first file entry stored under the same name on the same disk as entry index whose
// source file is another one; -1 when there is none.
int otherFileOfItsName(Run& run, int index) {
  const RunIndexes& ix = run.indexes;
  const FileRecord& f = run.doc->files->at(index);
  if (f.disk < 1) return -1;  // never copied into the package
  const RunIndexes::Stored& stored = ix.firstStored.at(storedKey(f));
  const std::string& source = ix.sourceFiles[std::size_t(index)];
  if (source != ix.sourceFiles[std::size_t(stored.first)]) return stored.first;
  return stored.firstOther;
}

void checkFile(Run& run, int index) {
  const ScanletDocument& doc = *run.doc;
  const FileRecord& f = doc.files->at(index);
  std::string entry = entryName(index, f.sourceName);
  std::string source = joinPath(besideDocument(doc, f.sourcePath), f.sourceName);
  std::int64_t size = sizeOf(doc, source);
  if (size < 0) report(run, 8, entry, "the source file " + source + " does not exist");
  else if (size != f.size) {
    report(run, 8, entry, "the script records " + std::to_string(f.size) + " bytes, the file has " +
                              std::to_string(size));
  }
  if (f.directoryRef && doc.directories->find(f.directoryRef) < 0) {
    report(run, 8, entry, "the directory it refers to was erased");
  }
  if (f.descriptionRef && doc.descriptions->find(f.descriptionRef) < 0) {
    report(run, 8, entry, "the description it refers to was erased");
  }
  if (f.disk < 1) report(run, 8, entry, "the disk number " + std::to_string(f.disk) + " is no disk");
  if (f.destName.empty()) report(run, 8, entry, "the destination name is empty");
  indexFiles(run);
  int sameDestination = run.indexes.firstDestination.at(destinationKey(f));
  if (sameDestination < index) {
    report(run, 8, entry, "entry " + std::to_string(sameDestination) + " is installed to the same path");
  }
  int sameStoredName = otherFileOfItsName(run, index);
  if (sameStoredName >= 0 && sameStoredName < index) {
    const FileRecord& other = doc.files->at(sameStoredName);
    report(run, 8, entry,
           "entry " + std::to_string(sameStoredName) + " (" +
               joinPath(besideDocument(doc, other.sourcePath), other.sourceName) +
               ") is another file of the name " + f.sourceName + " on disk " +
               std::to_string(f.disk) +
               ", and a disk keeps one file of a name: rename one of the two source files");
  }
}

void checkShortcut(Run& run, int index) {
  const ScanletDocument& doc = *run.doc;
  const ShortcutRecord& s = doc.shortcuts->at(index);
  std::string entry = entryName(index, s.name);
  if (s.fileRef == 0) report(run, 9, entry, "the shortcut opens no file");
  else if (doc.files->find(s.fileRef) < 0) report(run, 9, entry, "the file it opens was erased");
  if (s.groupRef == 0) report(run, 9, entry, "the shortcut is in no group");
  else if (doc.groups->find(s.groupRef) < 0) report(run, 9, entry, "its group was erased");
  checkPlaceholders(run, 9, entry, "the command line", s.commandLine);
}

void checkMessage(Run& run, int index) {
  const ScanletDocument& doc = *run.doc;
  if (index < doc.messages->count()) {
    const MessageRecord& m = doc.messages->at(index);
    std::string entry = entryName(index, m.destName);
    std::string file = besideDocument(doc, m.filePath);
    if (sizeOf(doc, file) < 0) {
      report(run, 10, entry, "the message file " + file + " does not exist");
    }
    return;
  }
  // The last item: disks that carry files but no message while other disks have one.
  if (doc.messages->empty()) return;
  std::set<int> withMessage, withFiles;
  for (const MessageRecord& m : *doc.messages) withMessage.insert(m.disk);
  for (const FileRecord& f : *doc.files) withFiles.insert(f.disk);
  for (int disk : withFiles) {
    if (!withMessage.count(disk)) {
      report(run, 10, "disk " + std::to_string(disk), "files are copied from this disk but it has no message");
    }
  }
}

void checkEnd(Run& run) {
  const ScanletDocument& doc = *run.doc;
  for (std::size_t i = 0; i < doc.endOfInstall->launch.size(); ++i) {
    std::string entry = "command " + std::to_string(i);
    if (doc.endOfInstall->launch[i].empty()) report(run, 11, entry, "the command is empty");
    checkPlaceholders(run, 11, entry, "the command", doc.endOfInstall->launch[i]);
  }
  for (std::size_t i = 0; i < doc.web->favoriteNames.size(); ++i) {
    std::string url = i < doc.web->favoriteUrls.size() ? doc.web->favoriteUrls[i] : "";
    if (url.empty()) report(run, 11, "favourite " + std::to_string(i), "the address is empty");
  }
}

}  // namespace

int itemCount(const ScanletDocument& doc, int category) {
  switch (category) {
    case 1: case 2: case 11: return 1;
    case 3: return doc.directories->count();
    case 4: return doc.descriptions->count();
    case 5: return doc.groups->count();
    case 6: return doc.iniEntries->count();
    case 7: return doc.registryEntries->count();
    case 8: return doc.files->count();
    case 9: return doc.shortcuts->count();
    case 10: return doc.messages->count() + 1;
    default: return 0;
  }
}

void checkItem(Run& run, int category, int index) {
  switch (category) {
    case 1: checkSettings(run); break;
    case 2: checkBackground(run); break;
    case 3: checkDirectory(run, index); break;
    case 4:
      if (run.doc->descriptions->at(index).text.empty()) {
        report(run, 4, entryName(index, ""), "the description is empty");
      }
      break;
    case 5: checkGroup(run, index); break;
    case 6: checkIni(run, index); break;
    case 7: checkRegistry(run, index); break;
    case 8: checkFile(run, index); break;
    case 9: checkShortcut(run, index); break;
    case 10: checkMessage(run, index); break;
    case 11: checkEnd(run); break;
    default: break;
  }
}

}  // namespace vandrel::scanlet
