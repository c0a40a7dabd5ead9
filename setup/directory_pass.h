// The two passes over the author's directories: listing the optional ones before the
// wizard, and creating the folders (recorded in [UnInstall]) after it.
#pragma once

#include "setup/setup_app.h"

namespace vandrel::setup {

// Fills the optional and selected directory lists and the labels.
void collectDirectories(SetupApp& app);

// Creates the install folder, the backup folder and the author's directories, and writes
// their paths into [UnInstall].
void createDirectories(SetupApp& app);

}  // namespace vandrel::setup
