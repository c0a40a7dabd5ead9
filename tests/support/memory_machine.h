// A whole Windows machine in memory for unit tests: the memory file system, the profile over
// it, an in-memory registry, and a system, shell and process that record what is asked of
// them. Writes, deletes, registry changes, shortcuts and free space can fail on demand.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/memory_registry.h"

namespace vandrel::test {

class MemorySystem : public platform::System {
 public:
  platform::OsVersion os{4, 10, 1998, platform::platform_id::Windows};
  platform::ProcessorInfo cpu{0, 586};
  std::optional<std::string> user = std::string("Ann");
  std::uint16_t language = 0x0409;
  std::uint64_t memory = 64ull << 20;
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\SYSTEM";
  std::vector<std::uint32_t> exits;  // every ExitWindowsEx asked, in order
  std::uint32_t desktop = 0x00808000;

  platform::OsVersion version() override { return os; }
  platform::ProcessorInfo processor() override { return cpu; }
  std::optional<std::string> userName() override { return user; }
  std::uint16_t userDefaultLangId() override { return language; }
  std::uint64_t totalPhysicalMemory() override { return memory; }
  std::string windowsDirectory() override { return windowsFolder; }
  std::string systemDirectory() override { return systemFolder; }
  bool exitWindows(std::uint32_t flags) override {
    exits.push_back(flags);
    return true;
  }
  std::uint32_t desktopColour() override { return desktop; }
};

// Shortcut files are written through the file system (so its failures reach them) in the
// shell link format; refuse() makes the shell refuse a link path itself.
class MemoryShell : public platform::Shell {
 public:
  explicit MemoryShell(platform::FileSystem& files) : files_(files) {}
  std::map<int, std::string> folders;  // special folder (csidl) -> path
  std::vector<std::string> created;    // link paths written, in order
  void refuse(const std::string& linkPath) { refused_.insert(linkPath); }

  std::optional<std::string> specialFolder(int csidl) override;
  bool createShortcut(const std::string& linkPath, const platform::ShellLink& link) override;

 private:
  platform::FileSystem& files_;
  std::set<std::string> refused_;
};

class MemoryProcess : public platform::Process {
 public:
  std::string module = "C:\\WINDOWS\\hobvane.exe";
  std::vector<std::string> started;  // "<show> <command line>", in order
  unsigned winExec(const std::string& commandLine, int showCommand) override {
    started.push_back(std::to_string(showCommand) + " " + commandLine);
    return 33;
  }
  std::optional<int> runAndWait(const std::string& commandLine) override {
    started.push_back("wait " + commandLine);
    return std::nullopt;
  }
  std::string moduleFileName() override { return module; }
};

// No library can be loaded on this machine.
class NoLibraries : public platform::LibraryLoader {
 public:
  std::vector<std::string> asked;
  std::unique_ptr<platform::Library> load(const std::string& path) override {
    asked.push_back(path);
    return nullptr;
  }
};

// A Windows 98 machine (platformId NT() for Windows NT 4) with drive C:, the Windows and
// system folders, the Start menu folders of one user and the registry keys a fresh system has.
class MemoryMachine : public platform::Machine {
 public:
  enum class Kind { Win98, NT };
  explicit MemoryMachine(Kind kind = Kind::Win98);
  ~MemoryMachine() override;

  MemoryFileSystem& memoryFiles() { return files_; }
  MemoryRegistry& memoryRegistry() { return registry_; }
  MemorySystem& memorySystem() { return system_; }
  MemoryShell& memoryShell() { return shell_; }
  MemoryProcess& memoryProcess() { return process_; }
  FixedClock& fixedClock() { return clock_; }

  platform::FileSystem& files() override { return files_; }
  platform::Profile& profile() override { return *profile_; }
  platform::Registry& registry() override { return registry_; }
  platform::System& system() override { return system_; }
  platform::Shell& shell() override { return shell_; }
  platform::Lz& lz() override { return *lz_; }
  platform::VersionInfo& versionInfo() override { return *versionInfo_; }
  platform::Process& process() override { return process_; }
  platform::Clock& clock() override { return clock_; }
  platform::LibraryLoader& libraries() override { return libraries_; }

 private:
  MemoryFileSystem files_;
  MemoryRegistry registry_;
  MemorySystem system_;
  MemoryShell shell_;
  MemoryProcess process_;
  FixedClock clock_;
  NoLibraries libraries_;
  std::unique_ptr<platform::Profile> profile_;
  std::unique_ptr<platform::Lz> lz_;
  std::unique_ptr<platform::VersionInfo> versionInfo_;
};

}  // namespace vandrel::test
