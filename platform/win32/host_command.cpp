// Running a host program with CreateProcessW, its output read through a pipe.
#include "platform/host_command.h"

#include <windows.h>

namespace vandrel::platform {
namespace {

std::wstring wide(const std::string& text) {
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), length);
  return out;
}

// One argument quoted as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

std::optional<HostCommandResult> runHostCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return std::nullopt;
  std::wstring commandLine;
  for (const std::string& argument : arguments) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += quoted(wide(argument));
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::nullopt;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return std::nullopt;
  }
  HostCommandResult result;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) result.output.append(buffer, n);
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.exitStatus = int(code);
  return result;
}

}  // namespace vandrel::platform
