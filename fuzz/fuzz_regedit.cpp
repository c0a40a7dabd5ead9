// Fuzz target: REGEDIT4 text imported into the SQLite registry of the emulated machine.
//
// One registry file serves the whole process (opening one per input would make the run
// slow); it is replaced by a fresh one every few successful imports so that it stays small.
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "fuzz/fuzz_target.h"
#include "platform/emulated/registry/regedit_text.h"
#include "platform/emulated/registry/sqlite_registry.h"

namespace fs = std::filesystem;
using vandrel::platform::emulated::SqliteRegistry;
using vandrel::platform::emulated::exportRegedit4;
using vandrel::platform::emulated::importRegedit4;

namespace {

constexpr int kImportsPerRegistry = 16;

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "vandrel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
  }
  ~Scratch() {
    registry_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  SqliteRegistry& registry() {
    if (!registry_) registry_ = fresh();
    return *registry_;
  }

  // After a successful import: now and then the registry is exported, imported into a fresh
  // one, and exported again, which must give the same text; the fresh one is kept.
  void imported() {
    if (++imports_ < kImportsPerRegistry) return;
    imports_ = 0;
    std::string before = exportRegedit4(*registry_, "");
    std::unique_ptr<SqliteRegistry> next = fresh();
    std::string error;
    bool ok = importRegedit4(*next, before, error);
    if (!ok) std::fprintf(stderr, "re-import of the export failed: %s\n", error.c_str());
    FUZZ_CHECK(ok);
    FUZZ_CHECK(exportRegedit4(*next, "") == before);
    // Start the next round from an empty registry.
    registry_ = fresh();
  }

 private:
  std::unique_ptr<SqliteRegistry> fresh() {
    fs::path file = folder_ / ("registry-" + std::to_string(++generation_) + ".db");
    std::error_code ignored;
    fs::remove(file, ignored);
    auto registry = SqliteRegistry::open(file, generation_ % 2 == 0);
    // Older files are no longer used by anyone.
    fs::remove(folder_ / ("registry-" + std::to_string(generation_ - 2) + ".db"), ignored);
    return registry;
  }

  fs::path folder_;
  std::unique_ptr<SqliteRegistry> registry_;
  int generation_ = 0;
  int imports_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  static Scratch scratch;
  SqliteRegistry& registry = scratch.registry();

  std::string text(reinterpret_cast<const char*>(data), size);
  std::string before = exportRegedit4(registry, "");
  std::string error;
  if (importRegedit4(registry, text, error)) {
    scratch.imported();
  } else {
    // Text that is refused changes nothing, and says where it is wrong.
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(exportRegedit4(registry, "") == before);
  }
  return 0;
}
