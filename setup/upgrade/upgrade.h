// Upgrades and repairs: the setup finds the earlier installations of its application before
// it copies anything, proposes the folder of one, and when it installs into that folder
// leaves one installation behind: one registration, one installed script recording all the
// installation holds, each shared file counted once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/setup_app.h"
#include "setup/upgrade/earlier_installation.h"

namespace vandrel::setup {

class UpgradeStep {
 public:
  // Looks for the installations of the state's application (the state's AppName); names each
  // one found on standard error and in the action log ("earlier-installation").
  void find(SetupApp& app);
  const std::vector<EarlierInstallation>& found() const { return found_; }

  // The folder the destination page proposes: the first installation's, else def.
  std::string proposedFolder(const std::string& def) const;
  // The installation the folder was proposed from, for the destination page's record in the
  // transcript: its registration, version and folder; nothing when none was found.
  std::vector<std::pair<std::string, std::string>> destinationFacts() const;

  // Once the folder is chosen, before anything is copied: an installation in that folder
  // makes this run its upgrade (another Ver) or repair (the same Ver), and the shared files
  // it already counted are not counted again; the counts a stopped removal of it released
  // are given back first. Another folder: a separate installation.
  void prepare(SetupApp& app);

  // After the install phase, when it installed the script into the earlier installation's
  // folder: the installed script gets what the earlier one recorded and the new version does
  // not hold, and once the new registration is in place the earlier registrations of the
  // folder go.
  void complete(SetupApp& app);

 private:
  std::vector<EarlierInstallation> found_;
  std::optional<EarlierInstallation> same_;  // the installation in the chosen folder
};

// The installed script at script's path gets the records of earlier that the script does not
// hold itself: files no longer shipped and shared files in [SharedFiles] (the uninstaller
// deletes a path without usage count as it deletes a [Files] entry), links and group and
// author folders in [AddedLinks] and [AddedFolders], Win.ini keys and registry values in
// [AddINI] and [Registry] (the earlier uninstall registrations excepted).
void recordEarlierRecords(script::ScriptReader& script, const InstalledRecords& earlier,
                          const script::DirectoryContext& context);

// Gives back the usage counts a stopped removal of earlier released: each count raised again
// and its mark dropped as one change of the registry, so that a kill leaves both or neither.
// The installation is then counted as before that removal began, and a removal run again
// lowers each count once more, as does the removal of the installation made over it. Logs each
// count ("shared-count").
void giveBackReleasedCounts(platform::Registry& registry, const EarlierInstallation& earlier,
                            ui::ActionLog* log);

// Removes the registrations of earlier other than keep (the new one), when keep exists;
// logs each ("registration-removed").
void removeEarlierRegistrations(platform::Registry& registry, const EarlierInstallation& earlier,
                                const std::string& keep, ui::ActionLog* log);

}  // namespace vandrel::setup
