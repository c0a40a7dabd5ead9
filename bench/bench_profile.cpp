// Reading every entry of a large script through the profile functions: the cost must grow
// linearly with the number of entries read (one parse, then constant-time lookups).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ini/ini_profile.h"
#include "script/script_reader.h"
#include "tests/support/memory_file_system.h"

namespace {

constexpr const char* kScript = "C:\\App\\Script.vrx";

std::string scriptText(int entries) {
  std::string text = "\r\n;---> Vandrel v3.0 Script file\r\n\r\n[Settings]\r\nAppName=Bench\r\n";
  text += "\r\n[Files]\r\nnbFiles=" + std::to_string(entries) + "\r\n";
  for (int i = 0; i < entries; ++i) {
    std::string n = std::to_string(i);
    text += n + "=file" + n + ".ex_,file" + n + ".exe,3,1,0,1,0,1,12345,0,0\r\n";
  }
  return text;
}

// A fresh profile (empty cache) reads the count, then every entry.
void BM_ReadEveryEntry(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  vandrel::test::MemoryFileSystem fs;
  fs.writeFile(kScript, scriptText(entries));
  for (auto _ : state) {
    vandrel::platform::IniProfile profile(fs, [] { return std::string("C:\\WINDOWS"); });
    vandrel::script::ScriptReader reader(profile, kScript);
    long count = reader.number("Files", "nbFiles", "0");
    std::size_t total = 0;
    for (long i = 0; i < count; ++i) total += reader.value("Files", std::to_string(i), "").size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * entries);
  state.SetComplexityN(entries);
}
BENCHMARK(BM_ReadEveryEntry)
    ->RangeMultiplier(4)
    ->Range(1250, 20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Reads of one large file interleaved with writes of a few added sections (as the setup
// records what it created): each write replaces the file, each read is served from the cache.
void BM_ReadsBetweenWrites(benchmark::State& state) {
  vandrel::test::MemoryFileSystem fs;
  fs.writeFile(kScript, scriptText(20000));
  for (auto _ : state) {
    vandrel::platform::IniProfile profile(fs, [] { return std::string("C:\\WINDOWS"); });
    vandrel::script::ScriptReader reader(profile, kScript);
    for (int i = 0; i < 20000; ++i) {
      benchmark::DoNotOptimize(reader.value("Files", std::to_string(i), ""));
      if (i % 2000 == 0) reader.write("AddedLinks", std::to_string(i / 2000), "C:\\x.lnk");
    }
  }
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ReadsBetweenWrites)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
