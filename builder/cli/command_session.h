// The document of a subcommand, opened the one way every document command opens it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "builder/cli/command.h"
#include "builder/generate/headless_session.h"
#include "builder/generate/package_generator.h"

namespace vandrel::builder::cli {

// Where openSession shows what loading the document could not read as written: on standard
// error, one "corvix: FILE:LINE: error|warning: ..." line each, or nowhere (the caller shows
// them itself, as check does among its findings).
enum class LoadReport { OnStandardError, ByCaller };

// The document at the host path in a headless session over the context's machine; saved back
// through the session in the form it was read in. nullptr after the message when the machine
// or the document cannot be opened.
std::unique_ptr<HeadlessSession> openSession(CommandContext& context, const std::string& document,
                                             LoadReport report = LoadReport::OnStandardError);

// What cannot be filled in of the document's build variables with the values given, added to
// the session's load diagnostics as errors with their lines and, with OnStandardError, shown
// there as openSession shows the others. A name given that is neither a setting nor used by
// any field gets a warning on standard error.
void noteBuildVariables(CommandContext& context, HeadlessSession& session, const BuildValues& given,
                        LoadReport report = LoadReport::OnStandardError);

// The refusal of a command that builds from the document (generate, script, test) when its
// loading found errors: the failed status after the message; nullopt when there were none.
std::optional<int> refuseLoadErrors(CommandContext& context, const HeadlessSession& session,
                                    const std::string& document);

// What a run changed of its document (LastGenPath, the uninstall group) written back: a .cvx
// unless noSave, a text-form document only when save was asked for, as it is the author's
// source. False after the message when the save failed.
bool keepRunChanges(HeadlessSession& session, bool save, bool noSave);

// The answer of an unattended generation to files whose size changed since they were added:
// each one named on err with both sizes; with refresh the new sizes are recorded in doc and the
// generation goes on, otherwise it stops.
bool settleChangedSizes(CommandContext& context, CScriptDoc& doc,
                        const std::vector<SizeChange>& changes, bool refresh);

}  // namespace vandrel::builder::cli
