// One setting of a document read or changed by its key in the text form (AppName, Top, ...).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "builder/model/script_doc.h"

namespace vandrel::builder {

// The value of the setting key (any case) as the text form writes it; nullopt for a key that
// is no setting of the [Settings], [Background] or [Owner] sections.
std::optional<std::string> settingValue(const CScriptDoc& doc, std::string_view key);

// Sets the setting key (any case) to value, checked as its kind asks: a number is a decimal
// integer in the key's range (the choices the settings pages offer), a colour "0x" and up to 8 hex digits, a text holds no line break. Empty on success,
// else what is wrong, naming the key; the document is then unchanged. The modified flag is
// left to the caller (an override for one build is not a change of the document).
std::string changeSetting(CScriptDoc& doc, std::string_view key, std::string_view value);

// The canonical spelling of a setting key ("appname" -> "AppName"), nullopt when unknown.
std::optional<std::string> settingName(std::string_view key);

}  // namespace vandrel::builder
