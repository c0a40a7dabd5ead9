// Summary sentences, statistics and version rows.
#include "builder/generate/summary.h"

#include <cstdio>
#include <map>

#include "builder/generate/builder_context.h"
#include "builder/generate/engine_files.h"
#include "builder/strings/builder_strings.h"
#include "platform/clock.h"
#include "script/size_text.h"

namespace vandrel::builder {

namespace {

// The eight component files of the version sheet, in its order, as items of 237 and 236.
const std::pair<unsigned, int> kComponents[] = {{237, 1}, {237, 2}, {237, 4}, {237, 5},
                                                {236, 1}, {236, 2}, {236, 5}, {236, 6}};

std::string item(unsigned id, int n, bool valid) { return valid ? strItem(id, n + 1) : ""; }

}  // namespace

std::string formatFileTime(std::uint64_t fileTime, const char* format) {
  return platform::formatLocalTime(platform::hostClock(), fileTime, format);
}

std::string summaryText(const ScriptSettings& s) {
  std::string text = strFormat(270, item(275, s.minCpu, s.minCpu >= 0 && s.minCpu <= 2),
                               item(274, s.minWin, s.minWin >= 0 && s.minWin <= 5));
  text += strFormat(271, item(276, s.nSyst, s.nSyst >= 0 && s.nSyst <= 2));
  if (s.showLicence || s.regInfo) {
    std::string windows;
    if (s.showLicence) windows = strItem(277, 1);
    if (s.regInfo) {
      if (!windows.empty()) windows += strItem(277, 3);
      windows += strItem(277, 2);
    }
    text += strFormat(272, windows);
  }
  text += strFormat(273, strItem(278, s.ownUnInstall ? 2 : 1), strItem(279, s.archiveSize ? 2 : 1));
  return text;
}

SummaryPage summaryPage(const CScriptDoc& doc, platform::FileSystem& files) {
  SummaryPage page;
  page.scriptFor = doc.settings.appName.empty() ? str(183) : doc.settings.appName;
  page.version = doc.settings.ver;
  std::optional<platform::FileStatus> status =
      doc.pathName().empty() ? std::nullopt : files.status(doc.pathName());
  page.created = status ? formatFileTime(status->creationTime, "%A, %B %d, %Y") : str(104);
  page.modified = status ? formatFileTime(status->lastWriteTime, "%A, %B %d, %Y") : str(104);
  page.subject = doc.properties.subject;
  page.templateName = doc.properties.templateName;
  page.author = doc.properties.author;
  page.comments = summaryText(doc.settings);
  return page;
}

void applySummaryPage(CScriptDoc& doc, const SummaryPage& page) {
  if (doc.properties.subject == page.subject && doc.properties.templateName == page.templateName &&
      doc.properties.author == page.author) {
    return;
  }
  doc.properties.subject = page.subject;
  doc.properties.templateName = page.templateName;
  doc.properties.author = page.author;
  doc.setModifiedFlag();
}

Statistics statistics(const CScriptDoc& doc, platform::FileSystem& files,
                      const std::string& programFolder) {
  Statistics st;
  std::map<int, long long> perDisk;
  long long total = 0;
  int highest = 0;
  for (const FileEntry& f : doc.files) {
    perDisk[f.disk] += f.size;
    total += f.size;
    highest = std::max(highest, f.disk);
  }
  for (int disk = 1; disk <= highest; ++disk) {
    long long bytes = perDisk[disk];
    char size[64];
    if (bytes) std::snprintf(size, sizeof size, "%0.3f", double(bytes) / 1048576.0);
    else std::snprintf(size, sizeof size, "0");
    st.disks.push_back({strFormat(281, decimal(disk)), size + strItem(280, 3)});
  }
  st.totalKb = total / 1024;
  st.files = doc.files.count();
  st.directories = doc.directories.count();
  st.groups = doc.groups.count();
  st.shortcuts = doc.shortcuts.count();
  st.lastGenPath = doc.settings.lastGenPath;
  std::uint64_t overhead = 0;
  bool missing = false;
  for (const std::string& name : overheadFiles(doc.settings)) {
    std::optional<std::uint64_t> size = fileSize(files, joinPath(programFolder, name));
    if (size) overhead += *size;
    else missing = true;
  }
  st.overhead = strFormat(371, script::FormatSize(double(overhead)));
  if (missing) st.overhead += str(372);
  return st;
}

std::vector<VersionRow> versionRows(platform::FileSystem& files, const std::string& programFolder) {
  std::vector<VersionRow> rows;
  int position = 1;
  for (const auto& [list, n] : kComponents) {
    VersionRow row{strItem(list, n), strItem(332, position++), str(238), ""};
    if (auto status = files.status(joinPath(programFolder, row.file)); status && !status->isDirectory()) {
      row.dateStamp = formatFileTime(status->lastWriteTime, "%m/%d/%Y %I:%M %p");
      row.sizeKb = decimal((long long)(status->size / 1024));
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace vandrel::builder
