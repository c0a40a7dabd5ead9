// The state a package can leave on a machine, as text lines that compare between layouts.
#include "tools/state/state_dump.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

#include "platform/emulated/registry/key_names.h"
#include "platform/formats/shell_link.h"
#include "platform/text/text_rules.h"

namespace vandrel::state {

namespace {

using platform::Machine;

// Files up to this size without a zero byte or a program header are shown line by line.
constexpr std::size_t kTextLimit = 64 * 1024;
// FILE_ATTRIBUTE_REPARSE_POINT: a symbolic link or junction.
constexpr std::uint32_t kReparsePoint = 0x400;
// Trees are walked this deep at most, so that a loop of links cannot walk them forever.
constexpr int kTreeDepth = 16;
// A state larger than this is not a package's: a link the walk followed leads elsewhere.
constexpr std::size_t kLineLimit = 200000;
// Enough for the section and key lists of any win.ini a package leaves.
constexpr std::size_t kProfileBuffer = 1 << 20;

std::optional<std::string> readWhole(platform::FileSystem& files, const std::string& path) {
  std::unique_ptr<platform::File> file = files.open(path, platform::OpenMode::Read);
  if (!file) return std::nullopt;
  std::string contents;
  char block[65536];
  while (true) {
    std::int64_t count = file->read(block, sizeof block);
    if (count < 0) return std::nullopt;
    if (count == 0) return contents;
    contents.append(block, std::size_t(count));
  }
}

// 64-bit FNV-1a: enough to tell whether two files of one test run are the same.
std::string digest(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

bool looksLikeText(const std::string& bytes) {
  return bytes.size() <= kTextLimit && bytes.find('\0') == std::string::npos &&
         bytes.rfind("MZ", 0) != 0 && bytes.rfind("\x7f" "ELF", 0) != 0;
}

std::vector<std::string> splitZeros(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) names.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string hexBytes(const platform::Bytes& data) {
  std::string out = "hex:";
  char pair[4];
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(pair, sizeof pair, i ? ",%02x" : "%02x", data[i]);
    out += pair;
  }
  return out;
}

std::string valueText(std::uint32_t type, const platform::Bytes& data) {
  namespace regtype = platform::regtype;
  if ((type == regtype::Sz || type == regtype::ExpandSz) && !data.empty() && data.back() == 0) {
    std::string text(data.begin(), data.end() - 1);
    if (text.find('\0') == std::string::npos)
      return (type == regtype::Sz ? "REG_SZ \"" : "REG_EXPAND_SZ \"") + text + "\"";
  }
  if (type == regtype::Dword && data.size() == 4) {
    std::uint32_t value = data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t(data[3]) << 24;
    return "REG_DWORD " + std::to_string(value);
  }
  return "type " + std::to_string(type) + " " + hexBytes(data);
}

class Describer {
 public:
  Describer(Machine& machine, const StateRequest& request, const LinkReader& readLink)
      : machine_(machine),
        readLink_(readLink),
        layout_(layoutFolders(machine)),
        skipBlankLines_(request.skipBlankLines) {
    for (const auto& [label, path] : request.sameAs) {
      if (std::optional<std::string> contents = readWhole(machine.files(), path))
        sameAs_.emplace_back(label, *contents);
    }
  }

  // depth: how many levels below path are described too; without contents, files are shown
  // by name and size only.
  void folder(const std::string& path, int depth, bool contents = true) {
    if (lines_.size() > kLineLimit) {
      throw std::runtime_error("more than " + std::to_string(kLineLimit) + " lines at " + path +
                               ": a folder there may lead back up or over the whole host");
    }
    for (const platform::FindData& found : machine_.files().find(path + "\\*.*")) {
      if (found.name == "." || found.name == "..") continue;
      std::string full = path + "\\" + found.name;
      if (found.status.isDirectory()) {
        // A folder that leads elsewhere (a user folder Wine links to the host's home, say)
        // is named, not walked: it may lead back up or over the whole host.
        if (found.status.attributes & kReparsePoint) {
          add("folder " + full + ": a link, not followed");
        } else {
          add("folder " + full);
          if (depth > 0) folder(full, depth - 1, contents);
        }
      } else if (contents) {
        file(full);
      } else {
        add("file " + full + ": " + std::to_string(found.status.size) + " bytes");
      }
    }
  }

  void winIni() {
    platform::Profile& profile = machine_.profile();
    for (const std::string& section :
         splitZeros(profile.getProfileString(std::nullopt, std::nullopt, "", kProfileBuffer))) {
      for (const std::string& key :
           splitZeros(profile.getProfileString(section, std::nullopt, "", kProfileBuffer))) {
        add("ini [" + section + "] " + key + "=" +
            profile.getProfileString(section, key, "", kProfileBuffer));
      }
    }
  }

  void key(const std::string& path) {
    std::size_t slash = path.find('\\');
    auto root = platform::emulated::findRoot(path.substr(0, slash));
    if (!root) return;
    std::string sub = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    platform::HKey handle = 0;
    if (machine_.registry().openKey(root->key, sub, handle) != platform::error::Success) return;
    keyTree(handle, sub.empty() ? root->name : std::string(root->name) + "\\" + sub);
    machine_.registry().closeKey(handle);
  }

  std::vector<std::string> lines() const { return {lines_.begin(), lines_.end()}; }

 private:
  void add(std::string line) {
    for (const auto& [path, name] : layout_) {
      std::string folded = text::toUpper(line), foldedPath = text::toUpper(path);
      std::size_t at = 0;
      while ((at = folded.find(foldedPath, at)) != std::string::npos) {
        line.replace(at, path.size(), name);
        folded.replace(at, path.size(), name);
        at += name.size();
      }
    }
    lines_.insert(std::move(line));
  }

  void file(const std::string& path) {
    if (path.size() > 4 && text::equalsNoCase(path.substr(path.size() - 4), ".lnk")) return link(path);
    // win.ini is shown key by key (winIni()): how each system lays out its text differs.
    if (text::equalsNoCase(path, machine_.system().windowsDirectory() + "\\WIN.INI")) return;
    std::optional<std::string> contents = readWhole(machine_.files(), path);
    if (!contents) return add("file " + path + ": unreadable");
    for (const auto& [label, same] : sameAs_) {
      if (*contents == same) return add("file " + path + ": same as " + label);
    }
    if (!looksLikeText(*contents)) {
      return add("file " + path + ": " + std::to_string(contents->size()) + " bytes, digest " +
                 digest(*contents));
    }
    std::size_t number = 0, start = 0, crlf = 0, lf = 0;
    while (start < contents->size()) {
      std::size_t end = contents->find('\n', start);
      if (end == std::string::npos) end = contents->size();
      std::string line = contents->substr(start, end - start);
      if (end < contents->size()) ++(!line.empty() && line.back() == '\r' ? crlf : lf);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      start = end + 1;
      if (line.empty() && skipBlankLines_) continue;
      add("text " + path + ":" + std::to_string(++number) + ": " + line);
    }
    // The line ends are part of the contents: Windows writes text files with CR LF.
    const char* ends = lf == 0 ? (crlf == 0 ? "no line break" : "CR LF") : crlf == 0 ? "LF" : "mixed";
    add("file " + path + ": text, " + std::to_string(number) + " lines, " + ends);
  }

  void link(const std::string& path) {
    std::optional<platform::ShellLink> read = readLink_(path);
    if (!read) return add("link " + path + ": unreadable");
    add("link " + path + ": target " + read->target + " | arguments " + read->arguments +
        " | folder " + read->workingDirectory + " | icon " + read->iconLocation + "," +
        std::to_string(read->iconIndex) + " | description " + read->description + " | show " +
        std::to_string(read->showCommand));
  }

  void keyTree(platform::HKey handle, const std::string& path) {
    platform::Registry& registry = machine_.registry();
    add("key " + path);
    std::string name;
    std::uint32_t type = 0;
    platform::Bytes data;
    for (std::uint32_t i = 0; registry.enumValue(handle, i, name, type, data) == platform::error::Success; ++i)
      add("value " + path + ": " + (name.empty() ? "@" : name) + " " + valueText(type, data));
    std::vector<std::string> subkeys;
    for (std::uint32_t i = 0; registry.enumKey(handle, i, name) == platform::error::Success; ++i)
      subkeys.push_back(name);
    for (const std::string& subkey : subkeys) {
      platform::HKey child = 0;
      if (registry.openKey(handle, subkey, child) != platform::error::Success) continue;
      keyTree(child, path + "\\" + subkey);
      registry.closeKey(child);
    }
  }

  Machine& machine_;
  const LinkReader& readLink_;
  std::vector<std::pair<std::string, std::string>> layout_;  // folder, name; longest first
  std::vector<std::pair<std::string, std::string>> sameAs_;  // label, contents
  bool skipBlankLines_;
  std::set<std::string> lines_;
};

struct SpecialFolder {
  int csidl;
  const char* name;
};

constexpr SpecialFolder kSpecialFolders[] = {
    {platform::csidl::StartMenu, "%STARTMENU%"},
    {platform::csidl::Programs, "%PROGRAMS%"},
    {platform::csidl::Startup, "%STARTUP%"},
    {platform::csidl::DesktopDirectory, "%DESKTOP%"},
    {platform::csidl::Favorites, "%FAVORITES%"},
    {platform::csidl::CommonStartMenu, "%COMMON_STARTMENU%"},
    {platform::csidl::CommonPrograms, "%COMMON_PROGRAMS%"},
    {platform::csidl::CommonStartup, "%COMMON_STARTUP%"},
    {platform::csidl::CommonDesktopDirectory, "%COMMON_DESKTOP%"},
};

// The folders described with everything below them (the others lie inside these).
constexpr int kTreeFolders[] = {
    platform::csidl::StartMenu,       platform::csidl::DesktopDirectory,
    platform::csidl::Favorites,       platform::csidl::CommonStartMenu,
    platform::csidl::CommonDesktopDirectory,
};

}  // namespace

std::optional<platform::ShellLink> readLinkFile(platform::FileSystem& files, const std::string& path) {
  std::optional<std::string> contents = readWhole(files, path);
  if (!contents) return std::nullopt;
  return platform::decodeShellLink(platform::Bytes(contents->begin(), contents->end()));
}

std::vector<std::pair<std::string, std::string>> layoutFolders(Machine& machine) {
  std::vector<std::pair<std::string, std::string>> layout = {
      {machine.system().windowsDirectory(), "%WINDOWS%"},
      {machine.system().systemDirectory(), "%SYSTEM%"},
  };
  for (const SpecialFolder& special : kSpecialFolders) {
    if (std::optional<std::string> path = machine.shell().specialFolder(special.csidl))
      layout.emplace_back(*path, special.name);
  }
  std::stable_sort(layout.begin(), layout.end(), [](const auto& a, const auto& b) {
    return a.first.size() > b.first.size();
  });
  return layout;
}

std::vector<std::string> describeState(Machine& machine, const StateRequest& request,
                                       const LinkReader& readLink) {
  Describer describer(machine, request, readLink);
  describer.folder(machine.system().windowsDirectory(), 0);
  // Reading the whole system folder would cost more than the rest together (Wine's holds
  // hundreds of megabytes of libraries): a file put there or taken away still shows.
  describer.folder(machine.system().systemDirectory(), 0, false);
  for (int csidl : kTreeFolders) {
    if (std::optional<std::string> path = machine.shell().specialFolder(csidl))
      describer.folder(*path, kTreeDepth);
  }
  for (const std::string& tree : request.trees) describer.folder(tree, kTreeDepth);
  describer.winIni();
  for (const std::string& key : request.keys) describer.key(key);
  return describer.lines();
}

}  // namespace vandrel::state
