// The programs a plan starts: this system's own, told by their contents, run from host copies.
#include "platform/plan/plan_programs.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

extern char** environ;

namespace vandrel::platform {

namespace {

// The programs of this system that plan themselves, as built beside one another.
constexpr const char* kPlanningPrograms[] = {"Setup.exe", "tamsin32", "tamsin32-fr", "peskin32", "peskin32-fr"};

bool sameContents(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(a, ec);
  if (ec || std::filesystem::file_size(b, ec) != size || ec) return false;
  std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
  std::vector<char> x(1 << 16), y(1 << 16);
  while (left && right) {
    left.read(x.data(), std::streamsize(x.size()));
    right.read(y.data(), std::streamsize(y.size()));
    if (left.gcount() != right.gcount() || std::memcmp(x.data(), y.data(), std::size_t(left.gcount())) != 0)
      return false;
  }
  return left.eof() && right.eof();
}

}  // namespace

std::optional<int> startCarriedPlan(const std::filesystem::path& program,
                                const std::optional<std::string>& argument,
                                const std::filesystem::path& folder,
                                const std::filesystem::path& carry) {
  std::vector<std::string> args{program.string()};
  if (argument) args.push_back(*argument);
  std::vector<std::string> env;
  const std::string carryName = std::string(kPlanCarryVariable) + "=";
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, carryName.c_str(), carryName.size()) != 0) env.push_back(*e);
  env.push_back(carryName + carry.string());
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::cout.flush();
  std::cerr.flush();
  // The pipe closes on a successful exec; otherwise it carries the error.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return std::nullopt;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    if (::chdir(folder.c_str()) == 0) ::execve(argv[0], argv.data(), envp.data());
    int err = errno;
    ssize_t ignored = ::write(report[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  ::close(report[1]);
  if (pid < 0) {
    ::close(report[0]);
    return std::nullopt;
  }
  int err = 0;
  ssize_t got;
  while ((got = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (got == sizeof err) return std::nullopt;  // it could not be started
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return std::nullopt;
}

bool plansItself(const std::filesystem::path& host) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || !std::filesystem::is_regular_file(host, ec)) return false;
  for (const char* name : kPlanningPrograms) {
    if (sameContents(host, self.parent_path() / name)) return true;
  }
  return false;
}

std::unique_ptr<PlanMachine> makePlan(std::unique_ptr<Machine> base) {
  return std::make_unique<PlanMachine>(std::move(base), startCarriedPlan, plansItself);
}

}  // namespace vandrel::platform
