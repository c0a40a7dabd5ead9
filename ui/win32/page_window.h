// A wizard page as a window: the wizard's frame (Back, Next or Finish, Cancel, the caption)
// round the page's own template, its texts and fields filled from the page model and read
// back into the result.
//
// The driver shows one page at a time and decides, from the action, which page comes next
// (it also keeps a page when its values are refused, and runs the folder picker for Change),
// so each page is one modal frame rather than a property sheet that would own the page flow.
#pragma once

#include <windows.h>

#include "ui/interaction.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// Shows the page over owner until the user leaves it; the action and the fields as left.
PageResult runPageWindow(Win32Interaction& backend, const Page& page, HWND owner);

}  // namespace vandrel::ui::win32
