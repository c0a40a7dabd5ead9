// Starting programs (WinExec) and knowing our own executable.
#pragma once

#include <optional>
#include <string>

namespace vandrel::platform {

namespace show {
constexpr int Hide = 0;
constexpr int Normal = 1;
constexpr int Show = 5;
}  // namespace show

class Process {
 public:
  virtual ~Process() = default;
  // WinExec: a value above 31 on success; 31 or less on failure (2 file not found, 3 path
  // not found, 11 bad format). Does not wait.
  virtual unsigned winExec(const std::string& commandLine, int showCommand) = 0;
  // Like winExec, but waits for the program and returns its exit status; empty when it
  // could not be started.
  virtual std::optional<int> runAndWait(const std::string& commandLine) = 0;
  // GetModuleFileNameA(NULL): the Windows path of the running executable.
  virtual std::string moduleFileName() = 0;
  // From now on the programs started come from a package ([End] commands, Run and RunOnce
  // values, an UninstallString) and run confined where the backend can: the machine the only
  // place they write, no network. Where it cannot, each such start is said in one line on
  // standard error, "<program>: ... runs unconfined ...". Programs the machine's owner mapped
  // run as mapped. A backend without confinement starts them as it starts any program.
  virtual void confineStartedPrograms(const std::string& /*program*/) {}
};

}  // namespace vandrel::platform
