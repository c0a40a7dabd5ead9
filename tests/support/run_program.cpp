// Runs a program as a child process with a captured output and a time limit.
#include "tests/support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vandrel::test {

std::filesystem::path binPath(const std::string& name) { return std::filesystem::path(VANDREL_BIN) / name; }
std::filesystem::path sourcePath() { return VANDREL_SOURCE; }

namespace {

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& env) {
  std::vector<std::string> result;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    std::string name = entry.substr(0, entry.find('='));
    if (!env.count(name)) result.push_back(entry);
  }
  for (const auto& [name, value] : env)
    if (!value.empty()) result.push_back(name + "=" + value);
  return result;
}

// A process's state letter and parent, from /proc; state '?' when it is gone.
struct ProcessEntry {
  char state = '?';
  pid_t parent = 0;
};

ProcessEntry processEntry(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  ProcessEntry entry;
  if (!std::getline(in, line)) return entry;
  // The name is in parentheses and may hold blanks: the state and the parent follow its end.
  std::size_t at = line.rfind(')');
  if (at == std::string::npos || at + 4 >= line.size()) return entry;
  entry.state = line[at + 2];
  entry.parent = pid_t(std::atol(line.c_str() + at + 4));
  return entry;
}

// Waits (a few seconds at most) until the process has stopped or ended.
void awaitStateOf(pid_t pid, bool stopped) {
  for (int i = 0; i < 5000; ++i) {
    char state = processEntry(pid).state;
    if (state == '?' || state == 'Z' || state == 'X' || (stopped && state == 'T')) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Kills the program and every program it started, however they are grouped (a confined
// program runs in a session of its own): each is stopped first, so that none starts another
// or leaves its parent meanwhile, then all are killed. Returns once none runs any more.
void killTree(pid_t root) {
  std::set<pid_t> tree{root};
  kill(-root, SIGSTOP);
  kill(root, SIGSTOP);
  awaitStateOf(root, true);
  for (std::size_t known = 0; known != tree.size();) {
    known = tree.size();
    std::error_code ec;
    for (std::filesystem::directory_iterator entry("/proc", ec), end; !ec && entry != end; entry.increment(ec)) {
      const std::string name = entry->path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      pid_t pid = pid_t(std::atol(name.c_str()));
      if (tree.count(pid) || !tree.count(processEntry(pid).parent)) continue;
      tree.insert(pid);
      kill(pid, SIGSTOP);
      awaitStateOf(pid, true);
    }
  }
  kill(-root, SIGKILL);
  for (pid_t pid : tree) kill(pid, SIGKILL);
  for (pid_t pid : tree)
    if (pid != root) awaitStateOf(pid, false);
}

}  // namespace

RunResult runProgramFor(const std::string& program, const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& env, std::chrono::milliseconds limit) {
  std::string path = program.find('/') == std::string::npos ? binPath(program).string() : program;
  // Close-on-exec, so that a program another thread starts meanwhile does not keep them open.
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

  std::vector<std::string> envText = childEnvironment(env);
  std::vector<char*> argv{path.data()};
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    setpgid(0, 0);
    execve(path.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  // The child's own group, set on both sides: a kill that comes before the child has set it
  // still reaches it and nothing else.
  setpgid(pid, pid);
  close(outPipe[1]);
  close(errPipe[1]);

  RunResult result;
  auto deadline = std::chrono::steady_clock::now() + limit;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  int open = 2;
  bool killed = false;
  while (open > 0) {
    int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                       deadline - std::chrono::steady_clock::now()).count());
    if (left <= 0) {
      killTree(pid);
      killed = true;
      break;
    }
    if (poll(fds, 2, left) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buffer, size_t(n));
      }
    }
  }
  for (auto& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  else if (WIFSIGNALED(status)) result.exitStatus = 128 + WTERMSIG(status);
  if (killed) result.err += "\n[killed after " + std::to_string(limit.count()) + " ms]";
  return result;
}

RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& env, int timeoutSeconds) {
  return runProgramFor(program, arguments, env, std::chrono::seconds(timeoutSeconds));
}

std::string windowsForm(const std::filesystem::path& host) {
  std::string path = "Z:" + host.string();
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string withScenarioFiles(std::string text, const std::filesystem::path& files) {
  const std::string source = windowsForm(files);
  for (std::size_t at = 0; (at = text.find("@SRC@", at)) != std::string::npos; at += source.size()) {
    text.replace(at, 5, source);
  }
  std::regex size("@SIZE:([^@]+)@");
  std::smatch m;
  while (std::regex_search(text, m, size)) {
    std::string bytes = std::to_string(std::filesystem::file_size(files / m[1].str()));
    text.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), bytes);
  }
  return text;
}

}  // namespace vandrel::test
