// The command line, the machine and the installation lock of a starting program, on the
// emulated backend.
#include "platform/program_start.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>
#include <vector>

#include "platform/emulated/installation_lock.h"
#include "platform/emulated/machine_root.h"
#include "platform/plan/plan_machine.h"
#include "platform/plan/plan_programs.h"


namespace vandrel::platform {

namespace {

// A word that begins a switch or a Windows path ("C:\Pkg\", "\\server\share\").
bool startsWindowsWord(const std::string& word) {
  bool drive = word.size() >= 3 && std::isalpha(static_cast<unsigned char>(word[0])) && word[1] == ':' &&
               word[2] == '\\';
  return word[0] == '/' || word[0] == '-' || word[0] == '\\' || drive;
}

// An argument as a word of the Windows command line. A switch's value that holds blanks
// ("--answers=/tmp/my answers.ini", one word of the shell) is put in double quotes, as it
// would be typed on Windows, so that the switch stays one word. An argument with a quote, or
// in which a blank is followed by another switch or a Windows path, is a whole Windows command
// line (a program started inside the machine gets its command line as one argument), quoted
// as it needs already. Every other argument is kept as it is, the blanks of a path included,
// which the programs read as their whole command line.
std::string commandWord(const std::string& argument) {
  bool switchWord = !argument.empty() && (argument[0] == '-' || argument[0] == '/');
  std::size_t equals = argument.find('=');
  if (!switchWord || equals == std::string::npos || argument.find('"') != std::string::npos) return argument;
  std::string value = argument.substr(equals + 1);
  std::size_t blank = value.find_first_of(" \t");
  if (blank == std::string::npos) return argument;
  for (std::size_t at = blank; at != std::string::npos; at = value.find_first_of(" \t", at + 1)) {
    std::size_t next = value.find_first_not_of(" \t", at);
    if (next != std::string::npos && startsWindowsWord(value.substr(next))) return argument;
  }
  return argument.substr(0, equals + 1) + '"' + value + '"';
}

}  // namespace

std::string commandLineFrom(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += commandWord(argv[i]);
  }
  return commandLine;
}

namespace {

// A plan over the machine: refuses a missing one (a plan makes nothing), takes over what a
// starting plan carried.
std::unique_ptr<Machine> openPlan(const std::string& program, const MachineOptions& options) {
  const std::filesystem::path root = emulated::defaultMachineRoot();
  std::error_code ec;
  if (!std::filesystem::exists(root / "machine.ini", ec)) {
    std::cerr << program << ": VANDREL_PLAN: there is no machine in " << root.string()
              << " to plan on (a plan makes none)\n";
    return nullptr;
  }
  std::unique_ptr<PlanMachine> plan = makePlan(openHostMachine(options));
  if (const char* carry = std::getenv(kPlanCarryVariable); carry && *carry) {
    std::string reason;
    if (!plan->loadCarry(carry, &reason)) {
      std::cerr << program << ": VANDREL_PLAN: cannot read the plan's changes in " << carry << ": "
                << reason << '\n';
      return nullptr;
    }
    // Only this program takes them over; a program it starts gets its own.
    ::unsetenv(kPlanCarryVariable);
  }
  return plan;
}

}  // namespace

std::string newMachineNotice(const std::string& program, const std::filesystem::path& root) {
  const char* named = std::getenv("VANDREL_MACHINE");
  std::string why = named && *named ? "VANDREL_MACHINE names a missing or empty folder"
                                    : "there was no default machine yet";
  return program + ": made a new machine (win98 preset) in " + root.string() + ": " + why;
}

namespace {

// The installation lock this process holds (its descriptor), -1 while none.
int heldInstallationLock = -1;

// A hold handed down by the program that started this one (the package starter): the
// descriptor the variable names refers to the machine's lock file and holds the lock. It is
// then this process's hold, and goes to no program this one starts.
bool takeHandedDownHold(const std::filesystem::path& lock) {
  const char* named = std::getenv(kInstallationLockVariable);
  if (!named || !*named) return false;
  char* end = nullptr;
  long fd = std::strtol(named, &end, 10);
  ::unsetenv(kInstallationLockVariable);
  struct stat held {}, file {};
  if (*end || fd < 3 || fd > 65535 || ::fstat(int(fd), &held) != 0 || ::stat(lock.c_str(), &file) != 0 ||
      held.st_dev != file.st_dev || held.st_ino != file.st_ino)
    return false;
  // A lock the descriptor already holds is kept; one it does not hold is taken only if free.
  if (::flock(int(fd), LOCK_EX | LOCK_NB) != 0) return false;
  ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
  heldInstallationLock = int(fd);
  return true;
}

}  // namespace

bool holdInstallationLock(const std::string& program) {
  return emulated::holdInstallationLockOf(emulated::defaultMachineRoot(), program);
}

bool emulated::holdInstallationLockOf(const std::filesystem::path& root, const std::string& program) {
  std::filesystem::path lock = root / "install.lock";
  if (heldInstallationLock >= 0 || takeHandedDownHold(lock)) return true;
  try {
    emulated::refuseLinkedOwnFiles(root);
  } catch (const MachineError& failure) {
    std::cerr << program << ": " << failure.what() << '\n';
    return false;
  }
  // Kept open (and locked) until the process ends; the kernel lets go of it however that is.
  // Never through a link, which would make or lock a host file instead.
  int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    std::cerr << program << ": cannot use the installation lock " << lock.string() << " ("
              << std::strerror(errno) << ")\n";
    return false;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kInstallationWaitSeconds);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      std::cerr << program
                << ": another installation is running on this machine; start this one again "
                   "when it has finished\n";
      ::close(fd);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  heldInstallationLock = fd;
  return true;
}

void handInstallationLockDown() {
  if (heldInstallationLock < 0) return;
  ::fcntl(heldInstallationLock, F_SETFD, 0);
  ::setenv(kInstallationLockVariable, std::to_string(heldInstallationLock).c_str(), 1);
}

std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char* argv0,
                                            bool hostDriveWritable) {
  makeEnvironmentPathsAbsolute();
  MachineOptions options;
  options.madeNewMachine = [&program](const std::filesystem::path& root) {
    std::cerr << newMachineNotice(program, root) << '\n';
  };
  options.hostDriveWritable = hostDriveWritable;
  std::error_code error;
  options.executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) options.executable = std::filesystem::absolute(argv0, error);
  try {
    switch (planSetting()) {
      case PlanSetting::Off: return openHostMachine(options);
      case PlanSetting::On: return openPlan(program, options);
      case PlanSetting::Invalid:
        std::cerr << program << ": VANDREL_PLAN must be 1 (a plan: nothing is changed) or 0, not \""
                  << std::getenv("VANDREL_PLAN") << "\"\n";
        return nullptr;
    }
    return nullptr;
  } catch (const MachineError& failure) {
    std::cerr << program << ": " << failure.what() << '\n';
    return nullptr;
  }
}

}  // namespace vandrel::platform
