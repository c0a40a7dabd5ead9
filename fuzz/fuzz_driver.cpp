// A stand-in for libFuzzer where the compiler has none: runs every seed input, then a fixed
// number of deterministic mutations of them, and keeps the input that brought a crash.
//
// The parsers under test are compiled with -fsanitize-coverage=trace-pc: every branch they
// take calls __sanitizer_cov_trace_pc below, which marks the edge in a map. A mutated input
// that reaches an edge no earlier input reached joins the pool that later mutations start
// from, so the run works its way into the formats instead of bouncing off their first check.
//
// Usage: <target> [-runs=N] [-seed=S] [-max_len=N] [-timeout=S] [-max_total_time=S]
//                 [-artifact_prefix=P] [file or folder]...
// Folders are read in name order, so a run is the same on every machine.
#include <signal.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/mutator.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace {

namespace fs = std::filesystem;
using vandrel::fuzz::Input;

struct Options {
  std::size_t runs = 1000;
  std::uint64_t seed = 1;
  std::size_t maxLen = vandrel::fuzz::kMaxInput;
  unsigned timeout = 20;        // seconds for one input
  unsigned maxTotalTime = 0;    // seconds for the whole mutation loop; 0: no limit
  std::string artifactPrefix = "./";
  std::vector<std::string> paths;
};

// The input being run, for the crash handlers.
const std::uint8_t* gCurrent = nullptr;
std::size_t gCurrentSize = 0;
char gArtifactPath[4096] = "";
volatile sig_atomic_t gSaved = 0;
volatile sig_atomic_t gRunning = 0;

// Writes the current input to the artifact file; only async-signal-safe calls.
void saveCurrentInput(const char* reason) {
  if (gSaved || !gRunning) return;
  gSaved = 1;
  int fd = open(gArtifactPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) {
    std::size_t done = 0;
    while (done < gCurrentSize) {
      ssize_t n = write(fd, gCurrent + done, gCurrentSize - done);
      if (n <= 0) break;
      done += std::size_t(n);
    }
    close(fd);
  }
  const char* parts[] = {"\n==fuzz== ", reason, "; input saved to ", gArtifactPath, "\n"};
  for (const char* part : parts) {
    ssize_t ignored = write(STDERR_FILENO, part, std::strlen(part));
    (void)ignored;
  }
  // A short input is shown as hex, so that the log alone reproduces it.
  static const char hex[] = "0123456789abcdef";
  char line[3 * 32 + 2];
  for (std::size_t i = 0; i < gCurrentSize && i < 512; i += 32) {
    std::size_t n = 0;
    for (std::size_t j = i; j < gCurrentSize && j < i + 32; ++j) {
      line[n++] = hex[gCurrent[j] >> 4];
      line[n++] = hex[gCurrent[j] & 15];
      line[n++] = ' ';
    }
    line[n++] = '\n';
    ssize_t ignored = write(STDERR_FILENO, line, n);
    (void)ignored;
  }
}

void onSignal(int signal) {
  saveCurrentInput(signal == SIGALRM ? "timeout" : strsignal(signal));
  // Die the way the signal would have killed us.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigaction(signal == SIGALRM ? SIGABRT : signal, &action, nullptr);
  raise(signal == SIGALRM ? SIGABRT : signal);
}

void onSanitizerDeath() { saveCurrentInput("sanitizer report"); }

void installHandlers() {
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGABRT, &action, nullptr);
  sigaction(SIGALRM, &action, nullptr);
  if (__sanitizer_set_death_callback) {
    // The sanitizers report faults themselves (with the stack) and call us before dying.
    __sanitizer_set_death_callback(onSanitizerDeath);
  } else {
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(signal, &action, nullptr);
  }
}

bool parseNumber(const std::string& arg, const char* name, unsigned long long& out) {
  std::string prefix = std::string("-") + name + "=";
  if (arg.rfind(prefix, 0) != 0) return false;
  out = std::stoull(arg.substr(prefix.size()));
  return true;
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    unsigned long long n = 0;
    if (parseNumber(arg, "runs", n)) options.runs = std::size_t(n);
    else if (parseNumber(arg, "seed", n)) options.seed = n;
    else if (parseNumber(arg, "max_len", n)) options.maxLen = std::size_t(n);
    else if (parseNumber(arg, "timeout", n)) options.timeout = unsigned(n);
    else if (parseNumber(arg, "max_total_time", n)) options.maxTotalTime = unsigned(n);
    else if (arg.rfind("-artifact_prefix=", 0) == 0) options.artifactPrefix = arg.substr(17);
    else if (!arg.empty() && arg[0] == '-') std::fprintf(stderr, "ignoring option %s\n", argv[i]);
    else options.paths.push_back(arg);
  }
  return options;
}

Input readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Seed inputs from files and folders (a folder: its regular files, sorted by name).
std::vector<Input> loadSeeds(const std::vector<std::string>& paths, std::size_t maxLen) {
  std::vector<fs::path> files;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
      std::vector<fs::path> inFolder;
      for (const auto& entry : fs::recursive_directory_iterator(path, ec)) {
        if (entry.is_regular_file()) inFolder.push_back(entry.path());
      }
      std::sort(inFolder.begin(), inFolder.end());
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else if (fs::is_regular_file(path, ec)) {
      files.emplace_back(path);
    } else {
      std::fprintf(stderr, "no such seed file or folder: %s\n", path.c_str());
    }
  }
  std::vector<Input> seeds;
  for (const fs::path& file : files) {
    Input input = readFile(file);
    if (input.size() <= maxLen) seeds.push_back(std::move(input));
  }
  return seeds;
}

// The file name an input is kept under: its FNV-1a hash.
std::string artifactName(const Input& input) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint8_t b : input) hash = (hash ^ b) * 0x100000001B3ull;
  char name[32];
  std::snprintf(name, sizeof name, "crash-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

void runOne(const Input& input, const Options& options) {
  std::string path = options.artifactPrefix + artifactName(input);
  std::snprintf(gArtifactPath, sizeof gArtifactPath, "%s", path.c_str());
  gCurrent = input.data();
  gCurrentSize = input.size();
  gRunning = 1;
  alarm(options.timeout);
  // An empty vector may have no storage; targets get a valid pointer all the same.
  static const std::uint8_t kEmpty = 0;
  LLVMFuzzerTestOneInput(input.empty() ? &kEmpty : input.data(), input.size());
  alarm(0);
  gRunning = 0;
}

}  // namespace

// Edge coverage: the pair (previous branch, this branch), as addresses relative to this
// program so that runs repeat exactly whatever the load address.
namespace {
constexpr std::size_t kEdgeMapSize = 1 << 16;
std::uint8_t gEdges[kEdgeMapSize];
std::uintptr_t gPreviousPc = 0;
}  // namespace

extern "C" void __sanitizer_cov_trace_pc() {
  auto pc = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) -
            reinterpret_cast<std::uintptr_t>(&LLVMFuzzerTestOneInput);
  std::uintptr_t edge = (pc * 0x9E3779B1u) ^ gPreviousPc;
  gEdges[edge % kEdgeMapSize] = 1;
  gPreviousPc = (pc * 0x9E3779B1u) >> 1;
}

namespace {

// The edges seen by any input so far.
class CoverageMap {
 public:
  CoverageMap() : seen_(kEdgeMapSize, 0) {}
  static void reset() {
    std::memset(gEdges, 0, sizeof gEdges);
    gPreviousPc = 0;
  }
  // Folds in the edges of the last input; true when one of them is new.
  bool merge() {
    bool added = false;
    for (std::size_t i = 0; i < kEdgeMapSize; ++i) {
      if (gEdges[i] && !seen_[i]) {
        seen_[i] = 1;
        ++count_;
        added = true;
      }
    }
    return added;
  }
  std::size_t count() const { return count_; }

 private:
  std::vector<std::uint8_t> seen_;
  std::size_t count_ = 0;
};

// Inputs that reached new edges; beyond this many the pool stops growing.
constexpr std::size_t kMaxPool = 4096;

}  // namespace

int main(int argc, char** argv) {
  Options options = parseOptions(argc, argv);
  installHandlers();
  std::set_terminate([] {
    if (auto current = std::current_exception()) {
      try {
        std::rethrow_exception(current);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "uncaught exception: %s\n", e.what());
      } catch (...) {
        std::fprintf(stderr, "uncaught exception of unknown type\n");
      }
    }
    std::abort();
  });

  std::vector<Input> seeds = loadSeeds(options.paths, options.maxLen);
  // The empty input is always tried, and gives the mutations something to grow from.
  seeds.emplace_back();
  CoverageMap coverage;
  for (const Input& seed : seeds) {
    CoverageMap::reset();
    runOne(seed, options);
    coverage.merge();
  }
  std::vector<Input> pool = seeds;

  vandrel::fuzz::Mutator mutator(options.seed);
  auto start = std::chrono::steady_clock::now();
  std::size_t done = 0;
  for (; done < options.runs; ++done) {
    if (options.maxTotalTime && done % 64 == 0 &&
        std::chrono::steady_clock::now() - start > std::chrono::seconds(options.maxTotalTime)) {
      break;
    }
    const Input& base = pool[mutator.random().below(pool.size())];
    const Input& other = pool[mutator.random().below(pool.size())];
    Input input = mutator.mutate(base, other, options.maxLen);
    CoverageMap::reset();
    runOne(input, options);
    if (coverage.merge() && pool.size() < kMaxPool) pool.push_back(std::move(input));
  }
  auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  std::printf("%zu seed inputs, %zu mutated inputs in %.1f s, %zu edges, pool of %zu: no failure\n",
              seeds.size(), done, elapsed.count(), coverage.count(), pool.size());
  return 0;
}
