// The closing dialog of an installation: its two texts chosen by the status code.
#pragma once

#include <string>

#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::setup {

// The dialog for a status code, captioned with the application name.
ui::Closing closingDialog(int code, const std::string& appName, const script::StringTable& strings);

}  // namespace vandrel::setup
