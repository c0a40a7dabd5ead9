// The installation summary (sentences, document properties, statistics) and the version
// information of the component files beside the builder.
#pragma once

#include <string>
#include <vector>

#include "builder/model/script_doc.h"
#include "platform/file_system.h"

namespace vandrel::builder {

// The sentences of strings 270 to 273 built from the settings.
std::string summaryText(const ScriptSettings& settings);

// The "Summary" page: what it shows and the three properties it edits.
struct SummaryPage {
  std::string scriptFor, version, created, modified;
  std::string subject, templateName, author;  // editable
  std::string comments;
};
SummaryPage summaryPage(const CScriptDoc& doc, platform::FileSystem& files);
// OK: the edited properties go back into the document.
void applySummaryPage(CScriptDoc& doc, const SummaryPage& page);

struct DiskSize {
  std::string disk;  // "Disk 1"
  std::string size;  // "0.125 Mb"
};

// The "Statistics" page.
struct Statistics {
  std::vector<DiskSize> disks;
  long long totalKb = 0;
  int files = 0, directories = 0, groups = 0, shortcuts = 0;
  std::string lastGenPath;
  std::string overhead;  // string 371, and 372 when some component file is missing
};
Statistics statistics(const CScriptDoc& doc, platform::FileSystem& files,
                      const std::string& programFolder);

struct VersionRow {
  std::string file, description, dateStamp, sizeKb;
};
// The eight component files, found or not.
std::vector<VersionRow> versionRows(platform::FileSystem& files, const std::string& programFolder);

// A file time as local time with a strftime format.
std::string formatFileTime(std::uint64_t fileTime, const char* format);

}  // namespace vandrel::builder
