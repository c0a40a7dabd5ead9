// The command-line import of files and folders.
#include "builder/dropimport/path_import.h"

#include <algorithm>
#include <limits>

#include "builder/dropimport/drop_import.h"
#include "builder/generate/package_generator.h"
#include "builder/pages/page_common.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::dropimport {

namespace {

std::string folderOf(const std::string& path) {
  std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

PathImport::PathImport(ScriptTree& tree, platform::FileSystem& files)
    : tree_(tree), doc_(tree.document()), files_(files) {}

PathImportReport PathImport::run(const std::vector<std::string>& paths,
                                 const PathImportOptions& options) {
  options_ = options;
  report_ = {};
  work_.clear();
  folders_.clear();
  existing_.clear();
  component_ = 0;
  for (const FileRecord& file : doc_.files) {
    existing_.insert(text::toUpper(sourceFilePath(doc_.pathName(), file)));
  }
  disk_ = options.disk ? *options.disk : doc_.highestFileDisk();

  Place top{0, 0, pages::stringItems(sid::RootDirectoryNames, 4)[0]};
  if (options.into) top = resolveInto(*options.into);
  for (const std::string& path : paths) {
    std::optional<platform::FileStatus> status = files_.status(path);
    if (!status) {
      report_.skipped.push_back({path, "cannot be read"});
      continue;
    }
    Place place = top;
    // As a drop does: an item whose folder is named like a directory of the document goes
    // below that directory.
    if (!options.into) {
      if (EntryKey key = findDirectoryByName(doc_, parentName(path))) {
        place = {key, 0, doc_.directories.findEntry(key)->name};
      }
    }
    Work named{path, status->isDirectory(), place};
    if (named.folder) named.walked = folders_.add(path, folderIdentity(files_, path), WalkedFolders::kNamed);
    work_.push_back(named);
  }
  // The list grows while folders are walked: index it, never iterate it.
  for (std::size_t i = 0; i < work_.size(); ++i) {
    Work item = work_[i];
    if (item.folder) {
      walk(item.walked, folderPlace(item.path, item.place));
    } else {
      addFile(item.path, item.place);
    }
  }
  work_.clear();
  folders_.clear();
  if (report_.changed()) {
    tree_.sortCategory(category::Files);
    tree_.sortCategory(category::Directories);
    tree_.sortCategory(category::Descriptions);
  }
  return report_;
}

PathImport::Place PathImport::resolveInto(const std::string& into) {
  std::vector<std::string> predefined = pages::stringItems(sid::RootDirectoryNames, 4);
  for (int i = 0; i < int(predefined.size()); ++i) {
    if (text::equalsNoCase(predefined[std::size_t(i)], into))
      return {0, i, predefined[std::size_t(i)]};
  }
  // The directory of exactly that name first, then one whose last part is that name.
  for (const DirectoryRecord& dir : doc_.directories) {
    if (text::equalsNoCase(dir.name, into)) return {dir.key, 0, dir.name};
  }
  if (EntryKey key = findDirectoryByName(doc_, into)) {
    return {key, 0, doc_.directories.findEntry(key)->name};
  }
  bool made = false;
  EntryKey key = directory(into, 0, made);
  return {key, 0, into};
}

PathImport::Place PathImport::folderPlace(const std::string& path, const Place& under) {
  // A named folder hangs below --into (or is a directory of its own); a walked sub-folder
  // below the directory of its folder, whose name it extends.
  std::string name = itemName(path);
  int parent = under.predefined;
  if (under.directory != 0) {
    const DirectoryRecord* above = doc_.directories.findEntry(under.directory);
    name = above->name + "\\" + name;
    parent = above->parent;
  }
  bool made = false;
  EntryKey key = directory(name, parent, made);
  return {key, 0, name};
}

EntryKey PathImport::directory(const std::string& name, int parent, bool& made) {
  for (const DirectoryRecord& dir : doc_.directories) {
    if (text::equalsNoCase(dir.name, name) && dir.parent == parent) {
      made = false;
      return dir.key;
    }
  }
  DirectoryRecord dir;
  dir.name = name;
  dir.parent = parent;
  dir.description = str(sid::Unavailable);
  dir.key = doc_.newKey();
  EntryKey key = dir.key;
  doc_.appendEntry(std::move(dir));
  tree_.insertEntryItem(category::Directories, key);
  doc_.setModifiedFlag();
  report_.directoriesMade.push_back(name);
  made = true;
  return key;
}

bool PathImport::alreadyAdded(const std::string& path) const {
  return existing_.count(text::toUpper(path)) != 0;
}

void PathImport::walk(std::size_t walked, const Place& place) {
  const std::string folder = folders_.path(walked);
  std::vector<platform::FindData> found = files_.find(folder + "\\*.*");
  std::sort(found.begin(), found.end(),
            [](const platform::FindData& a, const platform::FindData& b) {
              return text::toUpper(a.name) < text::toUpper(b.name);
            });
  for (const platform::FindData& item : found) {
    if (item.name == "." || item.name == "..") continue;
    std::string path = folder + "\\" + item.name;
    if (!item.status.isDirectory()) {
      work_.push_back({path, false, place});
      continue;
    }
    if (!options_.recursive) {
      report_.skipped.push_back({path, "a sub-folder (--recursive adds it)"});
      continue;
    }
    // A link to a folder that holds it would be walked for ever: it is left out, named.
    std::string identity = folderIdentity(files_, path);
    if (std::optional<std::size_t> above = folders_.above(walked, identity)) {
      report_.skipped.push_back(
          {path, "a link back to " + folders_.path(*above) + ", which holds it: a loop, not walked"});
      continue;
    }
    work_.push_back({path, true, place, folders_.add(path, std::move(identity), walked)});
  }
}

void PathImport::addFile(const std::string& path, const Place& place) {
  if (!doc_.pathName().empty() && text::equalsNoCase(path, doc_.pathName())) {
    report_.skipped.push_back({path, "the document itself"});
    return;
  }
  if (alreadyAdded(path)) {
    report_.skipped.push_back({path, "already in the document"});
    return;
  }
  std::optional<platform::FileStatus> status = files_.status(path);
  if (!status) {
    report_.skipped.push_back({path, "cannot be read"});
    return;
  }
  // The script keeps sizes in 32 bits: a larger file could not be installed as recorded.
  if (status->size > std::uint64_t(std::numeric_limits<std::int32_t>::max())) {
    report_.skipped.push_back({path, "larger than 2 GB, which a package cannot record"});
    return;
  }
  if (options_.component && component_ == 0) {
    for (const DescriptionRecord& d : doc_.descriptions) {
      if (text::equalsNoCase(d.text, *options_.component)) {
        component_ = d.key;
        break;
      }
    }
    if (component_ == 0) {
      DescriptionRecord d{*options_.component, doc_.newKey()};
      component_ = d.key;
      doc_.appendEntry(d);
      tree_.insertEntryItem(category::Descriptions, component_);
      report_.componentsMade.push_back(*options_.component);
    }
  }
  FileRecord file;
  file.sourceName = itemName(path);
  file.destName = file.sourceName;
  file.sourcePath = folderOf(path);
  file.size = std::int32_t(status->size);
  file.disk = disk_;
  file.directoryRef = place.directory;
  file.predefinedDir = place.predefined;
  file.descriptionRef = component_;
  file.key = doc_.newKey();
  EntryKey key = file.key;
  doc_.appendEntry(std::move(file));
  tree_.insertEntryItem(category::Files, key);
  doc_.setModifiedFlag();
  existing_.insert(text::toUpper(path));
  report_.files.push_back({path, place.name});
}

}  // namespace vandrel::builder::dropimport
