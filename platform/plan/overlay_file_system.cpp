// The files of a plan: the machine's files under this run's changes, kept in memory.
#include "platform/plan/overlay_file_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"

namespace vandrel::platform {

struct OverlayFileSystem::Entry {
  Change::Kind kind = Change::Kind::File;
  std::string path;  // full path as this run spelled it
  // A file's contents; empty pointer: still the machine's file at source (a file this run only
  // moved, or whose times or attributes it changed), read when first needed.
  std::shared_ptr<std::string> data;
  std::string source;
  FileStatus status;
};

namespace {

constexpr std::uint32_t kKeptAttributes = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;

std::string keyOf(const std::string& full) { return text::toUpper(full); }

std::string parentOf(const std::string& full) {
  std::size_t cut = full.find_last_of('\\');
  if (cut == std::string::npos) return {};
  if (cut <= 2) return full.substr(0, 3);  // "C:\"
  return full.substr(0, cut);
}

std::string nameOf(const std::string& full) {
  std::size_t cut = full.find_last_of('\\');
  return cut == std::string::npos ? full : full.substr(cut + 1);
}

bool isRoot(const std::string& full) { return full.size() <= 3; }

// A handle on a file of this run: reads and writes go to the entry's contents.
class OverlayFile : public File {
 public:
  OverlayFile(std::shared_ptr<OverlayFileSystem::Entry> entry, std::shared_ptr<std::string> data,
              bool writable, Clock& clock)
      : entry_(std::move(entry)), data_(std::move(data)), writable_(writable), clock_(clock) {}

  std::int64_t read(void* buffer, std::size_t count) override {
    if (position_ >= data_->size()) return 0;
    std::size_t n = std::min(count, data_->size() - std::size_t(position_));
    std::memcpy(buffer, data_->data() + position_, n);
    position_ += n;
    return std::int64_t(n);
  }
  std::int64_t write(const void* buffer, std::size_t count) override;
  bool seek(std::uint64_t offset) override {
    position_ = offset;
    return true;
  }
  std::uint64_t size() override { return data_->size(); }

 private:
  std::shared_ptr<OverlayFileSystem::Entry> entry_;
  std::shared_ptr<std::string> data_;
  bool writable_;
  Clock& clock_;
  std::uint64_t position_ = 0;
};

}  // namespace

std::int64_t OverlayFile::write(const void* buffer, std::size_t count) {
  if (!writable_) return -1;
  if (data_->size() < position_ + count) data_->resize(std::size_t(position_ + count));
  std::memcpy(data_->data() + position_, buffer, count);
  position_ += count;
  entry_->status.size = data_->size();
  entry_->status.lastWriteTime = clock_.now();
  return std::int64_t(count);
}

OverlayFileSystem::OverlayFileSystem(FileSystem& base, Clock& clock)
    : base_(base), clock_(clock), current_(base.currentDirectory()) {}

OverlayFileSystem::~OverlayFileSystem() = default;

std::string OverlayFileSystem::fullPath(const std::string& path) {
  std::optional<text::WinPath> current = text::resolveWindowsPath(current_, text::WinPath{});
  std::optional<text::WinPath> resolved =
      current ? text::resolveWindowsPath(path, *current) : std::nullopt;
  if (!resolved) return {};
  // The machine says whether the drive exists and how it spells the path.
  return base_.fullPath(resolved->text());
}

OverlayFileSystem::EntryPtr OverlayFileSystem::changed(const std::string& full) const {
  auto found = entries_.find(keyOf(full));
  return found == entries_.end() ? nullptr : found->second;
}

void OverlayFileSystem::put(const std::string& full, EntryPtr entry) {
  entry->path = full;
  entries_[keyOf(full)] = std::move(entry);
}

std::optional<FileStatus> OverlayFileSystem::status(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty()) return std::nullopt;
  if (EntryPtr entry = changed(full)) {
    if (entry->kind == Change::Kind::Removed) return std::nullopt;
    return entry->status;
  }
  return base_.status(full);
}

bool OverlayFileSystem::isFolder(const std::string& full) {
  std::optional<FileStatus> st = status(full);
  return st && st->isDirectory();
}

bool OverlayFileSystem::load(Entry& entry) {
  if (entry.data) return true;
  std::unique_ptr<File> file = base_.open(entry.source, OpenMode::Read);
  if (!file) return false;
  auto data = std::make_shared<std::string>();
  char block[65536];
  for (std::int64_t got; (got = file->read(block, sizeof block)) != 0;) {
    if (got < 0) return false;
    data->append(block, std::size_t(got));
  }
  entry.data = std::move(data);
  entry.status.size = entry.data->size();
  return true;
}

OverlayFileSystem::EntryPtr OverlayFileSystem::writableFile(const std::string& full) {
  EntryPtr entry = changed(full);
  if (!entry) {
    std::optional<FileStatus> st = base_.status(full);
    if (!st || st->isDirectory()) return nullptr;
    entry = std::make_shared<Entry>();
    entry->source = full;
    entry->status = *st;
    put(full, entry);
  }
  if (entry->kind != Change::Kind::File) return nullptr;
  return entry;
}

std::unique_ptr<File> OverlayFileSystem::open(const std::string& path, OpenMode mode) {
  std::string full = fullPath(path);
  if (full.empty()) return nullptr;
  EntryPtr entry = changed(full);
  if (mode == OpenMode::Read) {
    if (!entry) return base_.open(full, mode);
    if (entry->kind != Change::Kind::File) return nullptr;
    if (!entry->data) return base_.open(entry->source, mode);
    return std::make_unique<OverlayFile>(entry, entry->data, false, clock_);
  }
  if (!base_.mayWrite(full)) return nullptr;
  std::optional<FileStatus> st = status(full);
  if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return nullptr;
  entry = writableFile(full);
  if (!entry || !load(*entry)) return nullptr;
  return std::make_unique<OverlayFile>(entry, entry->data, true, clock_);
}

std::unique_ptr<File> OverlayFileSystem::create(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty() || isRoot(full) || !base_.mayWrite(full)) return nullptr;
  if (!isFolder(parentOf(full))) return nullptr;
  std::optional<FileStatus> st = status(full);
  if (st && (st->isDirectory() || (st->attributes & attr::ReadOnly))) return nullptr;
  auto entry = std::make_shared<Entry>();
  entry->data = std::make_shared<std::string>();
  FileTime now = clock_.now();
  entry->status.creationTime = st ? st->creationTime : now;
  entry->status.lastAccessTime = now;
  entry->status.lastWriteTime = now;
  entry->status.attributes = st ? st->attributes : attr::Archive;
  // An existing file keeps the spelling of its name.
  put(st ? (changed(full) ? changed(full)->path : full) : full, entry);
  return std::make_unique<OverlayFile>(entry, entry->data, true, clock_);
}

bool OverlayFileSystem::createDirectory(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty() || isRoot(full) || !base_.mayWrite(full)) return false;
  if (status(full) || !isFolder(parentOf(full))) return false;
  auto entry = std::make_shared<Entry>();
  entry->kind = Change::Kind::Folder;
  FileTime now = clock_.now();
  entry->status.creationTime = entry->status.lastAccessTime = entry->status.lastWriteTime = now;
  entry->status.attributes = attr::Directory;
  put(full, entry);
  return true;
}

bool OverlayFileSystem::removeDirectory(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty() || isRoot(full) || !base_.mayWrite(full)) return false;
  std::optional<FileStatus> st = status(full);
  if (!st || !st->isDirectory() || (st->attributes & attr::ReadOnly)) return false;
  for (const FindData& found : find(full + "\\*")) {
    if (found.name != "." && found.name != "..") return false;  // not empty
  }
  auto entry = std::make_shared<Entry>();
  entry->kind = Change::Kind::Removed;
  put(full, entry);
  return true;
}

bool OverlayFileSystem::deleteFile(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty() || isRoot(full) || !base_.mayWrite(full)) return false;
  std::optional<FileStatus> st = status(full);
  if (!st || st->isDirectory() || (st->attributes & attr::ReadOnly)) return false;
  auto entry = std::make_shared<Entry>();
  entry->kind = Change::Kind::Removed;
  put(full, entry);
  return true;
}

// Moves a file or a whole folder to a free place whose parent folder exists.
bool OverlayFileSystem::moveEntry(const std::string& from, const std::string& to) {
  std::optional<FileStatus> st = status(from);
  if (!st) return false;
  if (st->isDirectory()) {
    std::vector<FindData> children = find(from + "\\*");
    auto folder = std::make_shared<Entry>();
    folder->kind = Change::Kind::Folder;
    folder->status = *st;
    put(to, folder);
    for (const FindData& child : children) {
      if (child.name == "." || child.name == "..") continue;
      if (!moveEntry(from + "\\" + child.name, to + "\\" + child.name)) return false;
    }
  } else {
    EntryPtr source = changed(from);
    auto moved = std::make_shared<Entry>();
    moved->status = *st;
    if (source) {
      moved->data = source->data;
      moved->source = source->source;
    } else {
      moved->source = from;
    }
    put(to, moved);
  }
  auto removed = std::make_shared<Entry>();
  removed->kind = Change::Kind::Removed;
  put(from, removed);
  return true;
}

bool OverlayFileSystem::moveFile(const std::string& from, const std::string& to) {
  std::string source = fullPath(from), target = fullPath(to);
  if (source.empty() || target.empty() || isRoot(source) || isRoot(target)) return false;
  if (!base_.mayWrite(source) || !base_.mayWrite(target) || !status(source)) return false;
  std::string sourceKey = keyOf(source), targetKey = keyOf(target);
  if (sourceKey == targetKey) {
    // A change of case only: the file keeps its place under its new spelling.
    if (source == target) return true;
    std::optional<FileStatus> st = status(source);
    if (st->isDirectory()) return false;
    EntryPtr entry = writableFile(source);
    if (!entry) return false;
    entry->path = target;
    return true;
  }
  if (status(target) || targetKey.rfind(sourceKey + "\\", 0) == 0) return false;
  if (!isFolder(parentOf(target))) return false;
  return moveEntry(source, target);
}

bool OverlayFileSystem::replaceFile(const std::string& from, const std::string& to) {
  std::string source = fullPath(from), target = fullPath(to);
  if (source.empty() || target.empty() || !base_.mayWrite(source) || !base_.mayWrite(target)) {
    return false;
  }
  std::optional<FileStatus> st = status(source);
  std::optional<FileStatus> old = status(target);
  if (!st || st->isDirectory() || (old && old->isDirectory())) return false;
  if (keyOf(source) == keyOf(target)) return true;
  if (!isFolder(parentOf(target))) return false;
  return moveEntry(source, target);
}

bool OverlayFileSystem::setFileTimes(const std::string& path, std::optional<FileTime> creation,
                                     std::optional<FileTime> lastAccess,
                                     std::optional<FileTime> lastWrite) {
  std::string full = fullPath(path);
  if (full.empty() || !base_.mayWrite(full)) return false;
  std::optional<FileStatus> st = status(full);
  if (!st) return false;
  EntryPtr entry = changed(full);
  if (!entry) {
    entry = std::make_shared<Entry>();
    entry->kind = st->isDirectory() ? Change::Kind::Folder : Change::Kind::File;
    entry->source = full;
    entry->status = *st;
    put(full, entry);
  }
  if (creation) entry->status.creationTime = *creation;
  if (lastAccess) entry->status.lastAccessTime = *lastAccess;
  if (lastWrite) entry->status.lastWriteTime = *lastWrite;
  return true;
}

bool OverlayFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  if (!setFileTimes(path, std::nullopt, std::nullopt, std::nullopt)) return false;
  EntryPtr entry = changed(fullPath(path));
  bool folder = entry->kind == Change::Kind::Folder;
  entry->status.attributes = (attributes & kKeptAttributes) | (folder ? attr::Directory : 0);
  return true;
}

std::vector<FindData> OverlayFileSystem::find(const std::string& pattern) {
  text::FindPattern split = text::splitFindPattern(pattern);
  std::vector<FindData> found;
  std::string folder = fullPath(split.folder);
  if (split.name.empty() || folder.empty()) return found;
  std::optional<FileStatus> folderStatus = status(folder);
  if (!folderStatus || !folderStatus->isDirectory()) return found;

  std::map<std::string, FindData> listed;  // upper-case name -> match
  // A folder the machine has is listed by it (what this run removed there has its own entry).
  std::optional<FileStatus> machineFolder = base_.status(folder);
  if (machineFolder && machineFolder->isDirectory()) {
    for (FindData& match : base_.find(folder + (isRoot(folder) ? "" : "\\") + split.name)) {
      if (match.name == "." || match.name == "..") {
        found.push_back(match);
        continue;
      }
      listed[text::toUpper(match.name)] = std::move(match);
    }
  } else if (!isRoot(folder)) {
    // Windows lists the folder itself and its parent first.
    if (text::matchesWildcard(split.name, ".")) found.push_back({".", *folderStatus});
    std::optional<FileStatus> parent = status(parentOf(folder));
    if (text::matchesWildcard(split.name, "..") && parent) found.push_back({"..", *parent});
  }
  const std::string prefix = keyOf(isRoot(folder) ? folder : folder + "\\");
  for (auto it = entries_.lower_bound(prefix); it != entries_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;  // deeper down
    const Entry& entry = *it->second;
    std::string name = nameOf(entry.path);
    std::string upper = text::toUpper(name);
    auto match = listed.find(upper);
    if (entry.kind == Change::Kind::Removed) {
      if (match != listed.end()) listed.erase(match);
      continue;
    }
    FileStatus st = entry.status;
    if (match != listed.end()) {
      match->second.status = st;
    } else if (text::matchesWildcard(split.name, name)) {
      listed[upper] = FindData{name, st};
    }
  }
  for (auto& [upper, match] : listed) found.push_back(std::move(match));
  return found;
}

std::optional<DiskSpace> OverlayFileSystem::diskFreeSpace(const std::string& root) {
  return base_.diskFreeSpace(root);
}

unsigned OverlayFileSystem::tempFileName(const std::string& folder, const std::string& prefix,
                                         unsigned unique, std::string& name) {
  std::string base = fullPath(folder);
  if (base.empty()) return 0;
  if (base.back() != '\\') base += '\\';
  base += prefix.substr(0, 3);
  auto nameFor = [&](unsigned n) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", n & 0xFFFF);
    return base + digits + ".TMP";
  };
  if (unique != 0) {
    name = nameFor(unique);
    return unique;
  }
  for (unsigned n = 1; n < 0x10000; ++n) {
    std::string candidate = nameFor(n);
    if (status(candidate)) continue;
    if (!create(candidate)) return 0;
    name = candidate;
    return n;
  }
  return 0;
}

bool OverlayFileSystem::setCurrentDirectory(const std::string& path) {
  std::string full = fullPath(path);
  if (full.empty() || !isFolder(full)) return false;
  current_ = full;
  return true;
}

std::optional<std::filesystem::path> OverlayFileSystem::hostPath(const std::string& path) {
  return base_.hostPath(path);
}

std::optional<std::string> OverlayFileSystem::windowsPath(const std::filesystem::path& host) {
  return base_.windowsPath(host);
}

std::vector<OverlayFileSystem::Change> OverlayFileSystem::changes() {
  std::vector<Change> result;
  for (auto& [key, entry] : entries_) {
    Change change{entry->kind, entry->path, {}};
    if (entry->kind == Change::Kind::File) {
      if (!load(*entry)) continue;
      change.contents = *entry->data;
    }
    result.push_back(std::move(change));
  }
  return result;
}

bool OverlayFileSystem::holds(const std::string& path) {
  std::string full = fullPath(path);
  EntryPtr entry = full.empty() ? nullptr : changed(full);
  return entry && entry->kind == Change::Kind::File && (entry->data || entry->source != full);
}

bool OverlayFileSystem::apply(const Change& change) {
  std::string full = fullPath(change.path);
  if (full.empty()) return false;
  auto entry = std::make_shared<Entry>();
  entry->kind = change.kind;
  FileTime now = clock_.now();
  entry->status.creationTime = entry->status.lastAccessTime = entry->status.lastWriteTime = now;
  if (change.kind == Change::Kind::File) {
    entry->data = std::make_shared<std::string>(change.contents);
    entry->status.size = change.contents.size();
    entry->status.attributes = attr::Archive;
  } else if (change.kind == Change::Kind::Folder) {
    entry->status.attributes = attr::Directory;
  }
  put(full, entry);
  return true;
}

}  // namespace vandrel::platform
