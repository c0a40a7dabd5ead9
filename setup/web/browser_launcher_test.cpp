// Browser detection through the registry and win.ini, its start, and Internet shortcuts.
#include "platform/web/browser_launcher.h"

#include <gtest/gtest.h>

#include "setup/testing/machine_fixture.h"

namespace vandrel::setup {
namespace {

using testing::MachineFixture;

void setOpenCommand(platform::Machine& machine, const std::string& type, const std::string& command) {
  platform::HKey key = 0;
  ASSERT_EQ(machine.registry().createKey(platform::hkey::ClassesRoot, type + "\\shell\\open\\command", key),
            platform::error::Success);
  machine.registry().setString(key, "", command);
  machine.registry().closeKey(key);
}

void setUserValue(platform::Machine& machine, const std::string& path, const std::string& name,
                  const std::string& value) {
  platform::HKey key = 0;
  ASSERT_EQ(machine.registry().createKey(platform::hkey::CurrentUser, path, key), platform::error::Success);
  machine.registry().setString(key, name, value);
  machine.registry().closeKey(key);
}

void deleteUserValue(platform::Machine& machine, const std::string& path, const std::string& name) {
  platform::HKey key = 0;
  if (machine.registry().openKey(platform::hkey::CurrentUser, path, key) == platform::error::Success) {
    machine.registry().deleteValue(key, name);
    machine.registry().closeKey(key);
  }
}

TEST(FindBrowser, FreshMachineHasNone) {
  MachineFixture machine;
  platform::BrowserLauncher browser(machine);
  EXPECT_FALSE(browser.FindBrowser(std::nullopt, 1));
  EXPECT_FALSE(browser.IsBrowserFound());
  EXPECT_FALSE(browser.OpenInBrowser("http://example.org/"));
  EXPECT_TRUE(machine.recordedProcess().started.empty());
}

TEST(FindBrowser, RegistryCommandTakesTheAddressInPlaceOfPercentOne) {
  MachineFixture machine;
  setOpenCommand(machine, "http", "\"C:\\Web\\browse.exe\" -nohome \"%1\"");
  setOpenCommand(machine, "htm", "C:\\Other\\other.exe %1");
  platform::BrowserLauncher browser(machine);
  ASSERT_TRUE(browser.FindBrowser(std::nullopt, 1));
  // htmlfile, htmfile and ftp have no command; http comes before htm in the list.
  EXPECT_EQ(browser.command(), "\"C:\\Web\\browse.exe\" -nohome \"%1\"");
  EXPECT_TRUE(browser.OpenInBrowser("http://a.example/x"));
  ASSERT_EQ(machine.recordedProcess().started.size(), 1u);
  EXPECT_EQ(machine.recordedProcess().started[0],
            "3 \"C:\\Web\\browse.exe\" -nohome \"http://a.example/x\"");
}

TEST(FindBrowser, CommandWithoutPercentOneGetsTheAddressGlued) {
  MachineFixture machine;
  setOpenCommand(machine, "htmlfile", "C:\\Web\\browse.exe");
  platform::BrowserLauncher browser(machine);
  ASSERT_TRUE(browser.FindBrowser(std::nullopt, 0));
  EXPECT_TRUE(browser.OpenInBrowser("http://b.example/"));
  EXPECT_EQ(machine.recordedProcess().started.at(0), "5 C:\\Web\\browse.exehttp://b.example/");
  EXPECT_FALSE(browser.OpenInBrowser(""));
  EXPECT_EQ(machine.recordedProcess().started.size(), 1u);
}

TEST(FindBrowser, FoundThroughWinIniOnlyCutAtTheCaret) {
  MachineFixture machine;
  machine.profile().writeProfileString("Extensions", "htm", "C:\\NET\\viewer.exe ^.htm");
  platform::BrowserLauncher browser(machine);
  ASSERT_TRUE(browser.FindBrowser(std::nullopt, 1));
  EXPECT_EQ(browser.command(), "C:\\NET\\viewer.exe ");
  EXPECT_TRUE(browser.OpenInBrowser("http://c.example/"));
  EXPECT_EQ(machine.recordedProcess().started.at(0), "3 C:\\NET\\viewer.exe http://c.example/");
}

TEST(FindBrowser, GivenListAndEmptyEntriesAreNoBrowser) {
  MachineFixture machine;
  setOpenCommand(machine, "http", "");                         // names no program
  machine.profile().writeProfileString("Extensions", "html", "^.html");  // nothing before ^
  machine.profile().writeProfileString("Extensions", "zzz", "C:\\Z\\z.exe ^.zzz");
  platform::BrowserLauncher browser(machine);
  EXPECT_FALSE(browser.FindBrowser(std::nullopt, 1));
  EXPECT_TRUE(browser.FindBrowser(std::string("http,html,zzz"), 1));
  EXPECT_EQ(browser.command(), "C:\\Z\\z.exe ");
  // An empty item ends the list: zzz after it is never looked at.
  EXPECT_FALSE(browser.FindBrowser(std::string("http,,zzz"), 1));
}

TEST(FindBrowser, OverlongRegistryCommandDoesNotFit) {
  MachineFixture machine;
  setOpenCommand(machine, "htmlfile", "C:\\" + std::string(300, 'x') + ".exe");
  setOpenCommand(machine, "url", "C:\\Short\\b.exe %1");
  platform::BrowserLauncher browser(machine);
  ASSERT_TRUE(browser.FindBrowser(std::nullopt, 1));
  EXPECT_EQ(browser.command(), "C:\\Short\\b.exe %1");
}

TEST(AddFavorite, WritesTheTwoLineFileIntoTheFavoritesFolder) {
  MachineFixture machine;
  platform::BrowserLauncher browser(machine);
  std::string folder = browser.favoritesFolder();
  ASSERT_EQ(folder, "C:\\WINDOWS\\Favorites");
  EXPECT_TRUE(browser.AddFavorite("http://d.example/", "Tool Home"));
  EXPECT_EQ(machine.read(folder + "\\Tool Home.url"), "[InternetShortcut]\r\nURL=http://d.example/\r\n");
  // Written again: truncated, not appended.
  EXPECT_TRUE(browser.AddFavorite("http://e.example/", "Tool Home"));
  EXPECT_EQ(machine.read(folder + "\\Tool Home.url"), "[InternetShortcut]\r\nURL=http://e.example/\r\n");
}

TEST(AddFavorite, LocationsAreTriedInOrder) {
  MachineFixture machine;
  const std::string shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::string user = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  const std::string nt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\explorer\\User Shell Folders";
  deleteUserValue(machine, shell, "Favorites");
  deleteUserValue(machine, user, "Favorites");
  setUserValue(machine, nt, "Favorites", "C:\\NTFav\\");
  machine.put("C:\\NTFav\\keep.txt", "");
  platform::BrowserLauncher browser(machine);
  EXPECT_EQ(browser.favoritesFolder(), "C:\\NTFav\\");
  EXPECT_TRUE(browser.AddFavorite("ftp://f.example/", "Files"));
  EXPECT_TRUE(machine.exists("C:\\NTFav\\Files.url"));

  setUserValue(machine, user, "Favorites", "C:\\UserFav");
  EXPECT_EQ(browser.favoritesFolder(), "C:\\UserFav");
}

TEST(AddFavorite, NothingWithoutAddressOrFolder) {
  MachineFixture machine;
  platform::BrowserLauncher browser(machine);
  EXPECT_FALSE(browser.AddFavorite("", "Empty"));
  EXPECT_FALSE(machine.exists("C:\\WINDOWS\\Favorites\\Empty.url"));

  platform::BrowserLauncher nowhere(machine, {"Software\\Nothing\\Here,Favorites"});
  EXPECT_FALSE(nowhere.AddFavorite("http://g.example/", "Lost"));
  // A folder that does not exist cannot take the file.
  platform::BrowserLauncher missing(machine, {"Software\\Vandrel Test,Favorites"});
  setUserValue(machine, "Software\\Vandrel Test", "Favorites", "C:\\Missing\\Folder");
  EXPECT_FALSE(missing.AddFavorite("http://g.example/", "Lost"));
}

}  // namespace
}  // namespace vandrel::setup
