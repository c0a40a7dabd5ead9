// Two ways of doing the same work, measured taking turns (A B, B A, A B ...) so that both meet
// the same state of a machine that other programs share, and the medians scripts/bench.sh
// prints as ratios.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

namespace vandrel::bench {

// Set by VANDREL_BENCH_QUICK (any value but "0"): fewer and smaller runs, to check that the
// benchmarks work rather than to measure.
bool quickMode();
// full, or quick in quick mode.
int scaled(int full, int quick);

double median(std::vector<double> values);

// One side of a comparison.
struct Turn {
  std::function<void()> prepare;     // untimed, before each run; throws when it cannot be done
  std::function<std::string()> run;  // the timed work: empty when it went well, else why not
};

// Each iteration prepares both sides, then runs a and b, the one going first alternating.
// The iteration's time is a's. Counters: a_ms and b_ms, the medians of each side's times, and
// ratio, the median over the iterations of a's time divided by b's.
void takeTurns(benchmark::State& state, const Turn& a, const Turn& b);

// Registers the benchmarks made by registerAll (which may read quickMode()) and runs those the
// command line selects; for the main of a benchmark program.
int runBenchmarks(int argc, char** argv, const std::function<void()>& registerAll);

}  // namespace vandrel::bench
