// The main of every fuzz target in the normal (g++) build: runs the target once over each
// input file named on the command line or found below a named folder, in name order, so that
// ctest replays the corpus and the generated seeds under the sanitizers. A crash or a failed
// property aborts with the input's path on standard error. The libFuzzer build
// (scripts/fuzz.sh) links libFuzzer's own main instead.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace {

namespace fs = std::filesystem;

// The files named, or found below the folders named, each folder's files in name order.
bool collectInputs(const std::vector<std::string>& paths, std::vector<fs::path>& inputs) {
  for (const std::string& path : paths) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
      inputs.emplace_back(path);
      continue;
    }
    if (!fs::is_directory(path, error)) {
      std::fprintf(stderr, "no such input file or folder: %s\n", path.c_str());
      return false;
    }
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(path, error)) {
      if (entry.is_regular_file()) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    // libFuzzer's options (-runs=N, ...) are accepted and ignored: a replay runs each input once.
    if (argv[i][0] != '-') paths.emplace_back(argv[i]);
  }
  if (paths.empty()) {
    std::fprintf(stderr, "usage: %s <input file or folder>...\n", argv[0]);
    return 2;
  }
  std::vector<fs::path> inputs;
  if (!collectInputs(paths, inputs)) return 2;
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.eof() && in.fail()) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 2;
    }
    // Named before the run: a crash leaves the input's path as the last line.
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
