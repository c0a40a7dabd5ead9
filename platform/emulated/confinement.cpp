// Running the programs a package starts under bubblewrap, behind its walls.
#include "platform/emulated/confinement.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

extern char** environ;

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

// The folders searched for the launcher: fixed system folders, never PATH, whose folders
// (such as ".", the package's folder when Setup starts there) need not be trusted.
std::vector<fs::path>& launcherFolders() {
  static std::vector<fs::path> folders{"/usr/bin", "/bin", "/usr/local/bin"};
  return folders;
}

std::optional<fs::path> findBwrap() {
  for (const fs::path& folder : launcherFolders()) {
    fs::path candidate = folder / "bwrap";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// The system call filter bwrap loads (--seccomp): socket() of the Unix family fails with
// EACCES, so that no host service listening on a Unix socket (anywhere in the file system,
// which the program can read) is reached. socketpair() stays: it reaches nobody. A system
// call of another architecture than ours (x32, or a 32-bit program's) ends the program,
// since its numbers would slip past the filter.
std::vector<sock_filter> socketFilter() {
#if defined(__x86_64__)
  constexpr std::uint32_t arch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
  constexpr std::uint32_t arch = AUDIT_ARCH_AARCH64;
#else
  return {};  // no filter where its system call numbers are not known
#endif
#if defined(__x86_64__) || defined(__aarch64__)
  constexpr std::uint32_t allow = SECCOMP_RET_ALLOW, deny = SECCOMP_RET_ERRNO | EACCES,
                          kill = SECCOMP_RET_KILL_PROCESS;
  return {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, arch, 1, 0),
      BPF_STMT(BPF_RET | BPF_K, kill),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, 0x40000000u, 0, 1),  // the x32 numbers
      BPF_STMT(BPF_RET | BPF_K, kill),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_socket, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),  // the family (low half)
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AF_UNIX, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, deny),
      BPF_STMT(BPF_RET | BPF_K, allow),
  };
#endif
}

// A descriptor holding the filter for one bwrap to read (close-on-exec; the start clears
// that in its child); -1 when there is no filter or it cannot be made.
int socketFilterDescriptor() {
  std::vector<sock_filter> filter = socketFilter();
  if (filter.empty()) return -1;
  int fd = ::memfd_create("vandrel-socket-filter", MFD_CLOEXEC);
  if (fd < 0) return -1;
  const std::size_t size = filter.size() * sizeof(sock_filter);
  if (::write(fd, filter.data(), size) != ssize_t(size) || ::lseek(fd, 0, SEEK_SET) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The confinement's own /dev, mounted right after the host's tree and before the machine's
// binds: mounted later, it would hide a machine kept below /dev (on /dev/shm).
const std::vector<std::string> kOwnDev{"--dev", "/dev"};

// The walls of every confinement, after the host's tree is bound read-only and its own /dev
// mounted (kOwnDev): no network, no System V IPC, no capability even when started by root
// (no remount of the read-only tree, no mount at all), a process table and /proc of its own
// (no other process to see, signal or reach through /proc/<pid>/root), a session of its own,
// killed with its starter (bwrap itself is killed with the program that waits for it); with
// userNamespace, a user namespace of its own in which no further one can be made (so
// none with fresh capabilities). The machine's staged files are judged by their writer's
// lock, not by process ids (staged_files.h), so a table of its own changes nothing for them.
std::vector<std::string> walls(bool userNamespace) {
  std::vector<std::string> words{"--proc", "/proc", "--unshare-pid", "--unshare-net",
                                 "--unshare-ipc", "--cap-drop", "ALL", "--new-session",
                                 "--die-with-parent"};
  if (userNamespace) words.insert(words.end(), {"--unshare-user", "--disable-userns"});
  return words;
}

// Clears close-on-exec of the filter's descriptor, in the child about to start bwrap.
void passFilter(int filterFd) {
  if (filterFd >= 0) ::fcntl(filterFd, F_SETFD, 0);
}

// Runs bwrap once with the walls every confinement uses; empty when it works, else what it
// said (its first line) or why it did not run.
std::string probe(const fs::path& bwrap, bool userNamespace) {
  std::vector<std::string> args{bwrap.string(), "--ro-bind", "/", "/"};
  args.insert(args.end(), kOwnDev.begin(), kOwnDev.end());
  for (const std::string& word : walls(userNamespace)) args.push_back(word);
  int filterFd = socketFilterDescriptor();
  if (filterFd >= 0) args.insert(args.end(), {"--seccomp", std::to_string(filterFd)});
  args.insert(args.end(), {"--", "/bin/true"});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) {
    if (filterFd >= 0) ::close(filterFd);
    return std::strerror(errno);
  }
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(output[1], STDOUT_FILENO);
    ::dup2(output[1], STDERR_FILENO);
    passFilter(filterFd);
    ::execve(argv[0], argv.data(), environ);
    _exit(127);
  }
  if (filterFd >= 0) ::close(filterFd);
  ::close(output[1]);
  std::string said;
  char buffer[512];
  ssize_t n;
  while ((n = ::read(output[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0 && said.size() < 4096) said.append(buffer, std::size_t(n));
  }
  ::close(output[0]);
  int status = 0;
  if (pid < 0) return std::strerror(errno);
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  said = said.substr(0, said.find('\n'));
  return said.empty() ? "bwrap ended with status " + std::to_string(WEXITSTATUS(status)) : said;
}

// The bwrap that can confine programs on this host, asked once per set of launcher folders;
// empty, with the reason in why, when there is none. userNamespace tells whether the host
// lets it make a user namespace of its own (some hosts permit none; the other walls stand
// without it).
std::optional<fs::path> usableBwrap(std::string& why, bool& userNamespace) {
  struct Answer {
    std::optional<fs::path> bwrap;
    bool userNamespace = true;
    std::string why;
  };
  static std::map<std::string, Answer> asked;
  std::string key;
  for (const fs::path& folder : launcherFolders()) key += folder.string() + '\n';
  auto [at, isNew] = asked.try_emplace(key);
  Answer& answer = at->second;
  if (isNew) {
    answer.bwrap = findBwrap();
    if (!answer.bwrap) {
      answer.why = "bwrap (Debian package bubblewrap) is not installed";
    } else if (std::string failure = probe(*answer.bwrap, true); failure.empty()) {
      answer.userNamespace = true;
    } else if (probe(*answer.bwrap, false).empty()) {
      answer.userNamespace = false;
    } else {
      answer.bwrap.reset();
      answer.why = "bwrap cannot run here: " + failure;
    }
  }
  why = answer.why;
  userNamespace = answer.userNamespace;
  return answer.bwrap;
}

// The record files a started program of ours writes, made when missing.
std::vector<fs::path> recordFiles() {
  std::vector<fs::path> files;
  auto named = [](const char* variable) -> std::string {
    const char* value = std::getenv(variable);
    return value && *value ? value : "";
  };
  std::string transcript = named("VANDREL_TRANSCRIPT"), log = named("VANDREL_LOG");
  if (!transcript.empty()) files.push_back(transcript);
  if (!log.empty()) files.push_back(log);
  else if (!transcript.empty()) files.push_back(fs::path(transcript).replace_extension(".actions.jsonl"));
  if (std::string record = named("VANDREL_RECORD"); !record.empty()) files.push_back(record);
  std::vector<fs::path> bound;
  for (const fs::path& file : files) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) continue;
    ::close(fd);
    bound.push_back(file);
  }
  std::error_code ec;
  if (std::string shots = named("VANDREL_SCREENSHOTS"); !shots.empty() && fs::is_directory(shots, ec)) {
    bound.push_back(shots);
  }
  return bound;
}

}  // namespace

Confinement::Confinement(Confinement&& other) noexcept
    : words(std::move(other.words)), filterFd(std::exchange(other.filterFd, -1)) {}

Confinement& Confinement::operator=(Confinement&& other) noexcept {
  if (this != &other) {
    if (filterFd >= 0) ::close(filterFd);
    words = std::move(other.words);
    filterFd = std::exchange(other.filterFd, -1);
  }
  return *this;
}

Confinement::~Confinement() {
  if (filterFd >= 0) ::close(filterFd);
}

void Confinement::prepareChild() const { passFilter(filterFd); }

std::optional<Confinement> confinementCommand(const fs::path& root, const fs::path& folder, std::string& why) {
  if (const char* inside = std::getenv(kConfinedVariable); inside && std::strcmp(inside, "1") == 0) {
    return Confinement{};
  }
  bool userNamespace = true;
  std::optional<fs::path> bwrap = usableBwrap(why, userNamespace);
  if (!bwrap) return std::nullopt;
  std::error_code ec;
  fs::path machine = fs::canonical(root, ec);
  if (ec) {
    why = "the machine folder " + root.string() + " cannot be found";
    return std::nullopt;
  }
  Confinement confinement;
  std::vector<std::string>& words = confinement.words;
  words = {bwrap->string(), "--ro-bind", "/", "/"};
  words.insert(words.end(), kOwnDev.begin(), kOwnDev.end());
  words.insert(words.end(), {"--bind", machine.string(), machine.string()});
  // The owner's configuration (its mapped programs, its drives) is read-only inside: a
  // program writing it there would choose what the owner's next command runs unconfined.
  // A file bound in place cannot be renamed, replaced or removed either.
  if (fs::path ini = machine / "machine.ini"; fs::is_regular_file(fs::symlink_status(ini, ec))) {
    words.insert(words.end(), {"--ro-bind", ini.string(), ini.string()});
  }
  for (const fs::path& file : recordFiles()) {
    words.insert(words.end(), {"--bind", file.string(), file.string()});
  }
  for (const std::string& word : walls(userNamespace)) words.push_back(word);
  confinement.filterFd = socketFilterDescriptor();
  if (confinement.filterFd >= 0) {
    words.insert(words.end(), {"--seccomp", std::to_string(confinement.filterFd)});
  } else if (!socketFilter().empty()) {
    why = std::string("the system call filter cannot be made: ") + std::strerror(errno);
    return std::nullopt;
  }
  words.insert(words.end(), {"--setenv", kConfinedVariable, "1", "--chdir", folder.string(), "--"});
  return confinement;
}

void setLauncherFolders(std::vector<fs::path> folders) { launcherFolders() = std::move(folders); }

bool canConfine(std::string& why) {
  bool userNamespace = true;
  return usableBwrap(why, userNamespace).has_value();
}

std::string unconfinedNotice(const std::string& program, const std::string& why) {
  return program + " runs unconfined, with the user's rights (" + why +
         "): it can write outside the machine";
}

}  // namespace vandrel::platform::emulated
