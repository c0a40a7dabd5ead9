// The General, System and UnInstall pages, the settings sheet's OK, and the background page.
#include "builder/pages/settings_pages.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "builder/strings/builder_strings.h"
#include "platform/text/text_rules.h"

namespace vandrel::builder::pages {

namespace {

// The texts the dialog framework shows for a number edit it cannot accept.
const char* const kNotANumber = "Please enter an integer.";

std::string rangeText(long low, long high) {
  return "Please enter an integer between " + std::to_string(low) + " and " +
         std::to_string(high) + ".";
}

// A typed whole number (blanks around it allowed), or nullopt.
std::optional<long long> parseNumber(const std::string& text, bool digitsOnly) {
  std::string t(text::trimLeading(text));
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
  if (t.empty() || t.size() > 18) return std::nullopt;
  std::size_t start = !digitsOnly && (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (start == t.size()) return std::nullopt;
  for (std::size_t i = start; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
  }
  return std::strtoll(t.c_str(), nullptr, 10);
}

std::string stripTrailingBlanks(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

}  // namespace

// --- General ---

void CGeneralPage::fill(const ScriptSettings& s) {
  appName = s.appName;
  ver = s.ver;
  title = s.title;
  loadTxt = s.loadTxt;
  defDir = s.defDir;
  loadBmp = s.loadBmp;
  regInfo = s.regInfo != 0;
  showLicence = s.showLicence != 0;
  type = std::clamp(s.type, 0, 3);
  ownMsg = s.ownMsg;
  archive = s.archiveSize != 0;
  archiveSize = std::to_string(s.archiveSize);
  welcomeEnabled_ = showLicence;
}

Check CGeneralPage::check() const {
  if (!archive) return Check::pass();
  std::optional<long long> size = parseNumber(archiveSize, false);
  if (!size) return Check::frameworkText(kNotANumber);
  if (*size < 0 || *size > kMaxArchiveSize) return Check::frameworkText(rangeText(0, kMaxArchiveSize));
  return Check::pass();
}

void CGeneralPage::apply(ScriptSettings& s) const {
  s.appName = appName;
  s.ver = ver;
  s.title = title;
  s.loadTxt = loadTxt;
  s.defDir = defDir;
  s.loadBmp = loadBmp;
  s.regInfo = regInfo ? 1 : 0;
  s.showLicence = showLicence ? 1 : 0;
  s.type = type;
  s.ownMsg = ownMsg;
  s.archiveSize = archive ? std::int32_t(parseNumber(archiveSize, false).value_or(0)) : 0;
}

// --- System ---

void CSystemPage::fill(const ScriptSettings& s) {
  minCpu = s.minCpu;
  minWin = s.minWin;
  nSyst = s.nSyst;
  nCompil = std::to_string(s.nCompil);
  language = s.language;
}

Check CSystemPage::check() const {
  std::optional<long long> build = parseNumber(nCompil, true);
  if (!build) return Check::frameworkText(kNotANumber);
  if (*build > 2147483647LL) return Check::frameworkText(rangeText(0, 2147483647L));
  if (minCpu < 0 || minCpu > 2 || minWin < 0 || minWin > 5 || nSyst < 0 || nSyst > 2 ||
      language < 0 || language > 1) {
    return Check::beep();
  }
  return Check::pass();
}

void CSystemPage::apply(ScriptSettings& s) const {
  s.minCpu = minCpu;
  s.minWin = minWin;
  s.nSyst = nSyst;
  s.nCompil = int(parseNumber(nCompil, true).value_or(0));
  s.language = language;
}

// --- UnInstall ---

void CUnInstallPage::fill(const CScriptDoc& doc) {
  ownUnInstall = doc.settings.ownUnInstall;
  group = indexOfKey(groups, doc.uninstall.groupKey);
  unDesc = doc.uninstall.unDesc;
}

void CUnInstallPage::apply(CScriptDoc& doc, ui::Interaction& ui) const {
  doc.settings.ownUnInstall = ownUnInstall;
  EntryKey key = keyAt(groups, group);
  if (key != 0) {
    doc.uninstall.groupKey = key;
  } else if (ownUnInstall == 0) {
    ui::Message message;
    message.caption = str(sid::Title);
    message.text = str(sid::UninstallGroupWarning);
    message.icon = ui::Icon::Information;
    ui.message(message);
  }
  if (!unDesc.empty()) doc.uninstall.unDesc = unDesc;
}

// --- The sheet ---

SettingsSheet::SettingsSheet(ScriptTree& tree, int startPage)
    : uninstall(tree), tree_(tree), startPage_(std::clamp(startPage, 0, 2)) {
  const CScriptDoc& doc = tree.document();
  general.fill(doc.settings);
  system.fill(doc.settings);
  uninstall.fill(doc);
}

std::pair<int, Check> SettingsSheet::check() const {
  if (Check c = general.check(); !c.ok()) return {0, c};
  if (Check c = system.check(); !c.ok()) return {1, c};
  return {-1, Check::pass()};
}

bool SettingsSheet::ok(ui::Interaction& ui, SettingsViewState& view) {
  if (check().first >= 0) return false;
  CScriptDoc& doc = tree_.document();
  general.apply(doc.settings);
  system.apply(doc.settings);
  uninstall.apply(doc, ui);
  doc.updateTitle();
  doc.setModifiedFlag();
  if (doc.settings.nSyst != 1 && view.warn16Bit) {
    ui::Message message;
    message.caption = str(sid::Title);
    message.text = str(sid::SixteenBitWarning);
    message.buttons = ui::Buttons::OKCancel;
    message.icon = ui::Icon::Exclamation;
    if (ui.message(message) == ui::Answer::Cancel) view.warn16Bit = false;
  }
  if (doc.uninstall.unDesc.empty()) {
    doc.uninstall.unDesc =
        stripTrailingBlanks(strFormat(sid::UninstallShortcutName, doc.settings.appName));
  }
  return true;
}

// --- Background ---

void SetBackDlg::fill(const BackgroundSettings& b) {
  gradient = b.gradient ? 1 : 0;
  vert = b.vert ? 1 : 0;
  top = b.top;
  bottom = b.bottom;
  bitmap = b.bitmap != 0;
  bmpName = b.bmpName;
  bmpMode = std::clamp(b.bmpMode, 0, 4);
  caption = b.caption != 0;
}

void SetBackDlg::chooseColour(int swatch, std::uint32_t colour) {
  (swatch == 0 ? top : bottom) = colour & 0x00ffffffu;
}

void SetBackDlg::ok(CScriptDoc& doc) const {
  BackgroundSettings& b = doc.background;
  b.gradient = gradient;
  b.vert = vert;
  b.top = top;
  b.bottom = bottom;
  b.bitmap = bitmap ? 1 : 0;
  b.bmpName = bmpName;
  b.bmpMode = bmpMode;
  b.caption = caption ? 1 : 0;
  doc.setModifiedFlag();
}

}  // namespace vandrel::builder::pages
