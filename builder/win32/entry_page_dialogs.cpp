// The eight entry pages: directory, description, group, Win.ini, registry, file, shortcut
// and disk message.
#include "builder/win32/entry_page_dialogs.h"

#include <algorithm>

#include "builder/strings/builder_strings.h"
#include "builder/win32/sheet_dialog.h"
#include "builder/win32/sheet_ids.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::builder::win32 {

namespace {

using pages::Check;
using ui::win32::controlText;
using ui::win32::setText;

// A kind's sheet goes by the kind's name in kEntryKinds, its picture by "page-" and that name.
std::string sheetId(int category) { return entryKind(category).name; }
std::string shotName(int category) { return "page-" + sheetId(category); }

// Runs a sheet whose controls write the page through store; OK passes only with its check.
template <typename Page>
bool runPage(SheetDialog& sheet, Page& page, const std::function<void()>& store) {
  sheet.onOk = [&sheet, &page, store] {
    store();
    Check check = page.check();
    if (check.ok()) return true;
    sheet.refuse(check);
    return false;
  };
  return sheet.run();
}

std::vector<std::string> entryTexts(const std::vector<pages::EntryItem>& items) {
  std::vector<std::string> texts;
  for (const pages::EntryItem& item : items) texts.push_back(item.text);
  return texts;
}

bool show(const DialogContext& context, pages::CDirPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Directories),
                    shotName(category::Directories));
  sheet.addPage(IDD_PAGE_DIRECTORY, "Directories");
  const std::vector<int> parents = {IDC_DIR_PARENT0, IDC_DIR_PARENT1, IDC_DIR_PARENT2,
                                    IDC_DIR_PARENT3};
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    setText(w, IDC_DIR_NAME, page.name);
    std::vector<std::string> choices = pages::CDirPropDlg::parentChoices();
    for (std::size_t i = 0; i < parents.size() && i < choices.size(); ++i)
      setText(w, parents[i], choices[i]);
    setRadio(w, parents, page.parent);
    setChecked(w, IDC_DIR_OPTIONAL, page.optional);
    setText(w, IDC_DIR_DESCRIPTION, page.description);
  };
  sheet.bind().text("DirName", "Directory &name:", {0, IDC_DIR_NAME});
  sheet.bind().radios(
      "Parent", "&Parent directory",
      {{0, IDC_DIR_PARENT0}, {0, IDC_DIR_PARENT1}, {0, IDC_DIR_PARENT2}, {0, IDC_DIR_PARENT3}});
  sheet.bind().check("Optional", "&User can decide not to install files located in this directory",
                     {0, IDC_DIR_OPTIONAL});
  sheet.bind().text("DirDescription", "Directory's &description:", {0, IDC_DIR_DESCRIPTION});
  return runPage(sheet, page, [&] {
    HWND w = sheet.page(0);
    page.name = controlText(w, IDC_DIR_NAME);
    page.parent = selectedRadio(w, parents);
    page.optional = isChecked(w, IDC_DIR_OPTIONAL);
    page.description = controlText(w, IDC_DIR_DESCRIPTION);
  });
}

bool show(const DialogContext& context, pages::CSetDescDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Descriptions),
                    shotName(category::Descriptions));
  sheet.addPage(IDD_PAGE_DESCRIPTION, "Description");
  sheet.onInit = [&] { setText(sheet.page(0), IDC_DESC_TEXT, page.text); };
  sheet.bind().text("DescText", "&Description", {0, IDC_DESC_TEXT});
  return runPage(sheet, page, [&] { page.text = controlText(sheet.page(0), IDC_DESC_TEXT); });
}

bool show(const DialogContext& context, pages::CGrpPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Groups), shotName(category::Groups));
  sheet.addPage(IDD_PAGE_GROUP, "Groups");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    setText(w, IDC_GROUP_NAME, page.name);
    setText(w, IDC_GROUP_NOTE, ui::win32::withCarriageReturns(pages::CGrpPropDlg::kNote));
  };
  sheet.bind().text("GroupName", "Group &name:", {0, IDC_GROUP_NAME});
  return runPage(sheet, page, [&] { page.name = controlText(sheet.page(0), IDC_GROUP_NAME); });
}

bool show(const DialogContext& context, pages::CINIPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::WinIni), shotName(category::WinIni));
  sheet.addPage(IDD_PAGE_WININI, "Win.ini adds");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    setText(w, IDC_INI_SECTION, page.section);
    setText(w, IDC_INI_ENTRY, page.entry);
    setText(w, IDC_INI_VALUE, page.value);
  };
  sheet.bind().text("IniSection", "&Section:", {0, IDC_INI_SECTION});
  sheet.bind().text("IniEntry", "&Entry:", {0, IDC_INI_ENTRY});
  sheet.bind().text("IniValue", "&Value:", {0, IDC_INI_VALUE});
  return runPage(sheet, page, [&] {
    HWND w = sheet.page(0);
    page.section = controlText(w, IDC_INI_SECTION);
    page.entry = controlText(w, IDC_INI_ENTRY);
    page.value = controlText(w, IDC_INI_VALUE);
  });
}

bool show(const DialogContext& context, pages::CRegPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Registry), shotName(category::Registry));
  sheet.addPage(IDD_PAGE_REGISTRY, "Registry adds");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    std::vector<std::string> keys = pages::CRegPropDlg::mainKeyChoices();
    // The stored key's item is chosen, compared without regard to case; another text is typed.
    auto same = std::find_if(keys.begin(), keys.end(), [&](const std::string& k) {
      return lstrcmpiA(k.c_str(), page.mainKey.c_str()) == 0;
    });
    fillList(w, IDC_REG_MAINKEY, keys, same == keys.end() ? -1 : int(same - keys.begin()));
    if (same == keys.end()) setText(w, IDC_REG_MAINKEY, page.mainKey);
    setText(w, IDC_REG_SUBKEY, page.subkey);
    setText(w, IDC_REG_ENTRY, page.entry);
    setText(w, IDC_REG_VALUE, page.value);
    setChecked(w, IDC_REG_ERASE, page.eraseWholeKey);
  };
  sheet.bind().text("MainKey", "&Main key:", {0, IDC_REG_MAINKEY});
  sheet.bind().text("Subkey", "&Subkey:", {0, IDC_REG_SUBKEY});
  sheet.bind().text("RegEntry", "&Entry:", {0, IDC_REG_ENTRY});
  sheet.bind().text("RegValue", "&Value:", {0, IDC_REG_VALUE});
  sheet.bind().check("EraseKey", "Erase this whole key when uninstalling", {0, IDC_REG_ERASE});
  return runPage(sheet, page, [&] {
    HWND w = sheet.page(0);
    page.mainKey = controlText(w, IDC_REG_MAINKEY);
    page.subkey = controlText(w, IDC_REG_SUBKEY);
    page.entry = controlText(w, IDC_REG_ENTRY);
    page.value = controlText(w, IDC_REG_VALUE);
    page.eraseWholeKey = isChecked(w, IDC_REG_ERASE);
  });
}

bool show(const DialogContext& context, pages::CAddGroupDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::ProgramAdds),
                    shotName(category::ProgramAdds));
  sheet.addPage(IDD_PAGE_SHORTCUT, "Progman Add");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    fillList(w, IDC_SHORTCUT_FILE, entryTexts(page.files), page.file);
    fillList(w, IDC_SHORTCUT_GROUP, entryTexts(page.groups), page.group);
    setText(w, IDC_SHORTCUT_COMMAND, page.commandLine);
    setText(w, IDC_SHORTCUT_NAME, page.name);
  };
  sheet.bind().choice("ShortcutFile", "&Destination File:", {0, IDC_SHORTCUT_FILE});
  sheet.bind().choice("ShortcutGroup", "Add in &Group:", {0, IDC_SHORTCUT_GROUP});
  sheet.bind().text("CommandLine", "&Command Line:", {0, IDC_SHORTCUT_COMMAND});
  sheet.bind().text("ShortcutName", "Short&cut Name:", {0, IDC_SHORTCUT_NAME});
  return runPage(sheet, page, [&] {
    HWND w = sheet.page(0);
    page.file = listSelection(w, IDC_SHORTCUT_FILE);
    page.group = listSelection(w, IDC_SHORTCUT_GROUP);
    page.commandLine = controlText(w, IDC_SHORTCUT_COMMAND);
    page.name = controlText(w, IDC_SHORTCUT_NAME);
  });
}

// A number box's value: the up-down's position (its range clamps what was typed).
int numberOf(HWND page, int upDownId) {
  BOOL failed = FALSE;
  return int(
      SendDlgItemMessageA(page, upDownId, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}

void setNumber(HWND page, int upDownId, int value) {
  SendDlgItemMessageA(page, upDownId, UDM_SETPOS32, 0, LPARAM(value));
}

bool show(const DialogContext& context, pages::CMsgPropDlg& page, const std::string& caption) {
  SheetDialog sheet(context, caption, sheetId(category::Messages), shotName(category::Messages));
  sheet.addPage(IDD_PAGE_MESSAGE, "Messages");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    setText(w, IDC_MSG_NAME, page.destName);
    setText(w, IDC_MSG_PATH, page.filePath);
    setNumberRange(w, IDC_MSG_DISK_SPIN, 0, 999);
    setNumber(w, IDC_MSG_DISK_SPIN, page.disk);
  };
  sheet.bind().text("MsgName", "Destination File &Name:", {0, IDC_MSG_NAME});
  sheet.bind().text("MsgPath", "File &Path:", {0, IDC_MSG_PATH});
  sheet.bind().number("MsgDisk", "Corresponding Disk number:", {0, IDC_MSG_DISK});
  sheet.onCommand = [&](Control c, int code) {
    if (c.id != IDC_MSG_BROWSE || code != BN_CLICKED) return false;
    HWND w = sheet.page(0);
    page.filePath = controlText(w, IDC_MSG_PATH);
    FileRequest request{str(sid::PickTextFileTitle), str(sid::TextFileFilter), "txt",
                        page.browseFolder()};
    if (std::optional<std::string> chosen = chooseFile(context, request)) {
      page.browse(*chosen);
      setText(w, IDC_MSG_NAME, page.destName);
      setText(w, IDC_MSG_PATH, page.filePath);
    }
    return true;
  };
  return runPage(sheet, page, [&] {
    HWND w = sheet.page(0);
    page.destName = controlText(w, IDC_MSG_NAME);
    page.filePath = controlText(w, IDC_MSG_PATH);
    page.disk = numberOf(w, IDC_MSG_DISK_SPIN);
  });
}

// ---- the file page ----

void loadFile(HWND w, const pages::CAddFileDlg& page) {
  setText(w, IDC_FILE_SOURCENAME, page.sourceName);
  setText(w, IDC_FILE_SIZE, std::to_string(page.size));
  setText(w, IDC_FILE_SOURCEPATH, page.sourcePath);
  setNumber(w, IDC_FILE_DISK_SPIN, std::clamp(page.disk, 0, 999));
  setText(w, IDC_FILE_DESTNAME, page.destName);
  setChecked(w, IDC_FILE_UNINSTALL, page.uninstall);
  setChecked(w, IDC_FILE_FORCECOPY, page.forceCopy);
  setChecked(w, IDC_FILE_DECOMPRESS, page.decompress);
  setChecked(w, IDC_FILE_SHARED, page.shared);
  setListSelection(w, IDC_FILE_DIRECTORY, page.directory);
  setListSelection(w, IDC_FILE_PLATFORM, page.platform);
  setListSelection(w, IDC_FILE_DESCRIPTION, page.description);
  setChecked(w, IDC_FILE_USEDEFAULTS, page.useDefaults);
}

void storeFile(HWND w, pages::CAddFileDlg& page) {
  page.disk = numberOf(w, IDC_FILE_DISK_SPIN);
  page.destName = controlText(w, IDC_FILE_DESTNAME);
  page.uninstall = isChecked(w, IDC_FILE_UNINSTALL);
  page.forceCopy = isChecked(w, IDC_FILE_FORCECOPY);
  page.decompress = isChecked(w, IDC_FILE_DECOMPRESS);
  page.shared = isChecked(w, IDC_FILE_SHARED);
  page.directory = listSelection(w, IDC_FILE_DIRECTORY);
  page.platform = listSelection(w, IDC_FILE_PLATFORM);
  page.description = listSelection(w, IDC_FILE_DESCRIPTION);
  page.useDefaults = isChecked(w, IDC_FILE_USEDEFAULTS);
}

}  // namespace

bool showFilePage(const DialogContext& context, pages::CAddFileDlg& page,
                  const std::string& caption, const std::string& id) {
  SheetDialog sheet(context, caption, id,
                    page.dropImport() ? "drop-file-page" : shotName(category::Files));
  sheet.addPage(IDD_PAGE_FILE, "File");
  sheet.onInit = [&] {
    HWND w = sheet.page(0);
    fillList(w, IDC_FILE_DIRECTORY, page.directoryChoices());
    fillList(w, IDC_FILE_PLATFORM, pages::stringItems(sid::PlatformNames, 4));
    fillList(w, IDC_FILE_DESCRIPTION, entryTexts(page.descriptions));
    setNumberRange(w, IDC_FILE_DISK_SPIN, 0, 999);
    enableControl(w, IDC_FILE_BROWSE, page.browseEnabled());
    enableControl(w, IDC_FILE_VALIDATE, page.validateAndAddEnabled());
    enableControl(w, IDC_FILE_USEDEFAULTS, page.useDefaultsEnabled());
    loadFile(w, page);
  };

  // The file "&Browse..." picked: the page takes its name, folder and size, and the controls
  // show what the page made of it.
  auto take = [&](const std::string& chosen) {
    HWND w = sheet.page(0);
    storeFile(w, page);
    std::int64_t bytes = 0;
    if (context.files) {
      if (auto status = context.files->status(chosen)) bytes = std::int64_t(status->size);
    }
    page.browse(chosen, bytes);
    loadFile(w, page);
  };
  // The answers' Source is the file Browse would pick; it comes first, since the page fills
  // the other controls from the file it takes.
  if (page.browseEnabled()) {
    sheet.bind().chosen(
        "Source", "Source file:",
        [&] {
          return page.sourceName.empty() ? std::string() : page.sourcePath + "\\" + page.sourceName;
        },
        take);
  }
  sheet.bind().number("Disk", "&Source Disk:", {0, IDC_FILE_DISK});
  sheet.bind().text("DestName", "&Destination name:", {0, IDC_FILE_DESTNAME});
  sheet.bind().check("Uninstall", "&Uninstall this file", {0, IDC_FILE_UNINSTALL});
  sheet.bind().check("ForceCopy", "&Force copy if file exists", {0, IDC_FILE_FORCECOPY});
  sheet.bind().check("Decompress", "LZ method Deco&mpress", {0, IDC_FILE_DECOMPRESS});
  sheet.bind().check("Shared", "Declare as S&hared File", {0, IDC_FILE_SHARED});
  sheet.bind().choice("Directory", "Destination D&irectory:", {0, IDC_FILE_DIRECTORY});
  sheet.bind().choice("Platform", "Destination &Platform:", {0, IDC_FILE_PLATFORM});
  sheet.bind().choice("Description", "File Des&cription:", {0, IDC_FILE_DESCRIPTION}, "(none)");
  if (page.useDefaultsEnabled()) {
    sheet.bind().check("UseDefaults", "Use d&efault settings for other dropped files",
                       {0, IDC_FILE_USEDEFAULTS});
  }
  sheet.text = "Source name: " + page.sourceName +
               "\nSize (in bytes): " + std::to_string(page.size) +
               "\nSource path: " + page.sourcePath;

  sheet.onCommand = [&](Control c, int code) {
    if (code != BN_CLICKED) return false;
    if (c.id == IDC_FILE_BROWSE) {
      FileRequest request{
          str(sid::PickFileTitle), str(sid::AddFileFilter), {}, page.browseFolder()};
      if (std::optional<std::string> chosen = chooseFile(context, request)) take(*chosen);
      return true;
    }
    if (c.id == IDC_FILE_VALIDATE) {
      HWND w = sheet.page(0);
      storeFile(w, page);
      Check check = page.validateAndAddNew();
      if (!check.ok()) {
        sheet.refuse(check);
      } else {
        loadFile(w, page);
      }
      return true;
    }
    return false;
  };
  return runPage(sheet, page, [&] { storeFile(sheet.page(0), page); });
}

bool showEntryPage(const DialogContext& context, pages::EntryPage& page,
                   const std::string& caption) {
  return std::visit(
      [&](auto& p) {
        if constexpr (std::is_same_v<std::decay_t<decltype(p)>, pages::CAddFileDlg>) {
          return showFilePage(context, p, caption, sheetId(category::Files));
        } else {
          return show(context, p, caption);
        }
      },
      page);
}

namespace {

class Win32EntryPageView : public pages::EntryPageView {
 public:
  explicit Win32EntryPageView(DialogContext context) : context_(std::move(context)) {}
  bool show(pages::EntryPage& page, const std::string& caption) override {
    return showEntryPage(context_, page, caption);
  }

 private:
  DialogContext context_;
};

}  // namespace

std::unique_ptr<pages::EntryPageView> makeEntryPageView(const DialogContext& context) {
  return std::make_unique<Win32EntryPageView>(context);
}

}  // namespace vandrel::builder::win32
