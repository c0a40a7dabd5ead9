// What every fuzz target shares: the entry point, the input size cap and property checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vandrel::fuzz {

// Inputs above this size are skipped: real files of these formats are small, and the cap
// keeps any slow path in a parser from stalling a short run.
inline constexpr std::size_t kMaxInput = 64 * 1024;

// A property of the parser that does not hold: reported like a crash, so that libFuzzer
// keeps the input (and a replay names it).
[[noreturn]] inline void propertyFailed(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace vandrel::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::vandrel::fuzz::propertyFailed(__FILE__, __LINE__, #condition))
