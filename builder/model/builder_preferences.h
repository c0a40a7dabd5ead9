// The builder's preferences with their built-in values; where they are stored is not this
// struct's business.
#pragma once

#include <string>

namespace vandrel::builder {

struct BuilderPreferences {
  // Section "Settings".
  bool loadOnOpen = true;     // read the preferences, toolbar layout and background at start
  bool saveOnExit = true;     // write them at exit
  bool confirmErase = true;   // ask before erasing an entry or a category
  bool showProgress = true;   // embedded in place: true shows no progress, false the dialog
  int iconSize = 16;          // 16 or 32 pixels
  bool ensureVisible = true;  // keep the tree's selected item scrolled into view
  std::string defEdit = "Notepad.exe %1";  // text viewer; %1 is the file to show
  bool autoCheck = false;     // integrity check after a document is loaded

  // Section "FileDrop".
  bool dispProps = true;    // file properties dialog for dropped files
  int dirMode = 0;          // 0 select a directory, 1 the file's parent, 2 just add the file
  bool dropDirAdd = true;   // a dropped folder becomes a directory entry
  bool dropDirInc = true;   // the files inside a dropped folder are added
  bool dropDirSub = false;  // sub-folders are walked too
  // On with the built-in values; off when the profile is read and lacks the key.
  bool dispSummary = true;
};

}  // namespace vandrel::builder
