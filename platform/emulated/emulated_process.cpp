// Starting programs in the emulated machine: command-line parsing, program search, fork and exec.
#include "platform/emulated/emulated_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>

#include "platform/emulated/confinement.h"

extern char** environ;

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

constexpr unsigned kFileNotFound = 2;
constexpr unsigned kPathNotFound = 3;
constexpr unsigned kAccessDenied = 5;
constexpr unsigned kBadFormat = 11;
constexpr unsigned kStarted = 33;  // any value above 31 tells success

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string lastName(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool isElf(const fs::path& host) {
  int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char magic[4] = {};
  bool elf = ::read(fd, magic, 4) == 4 && std::memcmp(magic, "\x7f" "ELF", 4) == 0;
  ::close(fd);
  return elf;
}

unsigned failureFor(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM: return kAccessDenied;
    default: return kBadFormat;
  }
}

// Forks and runs the program, behind the words of its confinement when it has one; with detach
// the program is started from a short-lived intermediate child so that it is never left as a
// zombie of ours. Returns the child's pid (0 when detached) or -1 with errorNumber set when the
// program could not be started.
pid_t spawn(const EmulatedProcess::Launch& launch, const std::string& machineRoot, bool detach,
            int& errorNumber) {
  std::string folder = launch.folder.string();
  std::vector<std::string> args;
  if (launch.confinement) args = launch.confinement->words;
  args.push_back(launch.program.string());
  if (launch.argument) args.push_back(*launch.argument);
  std::string program = args.front();
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "VANDREL_MACHINE=", 16) != 0) env.push_back(*e);
  env.push_back("VANDREL_MACHINE=" + machineRoot);
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    errorNumber = errno;
    return -1;
  }
  const pid_t starter = ::getpid();
  pid_t pid = ::fork();
  if (pid == 0) {
    if (detach && ::fork() != 0) _exit(0);  // the intermediate child leaves at once
    // A program waited for ends with the program that waits: when that one is killed (kill -9,
    // Ctrl+C, SIGTERM), the work it started stops too rather than go on unseen in a session of
    // its own. A starter already gone before this took effect is caught by the parent check.
    if (!detach && (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != starter)) _exit(127);
    ::close(report[0]);
    if (launch.confinement) launch.confinement->prepareChild();
    int err = 0;
    if (::chdir(folder.c_str()) != 0) err = errno;
    else ::execve(program.c_str(), argv.data(), envp.data());
    if (!err) err = errno;
    ssize_t ignored = ::write(report[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  ::close(report[1]);
  if (pid < 0) {
    errorNumber = errno;
    ::close(report[0]);
    return -1;
  }
  if (detach) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  // The pipe closes on a successful exec; otherwise it carries the error.
  int err = 0;
  ssize_t n;
  while ((n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (n == sizeof err) {
    if (!detach) {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
    errorNumber = err;
    return -1;
  }
  return detach ? 0 : pid;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> splitCommandLine(const std::string& commandLine) {
  std::vector<std::pair<std::string, std::string>> result;
  std::size_t start = 0;
  while (start < commandLine.size() && isBlank(commandLine[start])) ++start;
  if (start == commandLine.size()) return result;
  auto restFrom = [&](std::size_t pos) {
    while (pos < commandLine.size() && isBlank(commandLine[pos])) ++pos;
    return commandLine.substr(std::min(pos, commandLine.size()));
  };
  if (commandLine[start] == '"') {
    std::size_t close = commandLine.find('"', start + 1);
    if (close == std::string::npos) close = commandLine.size();
    std::string program = commandLine.substr(start + 1, close - start - 1);
    if (!program.empty()) result.emplace_back(program, restFrom(close + 1));
    return result;
  }
  for (std::size_t i = start; i <= commandLine.size(); ++i) {
    if (i < commandLine.size() && !isBlank(commandLine[i])) continue;
    if (i > start && !isBlank(commandLine[i - 1]))
      result.emplace_back(commandLine.substr(start, i - start), restFrom(i));
  }
  return result;
}

EmulatedProcess::EmulatedProcess(const MachineConfig& config, EmulatedFileSystem& files, fs::path executable)
    : config_(config), files_(files), executable_(std::move(executable)) {}

std::optional<std::string> EmulatedProcess::locate(const std::string& program, unsigned& failure) {
  std::string name = program;
  if (lastName(program).find('.') == std::string::npos) name += ".exe";
  auto isFile = [&](const std::string& path) {
    auto st = files_.status(path);
    return st && !st->isDirectory();
  };
  if (program.find_first_of("\\/:") != std::string::npos) {
    std::string full = files_.fullPath(name);
    if (!full.empty() && isFile(full)) return full;
    std::string folder = full.empty() ? std::string() : full.substr(0, full.find_last_of('\\') + 1);
    auto st = folder.empty() ? std::nullopt : files_.status(folder);
    failure = st && st->isDirectory() ? kFileNotFound : kPathNotFound;
    return std::nullopt;
  }
  for (const std::string& dir : {files_.currentDirectory(), config_.windowsDir, config_.systemDir}) {
    std::string candidate = dir + (dir.back() == '\\' ? "" : "\\") + name;
    if (isFile(candidate)) return files_.fullPath(candidate);
  }
  failure = kFileNotFound;
  return std::nullopt;
}

EmulatedProcess::Launch EmulatedProcess::prepare(const std::string& commandLine) {
  Launch launch;
  auto here = files_.currentHostDirectory();
  launch.folder = here ? *here : config_.root;
  unsigned firstFailure = 0;
  for (const auto& [program, rest] : splitCommandLine(commandLine)) {
    if (!rest.empty()) launch.argument = rest;
    else launch.argument.reset();
    unsigned failure = kFileNotFound;
    std::optional<std::string> found = locate(program, failure);
    std::optional<fs::path> host = found ? files_.hostPath(*found) : std::nullopt;
    if (host && isElf(*host)) {
      // The execute bit of a copied program is the host's matter, never the machine's.
      struct stat st;
      if (::stat(host->c_str(), &st) == 0 && !(st.st_mode & S_IXUSR) && files_.writablePath(*found))
        ::chmod(host->c_str(), st.st_mode | S_IXUSR | S_IXGRP | S_IXOTH);
      launch.program = *host;
      return launch;
    }
    std::string name = text::toUpper(lastName(program));
    if (name.find('.') == std::string::npos) name += ".EXE";
    if (auto mapped = config_.programs.find(name); mapped != config_.programs.end()) {
      launch.program = mapped->second;
      launch.mapped = true;
      return launch;
    }
    if (found) {
      launch.failure = kBadFormat;  // a file that is not a program of this machine
      return launch;
    }
    if (!firstFailure) firstFailure = failure;
  }
  launch.failure = firstFailure ? firstFailure : kFileNotFound;
  return launch;
}

void EmulatedProcess::confineStartedPrograms(const std::string& program) { confiningFor_ = program; }

void EmulatedProcess::confine(Launch& launch) const {
  if (confiningFor_.empty() || launch.mapped) return;  // the owner's mapped programs run as mapped
  std::string why;
  if (auto confinement = confinementCommand(config_.root, launch.folder, why)) {
    launch.confinement = std::make_shared<Confinement>(std::move(*confinement));
  } else {
    std::cerr << confiningFor_ << ": " << unconfinedNotice(launch.program.string(), why) << std::endl;
  }
}

unsigned EmulatedProcess::winExec(const std::string& commandLine, int /*showCommand*/) {
  Launch launch = prepare(commandLine);
  if (launch.failure) return launch.failure;
  confine(launch);
  int err = 0;
  if (spawn(launch, config_.root.string(), true, err) < 0) return failureFor(err);
  return kStarted;
}

std::optional<int> EmulatedProcess::runAndWait(const std::string& commandLine) {
  Launch launch = prepare(commandLine);
  if (launch.failure) return std::nullopt;
  confine(launch);
  int err = 0;
  pid_t pid = spawn(launch, config_.root.string(), false, err);
  if (pid < 0) return std::nullopt;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

std::string EmulatedProcess::moduleFileName() {
  fs::path exe = executable_;
  std::error_code ec;
  if (exe.empty()) exe = fs::read_symlink("/proc/self/exe", ec);
  if (exe.empty()) return {};
  return files_.windowsPath(exe).value_or(std::string());
}

}  // namespace vandrel::platform::emulated
