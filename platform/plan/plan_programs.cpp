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

#include "platform/formats/szdd.h"

extern char** environ;

namespace vandrel::platform {

namespace {

// The programs of this system that plan themselves, as built beside one another, and the
// compressed companions a package carries them in (expanded, a machine holds those).
constexpr const char* kPlanningPrograms[] = {"Setup.exe", "tamsin32", "tamsin32-fr", "peskin32", "peskin32-fr"};
constexpr const char* kPlanningCompanions[] = {"Tam32E.ex_", "Tam32F.ex_", "Pes32E.ex_", "Pes32F.ex_"};

std::optional<Bytes> wholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

// The expanded contents of a companion; nothing when it is missing or not whole.
std::optional<Bytes> expanded(const std::filesystem::path& companion) {
  std::optional<Bytes> compressed = wholeFile(companion);
  Bytes out;
  if (!compressed || szdd::expand(*compressed, out) != szdd::Status::Ok) return std::nullopt;
  return out;
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
  const std::uintmax_t size = std::filesystem::file_size(host, ec);
  std::optional<Bytes> contents;
  auto same = [&](const Bytes& program) {
    if (program.size() != size) return false;
    if (!contents) contents = wholeFile(host);
    return contents && *contents == program;
  };
  for (const char* name : kPlanningPrograms) {
    const std::filesystem::path program = self.parent_path() / name;
    if (std::filesystem::file_size(program, ec) != size || ec) continue;
    if (std::optional<Bytes> built = wholeFile(program); built && same(*built)) return true;
  }
  for (const char* name : kPlanningCompanions) {
    if (std::optional<Bytes> program = expanded(self.parent_path() / name); program && same(*program)) return true;
  }
  return false;
}

std::unique_ptr<PlanMachine> makePlan(std::unique_ptr<Machine> base) {
  return std::make_unique<PlanMachine>(std::move(base), startCarriedPlan, plansItself);
}

}  // namespace vandrel::platform
