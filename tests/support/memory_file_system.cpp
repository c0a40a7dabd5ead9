// An in-memory Windows file system for unit tests, able to fail on demand.
#include "tests/support/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"

namespace vandrel::test {

using platform::FileStatus;
using platform::FileTime;
namespace attr = platform::attr;

struct MemoryFileSystem::Node {
  std::string path;  // full path in the case stored
  std::shared_ptr<std::string> data = std::make_shared<std::string>();
  FileStatus status;
  bool isDirectory() const { return status.isDirectory(); }
};

struct MemoryFileSystem::Drive {
  std::uint64_t freeBytes = std::uint64_t(1) << 30;
};

namespace {

bool isRoot(const std::string& full) { return full.size() == 3; }

std::string parentOf(const std::string& full) {
  std::size_t slash = full.rfind('\\');
  return slash <= 2 ? full.substr(0, 3) : full.substr(0, slash);
}

std::string nameOf(const std::string& full) { return full.substr(full.rfind('\\') + 1); }

std::string join(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

class MemoryFileSystem::OpenFile : public platform::File {
 public:
  OpenFile(MemoryFileSystem& fs, std::shared_ptr<Node> node, platform::OpenMode mode)
      : fs_(fs), node_(std::move(node)), mode_(mode) {}

  std::int64_t read(void* buffer, std::size_t count) override {
    if (mode_ == platform::OpenMode::Write) return -1;
    const std::string& data = *node_->data;
    if (position_ >= data.size()) return 0;
    std::size_t n = std::min<std::uint64_t>(count, data.size() - position_);
    std::memcpy(buffer, data.data() + position_, n);
    position_ += n;
    return static_cast<std::int64_t>(n);
  }

  std::int64_t write(const void* buffer, std::size_t count) override {
    if (mode_ == platform::OpenMode::Read) return -1;
    if (count == 0) return 0;
    std::string& data = *node_->data;
    std::uint64_t end = position_ + count;
    std::uint64_t growth = end > data.size() ? end - data.size() : 0;
    std::uint64_t allowance = fs_.writeAllowance(node_->path);
    std::uint64_t n = count;
    if (growth > allowance) n -= std::min<std::uint64_t>(n, growth - allowance);
    if (fs_.writeBudget_) n = std::min(n, *fs_.writeBudget_);
    if (n == 0) return -1;
    std::uint64_t oldSize = data.size();
    if (position_ + n > data.size()) data.resize(position_ + n, '\0');
    std::memcpy(data.data() + position_, buffer, n);
    position_ += n;
    fs_.consume(node_->path, static_cast<std::int64_t>(data.size() - oldSize), n);
    node_->status.lastWriteTime = fs_.tick();
    node_->status.size = data.size();
    return static_cast<std::int64_t>(n);
  }

  bool seek(std::uint64_t offset) override {
    position_ = offset;
    return true;
  }

  std::uint64_t size() override { return node_->data->size(); }

 private:
  MemoryFileSystem& fs_;
  std::shared_ptr<Node> node_;
  platform::OpenMode mode_;
  std::uint64_t position_ = 0;
};

MemoryFileSystem::MemoryFileSystem() { addDrive('C'); }

MemoryFileSystem::~MemoryFileSystem() = default;

FileTime MemoryFileSystem::tick() { return now_ += 10000000; }

void MemoryFileSystem::addDrive(char letter) {
  char drive = text::upper(letter);
  if (drive < 'A' || drive > 'Z' || drives_.count(drive)) return;
  drives_[drive] = std::make_unique<Drive>();
  auto root = std::make_shared<Node>();
  root->path = std::string(1, drive) + ":\\";
  root->status.attributes = attr::Directory;
  root->status.creationTime = root->status.lastWriteTime = root->status.lastAccessTime = now_;
  nodes_[root->path] = root;
}

std::string MemoryFileSystem::normalize(const std::string& path) const {
  std::optional<text::WinPath> current = text::resolveWindowsPath(current_, text::WinPath{});
  std::optional<text::WinPath> win = text::resolveWindowsPath(path, current.value_or(text::WinPath{}));
  if (!win || !drives_.count(win->drive)) return {};
  // Names of existing entries take their stored case.
  std::string stored = std::string(1, win->drive) + ":\\";
  for (const std::string& part : win->parts) {
    std::string candidate = join(stored, part);
    const Node* existing = node(candidate);
    stored = existing ? existing->path : candidate;
  }
  return stored;
}

MemoryFileSystem::Node* MemoryFileSystem::node(const std::string& full) {
  auto it = nodes_.find(text::toUpper(full));
  return it == nodes_.end() ? nullptr : it->second.get();
}

const MemoryFileSystem::Node* MemoryFileSystem::node(const std::string& full) const {
  auto it = nodes_.find(text::toUpper(full));
  return it == nodes_.end() ? nullptr : it->second.get();
}

MemoryFileSystem::Node* MemoryFileSystem::parentFolder(const std::string& full) {
  if (full.empty() || isRoot(full)) return nullptr;
  Node* parent = node(parentOf(full));
  return parent && parent->isDirectory() ? parent : nullptr;
}

bool MemoryFileSystem::denied(const std::string& full) const {
  std::string key = text::toUpper(full);
  for (const std::string& path : deniedPaths_) {
    if (key == path || key.rfind(path.back() == '\\' ? path : path + "\\", 0) == 0) return true;
  }
  return false;
}

MemoryFileSystem::Drive* MemoryFileSystem::driveOf(const std::string& full) {
  auto it = full.empty() ? drives_.end() : drives_.find(full[0]);
  return it == drives_.end() ? nullptr : it->second.get();
}

std::uint64_t MemoryFileSystem::writeAllowance(const std::string& full) {
  Drive* drive = driveOf(full);
  return drive ? drive->freeBytes : 0;
}

void MemoryFileSystem::consume(const std::string& full, std::int64_t grown,
                               std::uint64_t written) {
  if (Drive* drive = driveOf(full)) {
    if (grown > 0) drive->freeBytes -= std::min<std::uint64_t>(drive->freeBytes, grown);
    if (grown < 0) drive->freeBytes += static_cast<std::uint64_t>(-grown);
  }
  if (writeBudget_) *writeBudget_ -= std::min(*writeBudget_, written);
}

bool MemoryFileSystem::makeDirectories(const std::string& path) {
  std::string full = normalize(path);
  if (full.empty()) return false;
  if (const Node* existing = node(full)) return existing->isDirectory();
  if (!isRoot(full) && !makeDirectories(parentOf(full))) return false;
  return createDirectory(full);
}

bool MemoryFileSystem::writeFile(const std::string& path, const std::string& content) {
  std::string full = normalize(path);
  if (full.empty() || isRoot(full) || !makeDirectories(parentOf(full))) return false;
  auto budget = writeBudget_;
  writeBudget_.reset();
  auto file = create(full);
  bool ok = file && file->write(content.data(), content.size()) ==
                        static_cast<std::int64_t>(content.size());
  writeBudget_ = budget;
  return ok || (file && content.empty());
}

std::optional<std::string> MemoryFileSystem::readFile(const std::string& path) const {
  std::string full = normalize(path);
  const Node* found = full.empty() ? nullptr : node(full);
  if (!found || found->isDirectory()) return std::nullopt;
  return *found->data;
}

bool MemoryFileSystem::exists(const std::string& path) const {
  std::string full = normalize(path);
  return !full.empty() && node(full) != nullptr;
}

std::vector<std::string> MemoryFileSystem::listAll() const {
  std::vector<std::string> all;
  for (const auto& [key, n] : nodes_) all.push_back(n->path);
  return all;
}

void MemoryFileSystem::setFreeSpace(char drive, std::uint64_t bytes) {
  auto it = drives_.find(text::upper(drive));
  if (it != drives_.end()) it->second->freeBytes = bytes;
}

void MemoryFileSystem::failWritesAfter(std::uint64_t bytes) { writeBudget_ = bytes; }

void MemoryFileSystem::denyAccess(const std::string& path) {
  std::string full = normalize(path);
  if (!full.empty()) deniedPaths_.insert(text::toUpper(full));
}

void MemoryFileSystem::clearFailures() {
  writeBudget_.reset();
  deniedPaths_.clear();
}

std::unique_ptr<platform::File> MemoryFileSystem::open(const std::string& path,
                                                       platform::OpenMode mode) {
  std::string full = normalize(path);
  auto it = full.empty() ? nodes_.end() : nodes_.find(text::toUpper(full));
  if (it == nodes_.end() || it->second->isDirectory() || denied(full)) return nullptr;
  if (mode != platform::OpenMode::Read && (it->second->status.attributes & attr::ReadOnly)) {
    return nullptr;
  }
  ++openCount_;
  return std::make_unique<OpenFile>(*this, it->second, mode);
}

std::unique_ptr<platform::File> MemoryFileSystem::create(const std::string& path) {
  std::string full = normalize(path);
  if (full.empty() || !parentFolder(full) || !text::isValidName(nameOf(full)) || denied(full)) {
    return nullptr;
  }
  std::shared_ptr<Node>& slot = nodes_[text::toUpper(full)];
  if (slot) {
    if (slot->isDirectory() || (slot->status.attributes & attr::ReadOnly)) return nullptr;
    consume(full, -static_cast<std::int64_t>(slot->data->size()), 0);
    slot->data->clear();
    slot->status.size = 0;
    slot->status.lastWriteTime = tick();
  } else {
    slot = std::make_shared<Node>();
    slot->path = full;
    slot->status.attributes = attr::Archive;
    slot->status.creationTime = slot->status.lastWriteTime = slot->status.lastAccessTime = tick();
  }
  ++createCount_;
  return std::make_unique<OpenFile>(*this, slot, platform::OpenMode::ReadWrite);
}

bool MemoryFileSystem::createDirectory(const std::string& path) {
  std::string full = normalize(path);
  if (full.empty() || !parentFolder(full) || !text::isValidName(nameOf(full)) || denied(full) ||
      node(full)) {
    return false;
  }
  auto dir = std::make_shared<Node>();
  dir->path = full;
  dir->status.attributes = attr::Directory;
  dir->status.creationTime = dir->status.lastWriteTime = dir->status.lastAccessTime = tick();
  nodes_[text::toUpper(full)] = dir;
  return true;
}

bool MemoryFileSystem::removeDirectory(const std::string& path) {
  std::string full = normalize(path);
  Node* dir = full.empty() ? nullptr : node(full);
  if (!dir || !dir->isDirectory() || isRoot(full) || denied(full) ||
      (dir->status.attributes & attr::ReadOnly)) {
    return false;
  }
  std::string prefix = text::toUpper(full) + "\\";
  auto child = nodes_.lower_bound(prefix);
  if (child != nodes_.end() && child->first.rfind(prefix, 0) == 0) return false;  // not empty
  nodes_.erase(text::toUpper(full));
  tick();
  return true;
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
  std::string full = normalize(path);
  Node* file = full.empty() ? nullptr : node(full);
  if (!file || file->isDirectory() || denied(full) || (file->status.attributes & attr::ReadOnly)) {
    return false;
  }
  consume(full, -static_cast<std::int64_t>(file->data->size()), 0);
  nodes_.erase(text::toUpper(full));
  tick();
  return true;
}

bool MemoryFileSystem::moveFile(const std::string& from, const std::string& to) {
  std::string source = normalize(from);
  std::string target = normalize(to);
  // The new name keeps the case given, so that a move can change only the case of a name.
  std::size_t cut = to.find_last_of("\\/");
  if (!target.empty() && !isRoot(target)) {
    target = join(parentOf(target), cut == std::string::npos ? to : to.substr(cut + 1));
  }
  Node* moving = source.empty() ? nullptr : node(source);
  if (!moving || isRoot(source) || target.empty() || !parentFolder(target) ||
      !text::isValidName(nameOf(target)) || denied(source) || denied(target)) {
    return false;
  }
  std::string sourceKey = text::toUpper(source);
  std::string targetKey = text::toUpper(target);
  if (targetKey.rfind(sourceKey + "\\", 0) == 0) return false;  // a folder into itself
  if (Node* existing = node(target); existing && targetKey != sourceKey) {
    if (refuseMoveOntoExisting_ || existing->isDirectory() || moving->isDirectory() ||
        (existing->status.attributes & attr::ReadOnly)) {
      return false;
    }
    consume(target, -static_cast<std::int64_t>(existing->data->size()), 0);
    nodes_.erase(targetKey);
  }
  // Re-key the entry and, for a folder, everything below it.
  std::vector<std::pair<std::string, std::shared_ptr<Node>>> moved;
  for (auto it = nodes_.lower_bound(sourceKey); it != nodes_.end();) {
    if (it->first != sourceKey && it->first.rfind(sourceKey + "\\", 0) != 0) break;
    moved.emplace_back(it->first, it->second);
    it = nodes_.erase(it);
  }
  for (auto& [key, n] : moved) {
    n->path = target + n->path.substr(source.size());
    nodes_[text::toUpper(n->path)] = n;
  }
  tick();
  return true;
}

std::optional<FileStatus> MemoryFileSystem::status(const std::string& path) {
  std::string full = normalize(path);
  const Node* found = full.empty() ? nullptr : node(full);
  if (!found) return std::nullopt;
  FileStatus result = found->status;
  result.size = found->isDirectory() ? 0 : found->data->size();
  return result;
}

bool MemoryFileSystem::setFileTimes(const std::string& path, std::optional<FileTime> creation,
                                    std::optional<FileTime> lastAccess,
                                    std::optional<FileTime> lastWrite) {
  std::string full = normalize(path);
  Node* found = full.empty() ? nullptr : node(full);
  if (!found || denied(full) || (found->status.attributes & attr::ReadOnly)) return false;
  if (creation) found->status.creationTime = *creation;
  if (lastAccess) found->status.lastAccessTime = *lastAccess;
  if (lastWrite) found->status.lastWriteTime = *lastWrite;
  return true;
}

bool MemoryFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  std::string full = normalize(path);
  Node* found = full.empty() ? nullptr : node(full);
  if (!found || denied(full)) return false;
  std::uint32_t kept = attributes & ~(attr::Directory | attr::Normal);
  if (found->isDirectory()) {
    found->status.attributes = kept | attr::Directory;
  } else {
    found->status.attributes = kept ? kept : attr::Normal;
  }
  return true;
}

std::vector<platform::FindData> MemoryFileSystem::find(const std::string& pattern) {
  std::vector<platform::FindData> found;
  text::FindPattern split = text::splitFindPattern(pattern);
  std::string folder = normalize(split.folder);
  const std::string& wanted = split.name;
  if (folder.empty() || wanted.empty()) return found;
  const Node* dir = node(folder);
  if (!dir || !dir->isDirectory()) return found;
  // "." and ".." come with the listing patterns of a folder other than a root.
  if (!isRoot(folder) && (wanted == "*" || wanted == "*.*")) {
    for (const char* dots : {".", ".."}) found.push_back({dots, dir->status});
  }
  std::string prefix = text::toUpper(join(folder, ""));
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
    if (it->first.rfind(prefix, 0) != 0) break;
    if (it->first.size() == prefix.size()) continue;  // the root itself
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    std::string name = nameOf(it->second->path);
    if (!text::matchesWildcard(wanted, name)) continue;
    FileStatus st = it->second->status;
    st.size = it->second->isDirectory() ? 0 : it->second->data->size();
    found.push_back({name, st});
  }
  return found;
}

std::optional<platform::DiskSpace> MemoryFileSystem::diskFreeSpace(const std::string& root) {
  std::string full = normalize(root);
  Drive* drive = full.empty() ? nullptr : driveOf(full);
  if (!drive) return std::nullopt;
  platform::DiskSpace space;
  space.sectorsPerCluster = 8;
  space.bytesPerSector = 512;
  std::uint64_t clusters = drive->freeBytes / 4096;
  space.freeClusters = static_cast<std::uint32_t>(std::min<std::uint64_t>(clusters, 0xFFFFFFFFu));
  space.totalClusters = std::max<std::uint32_t>(space.freeClusters, 262144);
  return space;
}

unsigned MemoryFileSystem::tempFileName(const std::string& folder, const std::string& prefix,
                                        unsigned unique, std::string& name) {
  std::string dir = normalize(folder);
  const Node* found = dir.empty() ? nullptr : node(dir);
  if (!found || !found->isDirectory() || denied(dir)) return 0;
  auto nameFor = [&](unsigned number) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", number & 0xFFFFu);
    return join(found->path, prefix.substr(0, 3) + hex + ".TMP");
  };
  if (unique != 0) {
    name = nameFor(unique);
    return unique;
  }
  for (unsigned attempt = 0; attempt < 0xFFFF; ++attempt) {
    unsigned number = nextTemp_;
    nextTemp_ = nextTemp_ % 0xFFFF + 1;
    std::string candidate = nameFor(number);
    if (node(candidate)) continue;
    if (!create(candidate)) return 0;
    name = candidate;
    return number;
  }
  return 0;
}

bool MemoryFileSystem::setCurrentDirectory(const std::string& path) {
  std::string full = normalize(path);
  const Node* found = full.empty() ? nullptr : node(full);
  if (!found || !found->isDirectory()) return false;
  current_ = found->path;
  return true;
}

std::string MemoryFileSystem::fullPath(const std::string& path) { return normalize(path); }

}  // namespace vandrel::test
