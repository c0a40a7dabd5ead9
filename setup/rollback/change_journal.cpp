// The undo journal: the state before each first change, and the undo of every step.
#include "setup/rollback/change_journal.h"

#include "platform/text/text_rules.h"

namespace vandrel::setup::rollback {
namespace {

// The default that tells a missing INI value from any value a file can hold.
const std::string kNoValue = std::string("\x01vandrel:none\x01");
constexpr std::size_t kIniValueLimit = 65536;
constexpr std::size_t kCopyPiece = 1 << 20;

bool copyContents(platform::File& in, platform::File& out) {
  for (;;) {
    std::int64_t put = in.copyTo(out, kCopyPiece);
    if (put < 0) return false;
    if (put == 0) return true;
  }
}

std::optional<std::string> readWhole(platform::FileSystem& files, const std::string& path) {
  std::unique_ptr<platform::File> in = files.open(path, platform::OpenMode::Read);
  if (!in) return std::nullopt;
  std::string contents;
  char buffer[65536];
  for (;;) {
    std::int64_t got = in->read(buffer, sizeof buffer);
    if (got < 0) return std::nullopt;
    if (got == 0) return contents;
    contents.append(buffer, static_cast<std::size_t>(got));
  }
}

std::string rootName(platform::HKey root) {
  switch (root) {
    case platform::hkey::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case platform::hkey::CurrentUser: return "HKEY_CURRENT_USER";
    case platform::hkey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case platform::hkey::Users: return "HKEY_USERS";
    default: return "HKEY_" + std::to_string(root);
  }
}

}  // namespace

std::string keyName(platform::HKey root, const std::string& subKey) {
  return subKey.empty() ? rootName(root) : rootName(root) + "\\" + subKey;
}

ChangeJournal::ChangeJournal(platform::FileSystem& files, platform::Profile& profile,
                             platform::Registry& registry)
    : files_(files), profile_(profile), registry_(registry) {}

void ChangeJournal::start(const std::string& saveFolder) {
  recording_ = true;
  saveFolder_ = saveFolder;
}

bool ChangeJournal::makeSaveFolder() {
  if (!saveFolderMade_ && !saveFolder_.empty()) {
    files_.createDirectory(saveFolder_);
    std::optional<platform::FileStatus> folder = files_.status(saveFolder_);
    saveFolderMade_ = folder && folder->isDirectory();
  }
  return saveFolderMade_;
}

// The step goes to the journal file before the change it undoes is made: a kill after the
// change finds it there. Without a folder the journal is kept in memory only.
void ChangeJournal::add(Step step) {
  if (!written_ && !writeFailed_ && makeSaveFolder()) {
    written_ = files_.create(saveFolder_ + "\\" + kJournalName);
    writeFailed_ = !written_;
  }
  if (written_) {
    std::string line = encode(step);
    if (written_->write(line.data(), line.size()) != static_cast<std::int64_t>(line.size())) {
      written_.reset();
      writeFailed_ = true;
    }
  }
  steps_.push_back(std::move(step));
}

bool ChangeJournal::seen(const std::string& identity) {
  return !seen_.insert(identity).second;
}

std::string ChangeJournal::fullPathOf(const std::string& path) {
  std::string full = files_.fullPath(path);
  return full.empty() ? path : full;
}

std::string ChangeJournal::fileIdentity(const std::string& path) { return text::toLower(fullPathOf(path)); }

void ChangeJournal::noteFile(const std::string& path) { noteFile(path, false); }

void ChangeJournal::noteFile(const std::string& given, bool seenMissing) {
  if (!recording_) return;
  // The step names the file by its full path: a relative one would be taken back from
  // whatever folder is current at the end.
  const std::string path = fullPathOf(given);
  std::string identity = text::toLower(path);
  if (seen("file|" + identity)) return;
  Step step = stepOf(Kind::FileMissing, path);
  if (std::optional<platform::FileStatus> status = seenMissing ? std::nullopt : files_.status(path)) {
    step.status = *status;
    step.kind = status->isDirectory() ? Kind::Folder : Kind::File;
  }
  if (step.kind == Kind::File) save(path, step);
  if (step.kind == Kind::FileMissing) madeFiles_.insert(identity);
  add(std::move(step));
}

void ChangeJournal::noteMadeFile(const std::string& path) {
  if (!recording_) return;
  std::string identity = fileIdentity(path);
  if (seen("file|" + identity)) return;
  madeFiles_.insert(identity);
  add(stepOf(Kind::FileMissing, path));
}

bool ChangeJournal::save(const std::string& path, Step& step) {
  if (makeSaveFolder()) {
    std::string copy = saveFolder_ + "\\" + std::to_string(savedCopies_.size() + 1) + ".sav";
    std::unique_ptr<platform::File> in = files_.open(path, platform::OpenMode::Read);
    std::unique_ptr<platform::File> out = in ? files_.create(copy) : nullptr;
    bool copied = out && copyContents(*in, *out);
    out.reset();
    if (files_.status(copy)) savedCopies_.push_back(copy);
    if (copied) {
      step.saved = copy;
      return true;
    }
  }
  step.savedInMemory = readWhole(files_, path);
  return step.savedInMemory.has_value();
}

bool ChangeJournal::isMadeFile(const std::string& file) {
  return file.find('\\') != std::string::npos && madeFiles_.count(fileIdentity(file)) != 0;
}

void ChangeJournal::noteIni(bool winIni, const std::string& file, const std::string& section,
                            const std::string& key) {
  if (!recording_) return;
  // A file this installation made goes as a whole: its values need no journal.
  if (!winIni && isMadeFile(file)) return;
  std::string identity = "ini|" + (winIni ? std::string("|win.ini") : text::toLower(file)) + "|" +
                         text::toLower(section) + "|" + text::toLower(key);
  if (seen(identity)) return;
  Step step = stepOf(Kind::Ini, file);
  step.section = section;
  step.key = key;
  step.winIni = winIni;
  step.old = iniValue(step);
  add(std::move(step));
}

std::optional<std::string> ChangeJournal::iniValue(const Step& step) {
  std::string value =
      step.winIni ? profile_.getProfileString(step.section, step.key, kNoValue, kIniValueLimit)
                  : profile_.getString(step.path, step.section, step.key, kNoValue, kIniValueLimit);
  if (value == kNoValue) return std::nullopt;
  return value;
}

void ChangeJournal::noteKeyPath(platform::HKey root, const std::string& subKey) {
  if (!recording_) return;
  for (std::size_t at = 0; at != std::string::npos;) {
    at = subKey.find('\\', at + 1);
    std::string prefix = subKey.substr(0, at);
    if (prefix.empty() || seen("key|" + std::to_string(root) + "|" + text::toLower(prefix))) continue;
    platform::HKey key = 0;
    if (registry_.openKey(root, prefix, key) == platform::error::Success) {
      registry_.closeKey(key);
      continue;
    }
    Step step = stepOf(Kind::KeyMissing, prefix);
    step.root = root;
    add(std::move(step));
  }
}

void ChangeJournal::noteValue(platform::HKey root, const std::string& subKey,
                              const std::string& name) {
  if (!recording_) return;
  std::string identity =
      "value|" + std::to_string(root) + "|" + text::toLower(subKey) + "|" + text::toLower(name);
  if (seen(identity)) return;
  Step step = stepOf(Kind::Value, subKey);
  step.key = name;
  step.root = root;
  platform::HKey key = 0;
  if (registry_.openKey(root, subKey, key) == platform::error::Success) {
    platform::Bytes data;
    if (registry_.queryValue(key, name, step.type, data) == platform::error::Success) {
      step.oldData = std::move(data);
    }
    registry_.closeKey(key);
  }
  add(std::move(step));
}

void ChangeJournal::noteLoss(const std::string& what) {
  if (!recording_) return;
  add(stepOf(Kind::Loss, what));
}

std::vector<std::string> ChangeJournal::undo() {
  recording_ = false;
  std::vector<std::string> failed;
  for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
    if (undoStep(*step)) continue;
    switch (step->kind) {
      case Kind::FileMissing: failed.push_back(step->path + " could not be removed"); break;
      case Kind::File: failed.push_back(step->path + " could not be restored"); break;
      case Kind::Folder: failed.push_back("the folder " + step->path + " could not be made again"); break;
      case Kind::Ini:
        failed.push_back("the value " + step->key + " of [" + step->section + "] in " +
                         (step->winIni ? std::string("WIN.INI") : step->path) +
                         " could not be restored");
        break;
      case Kind::KeyMissing:
        failed.push_back("the registry key " + keyName(step->root, step->path) +
                         " could not be removed");
        break;
      case Kind::Value:
        failed.push_back("the registry value \"" + step->key + "\" of " +
                         keyName(step->root, step->path) + " could not be restored");
        break;
      case Kind::Loss: failed.push_back(step->path); break;
    }
  }
  steps_.clear();
  return failed;
}

bool ChangeJournal::undoStep(const Step& step) {
  switch (step.kind) {
    case Kind::FileMissing: return removeMade(step);
    case Kind::File: return restoreFile(step);
    case Kind::Folder: {
      if (files_.status(step.path)) return true;
      return files_.createDirectory(step.path);
    }
    case Kind::Ini:
      if (iniValue(step) == step.old) return true;  // the write did not happen
      return step.winIni ? profile_.writeProfileString(step.section, step.key, step.old)
                         : profile_.writeString(step.path, step.section, step.key, step.old);
    case Kind::KeyMissing: {
      platform::HKey key = 0;
      if (registry_.openKey(step.root, step.path, key) != platform::error::Success) return true;
      registry_.closeKey(key);
      return registry_.deleteKey(step.root, step.path) == platform::error::Success;
    }
    case Kind::Value: {
      platform::HKey key = 0;
      if (registry_.openKey(step.root, step.path, key) != platform::error::Success) {
        return !step.oldData;  // the key went (it was made by the installation)
      }
      std::uint32_t type = 0;
      platform::Bytes data;
      bool present = registry_.queryValue(key, step.key, type, data) == platform::error::Success;
      if (present == step.oldData.has_value() && (!present || (type == step.type && data == *step.oldData))) {
        registry_.closeKey(key);
        return true;  // the change did not happen
      }
      long result = step.oldData ? registry_.setValue(key, step.key, step.type, *step.oldData)
                                 : registry_.deleteValue(key, step.key);
      registry_.closeKey(key);
      return result == platform::error::Success ||
             (!step.oldData && result == platform::error::FileNotFound);
    }
    case Kind::Loss: return false;
  }
  return false;
}

bool ChangeJournal::removeMade(const Step& step) {
  if (kept_.count(fileIdentity(step.path)) != 0) return true;
  std::optional<platform::FileStatus> now = files_.status(step.path);
  if (!now) return true;
  if (now->isDirectory()) return files_.removeDirectory(step.path);
  files_.setAttributes(step.path, platform::attr::Normal);
  return files_.deleteFile(step.path);
}

bool ChangeJournal::unchanged(const Step& step, const std::optional<platform::FileStatus>& now) {
  if (!now || now->isDirectory() || now->size != step.status.size ||
      now->lastWriteTime != step.status.lastWriteTime ||
      now->attributes != step.status.attributes ||
      now->creationTime != step.status.creationTime) {
    return false;
  }
  // A file the installation could not even read (a locked one) is taken as it was.
  std::optional<std::string> contents = readWhole(files_, step.path);
  if (!contents) return true;
  if (step.savedInMemory) return *contents == *step.savedInMemory;
  if (step.saved) return contents == readWhole(files_, *step.saved);
  return true;
}

bool ChangeJournal::restoreFile(const Step& step) {
  std::optional<platform::FileStatus> now = files_.status(step.path);
  if (unchanged(step, now)) return true;
  if (!step.saved && !step.savedInMemory) return false;
  if (now && now->isDirectory() && !files_.removeDirectory(step.path)) return false;
  if (now && !now->isDirectory()) files_.setAttributes(step.path, platform::attr::Normal);
  std::unique_ptr<platform::File> out = files_.create(step.path);
  if (!out) return false;
  bool written = false;
  if (step.saved) {
    std::unique_ptr<platform::File> in = files_.open(*step.saved, platform::OpenMode::Read);
    written = in && copyContents(*in, *out);
  } else {
    const std::string& contents = *step.savedInMemory;
    written = contents.empty() ||
              out->write(contents.data(), contents.size()) == static_cast<std::int64_t>(contents.size());
  }
  out.reset();
  files_.setFileTimes(step.path, step.status.creationTime, step.status.lastAccessTime,
                      step.status.lastWriteTime);
  std::uint32_t attributes = step.status.attributes & ~platform::attr::Directory;
  files_.setAttributes(step.path, attributes == 0 ? platform::attr::Normal : attributes);
  return written;
}

void ChangeJournal::finish() {
  recording_ = false;
  if (written_ || writeFailed_ || saveFolderMade_) {
    written_.reset();
    files_.deleteFile(saveFolder_ + "\\" + kJournalName);
  }
  writeFailed_ = false;
  for (const std::string& copy : savedCopies_) files_.deleteFile(copy);
  savedCopies_.clear();
  if (saveFolderMade_) {
    // A copy a killed run made without the line that names it is in the folder too.
    for (const platform::FindData& found : files_.find(saveFolder_ + "\\*.sav")) {
      if (!found.status.isDirectory()) files_.deleteFile(saveFolder_ + "\\" + found.name);
    }
    files_.removeDirectory(saveFolder_);
  }
  saveFolderMade_ = false;
  steps_.clear();
  seen_.clear();
  madeFiles_.clear();
  kept_.clear();
}

}  // namespace vandrel::setup::rollback

namespace vandrel::setup::rollback {
namespace {

// One field of a journal line: backslashes, tabs and line ends escaped.
std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      char e = line[++i];
      fields.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::string optionalField(const std::optional<std::string>& value) {
  return value ? "+" + *value : "-";
}

std::optional<std::string> optionalFrom(const std::string& field) {
  if (field.empty() || field[0] != '+') return std::nullopt;
  return field.substr(1);
}

std::uint64_t numberFrom(const std::string& field) {
  std::uint64_t n = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return n;
    n = n * 10 + std::uint64_t(c - '0');
  }
  return n;
}

constexpr std::size_t kFieldCount = 15;

}  // namespace

std::string ChangeJournal::encode(const Step& step) {
  std::string data;
  if (step.oldData) {
    data = "+";
    static const char digits[] = "0123456789abcdef";
    for (std::uint8_t b : *step.oldData) {
      data += digits[b >> 4];
      data += digits[b & 15];
    }
  } else {
    data = "-";
  }
  const std::string fields[kFieldCount] = {
      std::to_string(static_cast<int>(step.kind)), step.path, step.section, step.key,
      step.winIni ? "1" : "0", std::to_string(step.root), std::to_string(step.status.size),
      std::to_string(step.status.creationTime), std::to_string(step.status.lastAccessTime),
      std::to_string(step.status.lastWriteTime), std::to_string(step.status.attributes),
      optionalField(step.saved), optionalField(step.old), std::to_string(step.type), data};
  std::string line;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    if (i != 0) line += '\t';
    line += escaped(fields[i]);
  }
  return line + "\n";
}

std::optional<ChangeJournal::Step> ChangeJournal::decode(const std::string& line) {
  std::vector<std::string> f = fieldsOf(line);
  if (f.size() != kFieldCount) return std::nullopt;
  std::uint64_t kind = numberFrom(f[0]);
  if (f[0].empty() || kind > static_cast<std::uint64_t>(Kind::Loss)) return std::nullopt;
  Step step = stepOf(static_cast<Kind>(kind), f[1]);
  step.section = f[2];
  step.key = f[3];
  step.winIni = f[4] == "1";
  step.root = static_cast<platform::HKey>(numberFrom(f[5]));
  step.status.size = numberFrom(f[6]);
  step.status.creationTime = static_cast<platform::FileTime>(numberFrom(f[7]));
  step.status.lastAccessTime = static_cast<platform::FileTime>(numberFrom(f[8]));
  step.status.lastWriteTime = static_cast<platform::FileTime>(numberFrom(f[9]));
  step.status.attributes = static_cast<std::uint32_t>(numberFrom(f[10]));
  step.saved = optionalFrom(f[11]);
  step.old = optionalFrom(f[12]);
  step.type = static_cast<std::uint32_t>(numberFrom(f[13]));
  if (std::optional<std::string> hex = optionalFrom(f[14])) {
    platform::Bytes data;
    auto digit = [](char c) { return c >= 'a' ? c - 'a' + 10 : c - '0'; };
    for (std::size_t i = 0; i + 1 < hex->size(); i += 2) {
      data.push_back(static_cast<std::uint8_t>(digit((*hex)[i]) * 16 + digit((*hex)[i + 1])));
    }
    step.oldData = std::move(data);
  }
  return step;
}

bool ChangeJournal::resume(const std::string& saveFolder) {
  std::optional<std::string> text = readWhole(files_, saveFolder + "\\" + kJournalName);
  if (!text) return false;
  saveFolder_ = saveFolder;
  saveFolderMade_ = true;
  writeFailed_ = true;  // nothing more is written to it
  // A line cut by the kill was being written before its change: that change was not made.
  for (std::size_t at = 0, end; (end = text->find('\n', at)) != std::string::npos; at = end + 1) {
    std::optional<Step> step = decode(text->substr(at, end - at));
    if (!step) continue;
    if (step->saved) savedCopies_.push_back(*step->saved);
    if (step->kind == Kind::FileMissing) madeFiles_.insert(fileIdentity(step->path));
    steps_.push_back(std::move(*step));
  }
  return true;
}

}  // namespace vandrel::setup::rollback
