// The pictures kept inside the programs, read as device-independent bitmaps.
#pragma once

#include <cstdint>
#include <span>

#include "paint/dib_image.h"

namespace vandrel::paint {

namespace bitmap_id {
constexpr int SidePicture = 130;  // the wizard pages' 16-colour side picture
constexpr int Picture = 132;      // the first page's and the uninstaller's 256-colour picture
}  // namespace bitmap_id

namespace icon_id {
constexpr int Setup = 128;             // the setup's icon, shown by its closing dialog
constexpr int RemovalQuestion = 133;  // the uninstaller's shared-file question
}  // namespace icon_id

// The 32 x 32 picture of an icon as a .bmp file whose colour 0 is transparent; empty when
// the program has no icon of that number.
std::span<const std::uint8_t> iconResource(int id);

// The .bmp file of a picture; empty when the program has none of that number.
std::span<const std::uint8_t> bitmapResource(int id);

// Picture 132 with its palette (whatever the caller asks for, this is the picture the
// first wizard page and the uninstaller's window show); not loaded when it is missing.
DibImage LoadBitmapResource();

}  // namespace vandrel::paint
