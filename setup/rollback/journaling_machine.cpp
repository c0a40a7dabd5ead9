// The journaling machine: each changing call notes its target in the journal, then is passed on.
#include "setup/rollback/journaling_machine.h"

namespace vandrel::setup::rollback {

using platform::Bytes;
using platform::FileTime;
using platform::HKey;

class JournalingMachine::Files : public platform::FileSystem {
 public:
  Files(platform::FileSystem& inner, ChangeJournal& journal) : inner_(inner), journal_(journal) {}

  std::unique_ptr<platform::File> open(const std::string& path, platform::OpenMode mode) override {
    if (mode != platform::OpenMode::Read) noteChange(path);
    return inner_.open(path, mode);
  }
  std::unique_ptr<platform::File> create(const std::string& path) override {
    const bool seenMissing = !lastMissing_.empty() && lastMissing_ == path;
    lastMissing_.clear();
    journal_.noteFile(path, seenMissing);
    return inner_.create(path);
  }
  bool createDirectory(const std::string& path) override {
    noteChange(path);
    return inner_.createDirectory(path);
  }
  bool removeDirectory(const std::string& path) override {
    noteChange(path);
    return inner_.removeDirectory(path);
  }
  bool deleteFile(const std::string& path) override {
    noteChange(path);
    return inner_.deleteFile(path);
  }
  bool moveFile(const std::string& from, const std::string& to) override {
    noteChange(from);
    noteChange(to);
    return inner_.moveFile(from, to);
  }
  bool replaceFile(const std::string& from, const std::string& to) override {
    noteChange(from);
    noteChange(to);
    return inner_.replaceFile(from, to);
  }
  std::optional<bool> replaceWholeFile(const std::string& path, std::string_view contents) override {
    noteChange(path);
    return inner_.replaceWholeFile(path, contents);
  }
  std::optional<platform::FileStatus> status(const std::string& path) override {
    std::optional<platform::FileStatus> found = inner_.status(path);
    lastMissing_ = found ? std::string() : path;
    return found;
  }
  std::optional<OpenedFile> openForReading(const std::string& path) override {
    return inner_.openForReading(path);
  }
  std::optional<ChangeStamp> changeStamp(const std::string& path) override {
    return inner_.changeStamp(path);
  }
  bool setFileTimes(const std::string& path, std::optional<FileTime> creation,
                    std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite) override {
    noteChange(path);
    return inner_.setFileTimes(path, creation, lastAccess, lastWrite);
  }
  bool setAttributes(const std::string& path, std::uint32_t attributes) override {
    noteChange(path);
    return inner_.setAttributes(path, attributes);
  }
  bool setCopyStamps(const std::string& path, std::optional<FileTime> creation,
                     std::optional<FileTime> lastWrite, std::uint32_t attributes) override {
    noteChange(path);
    return inner_.setCopyStamps(path, creation, lastWrite, attributes);
  }
  std::vector<platform::FindData> find(const std::string& pattern) override {
    return inner_.find(pattern);
  }
  std::optional<platform::DiskSpace> diskFreeSpace(const std::string& root) override {
    return inner_.diskFreeSpace(root);
  }
  unsigned tempFileName(const std::string& folder, const std::string& prefix, unsigned unique,
                        std::string& name) override {
    lastMissing_.clear();
    unsigned number = inner_.tempFileName(folder, prefix, unique, name);
    // With 0 the call chose a free name and made the file.
    if (unique == 0 && number != 0) journal_.noteMadeFile(name);
    return number;
  }
  std::string currentDirectory() override { return inner_.currentDirectory(); }
  bool setCurrentDirectory(const std::string& path) override {
    lastMissing_.clear();  // a relative path names another file from now on
    return inner_.setCurrentDirectory(path);
  }
  std::string fullPath(const std::string& path) override { return inner_.fullPath(path); }
  std::optional<std::filesystem::path> hostPath(const std::string& path) override {
    return inner_.hostPath(path);
  }
  std::optional<std::string> windowsPath(const std::filesystem::path& host) override {
    return inner_.windowsPath(host);
  }
  bool mayWrite(const std::string& path) override { return inner_.mayWrite(path); }
  void beginBatch() override { inner_.beginBatch(); }
  bool endBatch() override { return inner_.endBatch(); }
  void settleBatch() override { inner_.settleBatch(); }
  // A queued copy writes into a file create() made and noted: nothing more to note.
  platform::CopyQueue* copyQueue() override { return inner_.copyQueue(); }

 private:
  // A call that changes path: noted in the journal first, and the last look forgotten.
  void noteChange(const std::string& path) {
    lastMissing_.clear();
    journal_.noteFile(path);
  }

  platform::FileSystem& inner_;
  ChangeJournal& journal_;
  // The path the last look found missing, while nothing of this run changed a file since: a
  // copy looks at its destination and then creates it, and the journal need not look again
  // to know that the file is new.
  std::string lastMissing_;
};

// A profile write notes the file as a whole (so that it comes back byte for byte, its empty
// sections and dates too) and then its value (so that the profile itself puts the value back
// first, and sees its own file as it was).
class JournalingMachine::Ini : public platform::Profile {
 public:
  Ini(platform::Profile& inner, platform::System& system, ChangeJournal& journal)
      : inner_(inner), system_(system), journal_(journal) {}

  std::string getString(const std::string& file, const std::optional<std::string>& section,
                        const std::optional<std::string>& key, const std::string& def,
                        std::size_t size) override {
    return inner_.getString(file, section, key, def, size);
  }
  int getInt(const std::string& file, const std::string& section, const std::string& key,
             int def) override {
    return inner_.getInt(file, section, key, def);
  }
  bool writeString(const std::string& file, const std::string& section,
                   const std::optional<std::string>& key,
                   const std::optional<std::string>& value) override {
    if (journal_.recording()) {
      journal_.noteFile(file.find('\\') == std::string::npos
                            ? system_.windowsDirectory() + "\\" + file : file);
    }
    if (key) {
      journal_.noteIni(false, file, section, *key);
    } else {
      journal_.noteLoss("the section [" + section + "] of " + file + " was removed");
    }
    return inner_.writeString(file, section, key, value);
  }
  std::string getProfileString(const std::optional<std::string>& section,
                               const std::optional<std::string>& key, const std::string& def,
                               std::size_t size) override {
    return inner_.getProfileString(section, key, def, size);
  }
  bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value) override {
    if (journal_.recording()) journal_.noteFile(system_.windowsDirectory() + "\\WIN.INI");
    if (key) {
      journal_.noteIni(true, "", section, *key);
    } else {
      journal_.noteLoss("the section [" + section + "] of WIN.INI was removed");
    }
    return inner_.writeProfileString(section, key, value);
  }
  void beginLook(const std::string& file) override { inner_.beginLook(file); }
  void endLook(const std::string& file) override { inner_.endLook(file); }
  void settleLooks() override { inner_.settleLooks(); }
  void gatherWrites() override { inner_.gatherWrites(); }
  void holdWrites() override { inner_.holdWrites(); }
  bool flush() override { return inner_.flush(); }

 private:
  platform::Profile& inner_;
  platform::System& system_;
  ChangeJournal& journal_;
};

// Keys are known by handle: the path of each open handle is kept to name its values.
class JournalingMachine::Keys : public platform::Registry {
 public:
  Keys(platform::Registry& inner, ChangeJournal& journal) : inner_(inner), journal_(journal) {}

  long createKey(HKey parent, const std::string& subKey, HKey& result, bool* created) override {
    std::pair<HKey, std::string> path = pathOf(parent, subKey);
    journal_.noteKeyPath(path.first, path.second);
    long code = inner_.createKey(parent, subKey, result, created);
    if (code == platform::error::Success) open_[result] = path;
    return code;
  }
  long openKey(HKey parent, const std::string& subKey, HKey& result) override {
    long code = inner_.openKey(parent, subKey, result);
    if (code == platform::error::Success) open_[result] = pathOf(parent, subKey);
    return code;
  }
  long queryValue(HKey key, const std::string& name, std::uint32_t& type, Bytes& data) override {
    return inner_.queryValue(key, name, type, data);
  }
  long setValue(HKey key, const std::string& name, std::uint32_t type, const Bytes& data) override {
    noteValue(key, name);
    return inner_.setValue(key, name, type, data);
  }
  long deleteValue(HKey key, const std::string& name) override {
    noteValue(key, name);
    return inner_.deleteValue(key, name);
  }
  long deleteKey(HKey parent, const std::string& subKey) override {
    std::pair<HKey, std::string> path = pathOf(parent, subKey);
    journal_.noteLoss("the registry key " + keyName(path.first, path.second) + " was removed");
    return inner_.deleteKey(parent, subKey);
  }
  long closeKey(HKey key) override {
    open_.erase(key);
    return inner_.closeKey(key);
  }
  long enumKey(HKey key, std::uint32_t index, std::string& name) override {
    return inner_.enumKey(key, index, name);
  }
  long enumValue(HKey key, std::uint32_t index, std::string& name, std::uint32_t& type,
                 Bytes& data) override {
    return inner_.enumValue(key, index, name, type, data);
  }
  void beginBatch() override { inner_.beginBatch(); }
  bool endBatch() override { return inner_.endBatch(); }

 private:
  static bool isRoot(HKey key) { return key >= platform::hkey::ClassesRoot && key <= 0x80000006u; }

  // The root and the path below it of parent\subKey.
  std::pair<HKey, std::string> pathOf(HKey parent, const std::string& subKey) const {
    std::pair<HKey, std::string> path{parent, ""};
    if (!isRoot(parent)) {
      auto known = open_.find(parent);
      if (known != open_.end()) path = known->second;
    }
    if (!subKey.empty()) path.second = path.second.empty() ? subKey : path.second + "\\" + subKey;
    return path;
  }

  void noteValue(HKey key, const std::string& name) {
    if (!journal_.recording()) return;
    if (!isRoot(key) && open_.find(key) == open_.end()) {
      journal_.noteLoss("a registry value \"" + name + "\" of a key opened before was changed");
      return;
    }
    std::pair<HKey, std::string> path = pathOf(key, "");
    journal_.noteValue(path.first, path.second, name);
  }

  platform::Registry& inner_;
  ChangeJournal& journal_;
  std::map<HKey, std::pair<HKey, std::string>> open_;
};

class JournalingMachine::Links : public platform::Shell {
 public:
  Links(platform::Shell& inner, ChangeJournal& journal) : inner_(inner), journal_(journal) {}
  std::optional<std::string> specialFolder(int csidl) override { return inner_.specialFolder(csidl); }
  bool createShortcut(const std::string& linkPath, const platform::ShellLink& link) override {
    journal_.noteFile(linkPath);
    return inner_.createShortcut(linkPath, link);
  }

 private:
  platform::Shell& inner_;
  ChangeJournal& journal_;
};

class JournalingMachine::Expansion : public platform::Lz {
 public:
  Expansion(platform::Lz& inner, ChangeJournal& journal) : inner_(inner), journal_(journal) {}
  int start() override { return inner_.start(); }
  int openFile(const std::string& path, bool create) override {
    if (create) journal_.noteFile(path);
    return inner_.openFile(path, create);
  }
  long copy(int src, int dst) override { return inner_.copy(src, dst); }
  void close(int handle) override { inner_.close(handle); }
  void done() override { inner_.done(); }

 private:
  platform::Lz& inner_;
  ChangeJournal& journal_;
};

JournalingMachine::JournalingMachine(platform::Machine& inner)
    : inner_(inner),
      journal_(inner.files(), inner.profile(), inner.registry()),
      files_(std::make_unique<Files>(inner.files(), journal_)),
      profile_(std::make_unique<Ini>(inner.profile(), inner.system(), journal_)),
      registry_(std::make_unique<Keys>(inner.registry(), journal_)),
      shell_(std::make_unique<Links>(inner.shell(), journal_)),
      lz_(std::make_unique<Expansion>(inner.lz(), journal_)) {}

JournalingMachine::~JournalingMachine() = default;

platform::FileSystem& JournalingMachine::files() { return *files_; }
platform::Profile& JournalingMachine::profile() { return *profile_; }
platform::Registry& JournalingMachine::registry() { return *registry_; }
platform::Shell& JournalingMachine::shell() { return *shell_; }
platform::Lz& JournalingMachine::lz() { return *lz_; }

}  // namespace vandrel::setup::rollback
