// Which layout a window gives a page, decided once for every window backend.
#pragma once

#include "ui/interaction.h"

namespace vandrel::ui {

// The layout the page is made for when it has what that layout places (its fields of the
// right kinds, its texts part by part); otherwise the stacked layout, which shows any page.
PageLayout pageLayout(const Page& page);

// The picture beside a page: the program's own picture on the first page, the side picture
// on the others (ids of paint/bitmap_resources.h).
int pagePicture(const Page& page);

}  // namespace vandrel::ui
