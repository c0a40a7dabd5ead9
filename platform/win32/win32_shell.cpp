// Special folders and shortcut files through the shell and COM.
#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/win32_com.h"

#include <vector>

namespace vandrel::platform::win32 {

namespace {

bool makeShellLink(Held<IShellLinkA>& link) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link.p)));
}

}  // namespace

Win32Shell::Win32Shell() : comStarted_(SUCCEEDED(CoInitialize(nullptr))) {}

Win32Shell::~Win32Shell() {
  if (comStarted_) CoUninitialize();
}

std::optional<std::string> Win32Shell::specialFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return std::nullopt;
  char path[MAX_PATH];
  bool found = SHGetPathFromIDListA(items, path) != 0;
  CoTaskMemFree(items);  // what SHGetMalloc's allocator frees
  if (!found || !*path) return std::nullopt;
  return std::string(path);
}

bool Win32Shell::createShortcut(const std::string& linkPath, const ShellLink& link) {
  Held<IShellLinkA> shellLink;
  if (!makeShellLink(shellLink)) return false;
  shellLink->SetPath(link.target.c_str());
  if (!link.arguments.empty()) shellLink->SetArguments(link.arguments.c_str());
  if (!link.workingDirectory.empty()) shellLink->SetWorkingDirectory(link.workingDirectory.c_str());
  if (!link.description.empty()) shellLink->SetDescription(link.description.c_str());
  if (!link.iconLocation.empty()) shellLink->SetIconLocation(link.iconLocation.c_str(), link.iconIndex);
  shellLink->SetShowCmd(link.showCommand);
  Held<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
    return false;
  return SUCCEEDED(file->Save(wide(linkPath).c_str(), TRUE));
}

std::optional<ShellLink> readShortcut(const std::string& linkPath) {
  ComScope com;
  Held<IShellLinkA> shellLink;
  if (!makeShellLink(shellLink)) return std::nullopt;
  Held<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) ||
      FAILED(file->Load(wide(linkPath).c_str(), STGM_READ)))
    return std::nullopt;
  ShellLink link;
  std::vector<char> text(1024);
  auto take = [&](std::string& out) { out = text.data(); };
  WIN32_FIND_DATAA found;
  if (SUCCEEDED(shellLink->GetPath(text.data(), int(text.size()), &found, SLGP_RAWPATH))) take(link.target);
  if (SUCCEEDED(shellLink->GetArguments(text.data(), int(text.size())))) take(link.arguments);
  if (SUCCEEDED(shellLink->GetWorkingDirectory(text.data(), int(text.size())))) take(link.workingDirectory);
  if (SUCCEEDED(shellLink->GetDescription(text.data(), int(text.size())))) take(link.description);
  int icon = 0;
  if (SUCCEEDED(shellLink->GetIconLocation(text.data(), int(text.size()), &icon))) {
    take(link.iconLocation);
    link.iconIndex = icon;
  }
  int show = 0;
  if (SUCCEEDED(shellLink->GetShowCmd(&show))) link.showCommand = show;
  return link;
}

}  // namespace vandrel::platform::win32
