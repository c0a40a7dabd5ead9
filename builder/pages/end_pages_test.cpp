// Tests of the end-of-install sheet: the launch list's add and delete rules, the favourites'
// add, replace and delete rules, and what OK writes.
#include "builder/pages/end_pages.h"

#include <gtest/gtest.h>

#include "builder/pages/pages_fixture_test.h"

namespace vandrel::builder::pages {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

TEST(LaunchList, AddDeleteAndPick) {
  CEndSetDlg page;
  page.fill(EndOfInstall{});
  page.edit = "   [0]\\tool.exe /s";
  EXPECT_TRUE(page.add());
  EXPECT_TRUE(page.edit.empty());
  page.edit = "";
  EXPECT_FALSE(page.add());
  page.edit = "   ";
  EXPECT_FALSE(page.add()) << "blanks alone would be an empty command";
  page.edit = "notepad [0]\\readme.txt";
  page.add();
  EXPECT_EQ(page.launch, (std::vector<std::string>{"[0]\\tool.exe /s", "notepad [0]\\readme.txt"}));

  EXPECT_FALSE(page.remove()) << "nothing selected";
  page.pick(1);
  EXPECT_EQ(page.edit, "notepad [0]\\readme.txt");
  EXPECT_TRUE(page.remove());
  EXPECT_EQ(page.launch, (std::vector<std::string>{"[0]\\tool.exe /s"}));
  EXPECT_FALSE(page.remove()) << "the selection went with the line";
}

TEST(Favourites, AddReplacesByNameWithoutCaseOrInsertsOnTop) {
  test::FakeInteraction ui;
  CWebUrlDlg page;
  WebSettings web;
  web.favoriteNames = {"Home"};
  web.favoriteUrls = {"http://a/"};
  page.fill(web);

  page.nameEdit = "  News";
  page.urlEdit = " http://n/";
  EXPECT_TRUE(page.add(ui));
  EXPECT_EQ(page.rows, (Rows{{"News", "http://n/"}, {"Home", "http://a/"}}));
  EXPECT_TRUE(page.nameEdit.empty() && page.urlEdit.empty());

  page.nameEdit = "HOME";
  page.urlEdit = "http://b/";
  EXPECT_TRUE(page.add(ui));
  EXPECT_EQ(page.rows, (Rows{{"News", "http://n/"}, {"Home", "http://b/"}}))
      << "the row keeps its name and gets the new URL";

  for (auto [name, url] : Rows{{"", "http://x/"}, {"X", ""}, {"  ", "http://x/"}}) {
    page.nameEdit = name;
    page.urlEdit = url;
    EXPECT_FALSE(page.add(ui));
  }
  EXPECT_EQ(ui.beeps, 3);
  EXPECT_EQ(page.rows.size(), 2u);

  EXPECT_FALSE(page.remove(ui));
  EXPECT_EQ(ui.beeps, 4);
  page.pick(0);
  EXPECT_EQ(page.nameEdit, "News");
  EXPECT_EQ(page.urlEdit, "http://n/");
  EXPECT_TRUE(page.remove(ui));
  EXPECT_EQ(page.rows, (Rows{{"Home", "http://b/"}}));
  EXPECT_EQ(CWebUrlDlg::columns(), (std::vector<std::string>{"Shortcut name", "URL"}));
}

TEST(EndSheet, OkReplacesTheListsInOrder) {
  testing::DocFixture f;
  f.doc.endOfInstall.launch = {"old.exe"};
  f.doc.web.favoriteNames = {"A", "B"};
  f.doc.web.favoriteUrls = {"u1", "u2"};
  EndSheet sheet(f.doc);
  EXPECT_EQ(sheet.web.rows, (Rows{{"A", "u1"}, {"B", "u2"}}));
  sheet.end.reboot = 2;
  sheet.end.launch = {"x.exe", "y.exe"};
  sheet.web.startUrl = "http://start/";
  sheet.web.rows = {{"C", "u3"}, {"A", "u1"}};
  sheet.ok(f.doc);
  EXPECT_EQ(f.doc.endOfInstall.reboot, 2);
  EXPECT_EQ(f.doc.endOfInstall.launch, (std::vector<std::string>{"x.exe", "y.exe"}));
  EXPECT_EQ(f.doc.web.startUrl, "http://start/");
  EXPECT_EQ(f.doc.web.favoriteNames, (std::vector<std::string>{"C", "A"}));
  EXPECT_EQ(f.doc.web.favoriteUrls, (std::vector<std::string>{"u3", "u1"}));
  EXPECT_TRUE(f.doc.isModified());
}

}  // namespace
}  // namespace vandrel::builder::pages
