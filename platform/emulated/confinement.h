// Confinement of the programs a package starts (its [End] commands, Run and RunOnce values, an
// UninstallString): the machine jails the installer's own writes, but a program it starts is
// any host program that Z: reaches. Such a program runs under bubblewrap (bwrap): the host
// read-only, the machine folder the only writable tree (its machine.ini read-only), no
// network, no Unix socket, no capability.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vandrel::platform::emulated {

// Set inside a confinement, so that a program started from within (a setup an [End] command
// runs) is not confined a second time: it is already inside.
inline constexpr const char* kConfinedVariable = "VANDREL_CONFINED";

// How to start a program confined: the words that come before it (the bwrap command and its
// options, ending in "--"; the program and its arguments follow), and the descriptor of the
// system call filter bwrap reads, made for this one start (-1: none). Movable, not copyable;
// closes the descriptor when it goes.
struct Confinement {
  std::vector<std::string> words;
  int filterFd = -1;

  Confinement() = default;
  Confinement(Confinement&& other) noexcept;
  Confinement& operator=(Confinement&& other) noexcept;
  Confinement(const Confinement&) = delete;
  Confinement& operator=(const Confinement&) = delete;
  ~Confinement();

  // In the child about to start the words: lets bwrap inherit the filter's descriptor.
  void prepareChild() const;
};

// The confinement of a program to the machine in root, in folder. Besides root, the files the
// user named for the run's records (VANDREL_TRANSCRIPT, VANDREL_LOG, VANDREL_RECORD, the action
// log beside the transcript, the VANDREL_SCREENSHOTS folder) stay writable; the files are made
// (empty) when missing, so that they can be bound. No words inside a confinement. Nullopt when
// programs cannot be confined here, with the reason in why (bwrap missing, or not permitted
// by this host).
std::optional<Confinement> confinementCommand(const std::filesystem::path& root,
                                              const std::filesystem::path& folder, std::string& why);

// The folders searched for bwrap, in order (by default /usr/bin, /bin, /usr/local/bin; never
// PATH). For tests.
void setLauncherFolders(std::vector<std::filesystem::path> folders);

// Whether programs can be confined here; the reason in why when not.
bool canConfine(std::string& why);

// The line a program prints when it starts a program unconfined for that reason.
std::string unconfinedNotice(const std::string& program, const std::string& why);

}  // namespace vandrel::platform::emulated
