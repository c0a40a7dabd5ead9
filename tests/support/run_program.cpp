// Runs a program as a child process with a captured output and a time limit.
#include "tests/support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

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
      kill(-pid, SIGKILL);
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

}  // namespace vandrel::test
