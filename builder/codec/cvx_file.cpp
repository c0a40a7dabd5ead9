// .cvx files: the compound file's two streams, or the whole file as text.
#include "builder/codec/cvx_file.h"
#include "builder/codec/summary_stream.h"
#include "platform/compound_file.h"

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

  platform::CompoundStreams storage =
      platform::readCompoundStreams(path, {kSummaryStream, kContentsStream}, kMaxDocumentContent);
  if (storage.status != platform::CompoundStreams::Status::Ok) {
    if (storage.status == platform::CompoundStreams::Status::Damaged) {
      result.status = CvxContent::Status::Damaged;
    }
    result.error = storage.error;
    return result;
  }
  if (const std::optional<std::string>& summary = storage.streams[0]) {
    result.summary = decodeSummaryInfo(*summary);
  }
  if (!storage.present[1]) {
    result.status = CvxContent::Status::NoContents;
    return result;
  }
  if (!storage.streams[1]) {
    result.status = CvxContent::Status::Damaged;
    result.error = "the document content cannot be read";
    return result;
  }
  result.content = std::move(*storage.streams[1]);
  result.status = CvxContent::Status::Ok;
  return result;
}

std::string writeCvx(const std::filesystem::path& path, const std::string& content,
                     const SummaryInfo& summary) {
  std::filesystem::path temp = temporaryBeside(path);
  // The summary property set first, then the document text, as a store writes them.
  std::string error = platform::writeCompoundStreams(
      temp, {{kSummaryStream, encodeSummaryInfo(summary)}, {kContentsStream, content}});
  if (!error.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    return "cannot write " + path.string() + ": " + error;
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
