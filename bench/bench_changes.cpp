// Installing packages whose scripts hold many Win.ini or registry entries and no files, with
// the real Setup.exe on fresh machine roots: the cost per entry must stay flat as the script
// grows. Each figure takes turns between a script of N entries and one of N / 10; peak_mb is
// the largest memory (resident set) any of the programs run reached.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "bench/support/bench_package.h"
#include "bench/support/turns.h"

namespace {

namespace fs = std::filesystem;
using namespace vandrel::bench;

enum class Kind { Ini, Registry };

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

const Package& package(Kind kind, int count) {
  static std::map<std::pair<Kind, int>, std::unique_ptr<Package>> made;
  auto& slot = made[{kind, count}];
  if (!slot) {
    slot = makePackage("[Directories]\r\nnbDir=4\r\n0=A,0,0,\r\n1=,0,0,\r\n2=,0,0,\r\n3=,0,0,\r\n" +
                       entries(kind, count) + "[Files]\r\nnbFiles=0\r\n");
  }
  return *slot;
}

Turn setupOf(const Package& pkg) {
  auto machine = std::make_shared<fs::path>();
  return {[machine] { *machine = freshMachine(); }, [&pkg, machine] { return runSetup(pkg, *machine); }};
}

void manyVersusFew(benchmark::State& state, Kind kind, int count) {
  takeTurns(state, setupOf(package(kind, count)), setupOf(package(kind, count / 10)));
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  state.counters["peak_mb"] = double(usage.ru_maxrss) / 1024;
  state.counters["entries"] = count;
}

void registerAll() {
  for (auto [name, kind, count] : {std::tuple{"ini_entries", Kind::Ini, scaled(30000, 3000)},
                                   std::tuple{"registry_entries", Kind::Registry, scaled(100000, 10000)}}) {
    benchmark::RegisterBenchmark(name, manyVersusFew, kind, count)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(scaled(3, 1));
  }
}

}  // namespace

int main(int argc, char** argv) { return runBenchmarks(argc, argv, registerAll); }
