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
const std::pair<unsigned, int> kComponents[] = {
    {sid::SetupFiles, 1},       {sid::SetupFiles, 2},       {sid::SetupFiles, 4},
    {sid::SetupFiles, 5},       {sid::UninstallerFiles, 1}, {sid::UninstallerFiles, 2},
    {sid::UninstallerFiles, 5}, {sid::UninstallerFiles, 6}};

std::string item(unsigned id, int n, bool valid) { return valid ? strItem(id, n + 1) : ""; }

}  // namespace

std::string formatFileTime(std::uint64_t fileTime, const char* format) {
  return platform::formatLocalTime(platform::hostClock(), fileTime, format);
}

std::string summaryText(const ScriptSettings& s) {
  std::string text =
      strFormat(sid::SummaryRequirements,
                item(sid::SummaryCpuNames, s.minCpu, s.minCpu >= 0 && s.minCpu <= 2),
                item(sid::SummaryWindowsNames, s.minWin, s.minWin >= 0 && s.minWin <= 5));
  text += strFormat(sid::SummaryEngines,
                    item(sid::SummaryEngineKinds, s.nSyst, s.nSyst >= 0 && s.nSyst <= 2));
  if (s.showLicence || s.regInfo) {
    std::string windows;
    if (s.showLicence) windows = strItem(sid::SummaryPageNames, 1);
    if (s.regInfo) {
      if (!windows.empty()) windows += strItem(sid::SummaryPageNames, 3);
      windows += strItem(sid::SummaryPageNames, 2);
    }
    text += strFormat(sid::SummaryPages, windows);
  }
  text += strFormat(sid::SummaryUninstaller,
                    strItem(sid::SummaryUninstallerNames, s.ownUnInstall ? 2 : 1),
                    strItem(sid::SummaryStorageNames, s.archiveSize ? 2 : 1));
  return text;
}

SummaryPage summaryPage(const CScriptDoc& doc, platform::FileSystem& files) {
  SummaryPage page;
  page.scriptFor = doc.settings.appName.empty() ? str(sid::UntitledTitle) : doc.settings.appName;
  page.version = doc.settings.ver;
  std::optional<platform::FileStatus> status =
      doc.pathName().empty() ? std::nullopt : files.status(doc.pathName());
  page.created =
      status ? formatFileTime(status->creationTime, "%A, %B %d, %Y") : str(sid::Unavailable);
  page.modified =
      status ? formatFileTime(status->lastWriteTime, "%A, %B %d, %Y") : str(sid::Unavailable);
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
  for (const FileRecord& f : doc.files) {
    perDisk[f.disk] += f.size;
    total += f.size;
    highest = std::max(highest, f.disk);
  }
  for (int disk = 1; disk <= highest; ++disk) {
    long long bytes = perDisk[disk];
    char size[64];
    if (bytes) std::snprintf(size, sizeof size, "%0.3f", double(bytes) / 1048576.0);
    else std::snprintf(size, sizeof size, "0");
    st.disks.push_back(
        {strFormat(sid::DiskLabel, decimal(disk)), size + strItem(sid::SummaryDiskColumns, 3)});
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
  st.overhead = strFormat(sid::SummaryOverhead, script::FormatSize(double(overhead)));
  if (missing) st.overhead += str(sid::SummaryMissingFiles);
  return st;
}

std::vector<VersionRow> versionRows(platform::FileSystem& files, const std::string& programFolder) {
  std::vector<VersionRow> rows;
  int position = 1;
  for (const auto& [list, n] : kComponents) {
    VersionRow row{strItem(list, n), strItem(sid::ComponentNames, position++),
                   str(sid::FileNotFound), ""};
    if (auto status = files.status(joinPath(programFolder, row.file)); status && !status->isDirectory()) {
      row.dateStamp = formatFileTime(status->lastWriteTime, "%m/%d/%Y %I:%M %p");
      row.sizeKb = decimal((long long)(status->size / 1024));
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace vandrel::builder
