// What OK on the preferences sheet writes: the background's flag rules and the text viewer's
// command line.
#include "builder/prefs/preferences_sheet.h"

#include <gtest/gtest.h>

namespace vandrel::builder::prefs {
namespace {

TEST(PreferencesSheet, BackgroundFlagsFollowTheChoiceAndTheBitmapLoaded) {
  WindowState state;  // first start: gradient, no bitmap
  BackgroundChoice choice = BackgroundChoice::of(state);
  EXPECT_EQ(choice.bitmapMode, 5);
  EXPECT_TRUE(choice.gradient);

  // A stretched bitmap over a gradient: the bitmap covers the area, so the colour is plain.
  choice.bitmapMode = 4;
  choice.bitmap = "/pics/Back.bmp";
  std::vector<std::string> loads;
  auto load = [&](const std::string& path) { loads.push_back(path); return true; };
  EXPECT_TRUE(applyBackground(state, choice, false, load));
  EXPECT_EQ(state.kind, 16 | 128);
  EXPECT_EQ(state.bitmap, "/pics/Back.bmp");

  // The same path in another case is not loaded again; a placed bitmap keeps the gradient.
  choice = BackgroundChoice::of(state);
  choice.bitmap = "/PICS/back.BMP";
  choice.bitmapMode = 3;
  choice.gradient = true;
  EXPECT_TRUE(applyBackground(state, choice, true, load));
  EXPECT_EQ(loads.size(), 1u);
  EXPECT_EQ(state.kind, 8 | 64);

  // "Without bitmap" only clears the bitmap flag.
  choice.bitmapMode = 5;
  applyBackground(state, choice, true, load);
  EXPECT_EQ(state.kind, 64);
  EXPECT_FALSE(applyBackground(state, choice, true, load));
}

TEST(PreferencesSheet, ABitmapThatCannotBeLoadedLeavesThePreviousOneOrNone) {
  WindowState state;
  BackgroundChoice choice = BackgroundChoice::of(state);
  choice.bitmapMode = 0;
  choice.bitmap = "/missing.bmp";
  auto fails = [](const std::string&) { return false; };
  applyBackground(state, choice, false, fails);
  EXPECT_EQ(state.kind, 64);  // no bitmap loaded: no bitmap flag
  EXPECT_EQ(state.bitmap, "");

  state.bitmap = "/old.bmp";
  applyBackground(state, choice, true, fails);
  EXPECT_EQ(state.kind, 1 | 64);
  EXPECT_EQ(state.bitmap, "/old.bmp");
}

TEST(PreferencesSheet, TextViewerGetsItsPlaceholderAndIconSizesAreTwo) {
  BuilderPreferences prefs;
  BuilderPreferences edited;
  edited.defEdit = "gedit";
  edited.iconSize = 24;
  applyPreferences(prefs, edited);
  EXPECT_EQ(prefs.defEdit, "gedit %1");
  EXPECT_EQ(prefs.iconSize, 16);
  edited.defEdit = "view %1 -r";
  edited.iconSize = 32;
  applyPreferences(prefs, edited);
  EXPECT_EQ(prefs.defEdit, "view %1 -r");
  EXPECT_EQ(prefs.iconSize, 32);
}

}  // namespace
}  // namespace vandrel::builder::prefs
