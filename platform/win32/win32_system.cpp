// System identity and control through the Windows system calls.
#include "platform/win32/win32_system.h"

#include <windows.h>

namespace vandrel::platform::win32 {

namespace {

constexpr WORD kArchitectureAmd64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64

std::string withoutTrailingBackslash(const char* folder, UINT length) {
  std::string text(folder, length);
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}

// NT systems restart only for a process holding the shutdown privilege; Windows 95/98 have no
// privileges and refuse the token calls, which changes nothing there.
void takeShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

}  // namespace

OsVersion Win32System::version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  OsVersion version;
  if (!GetVersionExA(&info)) return version;
  version.majorVersion = info.dwMajorVersion;
  version.minorVersion = info.dwMinorVersion;
  version.buildNumber = info.dwBuildNumber;
  version.platformId = info.dwPlatformId;
  return version;
}

ProcessorInfo Win32System::processor() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  if (info.wProcessorArchitecture == kArchitectureAmd64) return {0, 586};
  return {info.wProcessorArchitecture, info.dwProcessorType};
}

std::optional<std::string> Win32System::userName() {
  char buffer[257];
  DWORD length = sizeof buffer;
  if (!GetUserNameA(buffer, &length) || length == 0) return std::nullopt;
  return std::string(buffer, length - 1);  // the length counts the terminator
}

std::uint16_t Win32System::userDefaultLangId() { return GetUserDefaultLangID(); }

std::uint64_t Win32System::totalPhysicalMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

std::string Win32System::windowsDirectory() {
  char buffer[MAX_PATH];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? withoutTrailingBackslash(buffer, length) : std::string();
}

std::string Win32System::systemDirectory() {
  char buffer[MAX_PATH];
  UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? withoutTrailingBackslash(buffer, length) : std::string();
}

bool Win32System::exitWindows(std::uint32_t flags) {
  if (flags & (exit_flags::Reboot | exit_flags::Shutdown)) takeShutdownPrivilege();
  return ExitWindowsEx(flags, 0) != 0;
}

std::uint32_t Win32System::desktopColour() { return GetSysColor(COLOR_BACKGROUND); }

}  // namespace vandrel::platform::win32
