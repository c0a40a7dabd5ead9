// The folder picker: a file dialog used to choose a folder.
#pragma once

#include <optional>
#include <string>

#include "script/string_table.h"
#include "ui/interaction.h"

namespace vandrel::setup {

// Asks for a folder; disk 0 asks for the installation folder, any other number for the
// folder holding that disk's files. The result is the chosen folder, a backslash and the
// dummy file name "Junk"; nothing when cancelled. A picker window opens on the shown folder
// (the destination on the page, the disk folder looked in).
std::optional<std::string> PickFolder(ui::Interaction& ui, const script::StringTable& strings,
                                      int disk, const std::string& shown = {});

// The destination page's reading of a picker result: the folder without "\Junk". Nothing
// when the result names the root of a drive (or nothing at all), which the page refuses.
std::optional<std::string> installFolderFromPick(const std::string& picked);

}  // namespace vandrel::setup
