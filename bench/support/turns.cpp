// Taking turns between two sides of a benchmark, and the medians of their times.
#include "bench/support/turns.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>

namespace vandrel::bench {

bool quickMode() {
  const char* value = std::getenv("VANDREL_BENCH_QUICK");
  return value && *value && std::string(value) != "0";
}

int scaled(int full, int quick) { return quickMode() ? quick : full; }

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void takeTurns(benchmark::State& state, const Turn& a, const Turn& b) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> aTimes, bTimes, ratios;
  for (auto _ : state) {
    std::string failure;
    try {
      if (a.prepare) a.prepare();
      if (b.prepare) b.prepare();
    } catch (const std::exception& e) {
      failure = e.what();
    }
    double seconds[2] = {0, 0};
    bool aFirst = aTimes.size() % 2 == 0;
    for (int turn = 0; turn < 2 && failure.empty(); ++turn) {
      bool isA = (turn == 0) == aFirst;
      Clock::time_point start = Clock::now();
      failure = (isA ? a : b).run();
      seconds[isA ? 0 : 1] = std::chrono::duration<double>(Clock::now() - start).count();
    }
    if (!failure.empty()) {
      state.SkipWithError(failure.c_str());
      break;
    }
    state.SetIterationTime(seconds[0]);
    aTimes.push_back(seconds[0]);
    bTimes.push_back(seconds[1]);
    if (seconds[1] > 0) ratios.push_back(seconds[0] / seconds[1]);
  }
  if (aTimes.empty()) return;
  state.counters["a_ms"] = median(aTimes) * 1000;
  state.counters["b_ms"] = median(bTimes) * 1000;
  state.counters["ratio"] = median(ratios);
}

int runBenchmarks(int argc, char** argv, const std::function<void()>& registerAll) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vandrel::bench
