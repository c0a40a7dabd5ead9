// What every program does first: take its Windows command line and open the machine it runs on.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/machine.h"

namespace vandrel::platform {

// The whole command line as Windows hands it to a program: the arguments joined by blanks.
std::string commandLineFrom(int argc, char** argv);

// The environment variables that name files or folders shared with the programs a program
// starts (VANDREL_MACHINE, VANDREL_ANSWERS, VANDREL_TRANSCRIPT, VANDREL_LOG, VANDREL_RECORD,
// VANDREL_SCREENSHOTS). A started program runs in its own folder, so each relative value is
// made absolute against the current folder; empty and absolute values stay as they are.
void makeEnvironmentPathsAbsolute();

// The kind of machine the programs of a build work on: the emulated one kept in a folder, or
// the Windows machine they run on. kBuildMachine is this build's.
enum class MachineKind { Emulated, Windows };
extern const MachineKind kBuildMachine;

// The environment variables of every program, as the --help of the command-line tools lists
// them: only those that apply on that kind of machine, as they work there.
std::string environmentHelp(MachineKind machine = kBuildMachine);
// The exit statuses of the setup engine and the uninstaller in words, as the --help of the
// tools that start them lists them.
std::string engineExitHelp();

// VANDREL_PLAN: "1" asks for a plan (the whole run against the machine, nothing changed on
// it); unset, empty or "0" for a real run. Any other value is Invalid: a program refuses to
// run rather than change a machine its user meant only to look at.
enum class PlanSetting { Off, On, Invalid };
PlanSetting planSetting();

// The line a program prints when opening its machine made a new one at root.
std::string newMachineNotice(const std::string& program, const std::filesystem::path& root);

// The machine of this run (openHostMachine, with this executable as the running module). On
// failure: one line "<program>: <reason>" on standard error, and null. Makes the environment's
// paths absolute first, and says so on standard error when it makes a new machine. With
// VANDREL_PLAN=1 the machine is a plan over it (platform/plan/plan_machine.h), with the changes
// a starting plan carried taken over; a plan never makes a machine, and refuses one that is
// not there.
std::unique_ptr<Machine> openProgramMachine(const std::string& program, const char* argv0,
                                            bool hostDriveWritable = false);

// Installations on one machine run one at a time. Takes the machine's installation lock (a
// lock on install.lock in the machine root) for the rest of this process, waiting up to
// kInstallationWaitSeconds while another installation holds it. False, with one line
// "<program>: another installation is running on this machine; ..." on standard error,
// when it is still held then.
// A hold handed down by the program that started this one counts as this process's own.
constexpr int kInstallationWaitSeconds = 30;
bool holdInstallationLock(const std::string& program);

// Hands this process's hold of the installation lock down to the programs it starts (the
// package starter to its setup engine, which then does not wait for its own starter): the
// lock's descriptor stays open in them and kInstallationLockVariable names it.
inline constexpr const char* kInstallationLockVariable = "VANDREL_INSTALL_LOCK_FD";
void handInstallationLockDown();

}  // namespace vandrel::platform
