// The settings sheet (General, System, UnInstall), the background sheet and the
// end-of-install sheet (End of Install, Web favorites).
#include "builder/pages/end_pages.h"
#include "builder/strings/builder_strings.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/sheet_dialog.h"
#include "builder/win32/sheet_ids.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::builder::win32 {

namespace {

using ui::win32::controlText;
using ui::win32::setText;

// The buttons of a radio group as controls of one page.
std::vector<Control> onPage(int page, const std::vector<int>& ids) {
  std::vector<Control> controls;
  for (int id : ids) controls.push_back({page, id});
  return controls;
}

// The port a page model asks (messages, beeps); a quiet one when the context has none.
ui::Interaction& portOf(const DialogContext& context) {
  static ui::ScriptedInteraction quiet;
  return context.ui ? *context.ui : static_cast<ui::Interaction&>(quiet);
}

// ---- General, System, UnInstall ----

const std::vector<int> kTypes = {IDC_GEN_TYPE0, IDC_GEN_TYPE1, IDC_GEN_TYPE2, IDC_GEN_TYPE3};
const std::vector<int> kCpus = {IDC_SYS_CPU0, IDC_SYS_CPU1, IDC_SYS_CPU2};
const std::vector<int> kWindows = {IDC_SYS_WIN0, IDC_SYS_WIN1, IDC_SYS_WIN2,
                                   IDC_SYS_WIN3, IDC_SYS_WIN4, IDC_SYS_WIN5};
const std::vector<int> kPlatforms = {IDC_SYS_PLATFORM0, IDC_SYS_PLATFORM1, IDC_SYS_PLATFORM2};
const std::vector<int> kLanguages = {IDC_SYS_LANGUAGE0, IDC_SYS_LANGUAGE1};
const std::vector<int> kUninstallers = {IDC_UN_DALLOW, IDC_UN_OWN};

// The General page's text lines: control, answers' name, label, the model's field.
struct Line {
  int id;
  const char* key;
  const char* label;
  std::string pages::CGeneralPage::*field;
};
const Line kLines[] = {
    {IDC_GEN_APPNAME, "AppName", "Application &name:", &pages::CGeneralPage::appName},
    {IDC_GEN_VER, "Ver", "&Version:", &pages::CGeneralPage::ver},
    {IDC_GEN_TITLE, "Title", "Install Window &Title:", &pages::CGeneralPage::title},
    {IDC_GEN_LOADTXT, "LoadTxt",
     "&Loading text while preparing Setup:", &pages::CGeneralPage::loadTxt},
    {IDC_GEN_DEFDIR, "DefDir", "Default &directory:", &pages::CGeneralPage::defDir},
    {IDC_GEN_LOADBMP, "LoadBmp",
     "&Bitmap to display while loading:", &pages::CGeneralPage::loadBmp},
};

void bindGeneral(SheetDialog& sheet, int p) {
  for (const Line& line : kLines) sheet.bind().text(line.key, line.label, {p, line.id});
  sheet.bind().check("RegInfo", "Show the &register window", {p, IDC_GEN_REGINFO});
  sheet.bind().check("ShowLicence", "&Show licence agreement", {p, IDC_GEN_SHOWLICENCE});
  sheet.bind().radios("Type", "&Welcome window message", onPage(p, kTypes));
  sheet.bind().text("OwnMsg", "Owner:", {p, IDC_GEN_OWNMSG});
  sheet.bind().check("Archive", "Split files in &archives (indicate size in KB:)",
                     {p, IDC_GEN_ARCHIVE});
  sheet.bind().text("ArchiveSize", "Split files in &archives (indicate size in KB:)",
                    {p, IDC_GEN_ARCHIVESIZE});
}

void loadGeneral(HWND w, const pages::CGeneralPage& page) {
  for (const Line& line : kLines) setText(w, line.id, page.*line.field);
  setChecked(w, IDC_GEN_REGINFO, page.regInfo);
  setChecked(w, IDC_GEN_SHOWLICENCE, page.showLicence);
  setRadio(w, kTypes, page.type);
  setText(w, IDC_GEN_OWNMSG, page.ownMsg);
  // The welcome message's frame, choices and owner's text follow the licence box as it was
  // when the page opened.
  for (int id : {IDC_GEN_WELCOME, IDC_GEN_TYPE0, IDC_GEN_TYPE1, IDC_GEN_TYPE2, IDC_GEN_TYPE3,
                 IDC_GEN_OWNMSG}) {
    enableControl(w, id, page.welcomeEnabled());
  }
  setChecked(w, IDC_GEN_ARCHIVE, page.archive);
  setText(w, IDC_GEN_ARCHIVESIZE, page.archiveSize);
  enableControl(w, IDC_GEN_ARCHIVESIZE, page.archiveSizeEnabled());
}

void storeGeneral(HWND w, pages::CGeneralPage& page) {
  for (const Line& line : kLines) page.*line.field = controlText(w, line.id);
  page.regInfo = isChecked(w, IDC_GEN_REGINFO);
  page.showLicence = isChecked(w, IDC_GEN_SHOWLICENCE);
  page.type = selectedRadio(w, kTypes);
  page.ownMsg = controlText(w, IDC_GEN_OWNMSG);
  page.archive = isChecked(w, IDC_GEN_ARCHIVE);
  page.archiveSize = controlText(w, IDC_GEN_ARCHIVESIZE);
}

void bindSystem(SheetDialog& sheet, int p) {
  sheet.bind().radios("minCpu", "&Processor required", onPage(p, kCpus));
  sheet.bind().radios("minWin", "&Windows version", onPage(p, kWindows));
  sheet.bind().radios("nSyst", "&Install platforms", onPage(p, kPlatforms));
  sheet.bind().text("nCompil", "Special &build:", {p, IDC_SYS_BUILD});
  sheet.bind().radios("Language", "Installer &Language", onPage(p, kLanguages));
}

void loadSystem(HWND w, const pages::CSystemPage& page) {
  setRadio(w, kCpus, page.minCpu);
  setRadio(w, kWindows, page.minWin);
  setRadio(w, kPlatforms, page.nSyst);
  setText(w, IDC_SYS_BUILD, page.nCompil);
  setRadio(w, kLanguages, page.language);
}

void storeSystem(HWND w, pages::CSystemPage& page) {
  page.minCpu = selectedRadio(w, kCpus);
  page.minWin = selectedRadio(w, kWindows);
  page.nSyst = selectedRadio(w, kPlatforms);
  page.nCompil = controlText(w, IDC_SYS_BUILD);
  page.language = selectedRadio(w, kLanguages);
}

void bindUninstall(SheetDialog& sheet, int p) {
  sheet.bind().radios("OwnUnInstall", "UnInstaller", onPage(p, kUninstallers));
  sheet.bind().choice("UninstallGroup", "&Group to use for Dallow :", {p, IDC_UN_GROUP});
  sheet.bind().text("UnDesc", "&Shortcut name :", {p, IDC_UN_DESC});
}

void loadUninstall(HWND w, const pages::CUnInstallPage& page) {
  setRadio(w, kUninstallers, page.ownUnInstall);
  std::vector<std::string> groups;
  for (const pages::EntryItem& item : page.groups) groups.push_back(item.text);
  fillList(w, IDC_UN_GROUP, groups, page.group);
  setText(w, IDC_UN_DESC, page.unDesc);
}

void storeUninstall(HWND w, pages::CUnInstallPage& page) {
  page.ownUnInstall = selectedRadio(w, kUninstallers);
  page.group = listSelection(w, IDC_UN_GROUP);
  page.unDesc = controlText(w, IDC_UN_DESC);
}

}  // namespace

bool runSettingsSheet(const DialogContext& context, ScriptTree& tree, int startPage,
                      pages::SettingsViewState& view) {
  pages::SettingsSheet model(tree, startPage);
  SheetDialog sheet(context, str(sid::SettingsCaption), "settings", "settings");
  int general = sheet.addPage(IDD_PAGE_GENERAL, "General");
  int system = sheet.addPage(IDD_PAGE_SYSTEM, "System");
  int uninstall = sheet.addPage(IDD_PAGE_UNINSTALL, "UnInstall");
  bindGeneral(sheet, general);
  bindSystem(sheet, system);
  bindUninstall(sheet, uninstall);
  sheet.showPage(model.startPage());
  sheet.onInit = [&] {
    loadGeneral(sheet.page(general), model.general);
    loadSystem(sheet.page(system), model.system);
    loadUninstall(sheet.page(uninstall), model.uninstall);
  };
  // The archive size is typed only while its box is ticked.
  sheet.onCommand = [&](Control c, int code) {
    if (c.page != general || c.id != IDC_GEN_ARCHIVE || code != BN_CLICKED) return false;
    enableControl(sheet.page(general), IDC_GEN_ARCHIVESIZE,
                  isChecked(sheet.page(general), IDC_GEN_ARCHIVE));
    return true;
  };
  sheet.onOk = [&] {
    storeGeneral(sheet.page(general), model.general);
    storeSystem(sheet.page(system), model.system);
    storeUninstall(sheet.page(uninstall), model.uninstall);
    auto [page, check] = model.check();
    if (page >= 0) {
      sheet.showPage(page);
      sheet.refuse(check);
      return false;
    }
    return model.ok(portOf(context), view);
  };
  return sheet.run();
}

// ---- the background ----

namespace {

const std::vector<int> kBackgrounds = {IDC_BACK_ONECOLOR, IDC_BACK_GRADIENT};
const std::vector<int> kDirections = {IDC_BACK_HORIZONTAL, IDC_BACK_VERTICAL};
const std::vector<int> kModes = {IDC_BACK_MODE0, IDC_BACK_MODE1, IDC_BACK_MODE2, IDC_BACK_MODE3,
                                 IDC_BACK_MODE4};

// The enabling follows the model: the gradient's direction and second colour, the bitmap's
// name and drawing attributes.
void enableBackground(HWND w, pages::SetBackDlg& model) {
  model.gradient = selectedRadio(w, kBackgrounds);
  model.bitmap = isChecked(w, IDC_BACK_BITMAP);
  for (int id :
       {IDC_BACK_DIRECTION, IDC_BACK_HORIZONTAL, IDC_BACK_VERTICAL, IDC_BACK_SECOND_LABEL}) {
    enableControl(w, id, model.gradientControlsEnabled());
  }
  for (int id : {IDC_BACK_BITMAP_FRAME, IDC_BACK_NAME_LABEL, IDC_BACK_BMPNAME, IDC_BACK_MODE_FRAME,
                 IDC_BACK_MODE0, IDC_BACK_MODE1, IDC_BACK_MODE2, IDC_BACK_MODE3, IDC_BACK_MODE4}) {
    enableControl(w, id, model.bitmapControlsEnabled());
  }
}

}  // namespace

bool runBackgroundSheet(const DialogContext& context, CScriptDoc& doc) {
  pages::SetBackDlg model;
  model.fill(doc.background);
  SheetDialog sheet(context, str(sid::BackgroundCaption), "background", "background");
  sheet.addPage(IDD_PAGE_BACKGROUND, "Main Window");
  ColourSwatch* top = sheet.swatch({0, IDC_BACK_TOP});
  ColourSwatch* bottom = sheet.swatch({0, IDC_BACK_BOTTOM});
  top->setColour(model.top);
  bottom->setColour(model.bottom);
  top->changed = [&model](std::uint32_t c) { model.chooseColour(0, c); };
  bottom->changed = [&model](std::uint32_t c) { model.chooseColour(1, c); };
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    setRadio(w, kBackgrounds, model.gradient);
    setRadio(w, kDirections, model.vert);
    setChecked(w, IDC_BACK_BITMAP, model.bitmap);
    setText(w, IDC_BACK_BMPNAME, model.bmpName);
    setRadio(w, kModes, model.bmpMode);
    setChecked(w, IDC_BACK_CAPTION, model.caption);
    enableBackground(w, model);
  };
  sheet.onCommand = [&](Control c, int code) {
    bool follows =
        c.id == IDC_BACK_ONECOLOR || c.id == IDC_BACK_GRADIENT || c.id == IDC_BACK_BITMAP;
    if (!follows || code != BN_CLICKED) return false;
    enableBackground(sheet.page(0), model);
    return true;
  };
  sheet.bind().radios("Gradient", "&Background", onPage(0, kBackgrounds));
  sheet.bind().radios("Vert", "&Gradient", onPage(0, kDirections));
  sheet.bind().colour("Top", "First color:", top);
  sheet.bind().colour("Bottom", "Second color:", bottom);
  sheet.bind().check("Bitmap", "&Show a bitmap picture", {0, IDC_BACK_BITMAP});
  sheet.bind().text("BmpName", "&Name (must be on 1st disk) :", {0, IDC_BACK_BMPNAME});
  sheet.bind().radios("BmpMode", "&Drawing attributes", onPage(0, kModes));
  sheet.bind().check("Caption", "Show Main Window's &caption", {0, IDC_BACK_CAPTION});
  sheet.onOk = [&] {
    HWND w = sheet.page(0);
    model.gradient = selectedRadio(w, kBackgrounds);
    model.vert = selectedRadio(w, kDirections);
    model.bitmap = isChecked(w, IDC_BACK_BITMAP);
    model.bmpName = controlText(w, IDC_BACK_BMPNAME);
    model.bmpMode = selectedRadio(w, kModes);
    model.caption = isChecked(w, IDC_BACK_CAPTION);
    model.ok(doc);
    return true;
  };
  return sheet.run();
}

// ---- the end of the install ----

namespace {

const std::vector<int> kReboots = {IDC_END_REBOOT0, IDC_END_REBOOT1, IDC_END_REBOOT2};

void showLaunch(HWND w, const pages::CEndSetDlg& end) {
  fillList(w, IDC_END_LAUNCH, end.launch);
  setText(w, IDC_END_COMMAND, end.edit);
}

void showFavourites(HWND w, const pages::CWebUrlDlg& web) {
  clearRows(w, IDC_WEB_ROWS);
  for (const auto& [name, url] : web.rows) addRow(w, IDC_WEB_ROWS, {name, url});
  setText(w, IDC_WEB_NAME, web.nameEdit);
  setText(w, IDC_WEB_URL, web.urlEdit);
}

// The buttons and the list of "End of Install"; true when the command was one of them.
bool endCommand(HWND e, pages::CEndSetDlg& end, int id, int code) {
  if (id == IDC_END_ADD && code == BN_CLICKED) {
    end.edit = controlText(e, IDC_END_COMMAND);
    end.add();
    showLaunch(e, end);
  } else if (id == IDC_END_DELETE && code == BN_CLICKED) {
    end.selected = listSelection(e, IDC_END_LAUNCH);
    end.edit = controlText(e, IDC_END_COMMAND);
    end.remove();
    showLaunch(e, end);
  } else if (id == IDC_END_LAUNCH && code == LBN_DBLCLK) {
    // A double-clicked line is copied into the edit.
    end.pick(listSelection(e, IDC_END_LAUNCH));
    setText(e, IDC_END_COMMAND, end.edit);
  } else {
    return false;
  }
  return true;
}

// The buttons of "Web favorites"; true when the command was one of them.
bool webCommand(HWND w, pages::CWebUrlDlg& web, ui::Interaction& port, int id, int code) {
  if (id == IDC_WEB_ADD && code == BN_CLICKED) {
    web.nameEdit = controlText(w, IDC_WEB_NAME);
    web.urlEdit = controlText(w, IDC_WEB_URL);
    if (web.add(port)) showFavourites(w, web);
  } else if (id == IDC_WEB_DELETE && code == BN_CLICKED) {
    web.selected = listSelection(w, IDC_WEB_ROWS);
    if (web.remove(port)) showFavourites(w, web);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool runEndSheet(const DialogContext& context, CScriptDoc& doc, int startPage) {
  pages::EndSheet model(doc);
  SheetDialog sheet(context, str(sid::SettingsCaption), "end-of-install", "end-sheet");
  int end = sheet.addPage(IDD_PAGE_END, "End of Install");
  int web = sheet.addPage(IDD_PAGE_WEB, "Web favorites");
  ui::Interaction& port = portOf(context);
  sheet.onInit = [&] {
    HWND e = sheet.page(end);
    setRadio(e, kReboots, model.end.reboot);
    showLaunch(e, model.end);
    HWND w = sheet.page(web);
    setText(w, IDC_WEB_STARTURL, model.web.startUrl);
    // Two columns titled from the string table, 135 pixels each at the least (90 units of the
    // pages' font).
    columnList(w, IDC_WEB_ROWS, pages::CWebUrlDlg::columns(), {90, 90});
    showFavourites(w, model.web);
  };
  sheet.onCommand = [&](Control c, int code) {
    return c.page == end ? endCommand(sheet.page(end), model.end, c.id, code)
                         : webCommand(sheet.page(web), model.web, port, c.id, code);
  };
  // A click on a favourite puts its name and URL into the edits.
  sheet.onNotify = [&](int page, const NMHDR& header, LRESULT*) {
    if (page != web || header.idFrom != IDC_WEB_ROWS || header.code != NM_CLICK) return false;
    int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    if (row < 0) return false;
    HWND w = sheet.page(web);
    model.web.pick(row);
    setText(w, IDC_WEB_NAME, model.web.nameEdit);
    setText(w, IDC_WEB_URL, model.web.urlEdit);
    return true;
  };

  sheet.bind().radios("Reboot", "&Reboot", onPage(end, kReboots));
  sheet.bind().text("NewCommand", "New &Command Line:", {end, IDC_END_COMMAND});
  sheet.bind().text("StartURL",
                    "&Start default browser with specified URL :", {web, IDC_WEB_STARTURL});
  sheet.bind().text("FavoriteName", "Favorite shortcut name :", {web, IDC_WEB_NAME});
  sheet.bind().text("FavoriteURL", "Favorite URL :", {web, IDC_WEB_URL});
  // An answer that types a command line or a favourite stands for pressing its "&Add".
  sheet.afterFill = [&](const ui::PageResult&) {
    HWND e = sheet.page(end), w = sheet.page(web);
    if (!controlText(e, IDC_END_COMMAND).empty()) ui::win32::pressButton(e, IDC_END_ADD);
    if (!controlText(w, IDC_WEB_NAME).empty() && !controlText(w, IDC_WEB_URL).empty()) {
      ui::win32::pressButton(w, IDC_WEB_ADD);
    }
  };
  sheet.showPage(startPage);
  sheet.onOk = [&] {
    model.end.reboot = selectedRadio(sheet.page(end), kReboots);
    model.web.startUrl = controlText(sheet.page(web), IDC_WEB_STARTURL);
    model.ok(doc);
    return true;
  };
  return sheet.run();
}

}  // namespace vandrel::builder::win32
