// The one decision every window backend takes from a page: which layout it gets.
#include "ui/page_layout.h"

#include <gtest/gtest.h>

namespace vandrel::ui {
namespace {

Field field(Field::Kind kind, std::vector<std::string> items = {}) {
  Field f;
  f.kind = kind;
  f.items = std::move(items);
  return f;
}

// A page with everything its layout places.
Page complete(PageLayout layout) {
  Page page;
  page.layout = layout;
  switch (layout) {
    case PageLayout::Notice: page.paragraphs = {"advice", "notice"}; break;
    case PageLayout::Registration:
      page.fields = {field(Field::Kind::Text), field(Field::Kind::Text), field(Field::Kind::Text)};
      break;
    case PageLayout::Components: page.fields = {field(Field::Kind::CheckList, {"A", "B"})}; break;
    case PageLayout::Sharing: page.fields = {field(Field::Kind::Radio, {"share", "do not"})}; break;
    case PageLayout::Destination:
      page.fields = {field(Field::Kind::Text), field(Field::Kind::Check)};
      page.actions = {"&Change"};
      page.paragraphs = {"intro", "keep", "change"};
      page.rows = {{"required:", "1 Ko"}, {"available:", "2 Ko"}};
      break;
    default: break;
  }
  return page;
}

TEST(PageLayout, APageWithWhatItsLayoutPlacesGetsThatLayout) {
  for (PageLayout layout : {PageLayout::Stacked, PageLayout::First, PageLayout::Notice, PageLayout::Licence,
                            PageLayout::Registration, PageLayout::Components, PageLayout::Sharing,
                            PageLayout::Destination}) {
    EXPECT_EQ(pageLayout(complete(layout)), layout) << static_cast<int>(layout);
  }
}

// A window never reaches for a part the page does not have: such a page is stacked.
TEST(PageLayout, APageLackingAPartIsStacked) {
  struct Case {
    const char* name;
    PageLayout layout;
    void (*spoil)(Page&);
  };
  const Case cases[] = {
      {"notice with one paragraph", PageLayout::Notice, [](Page& p) { p.paragraphs.pop_back(); }},
      {"first page with a field", PageLayout::First, [](Page& p) { p.fields = {field(Field::Kind::Text)}; }},
      {"licence with a field", PageLayout::Licence, [](Page& p) { p.fields = {field(Field::Kind::Check)}; }},
      {"registration with two fields", PageLayout::Registration, [](Page& p) { p.fields.pop_back(); }},
      {"components as radios", PageLayout::Components,
       [](Page& p) { p.fields = {field(Field::Kind::Radio, {"A", "B"})}; }},
      {"sharing with three choices", PageLayout::Sharing, [](Page& p) { p.fields[0].items.push_back("x"); }},
      {"destination without rows", PageLayout::Destination, [](Page& p) { p.rows.clear(); }},
      {"destination without Change", PageLayout::Destination, [](Page& p) { p.actions.clear(); }},
      {"destination with two paragraphs", PageLayout::Destination, [](Page& p) { p.paragraphs.pop_back(); }},
      {"destination, fields swapped", PageLayout::Destination,
       [](Page& p) { std::swap(p.fields[0], p.fields[1]); }},
  };
  for (const Case& c : cases) {
    Page page = complete(c.layout);
    c.spoil(page);
    EXPECT_EQ(pageLayout(page), PageLayout::Stacked) << c.name;
  }
}

}  // namespace
}  // namespace vandrel::ui
