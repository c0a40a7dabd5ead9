// The two lists of the end-of-install sheet as list, remove and add commands see them: the
// commands started at the end of the installation ("launch") and the Web favourites
// ("favorite").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "builder/cli/command.h"

namespace vandrel::builder::cli {

// "launch" or "favorite" for the names a command may give them (plurals, "favourite"...);
// nullopt for any other name.
std::optional<std::string> endListCalled(const std::string& name);

// The list's lines, numbered from 1 by position: a command line, or "name,address".
std::vector<std::string> endListLines(const CScriptDoc& doc, const std::string& list);

// Removes line n (from 1) through the sheet's "Delete"; empty on success, else what is
// wrong, naming N.
std::string removeEndListLine(CommandContext& context, CScriptDoc& doc, const std::string& list,
                              const std::string& number);

}  // namespace vandrel::builder::cli
