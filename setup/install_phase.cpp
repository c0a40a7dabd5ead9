// The install phase: the copy total, the loop over [Files] (skips, missing files, disk
// folders, disk messages, short copies, shared files), then groups, INI and registry.
#include "setup/install_phase.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <string>

#include "platform/disk_room.h"
#include "platform/text/text_rules.h"
#include "script/list_item.h"
#include "script/schema.h"
#include "setup/changes/ini_registry.h"
#include "setup/common/copy_progress.h"
#include "setup/common/setup_texts.h"
#include "setup/copy/expansion_record.h"
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

enum class Outcome { Next, EndOfList, Cancelled, MissingFile };

// Entry 0 that puts the built-in uninstaller into the Windows folder: one file every package
// shares, so a package never replaces it with an uninstaller of a lower version.
bool isSharedUninstaller(long index, const std::string& destination, const std::string& windows,
                         const std::string& targetName) {
  return index == 0 && text::compareNoCase(destination, windows) == 0 &&
         (text::compareNoCase(targetName, "Peskin32.exe") == 0 ||
          text::compareNoCase(targetName, "Peskin16.exe") == 0);
}

class InstallRun {
 public:
  // The values the run changes are its caller's: the source folder it follows from disk to
  // disk, the running copy total and the list of shared files copied.
  InstallRun(SetupApp& app, std::string& sourceFolder, CopyTally& tally,
             std::vector<std::string>& sharedFiles)
      : app_(app), dialogs_(app.dialogs()), progress_(dialogs_),
        messages_(app.ui(), app.machine().files(), app.strings()), copier_(app, tally),
        sourceFolder_(sourceFolder), tally_(tally), sharedFiles_(sharedFiles),
        filesSection_(script::sectionName(Section::Files)) {
    progress_.setBeforeQuestion([this] { settle(); });
  }

  int run();

 private:
  Outcome installEntry(long index);
  // What follows one file's copy: the short-copy question, or the shared file's record.
  void afterCopy(const CopyRequest& request, long long size, bool shared, long long copied);
  // Finishes the copies still under way before something besides the progress is shown:
  // false when one of them ended the run (the short-copy question answered No).
  bool settle();
  // The stored file, opened where locate() found it; empty when the user cancelled.
  std::optional<platform::FileSystem::OpenedFile> locate(const std::string& sourceName, long disk,
                                                         const std::string& targetName,
                                                         const std::string& description,
                                                         const std::string& destination,
                                                         bool& cancelled);
  void showDiskMessage(long disk);
  // Names a file the copy did not put in place on the error stream, with the full drive
  // when it did not fit.
  void reportNotCopied(const CopyRequest& request);
  std::string description(long number);

  SetupApp& app_;
  SetupDialogs dialogs_;
  CopyProgress progress_;
  DiskMessageWindow messages_;
  InstallCopier copier_;
  std::string& sourceFolder_;
  CopyTally& tally_;
  std::vector<std::string>& sharedFiles_;
  std::string filesSection_;
  long currentDisk_ = 0;
  std::vector<std::string> notCopied_;  // destinations left without the package's file
  // An earlier file's copy, finished before something was shown, ended the run: the entry
  // under way stops where the run would have stopped had that copy been finished at once.
  bool stopped_ = false;
};

int InstallRun::run() {
  progress_.pump();
  tally_.running = 0;
  long nbFiles = readInt(app_.value(filesSection_, script::countKey(Section::Files), "0"));
  if (nbFiles == 0) {
    progress_.setPercent(100);
    progress_.pump();
  }
  Outcome outcome = Outcome::Next;
  {
    // The copies' creation times and attributes go to the side store a transaction per
    // many files.
    platform::FileBatch batch(app_.machine().files());
    // The entries' reads of the script (a line, its folder, its description, its disk's
    // message) share one look at the file per block of entries; a wait on the user looks
    // again.
    platform::LookPerBlock looks(app_.script().profile(), app_.script().path());
    for (long i = 0; i < nbFiles && outcome == Outcome::Next && !progress_.cancelled(); ++i) {
      looks.next();
      outcome = installEntry(i);
    }
    // The last files' stamps and records go into the batch too.
    copier_.finishAll();
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
  platform::Machine& machine = app_.machine();
  if (!createProgramGroups(app_.script(), app_.state(), machine.files(), machine.shell(),
                           app_.strings(), progress_, changeFailed, &app_.log())) {
    progress_.close();
    return status::GroupsFailed;
  }
  // A cancel confirmed during the INI and registry updates ends the installation as
  // cancelled: it must not be reported as a success.
  Changes changes{app_.script(), app_.state(), machine.profile(), machine.registry(),
                  app_.strings(), progress_, &app_.log()};
  bool completed = updateIniAndRegistry(changes, sharedFiles_, changeFailed);
  progress_.close();
  if (!completed) return status::Fatal;
  // A file that was not copied leaves the installation short of what the package holds: it
  // ends with the error outcome, like a change that could not be made.
  return changeFailed || !notCopied_.empty() ? status::GroupsFailed : kDone;
}

Outcome InstallRun::installEntry(long index) {
  progress_.pump();
  const std::string line = app_.value(filesSection_, std::to_string(index), "");
  const auto entry = script::readEntry<script::FileEntry>(line);
  if (!entryApplies(app_.state(), entry)) return Outcome::Next;
  if (line.empty()) return Outcome::EndOfList;

  const std::string sourceName = entry.source.text("");
  std::string targetName = entry.target.text(sourceName);
  if (targetName.empty()) targetName = sourceName;
  const long long size = entry.size.number("0");
  if (sourceName.empty() || size == 0) {
    if (!settle()) return Outcome::Next;
    if (dialogs_.ask(copyText(app_.strings(), sid::MissingFile)) != ui::Answer::Yes) {
      app_.state().failureCause = "the script's [Files] entry " + std::to_string(index) +
                                  " names no file or a size of 0";
      return Outcome::MissingFile;
    }
  }
  const std::string destination = app_.directoryPath(entry.dir.number("1000"));
  const std::string desc = description(entry.desc.number("0"));
  const long disk = entry.disk.number("1");
  // A name that cannot be looked for is not looked for: the copy reports it as missing.
  std::optional<platform::FileSystem::OpenedFile> source;
  if (isSafeFileName(sourceName)) {
    bool cancelled = false;
    source = locate(sourceName, disk, targetName, desc, destination, cancelled);
    if (stopped_) return Outcome::Next;
    if (cancelled) {
      app_.state().failureCause = "the package file " + sourceName + " of disk " +
                                  std::to_string(disk) + " is not in " + sourceFolder_;
      return Outcome::Cancelled;
    }
  }
  progress_.pump();
  showDiskMessage(disk);
  if (stopped_) return Outcome::Next;

  CopyRequest request;
  request.sourceFolder = sourceFolder_;
  request.sourceName = sourceName;
  request.destinationFolder = destination + "\\";
  request.targetName = targetName;
  request.force = entry.force.text("");
  request.expand = entry.expand.text("");
  request.keepHigherVersion =
      isSharedUninstaller(index, destination, app_.state().windowsFolder, targetName);
  request.progress = &progress_;
  const bool shared = entry.shared.number("0") != 0;
  copier_.copyInOrder(request, std::move(source), [this, request, size, shared](long long copied) {
    afterCopy(request, size, shared, copied);
  });
  progress_.pump();
  return Outcome::Next;
}

void InstallRun::afterCopy(const CopyRequest& request, long long size, bool shared,
                           long long copied) {
  if (copied != size && !progress_.cancelled()) {
    if (!copier_.lastCopied()) reportNotCopied(request);
    if (dialogs_.ask(copyText(app_.strings(), sid::ShortCopy)) != ui::Answer::Yes) {
      progress_.setCancelled();
    }
  } else if (shared) {
    sharedFiles_.push_back(request.destinationFolder + request.targetName);
  }
}

bool InstallRun::settle() {
  const bool cancelledBefore = progress_.cancelled();
  copier_.finishAll();
  if (!cancelledBefore && progress_.cancelled()) stopped_ = true;
  return !stopped_;
}

void InstallRun::reportNotCopied(const CopyRequest& request) {
  const std::string destination = request.destinationFolder + request.targetName;
  notCopied_.push_back(destination);
  platform::FileSystem& files = app_.machine().files();
  const std::string stored = request.sourceFolder + request.sourceName;
  std::optional<std::uint64_t> needed;
  if (script::readFlag(request.expand) == script::Flag::Set) {
    needed = platform::expandedSizeOf(files, stored);
  } else if (auto status = files.status(stored)) {
    needed = status->size;
  }
  std::optional<platform::DiskShortage> full;
  if (needed) full = platform::shortageFor(files, files.fullPath(destination), *needed);
  app_.problem(destination + " was not copied: " +
               (full ? platform::describeShortage(*full) : copier_.lastRule()));
}

std::string InstallRun::description(long number) {
  if (number == kEngineDescription) return copyText(app_.strings(), sid::EngineComponent);
  std::string text =
      app_.value(script::sectionName(Section::Descriptions), std::to_string(number), "");
  return text.empty() ? copyText(app_.strings(), sid::UnknownFileType) : text;
}

// Finds the stored file: in the source folder, in the numbered disk folder beside it, or in
// a folder the user shows. The file found is opened there, once, for the copy that follows.
std::optional<platform::FileSystem::OpenedFile> InstallRun::locate(
    const std::string& sourceName, long disk, const std::string& targetName,
    const std::string& description, const std::string& destination, bool& cancelled) {
  platform::FileSystem& files = app_.machine().files();
  std::string& sourceFolder = sourceFolder_;
  for (;;) {
    progress_.setCopyTexts(targetName, description, destination);
    // A file this run is still writing is read once it is whole.
    copier_.finishWriting(sourceFolder + sourceName);
    if (auto found = files.openForReading(sourceFolder + sourceName)) return found;
    std::string stem = sourceFolder;
    while (!stem.empty() && (stem.back() == '\\' || (stem.back() >= '0' && stem.back() <= '9'))) {
      stem.pop_back();
    }
    if (stem.size() < sourceFolder.size()) {
      std::string diskFolder = stem + std::to_string(disk) + "\\";
      copier_.finishWriting(diskFolder + sourceName);
      if (auto found = files.openForReading(diskFolder + sourceName)) {
        sourceFolder = diskFolder;
        return found;
      }
    }
    if (!settle()) return std::nullopt;
    std::optional<std::string> picked = PickFolder(app_.ui(), app_.strings(), static_cast<int>(disk), sourceFolder);
    if (!picked) {
      cancelled = true;
      return std::nullopt;
    }
    sourceFolder = picked->size() >= kDummyNameLength
                       ? picked->substr(0, picked->size() - kDummyNameLength)
                       : std::string();
  }
}

void InstallRun::showDiskMessage(long disk) {
  std::string name =
      app_.value(script::sectionName(Section::Messages), std::to_string(disk), "");
  if (name.empty() || progress_.cancelled() || disk == currentDisk_) return;
  if (!settle()) return;
  if (!messages_.showTextFile(sourceFolder_ + name, static_cast<int>(disk))) {
    messages_.hide();
  }
  progress_.pump(40);
  currentDisk_ = disk;
}

}  // namespace

long long computeCopyTotal(const script::ScriptReader& script, const SetupState& state) {
  const std::string files = script::sectionName(Section::Files);
  long nbFiles = readInt(script.value(files, script::countKey(Section::Files), "0"));
  long long total = 0;
  // The entries are read a block at a time from one look at the script: a change another
  // program makes during the pass is seen from the next block on.
  platform::LookPerBlock looks(script.profile(), script.path());
  for (long i = 0; i < nbFiles; ++i) {
    looks.next();
    std::string line = script.value(files, std::to_string(i), "");
    if (line.empty()) return total;
    const auto entry = script::readEntry<script::FileEntry>(line);
    if (!entryApplies(state, entry)) continue;
    long size = entry.size.number("0");
    if (size > 0) total = saturatingAdd(total, size);
  }
  return total;
}

long long computeCopyTotal(SetupApp& app) { return computeCopyTotal(app.script(), app.state()); }

bool entryApplies(const SetupState& state, const script::FileEntry& entry) {
  long platform = entry.platform.number("0");
  if (platform != 0 && platform != state.platform) return false;
  return isDirectorySelected(state, entry.dir.number("-1"));
}

std::optional<platform::DiskShortage> findDiskShortage(SetupApp& app) {
  const SetupState& state = app.state();
  platform::FileSystem& files = app.machine().files();
  std::map<char, std::uint64_t> needs;  // drive letter -> bytes the copies add to it
  // Each destination folder is looked at once in this pass: none of a missing folder's files
  // is there to give room back, so its files are not looked at at all.
  std::map<std::string, bool> folderMissingByName;  // full path, lower case -> missing
  auto folderMissing = [&](const std::string& destination) {
    const std::size_t slash = destination.rfind('\\');
    if (slash == std::string::npos) return false;
    // A drive's root keeps its backslash ("C:" alone names the drive's current folder).
    const std::string folder = destination.substr(0, slash == 2 ? 3 : slash);
    auto [known, isNew] = folderMissingByName.try_emplace(text::toLower(files.fullPath(folder)), false);
    if (isNew) {
      auto found = files.status(folder);
      known->second = !found || !found->isDirectory();
    }
    return known->second;
  };
  // A file replaced without a backup gives its room back to the new one.
  auto add = [&](const std::string& destination, std::uint64_t bytes) {
    char drive = platform::driveLetterOf(files.fullPath(destination));
    if (drive == 0) return;
    std::uint64_t freed = 0;
    if (!state.backup && !folderMissing(destination)) {
      auto existing = files.status(destination);
      if (existing && !existing->isDirectory()) freed = existing->size;
    }
    needs[drive] += bytes > freed ? bytes - freed : 0;
  };
  if (auto script = files.status(state.engineFolder + "Script.vrx")) {
    add(state.installFolder + "\\Script.vrx", script->size);
  }
  // Each compressed file is first copied whole beside the engine, then expanded.
  std::uint64_t largestStored = 0;
  const std::string section = script::sectionName(Section::Files);
  long nbFiles = readInt(app.value(section, script::countKey(Section::Files), "0"));
  // The looks at each stored file and destination read the side store's records in one
  // transaction, not one each.
  platform::FileBatch batch(files);
  platform::LookPerBlock looks(app.script().profile(), app.script().path());
  for (long i = 0; i < nbFiles; ++i) {
    looks.next();
    std::string line = app.value(section, std::to_string(i), "");
    if (line.empty()) break;
    const auto entry = script::readEntry<script::FileEntry>(line);
    if (!entryApplies(state, entry)) continue;
    const std::string source = entry.source.text("");
    std::string target = entry.target.text(source);
    if (target.empty()) target = source;
    if (!isSafeFileName(source) || !isSafeFileName(target)) continue;
    // What the copy writes is the stored file, whatever the script says of its size: only
    // files found in the package's folder count here; one on a disk not yet there is named
    // when its copy fails.
    const std::string stored = state.sourceFolder + source;
    auto found = files.status(stored);
    if (!found || found->isDirectory()) continue;
    std::uint64_t bytes = found->size;
    if (script::readFlag(entry.expand.text("")) == script::Flag::Set) {
      largestStored = std::max<std::uint64_t>(largestStored, bytes);
      bytes = platform::expandedSizeOf(files, stored).value_or(bytes);
    }
    add(app.directoryPath(entry.dir.number("1000")) + "\\" + target, bytes);
  }
  if (char engineDrive = platform::driveLetterOf(files.fullPath(state.engineFolder))) {
    needs[engineDrive] += largestStored;
  }
  for (const auto& [drive, bytes] : needs) {
    if (auto full = platform::shortageFor(files, std::string(1, drive) + ":\\", bytes)) return full;
  }
  return std::nullopt;
}

InstallCopier::InstallCopier(SetupApp& app, CopyTally& tally)
    : dialogs_(app.dialogs()),
      judge_(app.machine().versionInfo(), app.machine().system().userDefaultLangId(), dialogs_),
      copier_(app.machine().files(), app.machine().lz(), judge_,
              CopyFolders{app.state().engineFolder, app.state().installFolder, app.state().backup},
              tally, app.log()) {}

long long copyOneFile(SetupApp& app, const CopyRequest& request) {
  CopyTally tally;
  InstallCopier copier(app, tally);
  return copier.copy(request);
}

InstallPhase::InstallPhase(SetupApp& app) : app_(app), sourceFolder_(app.state().sourceFolder) {}

int InstallPhase::run() {
  const SetupState& state = app_.state();
  const std::string scriptName = "Script.vrx";
  const std::string installed = state.installFolder + "\\" + scriptName;
  CopyRequest script;
  script.sourceFolder = state.engineFolder;
  script.sourceName = scriptName;
  script.destinationFolder = state.installFolder + "\\";
  script.targetName = scriptName;
  script.force = "1";
  script.expand = "0";
  // A kill during this copy must not leave a cut script where an earlier installation's
  // uninstaller will read it.
  script.whole = true;
  long long copied = copyOneFile(app_, script);
  auto source = app_.machine().files().status(state.engineFolder + scriptName);
  // Without its installed copy the installation could record nothing for the uninstaller.
  if (!source || copied != static_cast<long long>(source->size)) {
    app_.state().failureCause = "the installed script could not be written as " + installed +
                                ": the destination folder cannot be made or written";
    return status::GroupsFailed;
  }
  app_.script().setPath(installed);
  tally_ = CopyTally{0, computeCopyTotal(app_.script(), state)};
  sharedFiles_.clear();
  InstallRun run(app_, sourceFolder_, tally_, sharedFiles_);
  // The record lets a later installation clear the expansion's temporary files if this one
  // is killed while it copies; every other ending removes them itself.
  platform::FileSystem& files = app_.machine().files();
  beginExpansionRecord(files, state.engineFolder);
  int code = run.run();
  endExpansionRecord(files, state.engineFolder);
  return code;
}

int installFiles(SetupApp& app) {
  InstallPhase phase(app);
  return phase.run();
}

}  // namespace vandrel::setup
