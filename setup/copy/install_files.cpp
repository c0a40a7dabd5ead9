// The copy step of the installation: the copy total, the loop over [Files] (skips, missing
// files, disk folders, disk messages, short copies, shared files), then groups, INI and
// registry.
#include <climits>
#include <string>

#include "script/list_item.h"
#include "script/schema.h"
#include "setup/changes/ini_registry.h"
#include "setup/copy/copy_file.h"
#include "setup/copy/copy_progress.h"
#include "setup/copy/copy_texts.h"
#include "setup/setup_app.h"
#include "setup/shortcuts/program_groups.h"
#include "setup/wizard/folder_picker.h"

namespace vandrel::setup {
namespace {

using script::readInt;
using script::Section;

constexpr int kDone = 0;  // the copy step's status when everything was installed
constexpr long kEngineDescription = 1000;
constexpr std::size_t kDummyNameLength = 4;  // "Junk" after the folder the user opened

long long saturatingAdd(long long a, long long b) {
  if (b > 0 && a > LLONG_MAX - b) return LLONG_MAX;
  return a + b;
}

// Whether an entry belongs to this installation: its platform and its component.
bool entryApplies(SetupApp& app, const script::FileEntry& entry) {
  long platform = entry.platform.number("0");
  if (platform != 0 && platform != app.state().platform) return false;
  return app.isDirectorySelected(entry.dir.number("-1"));
}

enum class Outcome { Next, EndOfList, Cancelled, MissingFile };

class InstallRun {
 public:
  explicit InstallRun(SetupApp& app)
      : app_(app), progress_(app), messages_(app), copier_(app),
        filesSection_(script::sectionName(Section::Files)) {}

  int run();

 private:
  Outcome installEntry(long index);
  bool locate(const std::string& sourceName, long disk, const std::string& targetName,
              const std::string& description, const std::string& destination);
  void showDiskMessage(long disk);
  std::string description(long number);
  bool fileExists(const std::string& path);

  SetupApp& app_;
  CopyProgress progress_;
  DiskMessageWindow messages_;
  FileCopier copier_;
  std::string filesSection_;
  long currentDisk_ = 0;
};

int InstallRun::run() {
  progress_.pump();
  SetupState& state = app_.state();
  state.runningCopyTotal = 0;
  long nbFiles = readInt(app_.value(filesSection_, script::countKey(Section::Files), "0"));
  if (nbFiles == 0) {
    progress_.setPercent(100);
    progress_.pump();
  }
  Outcome outcome = Outcome::Next;
  for (long i = 0; i < nbFiles && outcome == Outcome::Next && !progress_.cancelled(); ++i) {
    outcome = installEntry(i);
  }
  messages_.hide();
  if (outcome == Outcome::MissingFile) {
    progress_.close();
    return status::Incomplete;
  }
  if (outcome == Outcome::Cancelled || progress_.cancelled()) {
    progress_.close();
    return status::Fatal;
  }
  // A shortcut, Win.ini or registry change that could not be made does not stop the later
  // ones, but the installation is then not reported as a success.
  bool changeFailed = false;
  if (!createProgramGroups(app_, progress_, changeFailed)) {
    progress_.close();
    return status::GroupsFailed;
  }
  // A cancel confirmed during the INI and registry updates ends the installation as
  // cancelled: it must not be reported as a success.
  bool completed = updateIniAndRegistry(app_, progress_, changeFailed);
  progress_.close();
  if (!completed) return status::Fatal;
  return changeFailed ? status::GroupsFailed : kDone;
}

Outcome InstallRun::installEntry(long index) {
  progress_.pump();
  const std::string line = app_.value(filesSection_, std::to_string(index), "");
  const auto entry = script::readEntry<script::FileEntry>(line);
  if (!entryApplies(app_, entry)) return Outcome::Next;
  if (line.empty()) return Outcome::EndOfList;

  const std::string sourceName = entry.source.text("");
  std::string targetName = entry.target.text(sourceName);
  if (targetName.empty()) targetName = sourceName;
  const long long size = entry.size.number("0");
  if ((sourceName.empty() || size == 0) &&
      app_.ask(copyText(app_, sid::MissingFile)) != ui::Answer::Yes) {
    return Outcome::MissingFile;
  }
  const std::string destination = app_.directoryPath(entry.dir.number("1000"));
  const std::string desc = description(entry.desc.number("0"));
  const long disk = entry.disk.number("1");
  // A name that cannot be looked for is not looked for: the copy reports it as missing.
  if (isSafeFileName(sourceName) && !locate(sourceName, disk, targetName, desc, destination)) {
    return Outcome::Cancelled;
  }
  progress_.pump();
  showDiskMessage(disk);

  CopyRequest request;
  request.sourceFolder = app_.state().sourceFolder;
  request.sourceName = sourceName;
  request.destinationFolder = destination + "\\";
  request.targetName = targetName;
  request.force = entry.force.text("");
  request.expand = entry.expand.text("");
  request.progress = &progress_;
  long long copied = copier_.copy(request);

  if (copied != size && !progress_.cancelled()) {
    if (app_.ask(copyText(app_, sid::ShortCopy)) != ui::Answer::Yes) {
      progress_.setCancelled();
    }
  } else if (entry.shared.number("0") != 0) {
    app_.state().sharedFiles.push_back(destination + "\\" + targetName);
  }
  progress_.pump();
  return Outcome::Next;
}

std::string InstallRun::description(long number) {
  if (number == kEngineDescription) return copyText(app_, sid::EngineComponent);
  std::string text =
      app_.value(script::sectionName(Section::Descriptions), std::to_string(number), "");
  return text.empty() ? copyText(app_, sid::UnknownFileType) : text;
}

bool InstallRun::fileExists(const std::string& path) {
  auto status = app_.machine().files().status(path);
  return status && !status->isDirectory();
}

// Finds the stored file: in the source folder, in the numbered disk folder beside it, or in
// a folder the user shows. False when the user cancels the folder prompt.
bool InstallRun::locate(const std::string& sourceName, long disk, const std::string& targetName,
                        const std::string& description, const std::string& destination) {
  std::string& sourceFolder = app_.state().sourceFolder;
  for (;;) {
    progress_.setCopyTexts(targetName, description, destination);
    if (fileExists(sourceFolder + sourceName)) return true;
    std::string stem = sourceFolder;
    while (!stem.empty() && (stem.back() == '\\' || (stem.back() >= '0' && stem.back() <= '9'))) {
      stem.pop_back();
    }
    if (stem.size() < sourceFolder.size()) {
      std::string diskFolder = stem + std::to_string(disk) + "\\";
      if (fileExists(diskFolder + sourceName)) {
        sourceFolder = diskFolder;
        return true;
      }
    }
    std::optional<std::string> picked = PickFolder(app_, static_cast<int>(disk));
    if (!picked) return false;
    sourceFolder = picked->size() >= kDummyNameLength
                       ? picked->substr(0, picked->size() - kDummyNameLength)
                       : std::string();
  }
}

void InstallRun::showDiskMessage(long disk) {
  std::string name =
      app_.value(script::sectionName(Section::Messages), std::to_string(disk), "");
  if (name.empty() || progress_.cancelled() || disk == currentDisk_) return;
  if (!messages_.showTextFile(app_.state().sourceFolder + name, static_cast<int>(disk))) {
    messages_.hide();
  }
  progress_.pump(40);
  currentDisk_ = disk;
}

}  // namespace

long long computeCopyTotal(SetupApp& app) {
  const std::string files = script::sectionName(Section::Files);
  long nbFiles = readInt(app.value(files, script::countKey(Section::Files), "0"));
  long long total = 0;
  for (long i = 0; i < nbFiles; ++i) {
    std::string line = app.value(files, std::to_string(i), "");
    if (line.empty()) break;
    const auto entry = script::readEntry<script::FileEntry>(line);
    if (!entryApplies(app, entry)) continue;
    long size = entry.size.number("0");
    if (size > 0) total = saturatingAdd(total, size);
  }
  app.state().copyTotal = total;
  return total;
}

int installFiles(SetupApp& app) {
  SetupState& state = app.state();
  const std::string scriptName = "Script.vrx";
  const std::string installed = state.installFolder + "\\" + scriptName;
  CopyRequest script;
  script.sourceFolder = state.engineFolder;
  script.sourceName = scriptName;
  script.destinationFolder = state.installFolder + "\\";
  script.targetName = scriptName;
  script.force = "1";
  script.expand = "0";
  long long copied = copyOneFile(app, script);
  auto source = app.machine().files().status(state.engineFolder + scriptName);
  // Without its installed copy the installation could record nothing for the uninstaller.
  if (!source || copied != static_cast<long long>(source->size)) return status::GroupsFailed;
  app.script().setPath(installed);
  InstallRun run(app);
  return run.run();
}

}  // namespace vandrel::setup
