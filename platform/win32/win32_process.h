// Starting programs on the Windows machine the program runs on, and loading libraries.
#pragma once

#include "platform/library_loader.h"
#include "platform/process.h"

namespace vandrel::platform::win32 {

class Win32Process : public Process {
 public:
  unsigned winExec(const std::string& commandLine, int showCommand) override;  // WinExec
  // CreateProcessA, then waits for the program and takes its exit code.
  std::optional<int> runAndWait(const std::string& commandLine) override;
  std::string moduleFileName() override;  // GetModuleFileNameA(NULL)
};

class Win32LibraryLoader : public LibraryLoader {
 public:
  std::unique_ptr<Library> load(const std::string& path) override;  // LoadLibraryA
};

}  // namespace vandrel::platform::win32
