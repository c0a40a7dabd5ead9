// Texts of the install phase's steps (copy, versions, INI/registry, program groups), by
// string id, with the built-in English text behind the engine's table.
#pragma once

#include <string>

#include "script/string_table.h"
#include "setup/strings/string_ids.h"

namespace vandrel::setup {


// The string of the engine's table; the built-in English text when the table lacks it.
std::string copyText(const script::StringTable& strings, unsigned id);
// copyText with %1 (and %2) filled.
std::string copyText(const script::StringTable& strings, unsigned id,
                     const std::string& arg1);

}  // namespace vandrel::setup
