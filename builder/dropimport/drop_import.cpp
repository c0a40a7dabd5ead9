// The drop import: the work list, destinations, directory entries, progress and the closing
// message.
#include "builder/dropimport/drop_import.h"

#include <algorithm>
#include <limits>

#include "builder/pages/page_common.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::dropimport {

namespace {

constexpr const char* kProgressCaption = "Operation in progress...";

void message(ui::Interaction& ui, const std::string& text, ui::Icon icon) {
  ui::Message m;
  m.caption = str(sid::Title);
  m.text = text;
  m.icon = icon;
  ui.message(m);
}

}  // namespace

std::string itemName(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentName(const std::string& path) {
  std::size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return {};
  std::string folder = path.substr(0, slash);
  // A drive ("C:") is no folder name.
  if (folder.size() == 2 && folder[1] == ':') return {};
  return itemName(folder);
}

EntryKey findDirectoryByName(const CScriptDoc& doc, const std::string& name) {
  for (const DirectoryRecord& dir : doc.directories) {
    if (text::equalsNoCase(dir.name, name) || text::equalsNoCase(itemName(dir.name), name)) {
      return dir.key;
    }
  }
  return 0;
}

// --- The directory selector ---

DirectorySelector::DirectorySelector(ScriptTree& tree, const std::string& fileName,
                                     bool cancelEnabled)
    : tree_(tree),
      text_(strFormat(sid::PickDirectoryForFile, fileName)),
      cancelEnabled_(cancelEnabled) {
  fillList();
}

void DirectorySelector::fillList() { directories_ = pages::directoryItems(tree_); }

std::vector<std::string> DirectorySelector::items() const {
  std::vector<std::string> out;
  for (const pages::EntryItem& item : directories_) out.push_back(item.text);
  for (const std::string& name : pages::stringItems(sid::RootDirectoryNames, 4))
    out.push_back(name);
  return out;
}

bool DirectorySelector::addDirectory() {
  if (!addDirectoryCommand) return false;
  bool added = addDirectoryCommand();
  fillList();
  return added;
}

std::optional<DirectoryChoice> DirectorySelector::choice() const {
  int entries = int(directories_.size());
  if (selected < 0 || selected >= entries + 4) return std::nullopt;
  if (selected < entries) return DirectoryChoice{pages::keyAt(directories_, selected), 0};
  return DirectoryChoice{0, selected - entries};
}

// --- The import ---

DropImport::DropImport(ScriptTree& tree, const BuilderPreferences& prefs,
                       platform::FileSystem& files, ui::Interaction& ui, DropDialogs& dialogs)
    : tree_(tree), doc_(tree.document()), prefs_(prefs), files_(files), ui_(ui), dialogs_(dialogs) {}

DropResult DropImport::run(const std::vector<std::string>& dropped) {
  result_ = {};
  kept_.reset();
  skipFilePages_ = false;
  unmatchedFolderSeen_ = false;
  running_ = true;
  defaultDisk_ = doc_.highestFileDisk();
  work_.clear();
  folders_.clear();
  for (const std::string& path : dropped) {
    std::optional<platform::FileStatus> status = files_.status(path);
    WorkItem item{path, status && status->isDirectory()};
    if (item.folder) item.walked = folders_.add(path, folderIdentity(files_, path), WalkedFolders::kNamed);
    work_.push_back(item);
  }
  if (!dropped.empty()) {
    beginProgress("Initializing..." + str(sid::EscToAbort));
    progress_.lines = {"Importing files...(ESC to abort)"};
    ui_.progress(progress_);
  }
  // The list grows while folders are walked: index it, never iterate it.
  for (std::size_t i = 0; i < work_.size() && !result_.cancelled; ++i) {
    setProgress(int(i * 100 / work_.size()));
    pollCancel();
    if (result_.cancelled) break;
    WorkItem item = work_[i];
    if (item.folder) {
      importFolder(item.walked);
    } else {
      importFile(item.path);
    }
  }
  bool anything = !dropped.empty();
  work_.clear();
  folders_.clear();
  if (anything) ui_.endProgress();
  finish();
  return result_;
}

void DropImport::importFile(const std::string& path) {
  FileRecord file;
  file.sourceName = itemName(path);
  file.destName = file.sourceName;
  file.sourcePath = path.size() > file.sourceName.size()
                        ? path.substr(0, path.size() - file.sourceName.size() - 1)
                        : std::string();
  // Sizes are kept in 32 bits: a larger file is recorded with the largest size that fits.
  std::optional<platform::FileStatus> status = files_.status(path);
  std::uint64_t size = status ? status->size : 0;
  file.size = std::int32_t(std::min<std::uint64_t>(size, std::numeric_limits<std::int32_t>::max()));
  file.disk = defaultDisk_;
  if (std::optional<DirectoryChoice> where = destinationFor(path)) {
    file.directoryRef = where->key;
    file.predefinedDir = where->predefined;
  }
  file.key = doc_.newKey();
  EntryKey key = file.key;
  doc_.appendEntry(file);
  tree_.insertEntryItem(category::Files, key);
  ++result_.files;
  doc_.setModifiedFlag();

  if (!prefs_.dispProps || skipFilePages_ || result_.cancelled) return;
  tree_.select(key);
  pages::CAddFileDlg page(tree_, true);
  page.fill(file);
  if (!dialogs_.editFile(page)) {
    result_.cancelled = true;  // the file stays as imported
    return;
  }
  if (FileRecord* stored = doc_.files.findEntry(key)) {
    page.apply(*stored);
    tree_.relabel(key);
  }
  skipFilePages_ = page.useDefaults;
}

std::optional<DirectoryChoice> DropImport::destinationFor(const std::string& path) {
  switch (prefs_.dirMode) {
    case 0: {
      if (kept_) return kept_;
      DirectorySelector selector(tree_, itemName(path), !prefs_.dispProps);
      selector.addDirectoryCommand = addDirectoryCommand;
      if (!dialogs_.selectDirectory(selector)) {
        if (!prefs_.dispProps) result_.cancelled = true;
        return std::nullopt;
      }
      std::optional<DirectoryChoice> chosen = selector.choice();
      if (chosen && selector.keep) kept_ = chosen;
      return chosen;
    }
    case 1: {
      std::string parent = parentName(path);
      if (parent.empty()) return std::nullopt;
      EntryKey key = findDirectoryByName(doc_, parent);
      if (key == 0) key = addDirectory(parent);
      return DirectoryChoice{key, 0};
    }
    default:
      return std::nullopt;
  }
}

EntryKey DropImport::addDirectory(const std::string& name) {
  DirectoryRecord dir;
  dir.name = name;
  dir.description = str(sid::Unavailable);
  dir.key = doc_.newKey();
  EntryKey key = dir.key;
  doc_.appendEntry(std::move(dir));
  tree_.insertEntryItem(category::Directories, key);
  ++result_.directories;
  doc_.setModifiedFlag();
  return key;
}

void DropImport::importFolder(std::size_t walked) {
  const std::string path = folders_.path(walked);
  if (prefs_.dropDirAdd) {
    std::string name = itemName(path);
    std::string parent = parentName(path);
    std::string newName = name;
    if (!parent.empty()) {
      if (const DirectoryRecord* found = doc_.directories.findEntry(findDirectoryByName(doc_, parent))) {
        newName = found->name + "\\" + name;
      } else if (!unmatchedFolderSeen_) {
        unmatchedFolderSeen_ = true;
      } else {
        addDirectory(parent);
        newName = parent + "\\" + name;
      }
    }
    addDirectory(newName);
  }
  for (const platform::FindData& found : files_.find(path + "\\*.*")) {
    if (found.name == "." || found.name == "..") continue;
    bool folder = found.status.isDirectory();
    if (!(folder ? prefs_.dropDirSub : prefs_.dropDirInc)) continue;
    WorkItem item{path + "\\" + found.name, folder};
    if (folder) {
      // A link back to a folder that holds it would be walked for ever.
      std::string identity = folderIdentity(files_, item.path);
      if (folders_.above(walked, identity)) continue;
      item.walked = folders_.add(item.path, std::move(identity), walked);
    }
    work_.push_back(item);
  }
}

void DropImport::beginProgress(const std::string& text) {
  progress_ = {};
  progress_.caption = kProgressCaption;
  progress_.lines = {text};
  progress_.percent = 0;
  progress_.cancellable = true;
  ui_.progress(progress_);
}

void DropImport::setProgress(int percent) {
  if (percent == progress_.percent) return;
  progress_.percent = percent;
  ui_.progress(progress_);
}

void DropImport::pollCancel() {
  if (!ui_.cancelPressed()) return;
  ui::Message question;
  question.caption = str(sid::Title);
  question.text = str(sid::AskStopProcessing);
  question.buttons = ui::Buttons::YesNo;
  question.icon = ui::Icon::Question;
  if (ui_.message(question) == ui::Answer::Yes) result_.cancelled = true;
}

void DropImport::finish() {
  if (result_.files == 0 && result_.directories == 0) {
    message(ui_, str(sid::DropAddedNothing), ui::Icon::Information);
  } else if (prefs_.dispSummary) {
    std::string text =
        strFormat(sid::DropAdded, decimal(result_.files), decimal(result_.directories));
    if (result_.cancelled) {
      message(ui_, str(sid::CancelledByUser) + text, ui::Icon::Stop);
    } else {
      message(ui_, text, ui::Icon::Information);
    }
  }
  tree_.sortCategory(category::Files);
  tree_.sortCategory(category::Directories);
  kept_.reset();
  skipFilePages_ = false;
  running_ = false;
}

}  // namespace vandrel::builder::dropimport
