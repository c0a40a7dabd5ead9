// Installing packages with the real Setup.exe on fresh machine roots, against `cp -r` of the
// same package folder, taking turns: one file against cp of it (the fixed cost of every
// installation), 2,000 files of 100 KB (200 MB), and 20,000 small files against 2,000 (the
// cost per file must stay flat as the script grows). Then the action
// log's share of an installation: 2,000 files installed with and without VANDREL_LOG.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "bench/support/bench_package.h"
#include "bench/support/turns.h"
#include "tests/support/run_program.h"
#include "ui/action_log.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel::bench;
using vandrel::test::runProgram;

constexpr std::size_t kLarge = 100 * 1024;  // 2,000 x 100 KB = 200 MB
constexpr std::size_t kSmall = 512;

// An installation of the package on a fresh machine.
Turn installing(const Package& pkg) {
  auto machine = std::make_shared<fs::path>();
  return {[machine] { *machine = freshMachine(); }, [&pkg, machine] { return runSetup(pkg, *machine); }};
}

// install_vs_cp: the installation against cp -r of the package folder into a fresh machine's
// drive C.
void installVersusCopy(benchmark::State& state, int count, std::size_t size) {
  const Package& pkg = filesPackage(count, size);
  auto target = std::make_shared<fs::path>();
  Turn copy{[target] { *target = freshMachine() / "drive_c" / "Install"; },
            [&pkg, target] {
              auto result = runProgram("/bin/cp", {"-r", pkg.disk.string(), target->string()}, {}, 3600);
              return result.exitStatus == 0 ? std::string() : "cp -r failed: " + result.err;
            }};
  takeTurns(state, installing(pkg), copy);
  state.counters["files"] = count;
}

// install_one_vs_cp: the fixed cost of an installation as a user sees it, the whole process
// from Setup.exe (the starter, the engine, the uninstaller put in place and registered) for a
// package of one file, against cp of that one file into a fresh machine's drive C.
void installOneVersusCopy(benchmark::State& state) {
  const Package& pkg = removablePackage(1, kLarge);
  auto target = std::make_shared<fs::path>();
  Turn copy{[target] { *target = freshMachine() / "drive_c" / "f0.dat"; },
            [&pkg, target] {
              auto result = runProgram("/bin/cp", {(pkg.disk / "f0.dat").string(), target->string()}, {}, 60);
              return result.exitStatus == 0 ? std::string() : "cp failed: " + result.err;
            }};
  takeTurns(state, installing(pkg), copy);
}

// install_many_vs_few: ten times the files against the smaller package.
void installManyVersusFew(benchmark::State& state, int few, std::size_t size) {
  takeTurns(state, installing(filesPackage(few * 10, size)), installing(filesPackage(few, size)));
  state.counters["files"] = few * 10;
}

double childCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One installation with the action log and one without, taking turns. The time is the
// logged installation's; ratio how many times the plain one's it took, and log_cpu_pct how much
// longer, in percent, the processor time of the logged one was (the starter, the engine),
// which other programs on the machine disturb much less.
void installWithAndWithoutLog(benchmark::State& state, int count, std::size_t size) {
  const Package& pkg = filesPackage(count, size);
  auto logged = std::make_shared<fs::path>(), plain = std::make_shared<fs::path>();
  std::vector<double> loggedCpu, plainCpu;
  auto measured = [](std::vector<double>& cpu, std::string failure, double before) {
    cpu.push_back(childCpuSeconds() - before);
    return failure;
  };
  Turn withLog{[logged] { *logged = freshMachine(); },
               [&, logged] {
                 double before = childCpuSeconds();
                 fs::path log = *logged / "actions.jsonl";
                 std::string failure =
                     runSetup(pkg, *logged, {{"VANDREL_TRANSCRIPT", ""}, {"VANDREL_LOG", log.string()}});
                 if (failure.empty() && fs::file_size(log) == 0) failure = "the action log is empty";
                 return measured(loggedCpu, failure, before);
               }};
  Turn withoutLog{[plain] { *plain = freshMachine(); },
                  [&, plain] {
                    double before = childCpuSeconds();
                    return measured(plainCpu, runSetup(pkg, *plain, {{"VANDREL_TRANSCRIPT", ""}, {"VANDREL_LOG", ""}}),
                                    before);
                  }};
  takeTurns(state, withLog, withoutLog);
  std::vector<double> ratios;
  for (std::size_t i = 0; i < loggedCpu.size() && i < plainCpu.size(); ++i)
    if (plainCpu[i] > 0) ratios.push_back(loggedCpu[i] / plainCpu[i]);
  if (!ratios.empty()) state.counters["log_cpu_pct"] = (median(ratios) - 1) * 100;
}

// The log's own work for such an installation, in the program: a line per file (with the
// decision's counts kept for the summary), each written and flushed at once, then the summary.
void actionLogLines(benchmark::State& state, int count) {
  const std::string target = "C:\\Program Files\\Bench\\A\\f";
  int made = 0;
  for (auto _ : state) {
    fs::path file = workArea() / ("actions" + std::to_string(made++) + ".jsonl");
    vandrel::ui::ActionLog log(vandrel::ui::Program::Setup, file.string());
    for (int i = 0; i < count; ++i) {
      std::string name = std::to_string(i) + ".dat";
      log.file("Z:\\tmp\\pkg\\Disk1\\f" + name, target + name, "copied", "new file", 512);
    }
    log.summary(0, "the installation completed");
  }
  state.counters["lines"] = count + 1;
}

void registerAll() {
  const int files = scaled(2000, 200);
  const int pairs = scaled(5, 3);
  auto turns = [pairs](benchmark::internal::Benchmark* b, int iterations = 0) {
    b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(iterations ? iterations : pairs);
  };
  turns(benchmark::RegisterBenchmark("install_one_vs_cp", installOneVersusCopy), scaled(9, 5));
  turns(benchmark::RegisterBenchmark("install_vs_cp/large", installVersusCopy, files, kLarge));
  turns(benchmark::RegisterBenchmark("install_vs_cp/small", installVersusCopy, files, kSmall));
  turns(benchmark::RegisterBenchmark("install_many_vs_few", installManyVersusFew, files, kSmall), scaled(3, 3));
  turns(benchmark::RegisterBenchmark("install_log_share/small", installWithAndWithoutLog, files, kSmall),
        scaled(9, 3));
  turns(benchmark::RegisterBenchmark("install_log_share/large", installWithAndWithoutLog, files, kLarge));
  benchmark::RegisterBenchmark("action_log_lines", actionLogLines, files)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv, registerAll); }
