// The command line, the machine and the installation lock of a starting program, on Windows:
// the machine is the one the program runs on.
#include "platform/program_start.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/win32/win32_machine.h"

namespace vandrel::platform {

namespace {

// The command line after the program's name, as WinMain receives it: the name (quoted or
// not) and the blanks after it are skipped, the rest is kept as typed.
std::string argumentsOf(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// A standard handle that leads somewhere: a file, a pipe or a console.
bool usable(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void reopen(std::FILE* stream, const char* device, const char* mode, DWORD which) {
  if (!std::freopen(device, mode, stream)) return;
  SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
}

// The setup engine, the uninstaller and the package starter are programs of the GUI
// subsystem: started from the desktop they get no console, so no console window opens beside
// theirs. Their standard streams still carry the scripted and console interaction and the
// messages: the handles the starting program handed down (a file, a pipe) are kept, and the
// streams without one are given the console of the program that started them when it has one
// (a command prompt). A console program has its own and is left as it is.
void connectStandardStreams() {
  bool input = usable(STD_INPUT_HANDLE);
  bool output = usable(STD_OUTPUT_HANDLE);
  bool error = usable(STD_ERROR_HANDLE);
  if (input && output && error) return;
  if (GetConsoleWindow() != nullptr || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!input) reopen(stdin, "CONIN$", "r", STD_INPUT_HANDLE);
  if (!output) reopen(stdout, "CONOUT$", "w", STD_OUTPUT_HANDLE);
  if (!error) reopen(stderr, "CONOUT$", "w", STD_ERROR_HANDLE);
}

}  // namespace

std::string commandLineFrom(int, char**) { return argumentsOf(GetCommandLineA()); }

std::unique_ptr<Machine> openHostMachine(const MachineOptions&) {
  return std::make_unique<win32::Win32Machine>();
}

std::string newMachineNotice(const std::string& program, const std::filesystem::path& root) {
  return program + ": " + root.string() + " is the machine this program runs on";
}

bool holdInstallationLock(const std::string& program) {
  // The package starter that started this engine holds the lock while it waits for it.
  if (const char* handed = std::getenv(kInstallationLockVariable); handed && *handed) {
    SetEnvironmentVariableA(kInstallationLockVariable, nullptr);
    return true;
  }
  // A named mutex of the session: the system lets go of it however the process ends.
  HANDLE lock = CreateMutexA(nullptr, FALSE, "Local\\Vandrel.InstallationLock");
  if (!lock) {
    std::cerr << program << ": cannot use the installation lock (error " << GetLastError() << ")\n";
    return false;
  }
  DWORD waited = WaitForSingleObject(lock, DWORD(kInstallationWaitSeconds) * 1000);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;  // held until the end
  std::cerr << program
            << ": another installation is running on this machine; start this one again when it "
               "has finished\n";
  CloseHandle(lock);
  return false;
}

void handInstallationLockDown() {
  // The mutex stays this process's while it waits for the program it starts; the variable
  // tells that program so.
  SetEnvironmentVariableA(kInstallationLockVariable, "1");
}

std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char*, bool) {
  connectStandardStreams();
  makeEnvironmentPathsAbsolute();
  switch (planSetting()) {
    case PlanSetting::Off: return openHostMachine({});
    case PlanSetting::On:
      std::cerr << program << ": VANDREL_PLAN: plans run on the emulated machine only; this "
                              "Windows program changes nothing and stops\n";
      return nullptr;
    case PlanSetting::Invalid:
      std::cerr << program << ": VANDREL_PLAN must be 1 (a plan: nothing is changed) or 0, not \""
                << std::getenv("VANDREL_PLAN") << "\"\n";
      return nullptr;
  }
  return nullptr;
}

}  // namespace vandrel::platform
