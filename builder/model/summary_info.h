// The summary-information record of a document.
#pragma once

#include <cstdint>
#include <string>

namespace vandrel::builder {

// Times in 100-nanosecond ticks (since 1601-01-01 UTC for dates; a duration for editing).
struct SummaryInfo {
  int codePage = 1252;
  std::string title;
  std::string subject;
  std::string author;
  std::string keywords;
  std::string comments;
  std::string templateName;
  std::string lastAuthor;
  std::string revision = "0";
  std::uint64_t editingTime = 0;
  std::uint64_t lastPrinted = 0;
  std::uint64_t created = 0;
  std::uint64_t lastSaved = 0;
  std::int32_t pageCount = 0;
  std::int32_t wordCount = 0;
  std::int32_t charCount = 0;
  std::string appName;
  std::int32_t security = 0;

  bool operator==(const SummaryInfo&) const = default;
};

// The current time as a file time.
std::uint64_t fileTimeNow();

}  // namespace vandrel::builder
