// Removing a package installed by the real Setup.exe, in the program: against `rm -r` of the
// same installed tree on another machine, and 20,000 small files against 2,000 (the whole
// removal, with its script check, six steps and result, must grow linearly), taking turns.
// As a user removes it, through `vandrel-machine uninstall`: one file against rm of it (the
// fixed cost of every removal), and 2,000 files of 100 KB against rm -r.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/bench_package.h"
#include "bench/support/turns.h"
#include "platform/emulated/machine_root.h"
#include "tests/support/fake_interaction.h"
#include "tests/support/run_program.h"
#include "uninstall/driver.h"
#include "uninstall/strings/uninstall_strings.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel;
using namespace vandrel::bench;

constexpr std::size_t kSmall = 512;
constexpr std::size_t kLarge = 100 * 1024;

// A fresh machine with the package installed on it.
fs::path installedMachine(const Package& pkg) {
  fs::path root = freshMachine();
  std::string failure = runSetup(pkg, root);
  if (!failure.empty()) throw std::runtime_error(failure);
  return root;
}

// The removal of the package from a machine it was installed on, with every question
// answered Yes; the time includes opening the machine.
Turn removing(const Package& pkg) {
  auto root = std::make_shared<fs::path>();
  return {[&pkg, root] { *root = installedMachine(pkg); },
          [root]() -> std::string {
            test::FakeInteraction quiet;
            quiet.recording = false;
            std::unique_ptr<platform::Machine> machine = platform::emulated::openMachine(*root, {});
            uninstall::UninstallApp app(*machine, quiet, uninstall::uninstallStrings());
            uninstall::Ending ending = uninstall::runUninstaller(app, kInstallFolder);
            if (ending != uninstall::Ending::Completed)
              return "the removal ended with " + std::to_string(int(ending));
            return {};
          }};
}

void removalVersusRm(benchmark::State& state, int count) {
  const Package& pkg = filesPackage(count, kSmall);
  auto tree = std::make_shared<fs::path>();
  Turn rm{[&pkg, tree] {
            fs::path root = installedMachine(pkg);
            auto host = test::runProgram("vandrel-machine", {"path", root.string(), kInstallFolder});
            *tree = host.out.substr(0, host.out.find('\n'));
          },
          [tree] {
            auto result = test::runProgram("/bin/rm", {"-r", tree->string()}, {}, 3600);
            return result.exitStatus == 0 ? std::string() : "rm -r failed: " + result.err;
          }};
  takeTurns(state, removing(pkg), rm);
  state.counters["files"] = count;
}

// The host folder of a Windows path of the machine.
fs::path hostPath(const fs::path& root, const std::string& windowsPath) {
  auto host = test::runProgram("vandrel-machine", {"path", root.string(), windowsPath});
  return host.out.substr(0, host.out.find('\n'));
}

// The removal as a user starts it: the whole process of `vandrel-machine uninstall` (the
// machine tool, the uninstaller it starts confined, its questions answered unattended).
Turn removingAsAUser(const Package& pkg) {
  auto root = std::make_shared<fs::path>();
  return {[&pkg, root] { *root = installedMachine(pkg); }, [root] { return runRemoval(*root); }};
}

// removal_one_vs_rm: the fixed cost of a removal, a package of one file against rm of that file.
void removalOneVersusRm(benchmark::State& state) {
  const Package& pkg = removablePackage(1, kLarge);
  auto file = std::make_shared<fs::path>();
  // The package's one file lies in the Windows folder.
  Turn rm{[&pkg, file] { *file = hostPath(installedMachine(pkg), "C:\\WINDOWS") / "f0.dat"; },
          [file] {
            auto result = test::runProgram("/bin/rm", {file->string()}, {}, 60);
            return result.exitStatus == 0 ? std::string() : "rm failed: " + result.err;
          }};
  takeTurns(state, removingAsAUser(pkg), rm);
}

// removal_process_vs_rm: 2,000 files of 100 KB removed as a user does, against rm -r of the
// installed tree.
void removalProcessVersusRm(benchmark::State& state, int count) {
  const Package& pkg = removablePackage(count, kLarge);
  auto tree = std::make_shared<fs::path>();
  Turn rm{[&pkg, tree] { *tree = hostPath(installedMachine(pkg), kInstallFolder); },
          [tree] {
            auto result = test::runProgram("/bin/rm", {"-r", tree->string()}, {}, 3600);
            return result.exitStatus == 0 ? std::string() : "rm -r failed: " + result.err;
          }};
  takeTurns(state, removingAsAUser(pkg), rm);
  state.counters["files"] = count;
}

void removalManyVersusFew(benchmark::State& state, int few) {
  takeTurns(state, removing(filesPackage(few * 10, kSmall)), removing(filesPackage(few, kSmall)));
  state.counters["files"] = few * 10;
}

void registerAll() {
  const int files = scaled(2000, 200);
  benchmark::RegisterBenchmark("removal_vs_rm", removalVersusRm, files)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(scaled(5, 3));
  benchmark::RegisterBenchmark("removal_one_vs_rm", removalOneVersusRm)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(scaled(9, 5));
  benchmark::RegisterBenchmark("removal_process_vs_rm", removalProcessVersusRm, files)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(scaled(5, 3));
  benchmark::RegisterBenchmark("removal_many_vs_few", removalManyVersusFew, files)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(3);
}

}  // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv, registerAll); }
