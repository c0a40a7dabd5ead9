// Compound-file reading and writing through libgsf.
#include "builder/codec/cvx_file.h"
#include "builder/codec/summary_stream.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace vandrel::builder {

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr const char* kContentsStream = "Contents";
constexpr const char* kSummaryStream = "\005SummaryInformation";

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
    // A damaged file is reported by our own message; the compound-file library's warnings
    // about its blocks would only reach the user as noise on standard error.
    for (const char* domain : {"libgsf", "libgsf:msole"})
      g_log_set_handler(domain,
                        GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                       G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG),
                        dropLibraryMessage, nullptr);
    return true;
  }();
  (void)done;
}

// The whole of a stream, or nullopt when it cannot be read or claims too much.
std::optional<std::string> readStream(GsfInput* input) {
  gsf_off_t size = gsf_input_size(input);
  if (size < 0 || std::uint64_t(size) > kMaxDocumentContent) return std::nullopt;
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

std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
  std::filesystem::path temp = path;
  temp += ".tmp" + std::to_string(::getpid());
  return temp;
}

// Moves the written temporary file over the target; removes it on failure.
std::string commit(const std::filesystem::path& temp, const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (!ec) return {};
  std::filesystem::remove(temp);
  return "cannot replace " + path.string() + ": " + ec.message();
}

bool writeChild(GsfOutfile* outfile, const char* name, const std::string& data) {
  GPtr<GsfOutput> child(gsf_outfile_new_child(outfile, name, FALSE));
  if (!child) return false;
  bool ok = gsf_output_write(child.get(), data.size(), reinterpret_cast<const guint8*>(data.data()));
  return gsf_output_close(child.get()) && ok;
}

}  // namespace

std::optional<bool> isCompoundFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  char head[8] = {};
  in.read(head, 8);
  if (in.gcount() < 8) return false;
  return std::equal(head, head + 8, reinterpret_cast<const char*>(kSignature));
}

CvxContent readCvx(const std::filesystem::path& path) {
  CvxContent result;
  std::optional<bool> compound = isCompoundFile(path);
  if (!compound) {
    result.error = "cannot read " + path.string();
    return result;
  }
  result.compound = *compound;
  if (!*compound) {
    std::error_code ec;
    std::uint64_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
      result.error = "cannot read " + path.string();
      return result;
    }
    if (size > kMaxDocumentContent) {
      result.status = CvxContent::Status::Damaged;
      result.error = "the file is too large to be a document";
      return result;
    }
    result.content.resize(std::size_t(size));
    in.read(result.content.data(), std::streamsize(size));
    result.content.resize(std::size_t(in.gcount()));
    result.status = CvxContent::Status::Ok;
    return result;
  }

  initGsf();
  GError* error = nullptr;
  GPtr<GsfInput> input(gsf_input_stdio_new(path.c_str(), &error));
  if (!input) {
    result.error = takeError(error, "cannot open the file");
    return result;
  }
  GPtr<GsfInfile> storage(gsf_infile_msole_new(input.get(), &error));
  if (!storage) {
    result.status = CvxContent::Status::Damaged;
    result.error = takeError(error, "not a readable compound file");
    return result;
  }
  if (GPtr<GsfInput> summary{gsf_infile_child_by_name(storage.get(), kSummaryStream)}) {
    if (std::optional<std::string> bytes = readStream(summary.get())) {
      result.summary = decodeSummaryInfo(*bytes);
    }
  }
  GPtr<GsfInput> contents(gsf_infile_child_by_name(storage.get(), kContentsStream));
  if (!contents) {
    result.status = CvxContent::Status::NoContents;
    return result;
  }
  std::optional<std::string> text = readStream(contents.get());
  if (!text) {
    result.status = CvxContent::Status::Damaged;
    result.error = "the document content cannot be read";
    return result;
  }
  result.content = std::move(*text);
  result.status = CvxContent::Status::Ok;
  return result;
}

std::string writeCvx(const std::filesystem::path& path, const std::string& content,
                     const SummaryInfo& summary) {
  initGsf();
  std::filesystem::path temp = temporaryBeside(path);
  GError* error = nullptr;
  GsfOutput* sink = gsf_output_stdio_new(temp.c_str(), &error);
  if (!sink) return takeError(error, "cannot create the file");
  bool ok = false;
  {
    GPtr<GsfOutfile> storage(gsf_outfile_msole_new(sink));
    g_object_unref(sink);  // the storage holds its own reference
    // The summary property set first, then the document text, as a store writes them.
    ok = storage && writeChild(storage.get(), kSummaryStream, encodeSummaryInfo(summary)) &&
         writeChild(storage.get(), kContentsStream, content);
    if (storage) ok = gsf_output_close(GSF_OUTPUT(storage.get())) && ok;
  }
  if (!ok) {
    std::filesystem::remove(temp);
    return "cannot write " + path.string();
  }
  return commit(temp, path);
}

std::string writeTextFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::path temp = temporaryBeside(path);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::streamsize(content.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temp);
      return "cannot write " + path.string();
    }
  }
  return commit(temp, path);
}

}  // namespace vandrel::builder
