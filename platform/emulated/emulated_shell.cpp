// Special folders and shortcut files of the emulated machine.
#include "platform/emulated/emulated_shell.h"

#include "platform/code_page.h"
#include "platform/formats/shell_link.h"

namespace vandrel::platform::emulated {

namespace {

struct ShellFolder {
  int csidl;
  HKey root;
  const char* value;
};

constexpr ShellFolder kShellFolders[] = {
    {csidl::Programs, hkey::CurrentUser, "Programs"},
    {csidl::Favorites, hkey::CurrentUser, "Favorites"},
    {csidl::Startup, hkey::CurrentUser, "Startup"},
    {csidl::StartMenu, hkey::CurrentUser, "Start Menu"},
    {csidl::DesktopDirectory, hkey::CurrentUser, "Desktop"},
    {csidl::CommonStartMenu, hkey::LocalMachine, "Common Start Menu"},
    {csidl::CommonPrograms, hkey::LocalMachine, "Common Programs"},
    {csidl::CommonStartup, hkey::LocalMachine, "Common Startup"},
    {csidl::CommonDesktopDirectory, hkey::LocalMachine, "Common Desktop"},
};

}  // namespace

bool shellFolderValue(int csidl, HKey& root, std::string& valueName) {
  for (const ShellFolder& f : kShellFolders) {
    if (f.csidl != csidl) continue;
    root = f.root;
    valueName = f.value;
    return true;
  }
  return false;
}

std::optional<std::string> EmulatedShell::specialFolder(int csidl) {
  HKey root = 0;
  std::string name;
  if (!shellFolderValue(csidl, root, name)) return std::nullopt;
  HKey key = 0;
  if (registry_.openKey(root, kShellFoldersKey, key) != error::Success) return std::nullopt;
  std::string folder;
  long rc = registry_.queryString(key, name, folder);
  registry_.closeKey(key);
  if (rc != error::Success || folder.empty()) return std::nullopt;
  return folder;
}

bool EmulatedShell::createShortcut(const std::string& linkPath, const ShellLink& link) {
  // IShellLinkA takes code page text; the file holds the characters it stands for (the
  // writer takes UTF-8), so that Windows finds a target named with "é" or "’".
  ShellLink characters = link;
  for (std::string* text : {&characters.target, &characters.arguments, &characters.workingDirectory,
                            &characters.description, &characters.iconLocation}) {
    *text = cp1252ToUtf8(*text);
  }
  // With the relative path Windows writes.
  Bytes bytes = encodeShellLink(characters, cp1252ToUtf8(files_.fullPath(linkPath)));
  auto file = files_.create(linkPath);
  if (!file) return false;
  if (file->write(bytes.data(), bytes.size()) == std::int64_t(bytes.size())) return true;
  file.reset();
  files_.deleteFile(linkPath);  // no half-written shortcut stays behind
  return false;
}

}  // namespace vandrel::platform::emulated
