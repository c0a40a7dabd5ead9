// The script tree's 14 images, by the image index its items carry: the root, the settings,
// the background, one per category from "Directories" to "End of Install" (an entry kind's is
// the picture of its row in kEntryKinds), and the "System" and "UnInstall" settings items. The tree view and the
// dialogs that show an item's kind (the summary's disk rows show the Files image) share them.
#pragma once

#include <vector>

#include <QIcon>

namespace vandrel::builder::qt {

// The images drawn at a size, in pixels.
std::vector<QIcon> treeIcons(int pixels);

}  // namespace vandrel::builder::qt
