// Undoing a failed installation and reporting it.
#include "setup/rollback/rollback.h"

#include <string>
#include <vector>

namespace vandrel::setup::rollback {

namespace {

// Undoes and ends the journal; which says what was undone ("this installation", ...).
bool undoAndSay(ChangeJournal& journal, const std::string& which, ui::ActionLog& log,
                std::FILE* err) {
  std::vector<std::string> failed = journal.undo();
  journal.finish();
  if (failed.empty()) {
    const std::string done = "the changes made by " + which + " were undone";
    if (err) std::fprintf(err, "tamsin32: %s\n", done.c_str());
    log.action("rollback", {{"result", done}});
    return true;
  }
  const std::string partly = "the changes made by " + which + " could not all be undone";
  if (err) {
    std::fprintf(err, "tamsin32: %s:\n", partly.c_str());
    for (const std::string& what : failed) std::fprintf(err, "tamsin32: not undone: %s\n", what.c_str());
  }
  for (const std::string& what : failed) log.action("rollback", {{"not-undone", what}});
  log.action("rollback", {{"result", partly}});
  return false;
}

}  // namespace

bool undoInstallation(ChangeJournal& journal, ui::ActionLog& log, std::FILE* err) {
  if (journal.empty()) {
    journal.finish();
    return true;
  }
  return undoAndSay(journal, "this installation", log, err);
}

bool undoInterruptedInstallation(ChangeJournal& journal, const std::string& saveFolder,
                                 ui::ActionLog& log, std::FILE* err) {
  if (!journal.resume(saveFolder)) return true;
  return undoAndSay(journal, "an installation that was stopped before its end", log, err);
}

}  // namespace vandrel::setup::rollback
