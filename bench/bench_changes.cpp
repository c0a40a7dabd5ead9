// Installing packages whose scripts hold many Win.ini or registry entries and no files,
// with the real Setup.exe on fresh machine roots: the cost per entry must stay flat as the
// script grows (1,000 to 30,000 [AddINI] entries, 10,000 and 100,000 [Registry] entries).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using vandrel::test::binPath;
using vandrel::test::runProgram;
using vandrel::test::TempDir;

enum class Kind { Ini, Registry };

struct Package {
  TempDir dir;
  fs::path disk;  // the first disk folder, with Setup.exe, the engine and Script.vrx
};

// Entries spread over eight Win.ini sections or eight registry keys, each with its own name.
std::string entries(Kind kind, int count) {
  std::string text = kind == Kind::Ini ? "[AddINI]\r\nnbINI=" : "[Registry]\r\nnbReg=";
  text += std::to_string(count) + "\r\n";
  for (int i = 0; i < count; ++i) {
    std::string n = std::to_string(i);
    std::string group = std::to_string(i % 8);
    if (kind == Kind::Ini) {
      text += n + "=Bench" + group + ",Key" + n + ",[0]\\file" + n + ".dat\r\n";
    } else {
      text += n + "=1,Software\\Bench\\Group" + group + ",Value" + n + ",[0]\\file" + n + ".dat\r\n";
    }
  }
  return text;
}

std::unique_ptr<Package> makePackage(Kind kind, int count) {
  auto pkg = std::make_unique<Package>();
  pkg->disk = pkg->dir.path() / "Disk1";
  fs::create_directories(pkg->disk);
  std::string script =
      "[Settings]\r\nAppName=Bench\r\nRegInfo=0\r\n[Directories]\r\nnbDir=4\r\n"
      "0=A,0,0,\r\n1=,0,0,\r\n2=,0,0,\r\n3=,0,0,\r\n" + entries(kind, count) +
      "[Files]\r\nnbFiles=0\r\n";
  vandrel::test::writeFile(pkg->disk / "Script.vrx", script);
  fs::copy_file(binPath("Setup.exe"), pkg->disk / "Setup.exe");
  fs::path engine = fs::exists(binPath("Tam32E.ex_")) ? binPath("Tam32E.ex_") : binPath("tamsin32");
  fs::copy_file(engine, pkg->disk / "Tamsin32.ex_");
  return pkg;
}

Package& package(Kind kind, int count) {
  static std::map<std::pair<Kind, int>, std::unique_ptr<Package>> made;
  auto& slot = made[{kind, count}];
  if (!slot) slot = makePackage(kind, count);
  return *slot;
}

const TempDir& workArea() {
  static TempDir dir;
  return dir;
}

fs::path freshMachine() {
  static int made = 0;
  fs::path root = workArea().path() / ("machine" + std::to_string(made++));
  runProgram("vandrel-machine", {"init", root.string(), "--preset", "win98"});
  return root;
}

void setupBench(benchmark::State& state, Kind kind) {
  const int count = static_cast<int>(state.range(0));
  Package& pkg = package(kind, count);
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
  state.SetItemsProcessed(state.iterations() * count);
}

void BM_SetupIniEntries(benchmark::State& state) { setupBench(state, Kind::Ini); }
void BM_SetupRegistryEntries(benchmark::State& state) { setupBench(state, Kind::Registry); }

BENCHMARK(BM_SetupIniEntries)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SetupRegistryEntries)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
