// Reading and writing machine.ini.
#include "platform/emulated/machine_config.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/text/text_rules.h"
#include "platform/text/windows_path.h"
#include "platform/bounded_read.h"
#include "platform/ini/ini_document.h"
#include "platform/machine.h"

namespace vandrel::platform::emulated {

namespace {

std::string readText(const std::filesystem::path& file) {
  std::string reason;
  std::optional<std::string> text = readHostFileBounded(file, kTextFileLimit, &reason);
  if (!text) {
    throw MachineError("cannot read " + file.string() + " (it " + reason +
                       "): the machine root is missing or damaged");
  }
  return std::move(*text);
}

// Decimal or 0x-prefixed hexadecimal, nothing else.
std::optional<std::uint64_t> parseNumber(const std::string& text) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  int base = 10;
  std::string digits = text;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    digits = text.substr(2);
  }
  if (digits.empty() || digits[0] == '-' || digits[0] == '+' || digits[0] == ' ') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  unsigned long long value = std::strtoull(digits.c_str(), &end, base);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return value;
}

class Reader {
 public:
  Reader(const IniDocument& doc, const std::filesystem::path& file) : doc_(doc), file_(file) {}

  std::string text(const char* section, const char* key) const {
    auto value = doc_.value(section, key);
    if (!value || value->empty())
      throw MachineError(file_.string() + ": [" + section + "] " + key + " is missing");
    return *value;
  }
  std::uint64_t number(const char* section, const char* key, std::uint64_t max) const {
    std::string value = text(section, key);
    auto n = parseNumber(value);
    if (!n || *n > max)
      throw MachineError(file_.string() + ": [" + section + "] " + key + "=" + value + " is not a valid number");
    return *n;
  }

 private:
  const IniDocument& doc_;
  std::filesystem::path file_;
};

DriveMapping parseDrive(const std::filesystem::path& root, const std::filesystem::path& file,
                        const std::string& letter, const std::string& value) {
  if (letter.size() != 1 || !std::isalpha(static_cast<unsigned char>(letter[0])))
    throw MachineError(file.string() + ": [Drives] " + letter + " is not a drive letter");
  DriveMapping drive;
  drive.letter = text::toUpper(letter)[0];
  std::string folder = value.substr(0, value.find(','));
  while (!folder.empty() && folder.back() == ' ') folder.pop_back();
  if (folder.empty()) throw MachineError(file.string() + ": [Drives] " + letter + " names no folder");
  std::size_t pos = folder.size();
  while (pos < value.size()) {
    std::size_t next = value.find(',', pos + 1);
    std::string option = value.substr(pos + 1, next == std::string::npos ? std::string::npos : next - pos - 1);
    while (!option.empty() && option.front() == ' ') option.erase(0, 1);
    while (!option.empty() && option.back() == ' ') option.pop_back();
    if (text::equalsNoCase(option, "readonly")) drive.readOnly = true;
    else if (!option.empty() && !text::equalsNoCase(option, "readwrite"))
      throw MachineError(file.string() + ": [Drives] " + letter + ": unknown option \"" + option + "\"");
    pos = next == std::string::npos ? value.size() : next;
  }
  std::filesystem::path host(folder);
  drive.host = (host.is_absolute() ? host : root / host).lexically_normal();
  std::string text = drive.host.string();
  if (text.size() > 1 && text.back() == '/') drive.host = text.substr(0, text.size() - 1);
  return drive;
}

}  // namespace

MachineConfig loadMachineConfig(const std::filesystem::path& root) {
  const std::filesystem::path file = root / "machine.ini";
  IniDocument doc = IniDocument::parse(readText(file));
  Reader r(doc, file);
  MachineConfig config;
  config.root = root;
  // Any platform identifier the version query can report, also one that no program here
  // knows, so that a machine can stand for such a system.
  config.platform = std::uint32_t(r.number("System", "Platform", 0xFFFFFFFF));
  config.major = std::uint32_t(r.number("System", "Major", 0xFFFF));
  config.minor = std::uint32_t(r.number("System", "Minor", 0xFFFF));
  config.build = std::uint32_t(r.number("System", "Build", 0xFFFFFFFF));
  config.architecture = std::uint16_t(r.number("System", "Architecture", 0xFFFF));
  config.processorType = std::uint32_t(r.number("System", "ProcessorType", 0xFFFFFFFF));
  config.userName = r.text("System", "UserName");
  config.languageId = std::uint16_t(r.number("System", "LanguageId", 0xFFFF));
  config.windowsDir = r.text("System", "WindowsDir");
  config.systemDir = r.text("System", "SystemDir");
  config.totalMemory = r.number("System", "TotalMemory", ~std::uint64_t(0));
  for (const std::string& key : doc.keyNames("Drives"))
    config.drives.push_back(parseDrive(root, file, key, doc.value("Drives", key).value_or("")));
  bool hasC = false;
  for (const auto& d : config.drives) hasC = hasC || d.letter == 'C';
  if (!hasC) throw MachineError(file.string() + ": [Drives] C is missing");
  for (const std::string& key : doc.keyNames("FreeSpace")) {
    if (key.size() != 1) continue;
    if (auto n = parseNumber(doc.value("FreeSpace", key).value_or("")))
      config.freeSpace[text::toUpper(key)[0]] = *n;
    else
      throw MachineError(file.string() + ": [FreeSpace] " + key + " is not a valid number");
  }
  for (const std::string& key : doc.keyNames("Programs")) {
    std::string program = doc.value("Programs", key).value_or("");
    if (!program.empty()) config.programs[text::toUpper(key)] = program;
  }
  config.restartPending = doc.value(kStateSection, kRestartPendingKey).value_or("0") == "1";
  for (const auto& [key, dir] : {std::pair{"WindowsDir", &config.windowsDir}, std::pair{"SystemDir", &config.systemDir}}) {
    auto win = text::resolveWindowsPath(*dir, text::WinPath{});
    bool mapped = false;
    for (const auto& d : config.drives) mapped = mapped || (win && d.letter == win->drive);
    if (!mapped)
      throw MachineError(file.string() + ": [System] " + key + "=" + *dir + " is not a folder on a drive of the machine");
  }
  return config;
}

std::string machineIniText(const MachineConfig& c) {
  std::ostringstream out;
  char language[8];
  std::snprintf(language, sizeof language, "0x%04X", c.languageId);
  out << "[System]\n"
      << "; Platform: 0 Win32s, 1 Windows 95/98, 2 Windows NT\n"
      << "Platform=" << c.platform << "\nMajor=" << c.major << "\nMinor=" << c.minor
      << "\nBuild=" << c.build << "\n"
      << "; Architecture: 0 Intel; any other number another processor family\n"
      << "Architecture=" << c.architecture << "\n"
      << "; ProcessorType: 386, 486 or 586\n"
      << "ProcessorType=" << c.processorType << "\nUserName=" << c.userName << "\n"
      << "; LanguageId: the user's default language\n"
      << "LanguageId=" << language << "\nWindowsDir=" << c.windowsDir
      << "\nSystemDir=" << c.systemDir << "\nTotalMemory=" << c.totalMemory << "\n"
      << "[Drives]\n"
      << "; a folder relative to the machine root or an absolute host folder, then options\n"
      << "C=drive_c\n"
      << "Z=/,readonly\n"
      << "[FreeSpace]\n"
      << "; optional: bytes free reported for a drive (else the host's figure)\n"
      << "; C=524288000\n"
      << "[Programs]\n"
      << "; optional: host programs that WinExec may start, by file name\n"
      << "; notepad.exe=/usr/bin/true\n";
  return out.str();
}

namespace {

// Whether the file open as fd is still the one path names.
bool stillNamed(int fd, const std::filesystem::path& path) {
  struct stat opened {}, named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// Removes the new copies of machine.ini that writers killed before their rename left beside
// it. A writer holds a lock on its copy until it is renamed, so a copy whose lock can be taken
// has no writer any more; process ids would say nothing (they are reused, and a program in a
// process table of its own has another).
void clearLeftCopies(const std::filesystem::path& file) {
  std::error_code ec;
  const std::string prefix = file.filename().string() + ".new.";
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ec)) {
    if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
    int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, entry.path())) ::unlink(entry.path().c_str());
    ::close(fd);
  }
}

// Makes temp, a new copy of machine.ini, held locked (see clearLeftCopies); -1 when it cannot.
int makeLockedCopy(const std::filesystem::path& temp) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return -1;
    // Taken for a left copy and removed between the open and the lock: made again.
    if (::flock(fd, LOCK_EX) == 0 && stillNamed(fd, temp)) return fd;
    ::close(fd);
  }
  return -1;
}

bool writeWhole(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

}  // namespace

void writeMachineIniValue(const std::filesystem::path& root, const std::string& section,
                          const std::string& key, const std::optional<std::string>& value) {
  const std::filesystem::path file = root / "machine.ini";
  IniDocument doc = IniDocument::parse(readText(file));
  if (value) doc.set(section, key, *value);
  else doc.removeKey(section, key);
  clearLeftCopies(file);
  std::filesystem::path temp = file;
  temp += ".new." + std::to_string(getpid());
  std::error_code ec;
  int fd = makeLockedCopy(temp);
  if (fd < 0 || !writeWhole(fd, doc.text())) {
    if (fd >= 0) ::close(fd);
    std::filesystem::remove(temp, ec);
    throw MachineError("cannot write " + file.string());
  }
  // Renamed while still locked, so no other program takes it for a left copy meanwhile.
  std::filesystem::rename(temp, file, ec);
  ::close(fd);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw MachineError("cannot replace " + file.string() + ": " + ec.message());
  }
}

}  // namespace vandrel::platform::emulated
