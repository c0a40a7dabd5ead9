// .cvx files on disk: an OLE compound file holding the stream "Contents" (the document text)
// and the summary-information property set; plain-text documents are read as well.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "builder/model/summary_info.h"

namespace vandrel::builder {

// Content beyond this size is not believed (a damaged header can claim any size).
constexpr std::uint64_t kMaxDocumentContent = 256ull << 20;

struct CvxContent {
  enum class Status {
    Ok,
    Unreadable,  // missing, a folder, no rights: the file cannot be read at all
    Damaged,     // a compound file that cannot be opened, or content that cannot be read
    NoContents,  // a compound file without a "Contents" stream
  };
  Status status = Status::Unreadable;
  bool compound = false;  // the file is a compound file (the compound-file signature)
  std::string content;    // the document text
  std::optional<SummaryInfo> summary;
  std::string error;      // what went wrong, for messages and logs
};

// True when the file starts with the compound-file signature; nullopt when it cannot be read.
std::optional<bool> isCompoundFile(const std::filesystem::path& path);

// Reads a .cvx: a compound file's streams, or the whole file as text when it is not one.
CvxContent readCvx(const std::filesystem::path& path);

// Writes a compound file with the summary property set and the document text. The file is
// written beside the target and renamed over it, so a failed save never leaves a broken
// document. Returns an empty text on success, else what went wrong.
std::string writeCvx(const std::filesystem::path& path, const std::string& content,
                     const SummaryInfo& summary);

// The plain document text written to a file (no compound file), replaced the same way.
std::string writeTextFile(const std::filesystem::path& path, const std::string& content);

}  // namespace vandrel::builder
