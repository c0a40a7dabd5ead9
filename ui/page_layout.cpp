// Which layout a window gives a page.
#include "ui/page_layout.h"

#include <initializer_list>

#include "paint/bitmap_resources.h"

namespace vandrel::ui {
namespace {

using Kind = Field::Kind;

bool hasKinds(const Page& page, std::initializer_list<Kind> wanted) {
  if (page.fields.size() != wanted.size()) return false;
  std::size_t i = 0;
  for (Kind kind : wanted) {
    if (page.fields[i++].kind != kind) return false;
  }
  return true;
}

// Whether the page has every control and text the layout places.
bool fits(const Page& page, PageLayout layout) {
  switch (layout) {
    case PageLayout::Stacked: return true;
    case PageLayout::First: return hasKinds(page, {});
    case PageLayout::Notice: return hasKinds(page, {}) && page.paragraphs.size() == 2;
    case PageLayout::Licence: return hasKinds(page, {});
    case PageLayout::Registration: return hasKinds(page, {Kind::Text, Kind::Text, Kind::Text});
    case PageLayout::Components: return hasKinds(page, {Kind::CheckList});
    case PageLayout::Sharing: return hasKinds(page, {Kind::Radio}) && page.fields[0].items.size() == 2;
    case PageLayout::Destination:
      return hasKinds(page, {Kind::Text, Kind::Check}) && page.actions.size() == 1 &&
             page.paragraphs.size() == 3 && page.rows.size() == 2;
  }
  return false;
}

}  // namespace

PageLayout pageLayout(const Page& page) {
  return fits(page, page.layout) ? page.layout : PageLayout::Stacked;
}

int pagePicture(const Page& page) {
  return page.layout == PageLayout::First ? paint::bitmap_id::Picture : paint::bitmap_id::SidePicture;
}

}  // namespace vandrel::ui
