// Texts of the copy, version, INI/registry and program group steps, by string id, with the
// built-in English text behind the engine's table.
#pragma once

#include <string>

#include "setup/strings/string_ids.h"

namespace vandrel::setup {

class SetupApp;

// The string of the engine's table; the built-in English text when the table lacks it.
std::string copyText(const SetupApp& app, unsigned id);
// copyText with %1 (and %2) filled.
std::string copyText(const SetupApp& app, unsigned id, const std::string& arg1);

}  // namespace vandrel::setup
