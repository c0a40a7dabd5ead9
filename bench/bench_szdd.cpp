// SZDD speed and size on one 20 MB file: our expander against libmspack's, our compressor
// against the mscompress program.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "bench/support/turns.h"
#include "platform/formats/szdd.h"
#include "tests/support/run_program.h"

#ifdef VANDREL_HAVE_MSPACK
#include <mspack.h>
#endif

namespace {

namespace fs = std::filesystem;
namespace szdd = vandrel::platform::szdd;
using vandrel::platform::Bytes;

constexpr std::size_t SampleSize = 20 * 1024 * 1024;

// 20 MB of deterministic data: text lines from a fixed vocabulary, runs, structured binary
// records (as in executables) and stretches of noise.
const Bytes& sample() {
  static const Bytes data = [] {
    std::mt19937 random(20240601);
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
      std::string w;
      for (int n = 2 + random() % 8; n > 0; --n) w.push_back(char('a' + random() % 26));
      words.push_back(w);
    }
    Bytes out;
    out.reserve(SampleSize + 4096);
    while (out.size() < SampleSize) {
      unsigned kind = random() % 10;
      if (kind < 5) {
        for (int n = 5 + random() % 30; n > 0; --n) {
          const std::string& w = words[random() % (n % 3 ? 200 : words.size())];
          out.insert(out.end(), w.begin(), w.end());
          out.push_back(' ');
        }
        out.push_back('\r');
        out.push_back('\n');
      } else if (kind < 8) {
        std::uint32_t base = random();
        for (int n = random() % 200; n > 0; --n) {  // 8-byte records with small changes
          std::uint32_t v = base + std::uint32_t(n) * 4;
          for (int b = 0; b < 4; ++b) out.push_back(std::uint8_t(v >> (8 * b)));
          out.push_back(std::uint8_t(random() % 4));
          out.push_back(0), out.push_back(0), out.push_back(0x8B);
        }
      } else if (kind == 8) {
        out.insert(out.end(), random() % 300, std::uint8_t(random() % 2 ? 0 : 0xCC));
      } else {
        for (int n = random() % 400; n > 0; --n) out.push_back(std::uint8_t(random()));
      }
    }
    out.resize(SampleSize);
    return out;
  }();
  return data;
}

// A scratch folder for this run, removed at exit.
struct WorkDir {
  fs::path path = fs::temp_directory_path() / ("vandrel-bench-szdd-" + std::to_string(::getpid()));
  WorkDir() { fs::create_directories(path); }
  ~WorkDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

const fs::path& workDir() {
  static const WorkDir dir;
  return dir.path;
}

void writeBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The sample compressed by us, on disk, for the two expanders.
const fs::path& compressedFile() {
  static const fs::path path = [] {
    fs::path p = workDir() / "sample.bi_";
    writeBytes(p, szdd::compress(sample(), 'n'));
    return p;
  }();
  return path;
}

std::uint64_t mscompressSize = 0;

bool expandOurs(const fs::path& in) {
  std::FILE* source = std::fopen(in.c_str(), "rb");
  std::FILE* sink = std::fopen("/dev/null", "wb");
  szdd::Status status = szdd::expand(
      [source](std::uint8_t* b, std::size_t n) { return std::int64_t(std::fread(b, 1, n, source)); },
      [sink](const std::uint8_t* d, std::size_t n) { return std::fwrite(d, 1, n, sink) == n; });
  std::fclose(source);
  std::fclose(sink);
  return status == szdd::Status::Ok;
}

void BM_ExpandOurs(benchmark::State& state) {
  const fs::path& in = compressedFile();
  for (auto _ : state) {
    if (!expandOurs(in)) state.SkipWithError("expansion failed");
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * SampleSize));
}
BENCHMARK(BM_ExpandOurs)->Unit(benchmark::kMillisecond);

#ifdef VANDREL_HAVE_MSPACK
void BM_ExpandLibmspack(benchmark::State& state) {
  const fs::path& in = compressedFile();
  msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
  for (auto _ : state) {
    if (d->decompress(d, in.c_str(), "/dev/null") != MSPACK_ERR_OK) {
      state.SkipWithError("libmspack failed");
    }
  }
  mspack_destroy_szdd_decompressor(d);
  state.SetBytesProcessed(std::int64_t(state.iterations() * SampleSize));
}
BENCHMARK(BM_ExpandLibmspack)->Unit(benchmark::kMillisecond);

// libmspack's expansion and ours taking turns: ratio is how many times our time libmspack's
// took.
void BM_ExpandLibmspackVersusOurs(benchmark::State& state) {
  const fs::path& in = compressedFile();
  msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
  vandrel::bench::Turn theirs{{}, [&] {
                                return d->decompress(d, in.c_str(), "/dev/null") == MSPACK_ERR_OK
                                           ? std::string()
                                           : std::string("libmspack failed");
                              }};
  vandrel::bench::Turn ours{{}, [&] { return expandOurs(in) ? std::string() : std::string("expansion failed"); }};
  vandrel::bench::takeTurns(state, theirs, ours);
  mspack_destroy_szdd_decompressor(d);
}
BENCHMARK(BM_ExpandLibmspackVersusOurs)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);
#endif

// The mscompress program on the same data, once (it is slow); its size is the reference.
void BM_CompressMscompress(benchmark::State& state) {
  fs::path in = workDir() / "sample.bin";
  for (auto _ : state) {
    state.PauseTiming();
    writeBytes(in, sample());
    fs::remove(workDir() / "sample.bin_");
    state.ResumeTiming();
    auto result = vandrel::test::runProgram("/usr/bin/mscompress", {in.string()}, {}, 600);
    if (result.exitStatus != 0) {
      state.SkipWithError("mscompress is not available");
      break;
    }
  }
  std::error_code ec;
  mscompressSize = fs::file_size(workDir() / "sample.bin_", ec);
  if (ec) {
    mscompressSize = 0;
    return;
  }
  state.counters["compressed_bytes"] = double(mscompressSize);
  state.SetBytesProcessed(std::int64_t(state.iterations() * SampleSize));
}
// It runs in a child process: only the wall-clock time means anything.
BENCHMARK(BM_CompressMscompress)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_CompressOurs(benchmark::State& state) {
  szdd::CompressOptions options;
  options.maxChain = unsigned(state.range(0));
  std::uint64_t size = 0;
  for (auto _ : state) {
    size = 0;
    szdd::compress(szdd::memorySource(sample().data(), sample().size()), sample().size(), 'n',
                   [&size](const std::uint8_t*, std::size_t n) {
                     size += n;
                     return true;
                   },
                   options);
  }
  state.counters["compressed_bytes"] = double(size);
  if (mscompressSize) {
    state.counters["vs_mscompress_pct"] = 100.0 * double(size) / double(mscompressSize) - 100.0;
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * SampleSize));
}
BENCHMARK(BM_CompressOurs)->Unit(benchmark::kMillisecond)->Arg(256)->Arg(64)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
