// The uninstaller's string table (one language per program build).
#pragma once

#include "script/string_table.h"

namespace vandrel::uninstall {

// The table linked into this program: English or French.
const script::StringTable& uninstallStrings();

}  // namespace vandrel::uninstall
