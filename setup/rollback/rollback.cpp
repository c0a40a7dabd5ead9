// Undoing a failed installation and reporting it.
#include "setup/rollback/rollback.h"

#include <string>
#include <vector>

namespace vandrel::setup::rollback {

bool undoInstallation(ChangeJournal& journal, ui::ActionLog& log, std::FILE* err) {
  if (journal.empty()) {
    journal.finish();
    return true;
  }
  std::vector<std::string> failed = journal.undo();
  journal.finish();
  if (failed.empty()) {
    if (err) std::fprintf(err, "tamsin32: the changes made by this installation were undone\n");
    log.action("rollback", {{"result", "the changes made by this installation were undone"}});
    return true;
  }
  if (err) {
    std::fprintf(err, "tamsin32: the changes made by this installation could not all be undone:\n");
    for (const std::string& what : failed) std::fprintf(err, "tamsin32: not undone: %s\n", what.c_str());
  }
  for (const std::string& what : failed) log.action("rollback", {{"not-undone", what}});
  log.action("rollback", {{"result", "the changes made by this installation could not all be undone"}});
  return false;
}

}  // namespace vandrel::setup::rollback
