// Taking back an installation that did not succeed, and saying so on standard error and in
// the action log.
#pragma once

#include <cstdio>

#include "setup/rollback/change_journal.h"
#include "ui/action_log.h"

namespace vandrel::setup::rollback {

// Undoes what the journal holds and ends it. Says nothing when the installation changed
// nothing; otherwise that the changes were undone, or each thing that could not be undone.
// True when the machine is as it was.
bool undoInstallation(ChangeJournal& journal, ui::ActionLog& log, std::FILE* err = stderr);

}  // namespace vandrel::setup::rollback
