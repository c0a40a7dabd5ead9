// The file check and its dialogs.
#include "builder/generate/file_check.h"

#include <cctype>
#include <cstdio>

#include "builder/generate/package_generator.h"
#include "builder/generate/progress_service.h"
#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder {

namespace {

constexpr const char* kProblemCaption = "File Verification Problem";
constexpr const char* kAutomaticBox = "Automatically correct all other files";

std::string kilobytes(std::uint64_t bytes) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0.1f", double(bytes) * (1.0 / 1024.0));
  return buffer;
}

// The "File Verification Problem" dialog: Yes or No, and the box that makes the answer the
// automatic one for the other files of the same kind. Each file has its own page.
bool problem(ui::Interaction& ui, int index, const std::string& text, bool& automatic) {
  ui::Page page;
  page.id = "file-verification-" + decimal(index);
  page.caption = kProblemCaption;
  page.text = text;
  ui::Field box;
  box.kind = ui::Field::Kind::Check;
  box.name = "AutoCorrect";
  box.label = kAutomaticBox;
  page.fields = {box};
  page.next = "&Yes";
  page.cancel = "&No";
  ui::PageResult result = ui.page(page);
  for (const ui::Field& field : result.fields)
    if (field.name == box.name) automatic = field.checked;
  return result.action != ui::PageResult::Action::Cancel;
}

struct Checker {
  CScriptDoc& doc;
  BuilderContext& context;
  FileCheckResult result;
  std::string lastFolder;
  bool autoMissing = false;
  bool autoSizes = false;

  void correct(FileRecord& file, FileCheckRow& row, std::uint64_t size) {
    file.size = std::int32_t(size);
    row.corrected = true;
    ++result.corrected;
    doc.setModifiedFlag();
  }

  // Steps for a file that is not where the entry says: locate it or count it missing.
  void locate(FileRecord& file, int index, FileCheckRow& row) {
    if (!autoMissing) {
      std::string text =
          strFormat(sid::AskLocateSource, sourceFilePath(doc.pathName(), file), decimal(file.disk));
      if (!problem(context.ui, index, text, autoMissing)) {
        ++result.missing;
        return;
      }
    }
    for (;;) {
      if (!lastFolder.empty()) {
        if (auto size = fileSize(context.files, lastFolder + file.sourceName)) {
          std::string folder = lastFolder.substr(0, lastFolder.size() - 1);
          file.sourcePath = folder;
          row.sizeKb = kilobytes(*size);
          correct(file, row, *size);
          return;
        }
      }
      ui::FolderPrompt prompt;
      prompt.caption = strFormat(sid::PickSourceFolder, text::toUpper(file.sourceName));
      prompt.text = prompt.caption;
      prompt.dummyName = "Junk";
      prompt.initialFolder = lastFolder;
      std::optional<std::string> chosen = context.ui.folder(prompt);
      if (!chosen || chosen->size() < 4) {
        ++result.missing;
        return;
      }
      lastFolder = withBackslash(chosen->substr(0, chosen->size() - 4));
    }
  }

  void check(FileRecord& file, int index) {
    FileCheckRow row{file.sourceName, file.disk, "-", false};
    std::optional<std::uint64_t> size =
        fileSize(context.files, sourceFilePath(doc.pathName(), file));
    if (!size) {
      locate(file, index, row);
    } else {
      row.sizeKb = kilobytes(*size);
      if (std::uint64_t(std::int64_t(file.size)) != *size) {
        bool yes = autoSizes;
        if (!autoSizes) {
          std::string text =
              strFormat(sid::AskFixSize, text::toUpper(file.sourceName), decimal(file.disk));
          yes = problem(context.ui, index, text, autoSizes);
        }
        if (yes) correct(file, row, *size);
      }
    }
    result.rows.push_back(row);
  }
};

}  // namespace

bool canCheckFiles(const CScriptDoc& doc) { return !doc.files.empty(); }

FileCheckResult runFileCheck(CScriptDoc& doc, BuilderContext& context) {
  Checker checker{doc, context, {}, {}, false, false};
  ProgressService& progress = context.progress;
  progress.BeginProgress("Verifying source files...");
  progress.pump();
  int count = doc.files.count();
  for (int i = 0; i < count; ++i) {
    checker.check(doc.files.at(i), i);
    ++checker.result.scanned;
    progress.SetProgress(int(double(i + 1) / double(count) * 100.0));
    progress.pump(21);
  }
  progress.EndProgress();
  return checker.result;
}

std::string fileCheckReport(const FileCheckResult& result) {
  std::string out = "Files scanned: " + decimal(result.scanned) + "\n";
  out += "Files corrected: " + decimal(result.corrected) + "\n";
  out += "Files missing: " + decimal(result.missing) + "\n";
  for (int i = 1; i <= 4; ++i) out += strItem(sid::FileCheckColumns, i) + (i < 4 ? "\t" : "\n");
  for (const FileCheckRow& row : result.rows) {
    out += row.file + "\t" + decimal(row.disk) + "\t" + row.sizeKb + "\t" +
           strItem(sid::NoYes, row.corrected ? 2 : 1) + "\n";
  }
  return out;
}

}  // namespace vandrel::builder
