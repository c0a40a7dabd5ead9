// The builder's numbered strings: messages, labels, key lists and file names, by id.
#pragma once

#include <string>
#include <string_view>

#include "builder/strings/string_ids.h"
#include "script/string_table.h"

namespace vandrel::builder {

// The builder's string table (one per process, built on first use).
const script::StringTable& builderStrings();

// Shorthands over builderStrings().
std::string str(unsigned id);
// Item k (from 1) of a comma-list string; def when the item is missing.
std::string strItem(unsigned id, int k, std::string_view def = "");
// The string with %1 and %2 filled.
std::string strFormat(unsigned id, std::string_view arg1, std::string_view arg2 = "");

// Shown for a generated script chosen for import; this message has no number.
inline constexpr const char* kNotImplemented = "Function not yet implemented !";

// The application name stamped into new documents' summary information.
inline constexpr const char* kApplicationName = "Corvix v3.0";

}  // namespace vandrel::builder
