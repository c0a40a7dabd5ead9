// Running the programs a package starts under bubblewrap.
#include "platform/emulated/confinement.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace vandrel::platform::emulated {

namespace {

std::optional<fs::path> findBwrap() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path && *path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (folder.empty()) continue;
    fs::path candidate = fs::path(folder) / "bwrap";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// Runs bwrap once with the options every confinement uses; empty when it works, else what it
// said (its first line) or why it did not run.
std::string probe(const fs::path& bwrap) {
  std::vector<std::string> args{bwrap.string(), "--ro-bind", "/", "/", "--dev", "/dev", "--unshare-net",
                                "--new-session", "--", "/bin/true"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) return std::strerror(errno);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(output[1], STDOUT_FILENO);
    ::dup2(output[1], STDERR_FILENO);
    ::execve(argv[0], argv.data(), environ);
    _exit(127);
  }
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

// The bwrap that can confine programs on this host, asked once per PATH; empty, with the reason
// in why, when there is none.
std::optional<fs::path> usableBwrap(std::string& why) {
  struct Answer {
    std::optional<fs::path> bwrap;
    std::string why;
  };
  static std::map<std::string, Answer> asked;
  const char* path = std::getenv("PATH");
  auto [at, isNew] = asked.try_emplace(path ? path : "");
  Answer& answer = at->second;
  if (isNew) {
    answer.bwrap = findBwrap();
    if (!answer.bwrap) {
      answer.why = "bwrap (Debian package bubblewrap) is not installed";
    } else if (std::string failure = probe(*answer.bwrap); !failure.empty()) {
      answer.bwrap.reset();
      answer.why = "bwrap cannot run here: " + failure;
    }
  }
  why = answer.why;
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

std::optional<std::vector<std::string>> confinementCommand(const fs::path& root, const fs::path& folder,
                                                           std::string& why) {
  if (const char* inside = std::getenv(kConfinedVariable); inside && std::strcmp(inside, "1") == 0) {
    return std::vector<std::string>{};
  }
  std::optional<fs::path> bwrap = usableBwrap(why);
  if (!bwrap) return std::nullopt;
  std::error_code ec;
  fs::path machine = fs::canonical(root, ec);
  if (ec) {
    why = "the machine folder " + root.string() + " cannot be found";
    return std::nullopt;
  }
  std::vector<std::string> words{bwrap->string(), "--ro-bind", "/", "/", "--dev", "/dev",
                                 "--bind", machine.string(), machine.string()};
  for (const fs::path& file : recordFiles()) {
    words.insert(words.end(), {"--bind", file.string(), file.string()});
  }
  words.insert(words.end(), {"--unshare-net", "--new-session", "--setenv", kConfinedVariable, "1",
                             "--chdir", folder.string(), "--"});
  return words;
}

bool canConfine(std::string& why) { return usableBwrap(why).has_value(); }

std::string unconfinedNotice(const std::string& program, const std::string& why) {
  return program + " runs unconfined, with the user's rights (" + why +
         "): it can write outside the machine";
}

}  // namespace vandrel::platform::emulated
