// The in-memory machine of the tests: its fresh state and its recording shell.
#include "tests/support/memory_machine.h"

#include "platform/file_version_info.h"
#include "platform/formats/shell_link.h"
#include "platform/ini/ini_profile.h"
#include "platform/lz_library.h"

namespace vandrel::test {

std::optional<std::string> MemoryShell::specialFolder(int csidl) {
  auto folder = folders.find(csidl);
  if (folder == folders.end()) return std::nullopt;
  return folder->second;
}

bool MemoryShell::createShortcut(const std::string& linkPath, const platform::ShellLink& link) {
  if (refused_.count(linkPath)) return false;
  platform::Bytes bytes = platform::encodeShellLink(link, linkPath);
  std::unique_ptr<platform::File> file = files_.create(linkPath);
  if (!file) return false;
  if (file->write(bytes.data(), bytes.size()) != std::int64_t(bytes.size())) {
    file.reset();
    files_.deleteFile(linkPath);
    return false;
  }
  created.push_back(linkPath);
  return true;
}

MemoryMachine::MemoryMachine(Kind kind) : registry_(kind == Kind::NT), shell_(files_) {
  if (kind == Kind::NT) {
    system_.os = {4, 0, 1381, platform::platform_id::NT};
    system_.systemFolder = "C:\\WINDOWS\\SYSTEM32";
  }
  profile_ = std::make_unique<platform::IniProfile>(
      files_, [system = &system_] { return system->windowsDirectory(); });
  lz_ = std::make_unique<platform::LzLibrary>(files_);
  versionInfo_ = std::make_unique<platform::FileVersionInfo>(files_);

  const std::string windows = system_.windowsFolder;
  namespace csidl = platform::csidl;
  shell_.folders = {{csidl::StartMenu, windows + "\\Start Menu"},
                    {csidl::Programs, windows + "\\Start Menu\\Programs"},
                    {csidl::Startup, windows + "\\Start Menu\\Programs\\StartUp"},
                    {csidl::DesktopDirectory, windows + "\\Desktop"}};
  files_.makeDirectories(system_.systemFolder);
  for (const auto& [id, folder] : shell_.folders) files_.makeDirectories(folder);
  files_.makeDirectories("C:\\Program Files");
  files_.writeFile(windows + "\\WIN.INI", "[windows]\r\n");

  const std::string currentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
  for (const char* sub : {"SharedDLLs", "Run", "RunOnce", "Uninstall"}) {
    platform::HKey key = 0;
    registry_.createKey(platform::hkey::LocalMachine, currentVersion + "\\" + sub, key);
    registry_.closeKey(key);
  }
}

MemoryMachine::~MemoryMachine() = default;

}  // namespace vandrel::test
