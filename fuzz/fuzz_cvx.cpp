// Fuzz target: .cvx document files (compound file or plain text) as the builder opens them.
#include <stdlib.h>
#include <unistd.h>

#include <glib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "builder/codec/cvx_file.h"
#include "builder/codec/document_text.h"
#include "fuzz/fuzz_target.h"

namespace fs = std::filesystem;

namespace {

// The file every input is written to, removed when the process ends.
class ScratchFile {
 public:
  ScratchFile() {
    std::string pattern = (fs::temp_directory_path() / "vandrel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    path_ = folder_ / "input.cvx";
  }
  ~ScratchFile() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const fs::path& write(const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out) std::abort();
    return path_;
  }

 private:
  fs::path folder_;
  fs::path path_;
};

// The compound-file library logs every damaged structure it meets; a fuzzing run meets
// thousands of them, and the failures that matter come through our own checks.
void quietLibraryLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

// The compound-file library leaks the entries of a damaged directory it gives up on (about
// 150 bytes per file opened, inside gsf_infile_msole_new). The builder opens a document once,
// so it costs nothing there, but a fuzzing run would stop at the first such input. The leak
// checker is told to pass over leaks made inside that call, and to record allocation stacks
// with the slow unwinder: the library's allocations go through glib, which keeps no frame
// pointers, and the fast unwinder stops there before reaching the call the suppression names.
extern "C" const char* __lsan_default_suppressions() { return "leak:gsf_infile_msole_new\n"; }
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  static ScratchFile scratch;
  static const bool quiet = (g_log_set_default_handler(quietLibraryLog, nullptr), true);
  (void)quiet;
  const fs::path& path = scratch.write(data, size);

  std::optional<bool> compound = vandrel::builder::isCompoundFile(path);
  vandrel::builder::CvxContent content = vandrel::builder::readCvx(path);
  FUZZ_CHECK(compound.has_value());
  FUZZ_CHECK(content.compound == *compound);
  using Status = vandrel::builder::CvxContent::Status;
  if (content.status == Status::Damaged || content.status == Status::Unreadable) {
    FUZZ_CHECK(!content.error.empty());
  }
  if (content.status != Status::Ok) return 0;
  if (!content.compound) {
    FUZZ_CHECK(content.content == std::string(reinterpret_cast<const char*>(data), size));
  }
  vandrel::builder::CScriptDoc doc([] { return std::uint64_t(1); });
  vandrel::builder::loadDocumentText(doc, content.content);
  return 0;
}
