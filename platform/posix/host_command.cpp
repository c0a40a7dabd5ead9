// Running a host program with posix_spawnp, its output read through a pipe.
#include "platform/host_command.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace vandrel::platform {

std::optional<HostCommandResult> runHostCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return std::nullopt;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (started != 0) {
    ::close(pipeEnds[0]);
    return std::nullopt;
  }
  HostCommandResult result;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (n > 0) result.output.append(buffer, std::size_t(n));
    else if (n == 0 || errno != EINTR) break;
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace vandrel::platform
