// The install phase of the installation: the copy of the script and of the [Files] entries,
// then program groups and shortcuts, then Win.ini and registry entries. It wires the steps
// to the application's machine and owns what they change as they go: the source folder
// followed from disk to disk, the running copy total and the shared files copied.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/disk_room.h"
#include "script/schema.h"
#include "setup/common/dialogs.h"
#include "setup/copy/copy_file.h"
#include "setup/setup_app.h"
#include "setup/versions/replace_decision.h"

namespace vandrel::setup {

// The copy total: the sizes of the [Files] entries of this platform and of the components
// chosen, read from script (the destination page shows it before the copy begins).
long long computeCopyTotal(const script::ScriptReader& script, const SetupState& state);
long long computeCopyTotal(SetupApp& app);

// Whether a [Files] entry belongs to this installation: its platform and its component.
bool entryApplies(const SetupState& state, const script::FileEntry& entry);

// The first drive that has less room than the installation's copies add to it (the script,
// each file of this platform and of the chosen components found in the source folder,
// expanded, less the files it replaces when no backup keeps them, and the largest compressed
// file beside the engine while it is expanded); empty when every drive has room or cannot
// tell.
std::optional<platform::DiskShortage> findDiskShortage(SetupApp& app);

// A file copier over the application's machine, asking its questions through the
// application's message boxes, with the state's folders and backup choice.
class InstallCopier {
 public:
  InstallCopier(SetupApp& app, CopyTally& tally);
  long long copy(const CopyRequest& request,
                 std::optional<platform::FileSystem::OpenedFile> source = std::nullopt) {
    return copier_.copy(request, std::move(source));
  }
  // The copies of the install loop, reported in order (see FileCopier).
  bool copyInOrder(const CopyRequest& request,
                   std::optional<platform::FileSystem::OpenedFile> source,
                   const FileCopier::Finished& done) {
    return copier_.copyInOrder(request, std::move(source), done);
  }
  void finishAll() { copier_.finishAll(); }
  void finishWriting(const std::string& path) { copier_.finishWriting(path); }
  // The last copy's outcome (see FileCopier).
  bool lastCopied() const { return copier_.lastCopied(); }
  const std::string& lastRule() const { return copier_.lastRule(); }

 private:
  SetupDialogs dialogs_;
  ReplacementJudge judge_;
  FileCopier copier_;
};

// One copy outside an installation run (the install script itself).
long long copyOneFile(SetupApp& app, const CopyRequest& request);

class InstallPhase {
 public:
  explicit InstallPhase(SetupApp& app);

  // Copies the script into the installation folder (the script read from then on), then
  // runs the steps. A status code: 0 done, 1 cancelled, 2 stopped at a missing file, 5 the
  // script could not be installed or a shortcut or system change failed.
  int run();

  const CopyTally& tally() const { return tally_; }
  const std::vector<std::string>& sharedFiles() const { return sharedFiles_; }
  // Where the last file was found (the package's folder for its disk).
  const std::string& sourceFolder() const { return sourceFolder_; }

 private:
  SetupApp& app_;
  CopyTally tally_;
  std::vector<std::string> sharedFiles_;
  std::string sourceFolder_;
};

// The install phase over the application: InstallPhase(app).run().
int installFiles(SetupApp& app);

}  // namespace vandrel::setup
