// The uninstaller's driver.
#include "uninstall/driver.h"

#include <array>

#include "platform/text/text_rules.h"
#include "uninstall/removal_steps.h"
#include "uninstall/strings/string_ids.h"

namespace vandrel::uninstall {

namespace {

// The number of removal items the steps will count: the seven counts less the three fixed
// folders that the application-folders step never removes.
long long removalTotal(UninstallApp& app) {
  long long total = 0;
  for (Section n : {Section::Directories, Section::Files, Section::AddIni, Section::Registry,
                Section::AddedFolders, Section::AddedLinks, Section::SharedFiles}) {
    total += app.count(n);
  }
  return total - 3;
}

Ending removeInstallation(UninstallApp& app, const std::string& commandLine,
                          RemovalTally& tally) {
  const script::StringTable& strings = app.strings();
  app.setInstallFolder(commandLine);
  UninstallState& state = app.state();
  tally.total = removalTotal(app);
  if (tally.total <= 0) {
    app.stop(strings.get(ids::NoScript));
    return Ending::NoScript;
  }
  std::string appName = app.text(Section::Settings, script::key::AppName);
  if (!app.askYesNo(strings.format(ids::Confirm, appName))) return Ending::Declined;

  app.openProgress(appName.empty() ? std::string() : strings.format(ids::Removing, appName));
  Removal removal = app.removal(tally);
  // What this removal releases is marked as it goes, so that a rerun after a kill releases
  // nothing twice.
  platform::Machine& machine = app.machine();
  RemovalRecord record(machine.registry(), machine.profile(), state.installFolder, state.scriptPath);
  record.begin();
  removal.record = &record;
  bool completed = runRemovalSteps(removal, app.progress());
  Ending ending = completed ? Ending::Completed : Ending::Stopped;

  // A folder that was there before the installation stays, whatever it holds; its script
  // says so, read before the script goes.
  bool kept = removal.keptFolder(state.installFolder);
  platform::FileSystem& files = machine.files();
  if (files.deleteFile(state.scriptPath)) app.log().removal("file", state.scriptPath, true);
  // Without its script the installation cannot be removed again, so the marks have served.
  if (!files.status(state.scriptPath)) record.finish();
  if (kept) app.log().action("kept", {{"kind", "folder"}, {"target", state.installFolder}, {"why", "there before the installation"}});
  bool folderStays = !kept && !removal.removeFolder(state.installFolder, "folder");
  if (completed && (folderStays || tally.leftovers)) ending = Ending::Leftovers;

  unsigned result = ending == Ending::Completed   ? ids::Completed
                    : ending == Ending::Leftovers ? ids::Leftovers
                                                  : ids::NotCompleted;
  app.progress()->finish(strings.get(result));
  return ending;
}

}  // namespace

bool runRemovalSteps(Removal& removal, ProgressWindow* progress) {
  struct Step {
    bool (*run)(Removal&);
    int box;  // 0: no box
  };
  static constexpr std::array<Step, 6> steps{{
      {RemoveSharedFiles, 1},
      {RemoveFiles, 2},
      {RemoveLinksAndGroups, 3},
      {RemoveAppFolders, 4},
      {RemoveIniEntries, 0},
      {RemoveRegistryEntries, 5},
  }};
  for (const Step& step : steps) {
    if (!step.run(removal)) return false;
    if (step.box != 0 && progress) progress->tick(step.box);
  }
  return true;
}

Ending runUninstaller(UninstallApp& app, const std::string& commandLine, RemovalTally* tally) {
  app.readFolders();
  if (commandLine.empty()) {
    app.stop(app.strings().get(ids::NoCommandLine));
    return Ending::NoCommandLine;
  }
  if (text::equalsNoCase(commandLine, kCleanUpSwitch)) {
    platform::FileSystem& files = app.machine().files();
    files.deleteFile(app.state().windowsFolder + kEngineCopy);
    files.deleteFile(app.state().windowsFolder + kScriptCopy);
    return Ending::CleanedUp;
  }
  RemovalTally own;
  return removeInstallation(app, commandLine, tally ? *tally : own);
}

int exitStatusFor(Ending ending) {
  switch (ending) {
    case Ending::CleanedUp:
    case Ending::Completed: return 0;
    case Ending::Leftovers: return 3;
    case Ending::Stopped: return 4;
    case Ending::Declined: return 5;
    case Ending::NoCommandLine:
    case Ending::NoScript: return 1;
  }
  return 1;
}

std::string exitMeaning(Ending ending) {
  switch (ending) {
    case Ending::CleanedUp: return "the setup's temporary files were cleaned up";
    case Ending::Completed: return "the removal completed";
    case Ending::Leftovers: return "the removal completed, but some items were left";
    case Ending::Stopped: return "the removal was stopped before its end";
    case Ending::Declined: return "the user declined the removal";
    case Ending::NoCommandLine: return "no installation folder was given";
    case Ending::NoScript: return "the installation's script was not found";
  }
  return "";
}

std::string failureCause(const UninstallApp& app, Ending ending) {
  const UninstallState& state = app.state();
  switch (ending) {
    case Ending::NoCommandLine: return "no installation folder was given on the command line";
    case Ending::NoScript: return "no installed script was found as " + state.scriptPath;
    case Ending::Leftovers: return "items of the installation in " + state.installFolder + " stayed";
    case Ending::Stopped: return "the removal of the installation in " + state.installFolder + " stopped";
    case Ending::Declined: return "the removal of the installation in " + state.installFolder + " was declined";
    case Ending::CleanedUp:
    case Ending::Completed: return "";
  }
  return "";
}

}  // namespace vandrel::uninstall
