// A fresh emulated machine in a temporary folder for the setup's tests, seen through a
// wrapper that records program starts and restart requests instead of performing them.
#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/emulated/machine_root.h"
#include "platform/machine.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/temp_dir.h"

namespace vandrel::setup::testing {

class RecordingProcess : public platform::Process {
 public:
  std::vector<std::string> started;  // "<show> <command line>"
  std::vector<std::string> currentFolders;  // the current folder at each start
  std::string module = "C:\\WINDOWS\\hobvane.exe";
  platform::FileSystem* files = nullptr;
  std::vector<std::string>* timeline = nullptr;  // also gets "exec:<command line>"

  unsigned winExec(const std::string& commandLine, int show) override {
    started.push_back(std::to_string(show) + " " + commandLine);
    if (timeline) timeline->push_back("exec:" + commandLine);
    currentFolders.push_back(files ? files->currentDirectory() : "");
    return 33;
  }
  std::optional<int> runAndWait(const std::string&) override { return std::nullopt; }
  std::string moduleFileName() override { return module; }
};

class RecordingSystem : public platform::System {
 public:
  explicit RecordingSystem(platform::System& real) : real_(real) {}
  std::vector<std::uint32_t> exits;
  std::optional<std::uint32_t> platformId;  // reported instead of the machine's own
  platform::OsVersion version() override {
    platform::OsVersion version = real_.version();
    if (platformId) version.platformId = *platformId;
    return version;
  }
  platform::ProcessorInfo processor() override { return real_.processor(); }
  std::optional<std::string> userName() override { return real_.userName(); }
  std::uint16_t userDefaultLangId() override { return real_.userDefaultLangId(); }
  std::uint64_t totalPhysicalMemory() override { return real_.totalPhysicalMemory(); }
  std::string windowsDirectory() override { return real_.windowsDirectory(); }
  std::string systemDirectory() override { return real_.systemDirectory(); }
  bool exitWindows(std::uint32_t flags) override {
    exits.push_back(flags);
    return true;
  }
  std::uint32_t desktopColour() override { return real_.desktopColour(); }

 private:
  platform::System& real_;
};

class MachineFixture : public platform::Machine {
 public:
  explicit MachineFixture(platform::emulated::Preset preset = platform::emulated::Preset::Win98) {
    platform::emulated::initMachineRoot(dir_.path() / "machine", preset, "user");
    open();
  }

  // Changes one [System] key of machine.ini and opens the machine again.
  void setIdentity(const std::string& key, const std::string& value) {
    std::filesystem::path ini = dir_.path() / "machine" / "machine.ini";
    std::istringstream in(vandrel::test::readFile(ini));
    std::string line, out;
    while (std::getline(in, line)) {
      if (line.rfind(key + "=", 0) == 0) line = key + "=" + value;
      out += line + "\n";
    }
    vandrel::test::writeFile(ini, out);
    open();
  }

  // Writes a file at a Windows path of the machine, creating the folders above it.
  void put(const std::string& windowsPath, const std::string& content) {
    std::filesystem::path host = *real_->files().hostPath(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    vandrel::test::writeFile(host, content);
  }
  bool exists(const std::string& windowsPath) { return real_->files().status(windowsPath).has_value(); }
  std::string read(const std::string& windowsPath) {
    return vandrel::test::readFile(*real_->files().hostPath(windowsPath));
  }

  RecordingProcess& recordedProcess() { return process_; }
  RecordingSystem& recordedSystem() { return *system_; }

  platform::FileSystem& files() override { return real_->files(); }
  platform::Profile& profile() override { return real_->profile(); }
  platform::Registry& registry() override { return real_->registry(); }
  platform::System& system() override { return *system_; }
  platform::Shell& shell() override { return real_->shell(); }
  platform::Lz& lz() override { return real_->lz(); }
  platform::VersionInfo& versionInfo() override { return real_->versionInfo(); }
  platform::Process& process() override { return process_; }
  platform::Clock& clock() override { return clock_; }
  platform::LibraryLoader& libraries() override { return real_->libraries(); }
  vandrel::test::FixedClock& fixedClock() { return clock_; }

 private:
  void open() {
    system_.reset();
    real_.reset();
    real_ = platform::emulated::openMachine(dir_.path() / "machine", {});
    system_ = std::make_unique<RecordingSystem>(real_->system());
    process_.files = &real_->files();
  }

  vandrel::test::TempDir dir_;
  std::unique_ptr<platform::Machine> real_;
  std::unique_ptr<RecordingSystem> system_;
  RecordingProcess process_;
  vandrel::test::FixedClock clock_;
};

}  // namespace vandrel::setup::testing
