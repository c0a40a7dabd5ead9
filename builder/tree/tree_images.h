// How the script tree's 14 images look, by the image index its items carry: the root, the
// settings, the background, one per category from "Directories" to "End of Install" (an
// entry kind's is the picture of its row in kEntryKinds), and the "System" and "UnInstall"
// settings items. Each is a rounded square of one colour with a white letter; the windows of
// each toolkit draw them at 16 or 32 pixels.
#pragma once

#include <vector>

namespace vandrel::builder {

struct TreeImageLook {
  char letter = ' ';
  unsigned rgb = 0;  // 0xRRGGBB
};

std::vector<TreeImageLook> treeImageLooks();

}  // namespace vandrel::builder
