// The script tree's 14 pictures as a Win32 image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace vandrel::builder::win32 {

// The 14 pictures drawn at a size in pixels, in image-index order; the caller destroys it.
HIMAGELIST makeTreeImages(int pixels);

}  // namespace vandrel::builder::win32
