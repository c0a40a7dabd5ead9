// Installing packages with the real Setup.exe on fresh machine roots, against `cp -r` of the
// same files on the same disk: 2,000 files of 100 KB (200 MB), and 2,000 and 20,000 small
// files (the cost per entry must stay flat as the script grows). Each size is measured on its
// own and then with both sides taking turns. Then the action log's share of an installation:
// 2,000 files installed with and without VANDREL_LOG, taking turns.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "tests/support/run_program.h"
#include "ui/action_log.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using vandrel::test::binPath;
using vandrel::test::runProgram;
using vandrel::test::TempDir;

struct Package {
  TempDir dir;
  fs::path disk;  // the first disk folder, with Setup.exe, the engine and Script.vrx
};

// A package of count files of size bytes each, spread over four folders.
std::unique_ptr<Package> makePackage(int count, std::size_t size) {
  auto pkg = std::make_unique<Package>();
  pkg->disk = pkg->dir.path() / "Disk1";
  fs::create_directories(pkg->disk);
  std::mt19937 gen(12345);
  std::string content(size, '\0');
  std::string files;
  for (int i = 0; i < count; ++i) {
    for (std::size_t k = 0; k < content.size(); k += 64) content[k] = static_cast<char>(gen());
    std::string name = std::to_string(i);
    name = "f" + name + ".dat";
    vandrel::test::writeFile(pkg->disk / name, content);
    files += std::to_string(i) + "=" + name + "," + name + "," + std::to_string(i % 4) +
             ",1,0,1,1,0," + std::to_string(size) + ",0,0\r\n";
  }
  std::string script =
      "[Settings]\r\nAppName=Bench\r\nRegInfo=0\r\n[Directories]\r\nnbDir=8\r\n"
      "0=A,0,0,\r\n1=B,0,0,\r\n2=C,0,0,\r\n3=D,0,0,\r\n4=,0,0,\r\n5=,1,0,\r\n6=,2,0,\r\n"
      "7=,3,0,\r\n[Files]\r\nnbFiles=" + std::to_string(count) + "\r\n" + files;
  vandrel::test::writeFile(pkg->disk / "Script.vrx", script);
  fs::copy_file(binPath("Setup.exe"), pkg->disk / "Setup.exe");
  fs::path engine = fs::exists(binPath("Tam32E.ex_")) ? binPath("Tam32E.ex_") : binPath("tamsin32");
  fs::copy_file(engine, pkg->disk / "Tamsin32.ex_");
  return pkg;
}

Package& package(int count, std::size_t size) {
  static std::map<std::pair<int, std::size_t>, std::unique_ptr<Package>> made;
  auto& slot = made[{count, size}];
  if (!slot) slot = makePackage(count, size);
  return *slot;
}

// Where every run installs or copies, for the whole program. A host file system without a
// journal (ext4 here) passes over the inodes freed in the last half minute each time it makes
// a file, so a tree removed between runs would make the next run's creations cost more with
// every file removed before it, whichever side ran last. Trees stay until the program ends.
const TempDir& workArea() {
  static TempDir dir;
  return dir;
}

// A fresh machine root in the same temporary area as the copies of cp -r.
fs::path freshMachine() {
  static int made = 0;
  fs::path root = workArea().path() / ("machine" + std::to_string(made++));
  runProgram("vandrel-machine", {"init", root.string(), "--preset", "win98"});
  return root;
}

void installBench(benchmark::State& state, int count, std::size_t size) {
  Package& pkg = package(count, size);
  for (auto _ : state) {
    state.PauseTiming();
    fs::path root = freshMachine();
    state.ResumeTiming();
    auto result = runProgram((pkg.disk / "Setup.exe").string(), {},
                             {{"VANDREL_MACHINE", root.string()}, {"VANDREL_UI", "scripted"}}, 3600);
    if (result.exitStatus != 0) {
      state.SkipWithError(("setup failed: " + result.err).c_str());
      break;
    }
  }
  state.counters["files"] = count;
}

void copyBench(benchmark::State& state, int count, std::size_t size) {
  Package& pkg = package(count, size);
  for (auto _ : state) {
    state.PauseTiming();
    fs::path root = freshMachine();
    fs::path target = root / "drive_c" / "Install";
    state.ResumeTiming();
    auto result = runProgram("/bin/cp", {"-r", pkg.disk.string(), target.string()}, {}, 3600);
    if (result.exitStatus != 0) {
      state.SkipWithError("cp -r failed");
      break;
    }
  }
  state.counters["files"] = count;
}

// Both sides in turn within each iteration (which one goes first alternates), so that they
// meet the same state of a disk other programs are using too. The time is the installation's;
// cp_ms is the copy's and x_cp how many times the copy's time the installation took.
void installVersusCopy(benchmark::State& state, int count, std::size_t size) {
  using Clock = std::chrono::steady_clock;
  Package& pkg = package(count, size);
  double installTotal = 0, copyTotal = 0;
  int run = 0;
  for (auto _ : state) {
    fs::path machine = freshMachine();
    fs::path copyTarget = freshMachine() / "drive_c" / "Install";
    double installSeconds = 0, copySeconds = 0;
    bool ok = true;
    for (int side = 0; side < 2 && ok; ++side) {
      bool installing = (side + run) % 2 == 0;
      Clock::time_point start = Clock::now();
      auto result = installing ? runProgram((pkg.disk / "Setup.exe").string(), {},
                                            {{"VANDREL_MACHINE", machine.string()}, {"VANDREL_UI", "scripted"}}, 3600)
                               : runProgram("/bin/cp", {"-r", pkg.disk.string(), copyTarget.string()}, {}, 3600);
      double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      (installing ? installSeconds : copySeconds) = seconds;
      ok = result.exitStatus == 0;
      if (!ok) state.SkipWithError((std::string(installing ? "setup" : "cp -r") + " failed: " + result.err).c_str());
    }
    if (!ok) break;
    ++run;
    state.SetIterationTime(installSeconds);
    installTotal += installSeconds;
    copyTotal += copySeconds;
  }
  state.counters["files"] = count;
  if (run > 0 && copyTotal > 0) {
    state.counters["cp_ms"] = copyTotal * 1000 / run;
    state.counters["x_cp"] = installTotal / copyTotal;
  }
}

// One installation with the action log and one without in each iteration (which goes first
// alternates), on fresh machines. The time is the logged installation's; plain_ms is the other's
// and log_pct how much longer, in percent, the logged installation of a pair took, the median
// over the pairs (a disk shared with other programs makes single pairs stray both ways);
// log_cpu_pct the same for the processor time the installations used (the starter, the engine),
// which other programs on the machine disturb much less.
void installWithAndWithoutLog(benchmark::State& state, int count, std::size_t size) {
  using Clock = std::chrono::steady_clock;
  Package& pkg = package(count, size);
  double plainTotal = 0;
  std::vector<double> ratios, cpuRatios;
  auto childCpu = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  int run = 0;
  for (auto _ : state) {
    fs::path logged = freshMachine(), plain = freshMachine();
    double loggedSeconds = 0, plainSeconds = 0, loggedCpu = 0, plainCpu = 0;
    bool ok = true;
    for (int side = 0; side < 2 && ok; ++side) {
      bool logging = (side + run) % 2 == 0;
      fs::path root = logging ? logged : plain;
      double cpuBefore = childCpu();
      Clock::time_point start = Clock::now();
      auto result = runProgram((pkg.disk / "Setup.exe").string(), {},
                               {{"VANDREL_MACHINE", root.string()}, {"VANDREL_UI", "scripted"},
                                {"VANDREL_TRANSCRIPT", ""},
                                {"VANDREL_LOG", logging ? (root / "actions.jsonl").string() : ""}},
                               3600);
      double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      (logging ? loggedSeconds : plainSeconds) = seconds;
      (logging ? loggedCpu : plainCpu) = childCpu() - cpuBefore;
      ok = result.exitStatus == 0 && (!logging || fs::file_size(root / "actions.jsonl") > 0);
      if (!ok) state.SkipWithError(("setup failed: " + result.err).c_str());
    }
    if (!ok) break;
    ++run;
    state.SetIterationTime(loggedSeconds);
    plainTotal += plainSeconds;
    ratios.push_back(loggedSeconds / plainSeconds);
    if (plainCpu > 0) cpuRatios.push_back(loggedCpu / plainCpu);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  };
  state.counters["files"] = count;
  if (run > 0) {
    state.counters["plain_ms"] = plainTotal * 1000 / run;
    state.counters["log_pct"] = (median(ratios) - 1) * 100;
  }
  if (!cpuRatios.empty()) state.counters["log_cpu_pct"] = (median(cpuRatios) - 1) * 100;
}

// The log's own work for such an installation, in the program: a line per file (with the
// decision's counts kept for the summary), each written and flushed at once, then the summary.
void actionLogLines(benchmark::State& state, int count) {
  const std::string target = "C:\\Program Files\\Bench\\A\\f";
  int made = 0;
  for (auto _ : state) {
    fs::path file = workArea().path() / ("actions" + std::to_string(made++) + ".jsonl");
    vandrel::ui::ActionLog log(vandrel::ui::Program::Setup, file.string());
    for (int i = 0; i < count; ++i) {
      std::string name = std::to_string(i) + ".dat";
      log.file("Z:\\tmp\\pkg\\Disk1\\f" + name, target + name, "copied", "new file", 512);
    }
    log.summary(0, "the installation completed");
  }
  state.counters["lines"] = count + 1;
}

constexpr std::size_t kLarge = 100 * 1024;  // 2,000 x 100 KB = 200 MB
constexpr std::size_t kSmall = 512;

BENCHMARK_CAPTURE(installBench, large_2000, 2000, kLarge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(copyBench, large_2000, 2000, kLarge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(installBench, small_2000, 2000, kSmall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(copyBench, small_2000, 2000, kSmall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(installBench, small_20000, 20000, kSmall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(copyBench, small_20000, 20000, kSmall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(installVersusCopy, large_2000, 2000, kLarge)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
BENCHMARK_CAPTURE(installVersusCopy, small_2000, 2000, kSmall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(4);
BENCHMARK_CAPTURE(installVersusCopy, small_20000, 20000, kSmall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
BENCHMARK_CAPTURE(installWithAndWithoutLog, small_2000, 2000, kSmall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);
BENCHMARK_CAPTURE(installWithAndWithoutLog, large_2000, 2000, kLarge)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK_CAPTURE(actionLogLines, 2000, 2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
