// Compound files through libgsf.
#include "platform/compound_file.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <memory>

namespace vandrel::platform {

namespace {

struct GObjectDeleter {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectDeleter>;

std::string takeError(GError*& error, const char* fallback) {
  std::string text = error && error->message ? error->message : fallback;
  if (error) g_error_free(error);
  error = nullptr;
  return text;
}

void dropLibraryMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

void initGsf() {
  static bool done = [] {
    gsf_init();
    // A damaged file is reported by the caller's own message; the library's warnings about
    // its blocks would only reach the user as noise on standard error.
    // Some of its messages come without a domain: the program's own default domain takes
    // those, and nothing else in these programs logs through glib.
    for (const char* domain : {static_cast<const char*>(nullptr), "libgsf", "libgsf:msole"})
      g_log_set_handler(domain,
                        GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                       G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG),
                        dropLibraryMessage, nullptr);
    return true;
  }();
  (void)done;
}

// The whole of a stream, or nullopt when it cannot be read or claims more than limit.
std::optional<std::string> readStream(GsfInput* input, std::uint64_t limit) {
  gsf_off_t size = gsf_input_size(input);
  if (size < 0 || std::uint64_t(size) > limit) return std::nullopt;
  std::string out(std::size_t(size), '\0');
  std::size_t done = 0;
  while (done < out.size()) {
    std::size_t chunk = std::min<std::size_t>(out.size() - done, 1 << 20);
    if (!gsf_input_read(input, chunk, reinterpret_cast<guint8*>(out.data() + done))) {
      return std::nullopt;
    }
    done += chunk;
  }
  return out;
}

bool writeChild(GsfOutfile* outfile, const std::string& name, const std::string& data) {
  GPtr<GsfOutput> child(gsf_outfile_new_child(outfile, name.c_str(), FALSE));
  if (!child) return false;
  bool ok = gsf_output_write(child.get(), data.size(), reinterpret_cast<const guint8*>(data.data()));
  return gsf_output_close(child.get()) && ok;
}

// Whether the storage's directory names a child, whether or not the library could open it:
// a damaged stream must not read as a missing one.
bool listsChild(GsfInfile* storage, const std::string& name) {
  int count = gsf_infile_num_children(storage);
  for (int i = 0; i < count; ++i) {
    const char* listed = gsf_infile_name_by_index(storage, i);
    if (listed && name == listed) return true;
  }
  return false;
}

}  // namespace

CompoundStreams readCompoundStreams(const std::filesystem::path& path,
                                    const std::vector<std::string>& names, std::uint64_t limit) {
  initGsf();
  CompoundStreams result;
  GError* error = nullptr;
  GPtr<GsfInput> input(gsf_input_stdio_new(path.c_str(), &error));
  if (!input) {
    result.error = takeError(error, "cannot open the file");
    return result;
  }
  GPtr<GsfInfile> storage(gsf_infile_msole_new(input.get(), &error));
  if (!storage) {
    result.status = CompoundStreams::Status::Damaged;
    result.error = takeError(error, "not a readable compound file");
    return result;
  }
  result.status = CompoundStreams::Status::Ok;
  for (const std::string& name : names) {
    GPtr<GsfInput> child(gsf_infile_child_by_name(storage.get(), name.c_str()));
    result.present.push_back(child != nullptr || listsChild(storage.get(), name));
    result.streams.push_back(child ? readStream(child.get(), limit) : std::nullopt);
  }
  return result;
}

std::string writeCompoundStreams(const std::filesystem::path& path,
                                 const std::vector<std::pair<std::string, std::string>>& streams) {
  initGsf();
  GError* error = nullptr;
  GsfOutput* sink = gsf_output_stdio_new(path.c_str(), &error);
  if (!sink) return takeError(error, "cannot create the file");
  GPtr<GsfOutfile> storage(gsf_outfile_msole_new(sink));
  g_object_unref(sink);  // the storage holds its own reference
  bool ok = storage != nullptr;
  for (const auto& [name, data] : streams) ok = ok && writeChild(storage.get(), name, data);
  if (storage) ok = gsf_output_close(GSF_OUTPUT(storage.get())) && ok;
  return ok ? std::string() : "the streams cannot be written";
}

}  // namespace vandrel::platform
