// The setup engine's string table (one language per program build).
#pragma once

#include "script/string_table.h"

namespace vandrel::setup {

// The table linked into this program: English or French.
const script::StringTable& setupStrings();

}  // namespace vandrel::setup
