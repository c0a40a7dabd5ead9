// Finding the installations of an application and reading what their installed scripts record.
#include "setup/upgrade/earlier_installation.h"

#include <cctype>
#include <map>

#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/removal_marks.h"
#include "script/schema.h"

namespace vandrel::setup {
namespace {

using script::Section;

const char* const kScriptName = "Script.vrx";
const char* const kUninstallerName = "peskin32.exe";

// The whole values of a counted section of the setup's own ([SharedFiles], [AddedLinks],
// [AddedFolders]), empty ones left out.
std::vector<std::string> pathList(const script::ScriptReader& script, Section section) {
  std::vector<std::string> paths;
  int count = script.count(section);
  for (int i = 0; i < count; ++i) {
    std::string path = script.text(section, std::to_string(i));
    if (!path.empty()) paths.push_back(normalPath(path));
  }
  return paths;
}

std::vector<std::string> lines(const script::ScriptReader& script, Section section) {
  std::vector<std::string> found;
  int count = script.count(section);
  for (int i = 0; i < count; ++i) {
    std::string line = script.text(section, std::to_string(i));
    if (!line.empty()) found.push_back(line);
  }
  return found;
}

std::string directoryOf(const script::ScriptReader& script, const script::DirectoryContext& context,
                        long key) {
  return normalPath(script::resolveDirectoryUninstall(
      script.text(Section::Directories, std::to_string(key)), context));
}

// The files the uninstaller deletes: [Files] entries with the uninstall flag, from entry 1
// (entry 0, the uninstaller itself, is never deleted).
std::vector<std::string> removedFiles(const script::ScriptReader& script,
                                      const script::DirectoryContext& context) {
  std::vector<std::string> files;
  int count = script.count(Section::Files);
  for (int i = 1; i < count; ++i) {
    std::string line = script.text(Section::Files, std::to_string(i));
    if (line.empty()) continue;
    auto entry = script::readEntry<script::FileEntry>(line);
    if (script::readInt(entry.uninstall.text("1")) == 0) continue;
    std::string folder = directoryOf(script, context, script::readInt(entry.dir.text("0")));
    files.push_back(normalPath(folder + "\\" + entry.target.text("dummy.tmp")));
  }
  return files;
}

// The author's folders (entries 0 to nbDir-5; nbDir-4 is the installation folder, the last
// three the drive, System and Windows folders, which no removal touches).
std::vector<std::string> authorFolders(const script::ScriptReader& script,
                                       const script::DirectoryContext& context) {
  std::vector<std::string> folders;
  int count = script.count(Section::Directories);
  for (int k = 0; k + 4 < count; ++k) {
    std::string folder = directoryOf(script, context, k);
    if (!samePath(folder, context.installFolder)) folders.push_back(folder);
  }
  return folders;
}

std::optional<std::string> registryString(platform::Registry& registry, platform::HKey key,
                                          const std::string& name) {
  std::string value;
  if (registry.queryString(key, name, value) != platform::error::Success) return std::nullopt;
  return value;
}

// The registrations below the uninstall key, with the command each holds.
std::vector<std::pair<std::string, std::string>> registrations(platform::Registry& registry) {
  std::vector<std::pair<std::string, std::string>> found;
  platform::HKey root = 0;
  if (registry.openKey(platform::hkey::LocalMachine, kUninstallKey, root) != platform::error::Success) {
    return found;
  }
  std::string name;
  for (std::uint32_t i = 0; registry.enumKey(root, i, name) == platform::error::Success; ++i) {
    platform::HKey key = 0;
    if (registry.openKey(root, name, key) != platform::error::Success) continue;
    std::optional<std::string> command = registryString(registry, key, "UninstallString");
    registry.closeKey(key);
    if (command) found.emplace_back(name, *command);
  }
  registry.closeKey(root);
  return found;
}

// The counts a removal of the installation released before it was stopped, each with the file
// of the records its mark names (the mark's own spelling when none of them does).
std::vector<ReleasedCount> releasedCounts(platform::Machine& machine, const std::string& folder,
                                          const std::string& scriptPath, const InstalledRecords& records) {
  std::vector<ReleasedCount> released;
  std::vector<script::RemovalMark> marks =
      script::removalMarksOf(machine.registry(), machine.profile(), folder, scriptPath);
  if (marks.empty()) return released;
  std::map<std::string, std::string> recorded;  // file as marked -> path as recorded
  for (const auto* paths : {&records.sharedFiles, &records.files}) {
    for (const std::string& path : *paths) recorded.emplace(script::removalMarkFile(machine.files(), path), path);
  }
  for (const script::RemovalMark& mark : marks) {
    auto found = recorded.find(mark.file);
    released.push_back({mark.name, found != recorded.end() ? found->second : mark.file});
  }
  return released;
}

}  // namespace

std::string normalPath(const std::string& path) {
  std::string result;
  for (char c : path) {
    if (c == '\\' && !result.empty() && result.back() == '\\') continue;
    result += c;
  }
  while (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

bool samePath(const std::string& a, const std::string& b) {
  return text::equalsNoCase(normalPath(a), normalPath(b));
}

InstalledRecords readInstalledRecords(platform::Profile& profile, const std::string& scriptPath,
                                      const script::DirectoryContext& context) {
  script::ScriptReader script(profile, scriptPath);
  InstalledRecords records;
  records.files = removedFiles(script, context);
  records.sharedFiles = pathList(script, Section::SharedFiles);
  records.links = pathList(script, Section::AddedLinks);
  records.groupFolders = pathList(script, Section::AddedFolders);
  records.folders = authorFolders(script, context);
  records.iniLines = lines(script, Section::AddIni);
  records.registryLines = lines(script, Section::Registry);
  return records;
}

std::optional<std::string> folderOfUninstallCommand(const std::string& command) {
  std::string lower = command;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::size_t at = lower.find(std::string(kUninstallerName) + " ");
  if (at == std::string::npos) return std::nullopt;
  const std::string rest = command.substr(at + std::string(kUninstallerName).size());
  std::string folder(text::trim(rest, " \t\""));
  if (folder.empty()) return std::nullopt;
  return normalPath(folder);
}

std::vector<EarlierInstallation> findInstallations(platform::Machine& machine,
                                                   const std::string& windowsFolder,
                                                   const std::string& appName) {
  std::vector<EarlierInstallation> found;
  for (const auto& [name, command] : registrations(machine.registry())) {
    std::optional<std::string> folder = folderOfUninstallCommand(command);
    if (!folder) continue;
    const std::string scriptPath = *folder + "\\" + kScriptName;
    std::optional<platform::FileStatus> status = machine.files().status(scriptPath);
    if (!status || status->isDirectory()) continue;
    script::ScriptReader script(machine.profile(), scriptPath);
    if (!text::equalsNoCase(script.text(Section::Settings, script::key::AppName), appName)) continue;
    EarlierInstallation* same = nullptr;
    for (EarlierInstallation& known : found) {
      if (samePath(known.folder, *folder)) same = &known;
    }
    if (same) {
      same->registrations.push_back(name);
      continue;
    }
    EarlierInstallation installation;
    installation.folder = *folder;
    installation.registrations.push_back(name);
    installation.version = script.text(Section::Settings, script::key::Ver);
    script::DirectoryContext context;
    context.installFolder = *folder;
    context.windowsFolder = windowsFolder;
    installation.records = readInstalledRecords(machine.profile(), scriptPath, context);
    installation.releasedCounts = releasedCounts(machine, *folder, scriptPath, installation.records);
    found.push_back(std::move(installation));
  }
  return found;
}

}  // namespace vandrel::setup
