// The settings sheet ("General", "System", "UnInstall") and the background page: fields,
// enablement, checks, and what OK writes into the document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "builder/pages/page_common.h"
#include "ui/interaction.h"

namespace vandrel::builder::pages {

class CGeneralPage {
 public:
  std::string appName, ver, title, loadTxt, defDir, loadBmp;
  bool regInfo = true;
  bool showLicence = true;
  int type = 0;  // "Freeware", "Shareware", "Copyright", "Owner:"
  std::string ownMsg;
  bool archive = false;     // "Split files in &archives (indicate size in KB:)"
  std::string archiveSize;  // the size edit, as typed

  void fill(const ScriptSettings& settings);
  // The welcome-message group follows the licence box as it was when the page opened.
  bool welcomeEnabled() const { return welcomeEnabled_; }
  bool archiveSizeEnabled() const { return archive; }
  // The archive size must be a number from 0 to 16000000 while the box is ticked.
  Check check() const;
  void apply(ScriptSettings& settings) const;

  static constexpr std::int32_t kMaxArchiveSize = 16000000;

 private:
  bool welcomeEnabled_ = true;
};

class CSystemPage {
 public:
  int minCpu = 1;            // "386", "486", "Pentium"
  int minWin = 3;            // "3.1" ... "NT 4 and up"
  int nSyst = 1;             // "Windows 16 Bits", "Windows 32 Bits", "Both"
  std::string nCompil = "0"; // "Special &build:", digits only
  int language = 0;          // "English", "French"

  void fill(const ScriptSettings& settings);
  Check check() const;
  void apply(ScriptSettings& settings) const;
};

class CUnInstallPage {
 public:
  explicit CUnInstallPage(ScriptTree& tree) : groups(groupItems(tree)) {}

  int ownUnInstall = 0;  // "Use &Dallow" / "Use your &own UnInstaller"
  std::vector<EntryItem> groups;
  int group = -1;  // the uninstall group's position; -1 for no selection
  std::string unDesc;

  void fill(const CScriptDoc& doc);
  // Writes the page; with the built-in uninstaller and no group selected, message 352 is
  // shown and the group stays as it was.
  void apply(CScriptDoc& doc, ui::Interaction& ui) const;
};

// The state a tree view keeps for the settings sheet: the 16-bit warning, on for each new view.
struct SettingsViewState {
  bool warn16Bit = true;
};

// The settings sheet, opened on a page (0 General, 1 System, 2 UnInstall).
class SettingsSheet {
 public:
  SettingsSheet(ScriptTree& tree, int startPage = 0);

  CGeneralPage general;
  CSystemPage system;
  CUnInstallPage uninstall;
  int startPage() const { return startPage_; }

  // The first page whose check fails, with its outcome; -1 and a passing check when all pass.
  std::pair<int, Check> check() const;
  // OK: the pages written, the title rebuilt, the document marked modified, the 16-bit
  // warning (message 370, OK/Cancel; Cancel turns it off for the view), then an empty
  // uninstaller shortcut name filled. False (nothing written) when a check fails.
  bool ok(ui::Interaction& ui, SettingsViewState& view);

 private:
  ScriptTree& tree_;
  int startPage_;
};

class SetBackDlg {
 public:
  int gradient = 1;  // "One Color" / "Gradient fill"
  int vert = 1;      // "Horizontal" / "Vertical"
  std::uint32_t top = 0;
  std::uint32_t bottom = 0xff0000;
  bool bitmap = false;
  std::string bmpName;
  int bmpMode = 0;  // "Centered", "Stretched", "Mosaic", "Centered Mosaic", "All Screen"
  bool caption = false;

  void fill(const BackgroundSettings& background);
  // "One Color" disables the gradient direction and the second colour's label.
  bool gradientControlsEnabled() const { return gradient == 1; }
  // "&Show a bitmap picture" enables the name and the drawing attributes.
  bool bitmapControlsEnabled() const { return bitmap; }
  // A colour chosen in the colour chooser for a swatch (0 first, 1 second).
  void chooseColour(int swatch, std::uint32_t colour);
  // OK: the fields into the document, which is marked modified.
  void ok(CScriptDoc& doc) const;
};

}  // namespace vandrel::builder::pages
