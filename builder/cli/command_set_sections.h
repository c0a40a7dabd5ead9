// The settings of the uninstaller ([Peskin]), of the end of installation ([End]) and of the Web
// page ([Web]) by their keys, for `set` and `get`.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "builder/model/script_doc.h"

namespace vandrel::builder::cli {

// The canonical spelling of such a key ("undesc" -> "UnDesc"); nullopt for any other key.
std::optional<std::string> otherSettingName(std::string_view key);
// Its value as the text form writes it; nullopt for any other key.
std::optional<std::string> otherSettingValue(const CScriptDoc& doc, std::string_view key);
// Sets it, checked: nullopt for any other key, else empty on success or what is wrong, naming
// the key (the document then unchanged).
std::optional<std::string> changeOtherSetting(CScriptDoc& doc, std::string_view key,
                                              std::string_view value);

}  // namespace vandrel::builder::cli
