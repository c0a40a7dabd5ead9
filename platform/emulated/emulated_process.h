// Starting programs in the emulated machine (WinExec) and naming our own executable.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/emulated/confinement.h"
#include "platform/emulated/emulated_file_system.h"
#include "platform/emulated/machine_config.h"
#include "platform/process.h"

namespace vandrel::platform::emulated {

// The ways a Windows command line splits into a program and the rest, in the order Windows
// tries them: a quoted program is taken whole; otherwise the program ends at the first blank,
// then at the second, and so on. The rest starts after the blanks that follow the program.
std::vector<std::pair<std::string, std::string>> splitCommandLine(const std::string& commandLine);

class EmulatedProcess : public Process {
 public:
  EmulatedProcess(const MachineConfig& config, EmulatedFileSystem& files,
                  std::filesystem::path executable);

  unsigned winExec(const std::string& commandLine, int showCommand) override;
  std::optional<int> runAndWait(const std::string& commandLine) override;
  std::string moduleFileName() override;
  void confineStartedPrograms(const std::string& program) override;

  // What a command line starts: the host program, its one argument and the folder it runs in;
  // or a WinExec failure code (2 not found, 3 path not found, 5 access denied, 11 bad format).
  struct Launch {
    std::filesystem::path program;
    std::optional<std::string> argument;
    std::filesystem::path folder;
    unsigned failure = 0;
    bool mapped = false;                   // a host program of machine.ini [Programs]
    std::shared_ptr<Confinement> confinement;  // how it runs confined (confinement.h); null: not
  };
  Launch prepare(const std::string& commandLine);

 private:
  // The machine file a program name leads to, searched the Windows way; empty when none.
  std::optional<std::string> locate(const std::string& program, unsigned& failure);

  // Adds the confinement to a launch while programs are confined.
  void confine(Launch& launch) const;

  MachineConfig config_;
  EmulatedFileSystem& files_;
  std::filesystem::path executable_;
  std::string confiningFor_;  // the program on whose behalf programs are confined; empty: none
};

}  // namespace vandrel::platform::emulated
