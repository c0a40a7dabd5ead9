// Programs and libraries through the Windows process and module calls.
#include "platform/win32/win32_process.h"

#include <windows.h>

#include <iostream>

namespace vandrel::platform::win32 {

namespace {

class Win32Library : public Library {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }
  void* symbol(const std::string& name) override {
    return reinterpret_cast<void*>(GetProcAddress(module_, name.c_str()));
  }

 private:
  HMODULE module_;
};

}  // namespace

unsigned Win32Process::winExec(const std::string& commandLine, int showCommand) {
  std::cout.flush();
  std::cerr.flush();
  return WinExec(commandLine.c_str(), UINT(showCommand));
}

std::optional<int> Win32Process::runAndWait(const std::string& commandLine) {
  std::cout.flush();
  std::cerr.flush();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // The program started writes where this one writes and reads what it reads: a program of
  // the GUI subsystem (the setup engine the package starter starts) is handed no standard
  // handles otherwise.
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started{};
  std::string line = commandLine;  // CreateProcessA may write into the command line
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started))
    return std::nullopt;
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD code = 0;
  bool known = GetExitCodeProcess(started.hProcess, &code) != 0;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (!known) return std::nullopt;
  return int(code);
}

std::string Win32Process::moduleFileName() {
  char buffer[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::unique_ptr<Library> Win32LibraryLoader::load(const std::string& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module) return nullptr;
  return std::make_unique<Win32Library>(module);
}

}  // namespace vandrel::platform::win32
