// Taking back an installation that did not succeed, and saying so on standard error and in
// the action log.
#pragma once

#include <cstdio>
#include <string>

#include "setup/rollback/change_journal.h"
#include "ui/action_log.h"

namespace vandrel::setup::rollback {

// Undoes what the journal holds and ends it. Says nothing when the installation changed
// nothing; otherwise that the changes were undone, or each thing that could not be undone.
// True when the machine is as it was.
bool undoInstallation(ChangeJournal& journal, ui::ActionLog& log, std::FILE* err = stderr);

// Undoes what an installation killed before its end left journaled in saveFolder, and says
// so; nothing when there is no such journal. True when the machine is as it was before it.
bool undoInterruptedInstallation(ChangeJournal& journal, const std::string& saveFolder,
                                 ui::ActionLog& log, std::FILE* err = stderr);

}  // namespace vandrel::setup::rollback
