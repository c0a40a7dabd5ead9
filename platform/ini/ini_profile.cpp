// The profile functions over any file system: a cache of parsed files for reads, whole-file
// atomic replacement for writes.
#include "platform/ini/ini_profile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/bounded_read.h"

#include "platform/ini/ini_document.h"
#include "platform/types.h"

namespace vandrel::platform {

namespace {

// The most file names whose full paths are kept.
constexpr std::size_t kLocatedLimit = 256;

std::string upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// One pair of surrounding quotes removed, as from a value read from the file.
std::string unquote(std::string text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

// The default of a key read: its trailing spaces go (tabs stay, and so does the first
// character, a space or not), then one pair of surrounding quotes.
std::string keyDefault(std::string text) {
  while (text.size() > 1 && text.back() == ' ') text.pop_back();
  return unquote(text);
}

// What lands in a buffer of `size` characters, without the final terminator.
std::string fitValue(std::string text, std::size_t size) {
  if (size == 0) return {};
  if (text.size() > size - 1) text.resize(size - 1);
  return text;
}

// A name list as GetPrivateProfileStringA fills it: each name followed by "\0" and one more
// "\0" at the end. When the list does not fit, Windows fills size-2 characters, then two
// "\0" (and returns size-2); the text returned here is the buffer without its final
// terminator, so the cut last name is still followed by one "\0".
std::string fitList(const std::vector<std::string>& names, std::size_t size) {
  std::string list;
  for (const std::string& name : names) {
    list += name;
    list += '\0';
  }
  if (list.size() + 1 <= size) return list;
  if (size < 2) return {};
  list.resize(size - 2);
  list += '\0';
  return list;
}

// GetPrivateProfileIntA's reading of a value: the value as a 30-character buffer receives
// it (its first 29 characters), then blanks, one sign, a base prefix "0x" (hexadecimal),
// "0o" (octal) or "0b" (binary), written in lower case only, and the digits of that base up
// to the first other character; no digits give 0. The number wraps around modulo 2^32, so
// that 4294967295 and -1 both read as -1 and callers that store either get it back.
int readProfileInt(std::string_view text) {
  text = text.substr(0, 29);
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    switch (text[i + 1]) {
      case 'x':
        base = 16;
        break;
      case 'o':
        base = 8;
        break;
      case 'b':
        base = 2;
        break;
      default:
        break;
    }
    if (base != 10) i += 2;
  }
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    unsigned digit = c >= '0' && c <= '9'   ? unsigned(c - '0')
                     : c >= 'a' && c <= 'z' ? unsigned(c - 'a' + 10)
                     : c >= 'A' && c <= 'Z' ? unsigned(c - 'A' + 10)
                                            : 99u;
    if (digit >= base) break;
    value = value * base + digit;
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

}  // namespace

struct IniProfile::Cache {
  struct Entry {
    std::shared_ptr<IniDocument> document;
    std::uint64_t size = 0;
    FileTime lastWrite = 0;
    std::size_t unsaved = 0;  // edits of gathered writes not yet written back
    std::string path;         // the full path, for writing them back
  };
  std::unordered_map<std::string, Entry> files;  // upper-case full path -> parsed file
  // The full paths of file names that begin with a drive and its root ("C:\\..."): those
  // depend on nothing that changes (not on the current folder), and a script read names its
  // file that way at every value.
  std::unordered_map<std::string, std::string> located;
  // The looks begun and not ended (the file name as given, the upper-case full path), and
  // the full paths already looked at during theirs.
  std::vector<std::pair<std::string, std::string>> looks;
  std::unordered_set<std::string> looked;
  bool inLook(const std::string& key) const {
    return std::any_of(looks.begin(), looks.end(),
                       [&](const auto& look) { return look.second == key; });
  }
};

IniProfile::IniProfile(FileSystem& files, std::function<std::string()> windowsFolder, ChangeLock* lock)
    : files_(files), windowsFolder_(std::move(windowsFolder)), cache_(std::make_unique<Cache>()), lock_(lock) {}

IniProfile::~IniProfile() { flush(); }

std::string IniProfile::locate(const std::string& file) const {
  // A file named without any folder lies in the Windows folder; any other path is taken
  // from the current folder, as Windows does.
  if (file.empty()) return {};
  const bool fromRoot = file.size() >= 3 && file[1] == ':' && (file[2] == '\\' || file[2] == '/');
  if (fromRoot) {
    if (auto known = cache_->located.find(file); known != cache_->located.end()) return known->second;
  }
  std::string path = file;
  if (file.find_first_of("\\/:") == std::string::npos) {
    std::string folder = windowsFolder_ ? windowsFolder_() : std::string();
    if (folder.empty()) return {};
    path = folder.back() == '\\' ? folder + file : folder + "\\" + file;
  }
  std::string full = files_.fullPath(path);
  if (fromRoot) {
    if (cache_->located.size() >= kLocatedLimit) cache_->located.clear();
    cache_->located.emplace(file, full);
  }
  return full;
}

namespace {

// The whole file, within the limit for text files; a larger file or a read error is told
// on standard error, naming the file and the reason, and reads as absent.
std::optional<std::string> readWhole(FileSystem& files, const std::string& path) {
  std::unique_ptr<File> file = files.open(path, OpenMode::Read);
  if (!file) return std::nullopt;
  std::string reason;
  std::optional<std::string> text = readBounded(*file, kTextFileLimit, &reason);
  if (!text) std::fprintf(stderr, "vandrel: the file %s %s; it is not read.\n", path.c_str(), reason.c_str());
  return text;
}

bool writeWhole(File& file, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    std::int64_t n = file.write(text.data() + done, text.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return {};
  return slash <= 2 ? path.substr(0, 3) : path.substr(0, slash);
}

}  // namespace

std::shared_ptr<IniDocument> IniProfile::load(const std::string& path) {
  // One look at the file's size and write time per read: an unchanged file is served from
  // the cache; a changed one is read and parsed again.
  std::string key = upper(path);
  auto held = cache_->files.find(key);
  if (held != cache_->files.end() && held->second.unsaved > 0) return held->second.document;
  const bool inLook = cache_->inLook(key);
  if (inLook && held != cache_->files.end() && cache_->looked.count(key)) {
    return held->second.document;
  }
  if (inLook) cache_->looked.insert(key);
  std::optional<FileSystem::ChangeStamp> stamp = files_.changeStamp(path);
  if (!stamp) {
    cache_->files.erase(key);
    return nullptr;
  }
  auto it = held;
  if (it != cache_->files.end() && it->second.size == stamp->size && it->second.lastWrite == stamp->lastWrite) {
    return it->second.document;
  }
  std::optional<std::string> text = readWhole(files_, path);
  if (!text) {
    // Kept as refused while its size and write time stay: later reads neither read it again
    // nor tell the reason again.
    cache_->files[key] = {nullptr, stamp->size, stamp->lastWrite, 0, path};
    return nullptr;
  }
  auto document = std::make_shared<IniDocument>(IniDocument::parse(*text));
  cache_->files[key] = {document, stamp->size, stamp->lastWrite, 0, path};
  return document;
}

bool IniProfile::save(const std::string& path, const std::shared_ptr<IniDocument>& document) {
  // The file system writes the whole file in one step where it can; otherwise the new text
  // goes to a temporary file beside the old one and is then moved over it. Either way a
  // crash or a full disk leaves the old or the new file, never a part.
  std::optional<FileStatus> old = files_.status(path);
  if (old && (old->isDirectory() || (old->attributes & attr::ReadOnly))) return false;
  std::string text = document->text();
  if (std::optional<bool> replaced = files_.replaceWholeFile(path, text)) {
    if (!*replaced) {
      cache_->files.erase(upper(path));
      return false;
    }
  } else {
    std::string folder = folderOf(path);
    std::string temp;
    if (folder.empty() || files_.tempFileName(folder, "ini", 0, temp) == 0) return false;
    bool written = false;
    if (std::unique_ptr<File> file = files_.create(temp)) written = writeWhole(*file, text);
    if (!written || !replaceWith(temp, path, old.has_value())) {
      files_.deleteFile(temp);
      cache_->files.erase(upper(path));
      return false;
    }
  }
  if (std::optional<FileSystem::ChangeStamp> now = files_.changeStamp(path)) {
    cache_->files[upper(path)] = {document, now->size, now->lastWrite, 0, path};
  }
  return true;
}

bool IniProfile::replaceWith(const std::string& temp, const std::string& path, bool exists) {
  if (!exists) return files_.moveFile(temp, path);
  if (files_.replaceFile(temp, path)) return true;
  // A file system whose move does not replace an existing file: the old file is first
  // moved aside under a free temporary name and put back if the second move fails, so the
  // old contents survive under one name or the other at every moment.
  std::string aside;
  std::string folder = folderOf(path);
  if (files_.tempFileName(folder, "inb", 0, aside) == 0) return false;
  files_.deleteFile(aside);
  if (!files_.moveFile(path, aside)) return false;
  if (!files_.moveFile(temp, path)) {
    files_.moveFile(aside, path);
    return false;
  }
  files_.deleteFile(aside);
  return true;
}

std::string IniProfile::getString(const std::string& file,
                                  const std::optional<std::string>& section,
                                  const std::optional<std::string>& key, const std::string& def,
                                  std::size_t size) {
  std::string path = locate(file);
  std::shared_ptr<const IniDocument> document = path.empty() ? nullptr : load(path);
  if (!section) {
    // The section list: empty for a missing file, never the default.
    return document ? fitList(document->sectionNames(), size) : std::string();
  }
  if (!key) {
    // The key list; a missing or empty section gives the default instead (its quotes
    // removed, its blanks kept), and so does a list whose first key has an empty name (the
    // buffer would begin with its end mark).
    std::vector<std::string> names;
    if (document) names = document->keyNames(*section);
    if (names.empty() || names.front().empty()) return fitValue(unquote(def), size);
    return fitList(names, size);
  }
  std::optional<std::string> value = document ? document->value(*section, *key) : std::nullopt;
  return fitValue(value ? *value : keyDefault(def), size);
}

int IniProfile::getInt(const std::string& file, const std::string& section,
                       const std::string& key, int def) {
  // A missing key and an empty value give the default; any other text is read as a
  // number, so a value without digits gives 0.
  std::string path = locate(file);
  std::shared_ptr<const IniDocument> document = path.empty() ? nullptr : load(path);
  std::optional<std::string> value = document ? document->value(section, key) : std::nullopt;
  if (!value || value->empty()) return def;
  return readProfileInt(*value);
}

bool IniProfile::writeString(const std::string& file, const std::string& section,
                             const std::optional<std::string>& key,
                             const std::optional<std::string>& value) {
  // A line break inside a name or a value would write extra lines (even whole sections)
  // into the file; such a write is refused instead of being made as Windows would.
  auto breaksLine = [](const std::optional<std::string>& text) {
    return text && text->find_first_of("\r\n") != std::string::npos;
  };
  if (breaksLine(section) || breaksLine(key) || breaksLine(value)) return false;
  std::string path = locate(file);
  if (path.empty()) return false;
  if (gathering_) return edit(path, section, key, value);
  if (!lockFiles()) return false;
  bool written = edit(path, section, key, value);
  unlockFiles();
  return written;
}

bool IniProfile::lockFiles() {
  if (!lock_) return true;
  if (!lock_->acquire()) return false;
  // A file another process replaced may keep its size and write time (the clock of file
  // times is coarse): what was parsed before then is read again.
  if (lock_->othersHeldIt()) {
    for (auto it = cache_->files.begin(); it != cache_->files.end();) {
      it = it->second.unsaved > 0 ? std::next(it) : cache_->files.erase(it);
    }
  }
  return true;
}

void IniProfile::unlockFiles() {
  if (lock_) lock_->release();
}

bool IniProfile::edit(const std::string& path, const std::string& section,
                      const std::optional<std::string>& key, const std::optional<std::string>& value) {
  // The cached document is edited in place; a failed save drops it from the cache, so the
  // next read parses the file as it is on disk.
  if (gathering_) {
    // Refused at once, as the write back would be.
    std::optional<FileStatus> status = files_.status(path);
    if (status && (status->isDirectory() || (status->attributes & attr::ReadOnly))) return false;
  }
  // A write starts from the file as it is now, never from a look taken before: another
  // program's change since then is kept.
  cache_->looked.erase(upper(path));
  std::shared_ptr<IniDocument> document = load(path);
  if (!document && files_.status(path)) return false;  // present but unreadable
  if (!document) document = std::make_shared<IniDocument>(IniDocument::parse(""));
  bool changed = !key     ? document->removeSection(section)
                 : !value ? document->removeKey(section, *key)
                          : document->set(section, *key, *value);
  if (!changed) return true;  // nothing to change
  if (gathering_) {
    // Written back once the edits held reach a thirty-second of the file's lines: a small
    // file at every edit, a large one often enough that the copies written add up to a
    // few times its final size.
    Cache::Entry& entry = cache_->files[upper(path)];
    entry.document = document;
    entry.path = path;
    if (++entry.unsaved * 32 < document->lineCount() || holding_) return true;
  }
  if (save(path, document)) return true;
  cache_->files.erase(upper(path));
  return false;
}

void IniProfile::beginLook(const std::string& file) {
  std::string path = locate(file);
  cache_->looks.emplace_back(file, path.empty() ? std::string() : upper(path));
}

void IniProfile::endLook(const std::string& file) {
  auto& looks = cache_->looks;
  auto last = std::find_if(looks.rbegin(), looks.rend(),
                           [&](const auto& look) { return look.first == file; });
  if (last == looks.rend()) return;
  std::string key = last->second;
  looks.erase(std::next(last).base());
  if (!cache_->inLook(key)) cache_->looked.erase(key);
}

void IniProfile::settleLooks() { cache_->looked.clear(); }

void IniProfile::gatherWrites() {
  // The run holds the lock to its end; without it each write takes the lock on its own.
  if (!gathering_ && lockFiles()) gathering_ = true;
}

void IniProfile::holdWrites() {
  gatherWrites();
  holding_ = gathering_;
}

bool IniProfile::flush() {
  holding_ = false;
  if (!gathering_) return true;
  gathering_ = false;
  std::vector<std::string> held;
  for (const auto& [key, entry] : cache_->files) {
    if (entry.unsaved > 0) held.push_back(entry.path);
  }
  bool saved = true;
  for (const std::string& path : held) {
    std::string key = upper(path);
    if (save(path, cache_->files[key].document)) continue;
    cache_->files.erase(key);
    saved = false;
  }
  unlockFiles();
  return saved;
}

std::string IniProfile::getProfileString(const std::optional<std::string>& section,
                                         const std::optional<std::string>& key,
                                         const std::string& def, std::size_t size) {
  return getString(winIni(), section, key, def, size);
}

bool IniProfile::writeProfileString(const std::string& section,
                                    const std::optional<std::string>& key,
                                    const std::optional<std::string>& value) {
  return writeString(winIni(), section, key, value);
}

std::string IniProfile::winIni() const {
  std::string folder = windowsFolder_ ? windowsFolder_() : std::string();
  if (folder.empty()) return {};
  return folder.back() == '\\' ? folder + "WIN.INI" : folder + "\\WIN.INI";
}

}  // namespace vandrel::platform
