// The five assistants' windows: one page each (its own template) in a sheet titled with the
// assistant's name. The models check the fields and add the entries; the pages only show
// them and read them back.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "builder/assistants/assistants.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/sheet_dialog.h"
#include "ui/scripted_interaction.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::builder::win32 {

namespace {

using assistants::ProgramField;
using pages::Check;
using ui::win32::controlText;
using ui::win32::setText;

// The assistant's only page and the sheet around it, titled with the assistant's name.
struct Assistant {
  Assistant(const DialogContext& context, int number, const std::string& id, int templateId)
      : sheet(context, assistants::assistantTitle(number), id, id),
        page(sheet.addPage(templateId, assistants::assistantTitle(number))) {}

  SheetDialog sheet;
  int page;

  Control at(int id) const { return {page, id}; }
  HWND window() const { return sheet.page(page); }
  std::string text(int id) const { return controlText(window(), id); }
  bool checked(int id) const { return isChecked(window(), id); }
  int number(int id) const { return std::atoi(text(id).c_str()); }
};

// A number field takes digits only, at most nine of them.
void digitsOnly(HWND page, int id) { SendDlgItemMessageA(page, id, EM_LIMITTEXT, 9, 0); }

// An editable drop-down of the document's files, showing the text given.
void fillPrograms(HWND page, int id, const std::vector<pages::EntryItem>& files, const std::string& text) {
  std::vector<std::string> items;
  for (const pages::EntryItem& item : files) items.push_back(item.text);
  fillList(page, id, items, -1);
  setText(page, id, text);
}

// A file chosen from the list (the text shown is that row's), or the typed text.
ProgramField programField(HWND page, int id) {
  ProgramField field;
  std::string typed = controlText(page, id);
  int row = listSelection(page, id);
  if (row >= 0) {
    LRESULT length = SendDlgItemMessageA(page, id, CB_GETLBTEXTLEN, WPARAM(row), 0);
    std::string item(std::size_t(length < 0 ? 0 : length) + 1, '\0');
    SendDlgItemMessageA(page, id, CB_GETLBTEXT, WPARAM(row), reinterpret_cast<LPARAM>(item.data()));
    item.resize(std::strlen(item.c_str()));
    if (item == typed) {
      field.file = row;
      return field;
    }
  }
  field.text = typed;
  return field;
}

// OK: the fields read back, the assistant's check, then its entries.
template <typename Model>
void okAddsEntries(SheetDialog& sheet, Model& model, ScriptTree& tree, const BuilderPreferences& prefs,
                   std::function<void()> store) {
  sheet.onOk = [&sheet, &model, &tree, &prefs, store] {
    store();
    Check check = model.check();
    if (!check.ok()) {
      sheet.refuse(check);
      return false;
    }
    model.ok(tree, prefs);
    return true;
  };
}

bool extension(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::ExtensionAssistant model;
  Assistant a(context, 1, "assistant-extension", IDD_ASSIST_EXTENSION);
  FieldBinding& bind = a.sheet.bind();
  bind.text("Extension", "File e&xtension to add, without dot (i.e TXT) :", a.at(IDC_EXT_EXTENSION));
  bind.text("FileType", "File &Type / Description (registry only) :", a.at(IDC_EXT_TYPE));
  bind.check("UseRegistry", "Declare extension in &Registry", a.at(IDC_EXT_REGISTRY));
  bind.check("UseIni", "Declare extension in &WIN.INI", a.at(IDC_EXT_INI));
  bind.text("ProgramPath", "&Executable full path (directory indexes allowed, i.e. [0]) :", a.at(IDC_EXT_PATH));
  bind.check("NewDocument", "&Add to Windows \"New Document\" list", a.at(IDC_EXT_NEW_DOCUMENT));
  bind.text("IconIndex", "&Icon index from executable :", a.at(IDC_EXT_ICON));
  // The extension, the first field, has the focus when the page opens.
  a.sheet.onInit = [&] {
    HWND w = a.window();
    setText(w, IDC_EXT_EXTENSION, model.extension);
    setText(w, IDC_EXT_TYPE, model.fileType);
    setChecked(w, IDC_EXT_REGISTRY, model.useRegistry);
    setChecked(w, IDC_EXT_INI, model.useIni);
    setText(w, IDC_EXT_PATH, model.programPath);
    setChecked(w, IDC_EXT_NEW_DOCUMENT, model.newDocument);
    setText(w, IDC_EXT_ICON, std::to_string(model.iconIndex));
    digitsOnly(w, IDC_EXT_ICON);
  };
  okAddsEntries(a.sheet, model, tree, prefs, [&] {
    model.extension = a.text(IDC_EXT_EXTENSION);
    model.fileType = a.text(IDC_EXT_TYPE);
    model.useRegistry = a.checked(IDC_EXT_REGISTRY);
    model.useIni = a.checked(IDC_EXT_INI);
    model.programPath = a.text(IDC_EXT_PATH);
    model.newDocument = a.checked(IDC_EXT_NEW_DOCUMENT);
    model.iconIndex = a.number(IDC_EXT_ICON);
  });
  return a.sheet.run();
}

bool autostart(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::AutostartAssistant model(tree);
  Assistant a(context, 2, "assistant-autostart", IDD_ASSIST_AUTOSTART);
  FieldBinding& bind = a.sheet.bind();
  bind.text("Program", "&Program or file to launch:", a.at(IDC_AUTO_PROGRAM));
  bind.text("Title", "Application &Title:", a.at(IDC_AUTO_TITLE));
  bind.radios("Launch", "Registry settings", {a.at(IDC_AUTO_NEXT), a.at(IDC_AUTO_EACH)});
  bind.check("AddShortcut",
             "&Add a shortcut for this file to a program group (you will need to link the group yourself)",
             a.at(IDC_AUTO_SHORTCUT));
  a.sheet.onInit = [&] {
    HWND w = a.window();
    fillPrograms(w, IDC_AUTO_PROGRAM, model.files, model.program.text);
    setText(w, IDC_AUTO_TITLE, model.title);
    setRadio(w, {IDC_AUTO_NEXT, IDC_AUTO_EACH}, model.eachTime ? 1 : 0);
    setChecked(w, IDC_AUTO_SHORTCUT, model.addShortcut);
  };
  okAddsEntries(a.sheet, model, tree, prefs, [&] {
    model.program = programField(a.window(), IDC_AUTO_PROGRAM);
    model.title = a.text(IDC_AUTO_TITLE);
    model.eachTime = a.checked(IDC_AUTO_EACH);
    model.addShortcut = a.checked(IDC_AUTO_SHORTCUT);
  });
  return a.sheet.run();
}

// "&Add now", the path assistant's default button, and what it does.
struct AddNowButton {
  HWND page = nullptr;
  std::function<void()> press;
};

// Enter in the path assistant presses "&Add now": the sheet's frame sends the default
// button's command to itself, and this handler of the frame passes it on. The frame's dialog
// manager takes the default look from any button of its pages whenever the focus moves; the
// handler gives it back.
LRESULT CALLBACK addNowIsDefault(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
  const AddNowButton& button = *reinterpret_cast<const AddNowButton*>(data);
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_PATH_ADD) {
    button.press();
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(frame, addNowIsDefault, 1);
  LRESULT result = DefSubclassProc(frame, message, wParam, lParam);
  if (message == WM_NEXTDLGCTL && button.page) {
    SendDlgItemMessageA(button.page, IDC_PATH_ADD, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  return result;
}

bool pathRegistration(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::PathAssistant model(tree);
  Assistant a(context, 3, "assistant-path", IDD_ASSIST_PATH);
  a.sheet.bind().choice("PathFile", "Files:", a.at(IDC_PATH_FILES));
  static ui::ScriptedInteraction quiet;  // beeps when no port is given
  ui::Interaction& port = context.ui ? *context.ui : static_cast<ui::Interaction&>(quiet);
  // "&Add now" acts at once, for the file selected.
  std::function<void()> addNow = [&] {
    model.selected = listSelection(a.window(), IDC_PATH_FILES);
    model.addNow(port);
  };
  AddNowButton button{nullptr, addNow};
  a.sheet.onInit = [&] {
    std::vector<std::string> items;
    for (const pages::EntryItem& item : model.files) items.push_back(item.text);
    fillList(a.window(), IDC_PATH_FILES, items, -1);
    // "&Add now" is the default button in place of OK.
    HWND frame = a.sheet.handle();
    button.page = a.window();
    SendMessageA(frame, DM_SETDEFID, IDC_PATH_ADD, 0);
    SendDlgItemMessageA(frame, IDOK, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SetWindowSubclass(frame, addNowIsDefault, 1, reinterpret_cast<DWORD_PTR>(&button));
  };
  a.sheet.onCommand = [&](Control control, int code) {
    if (control.id != IDC_PATH_ADD || code != BN_CLICKED) return false;
    addNow();
    return true;
  };
  // An answer that selects a file stands for one press of "&Add now".
  a.sheet.afterFill = [&](const ui::PageResult&) {
    if (listSelection(a.window(), IDC_PATH_FILES) >= 0) addNow();
  };
  a.sheet.onOk = [&] {
    model.close(prefs);
    return true;
  };
  a.sheet.onCancel = [&] { model.close(prefs); };
  return a.sheet.run();
}

bool product(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::ProductAssistant model(tree.document());
  Assistant a(context, 4, "assistant-product", IDD_ASSIST_PRODUCT);
  FieldBinding& bind = a.sheet.bind();
  bind.text("Company", "&Your name or company:", a.at(IDC_PRODUCT_COMPANY));
  bind.text("Product", "&Product name:", a.at(IDC_PRODUCT_NAME));
  bind.text("Version", "Product &version info:", a.at(IDC_PRODUCT_VERSION));
  bind.check("LocalMachine", "Add registry keys into &Local Machine (user independent)", a.at(IDC_PRODUCT_LOCAL));
  bind.check("CurrentUser", "Add registry keys into &Current user parameters", a.at(IDC_PRODUCT_USER));
  bind.check("UserInfo", "Fill keys with &user information (name and company)", a.at(IDC_PRODUCT_INFO));
  bind.check("Serial", "Fill keys with &serial/license number", a.at(IDC_PRODUCT_SERIAL));
  a.sheet.onInit = [&] {
    HWND w = a.window();
    setText(w, IDC_PRODUCT_COMPANY, model.company);
    setText(w, IDC_PRODUCT_NAME, model.product);
    setText(w, IDC_PRODUCT_VERSION, model.version);
    setChecked(w, IDC_PRODUCT_LOCAL, model.localMachine);
    setChecked(w, IDC_PRODUCT_USER, model.currentUser);
    setChecked(w, IDC_PRODUCT_INFO, model.userInfo);
    setChecked(w, IDC_PRODUCT_SERIAL, model.serial);
  };
  okAddsEntries(a.sheet, model, tree, prefs, [&] {
    model.company = a.text(IDC_PRODUCT_COMPANY);
    model.product = a.text(IDC_PRODUCT_NAME);
    model.version = a.text(IDC_PRODUCT_VERSION);
    model.localMachine = a.checked(IDC_PRODUCT_LOCAL);
    model.currentUser = a.checked(IDC_PRODUCT_USER);
    model.userInfo = a.checked(IDC_PRODUCT_INFO);
    model.serial = a.checked(IDC_PRODUCT_SERIAL);
  });
  return a.sheet.run();
}

bool desktop(const DialogContext& context, ScriptTree& tree, const BuilderPreferences& prefs) {
  assistants::DesktopAssistant model(tree);
  Assistant a(context, 5, "assistant-desktop", IDD_ASSIST_DESKTOP);
  FieldBinding& bind = a.sheet.bind();
  bind.text("Wallpaper", "Desktop &Wallpaper (runtime dir variables allowed):", a.at(IDC_DESK_WALLPAPER));
  bind.text("ScreenSaver", "Screen Saver file (runtime dir allowed, NT only):", a.at(IDC_DESK_SAVER));
  bind.text("Delay", "Screen Saver activation delay in seconds:", a.at(IDC_DESK_DELAY));
  bind.check("Activate", "&Activate Screen Saver", a.at(IDC_DESK_ACTIVATE));
  bind.check("Secure", "Activate Screen Saver &security", a.at(IDC_DESK_SECURE));
  bind.check("DragFullWindows", "Display &windows while dragged (95 MsPlus/98/NT4)", a.at(IDC_DESK_DRAG));
  bind.check("Tile", "&Tile Wallpaper", a.at(IDC_DESK_TILE));
  a.sheet.onInit = [&] {
    HWND w = a.window();
    fillPrograms(w, IDC_DESK_WALLPAPER, model.files, model.wallpaper.text);
    fillPrograms(w, IDC_DESK_SAVER, model.files, model.screenSaver.text);
    setText(w, IDC_DESK_DELAY, std::to_string(model.delay));
    digitsOnly(w, IDC_DESK_DELAY);
    setChecked(w, IDC_DESK_ACTIVATE, model.activate);
    setChecked(w, IDC_DESK_SECURE, model.secure);
    setChecked(w, IDC_DESK_DRAG, model.dragFullWindows);
    setChecked(w, IDC_DESK_TILE, model.tile);
  };
  okAddsEntries(a.sheet, model, tree, prefs, [&] {
    model.wallpaper = programField(a.window(), IDC_DESK_WALLPAPER);
    model.screenSaver = programField(a.window(), IDC_DESK_SAVER);
    model.delay = a.number(IDC_DESK_DELAY);
    model.activate = a.checked(IDC_DESK_ACTIVATE);
    model.secure = a.checked(IDC_DESK_SECURE);
    model.dragFullWindows = a.checked(IDC_DESK_DRAG);
    model.tile = a.checked(IDC_DESK_TILE);
  });
  return a.sheet.run();
}

}  // namespace

bool runAssistant(const DialogContext& context, int number, ScriptTree& tree, const BuilderPreferences& prefs) {
  switch (number) {
    case 1: return extension(context, tree, prefs);
    case 2: return autostart(context, tree, prefs);
    case 3: return pathRegistration(context, tree, prefs);
    case 4: return product(context, tree, prefs);
    case 5: return desktop(context, tree, prefs);
  }
  return false;
}

}  // namespace vandrel::builder::win32
