// The installation summary (Summary, Statistics) and the version information sheet: pages
// from their templates, filled when the sheet opens; only the summary's three document
// properties are read back, on OK.
#include <windows.h>

#include <string>
#include <vector>

#include "builder/generate/summary.h"
#include "builder/model/entry_kinds.h"
#include "builder/strings/builder_strings.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/sheet_dialog.h"
#include "builder/win32/tree_pictures.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::builder::win32 {

namespace {

using ui::win32::controlText;
using ui::win32::setText;

// The list columns' widths in dialog units: the pixels they start at in the Qt builder's
// windows at the dialog font's 1.5 pixels per unit.
constexpr int kDiskColumn = 130, kDiskSizeColumn = 50;
const std::vector<int> kVersionColumns = {53, 100, 80, 50};

void fillSummary(HWND page, const SummaryPage& model) {
  setText(page, IDC_SUM_SCRIPT_FOR, model.scriptFor);
  setText(page, IDC_SUM_VERSION, model.version);
  setText(page, IDC_SUM_CREATED, model.created);
  setText(page, IDC_SUM_MODIFIED, model.modified);
  setText(page, IDC_SUM_SUBJECT, model.subject);
  setText(page, IDC_SUM_TEMPLATE, model.templateName);
  setText(page, IDC_SUM_AUTHOR, model.author);
  setText(page, IDC_SUM_COMMENTS, ui::win32::withCarriageReturns(model.comments));
}

void fillStatistics(HWND page, const Statistics& stats) {
  columnList(page, IDC_STAT_DISKS, {strItem(sid::SummaryDiskColumns, 1), strItem(sid::SummaryDiskColumns, 2)},
             {kDiskColumn, kDiskSizeColumn});
  // Each disk beside the tree's picture of the files, as the tree shows its Files entries.
  SendDlgItemMessageA(page, IDC_STAT_DISKS, LVM_SETIMAGELIST, LVSIL_SMALL, LPARAM(makeTreeImages(16)));
  const int files = int(entryKind(category::Files).picture);
  for (const DiskSize& d : stats.disks) addRow(page, IDC_STAT_DISKS, {d.disk, d.size}, files);
  setText(page, IDC_STAT_TOTAL, std::to_string(stats.totalKb));
  setText(page, IDC_STAT_FILES, std::to_string(stats.files));
  setText(page, IDC_STAT_DIRECTORIES, std::to_string(stats.directories));
  setText(page, IDC_STAT_GROUPS, std::to_string(stats.groups));
  setText(page, IDC_STAT_SHORTCUTS, std::to_string(stats.shortcuts));
  setText(page, IDC_STAT_LAST_PATH, stats.lastGenPath);
  setText(page, IDC_STAT_OVERHEAD, stats.overhead);
}

}  // namespace

bool runSummarySheet(const DialogContext& context, CScriptDoc& doc, platform::FileSystem& files,
                     const std::string& programFolder, int startPage) {
  SummaryPage model = summaryPage(doc, files);
  Statistics stats = statistics(doc, files, programFolder);
  SheetDialog sheet(context, str(sid::SummaryCaption), "summary", "summary");
  int summary = sheet.addPage(IDD_SUMMARY, "Summary");
  int statistics = sheet.addPage(IDD_STATISTICS, "Statistics");
  FieldBinding& bind = sheet.bind();
  bind.text("Subject", "&Subject:", {summary, IDC_SUM_SUBJECT});
  bind.text("Template", "&Template:", {summary, IDC_SUM_TEMPLATE});
  bind.text("Author", "&Author:", {summary, IDC_SUM_AUTHOR});
  sheet.onInit = [&] {
    fillSummary(sheet.page(summary), model);
    fillStatistics(sheet.page(statistics), stats);
  };
  sheet.showPage(startPage);
  sheet.onOk = [&] {
    HWND page = sheet.page(summary);
    model.subject = controlText(page, IDC_SUM_SUBJECT);
    model.templateName = controlText(page, IDC_SUM_TEMPLATE);
    model.author = controlText(page, IDC_SUM_AUTHOR);
    applySummaryPage(doc, model);
    return true;
  };
  return sheet.run();
}

void runVersionSheet(const DialogContext& context, platform::FileSystem& files, const std::string& programFolder) {
  std::vector<VersionRow> rows = versionRows(files, programFolder);
  SheetDialog sheet(context, str(sid::VersionInfoCaption), "version", "version-info");
  int page = sheet.addPage(IDD_VERSION, "Components");
  sheet.onInit = [&] {
    HWND w = sheet.page(page);
    std::vector<std::string> titles;
    for (int i = 1; i <= 4; ++i) titles.push_back(strItem(sid::VersionColumns, i));
    // The columns grow to their widest text: no description is cut.
    columnList(w, IDC_VERSION_LIST, titles, kVersionColumns);
    for (const VersionRow& r : rows) addRow(w, IDC_VERSION_LIST, {r.file, r.description, r.dateStamp, r.sizeKb});
  };
  sheet.run();
}

}  // namespace vandrel::builder::win32
