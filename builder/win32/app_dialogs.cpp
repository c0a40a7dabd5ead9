// The builder's own windows on Windows: the preferences sheet, the about box, the tip of the
// day and the splash window. What they change is kept where corvix.exe reads it, in the
// current user's registry.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builder/generate/headless_session.h"
#include "builder/prefs/preferences_sheet.h"
#include "builder/prefs/registry_store.h"
#include "builder/prefs/tip_file.h"
#include "builder/strings/builder_strings.h"
#include "builder/win32/app_dialog_ids.h"
#include "builder/win32/builder_dialogs.h"
#include "builder/win32/sheet_dialog.h"
#include "platform/web/browser_launcher.h"
#include "script/size_text.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::builder::win32 {

namespace {

using ui::win32::controlText;
using ui::win32::setText;

const std::vector<int> kIconSizes = {IDC_PREFS_ICON16, IDC_PREFS_ICON32};
const std::vector<int> kBitmapModes = {IDC_PREFS_BACK_MODE0, IDC_PREFS_BACK_MODE1, IDC_PREFS_BACK_MODE2,
                                       IDC_PREFS_BACK_MODE3, IDC_PREFS_BACK_MODE4, IDC_PREFS_BACK_MODE5};
const std::vector<int> kFills = {IDC_PREFS_BACK_GRADIENT, IDC_PREFS_BACK_PLAIN};
const std::vector<int> kDirModes = {IDC_PREFS_DROP_MODE0, IDC_PREFS_DROP_MODE1, IDC_PREFS_DROP_MODE2};

// The controls of a page as bound controls.
std::vector<Control> on(int page, const std::vector<int>& ids) {
  std::vector<Control> out;
  for (int id : ids) out.push_back({page, id});
  return out;
}

// ---- preferences ----

void bindMain(FieldBinding& bind, int page) {
  bind.check("ConfirmErase", "&Confirm deletion", {page, IDC_PREFS_CONFIRM});
  bind.check("EmbeddedProgress", "Show the &progress bar when embedded", {page, IDC_PREFS_PROGRESS});
  bind.check("EnsureVisible", "Always ensure tree items &visibility", {page, IDC_PREFS_VISIBLE});
  bind.check("AutoCheck", "Check script &integrity after loading", {page, IDC_PREFS_CHECK});
  bind.text("DefEdit", "Default text editor command line, where %1 represents the file to display:",
            {page, IDC_PREFS_DEFEDIT});
  bind.radios("IconSize", "Icons Si&ze", on(page, kIconSizes));
  bind.check("LoadOnOpen", "&Load the configuration on startup", {page, IDC_PREFS_LOAD});
  bind.check("SaveOnExit", "&Save the configuration on exit", {page, IDC_PREFS_SAVE});
}

void fillMain(HWND page, const BuilderPreferences& p) {
  setChecked(page, IDC_PREFS_CONFIRM, p.confirmErase);
  setChecked(page, IDC_PREFS_PROGRESS, p.showProgress);
  setChecked(page, IDC_PREFS_VISIBLE, p.ensureVisible);
  setChecked(page, IDC_PREFS_CHECK, p.autoCheck);
  setText(page, IDC_PREFS_DEFEDIT, p.defEdit);
  setRadio(page, kIconSizes, p.iconSize == 32 ? 1 : 0);
  setChecked(page, IDC_PREFS_LOAD, p.loadOnOpen);
  setChecked(page, IDC_PREFS_SAVE, p.saveOnExit);
}

void readMain(HWND page, BuilderPreferences& p) {
  p.confirmErase = isChecked(page, IDC_PREFS_CONFIRM);
  p.showProgress = isChecked(page, IDC_PREFS_PROGRESS);
  p.ensureVisible = isChecked(page, IDC_PREFS_VISIBLE);
  p.autoCheck = isChecked(page, IDC_PREFS_CHECK);
  p.defEdit = controlText(page, IDC_PREFS_DEFEDIT);
  p.iconSize = selectedRadio(page, kIconSizes) == 1 ? 32 : 16;
  p.loadOnOpen = isChecked(page, IDC_PREFS_LOAD);
  p.saveOnExit = isChecked(page, IDC_PREFS_SAVE);
}

// The background page's two swatches.
struct Swatches {
  ColourSwatch* first;
  ColourSwatch* second;
};

Swatches bindBackground(SheetDialog& sheet, int page, const prefs::BackgroundChoice& back) {
  FieldBinding& bind = sheet.bind();
  bind.radios("BitmapMode", "Bitmap", on(page, kBitmapModes));
  bind.radios("Fill", "Background", on(page, kFills));
  bind.check("GradDir", "Vertical &Gradient", {page, IDC_PREFS_BACK_VERTICAL});
  bind.number("posX", "&X", {page, IDC_PREFS_BACK_X});
  bind.number("posY", "&Y", {page, IDC_PREFS_BACK_Y});
  Swatches s{sheet.swatch({page, IDC_PREFS_BACK_FIRST}), sheet.swatch({page, IDC_PREFS_BACK_SECOND})};
  s.first->setColour(back.firstColour);
  s.second->setColour(back.secondColour);
  bind.colour("FirstColor", "1st Color:", s.first);
  bind.colour("SecondColor", "2nd Color:", s.second);
  bind.text("BitmapFile", "&Select Bitmap...", {page, IDC_PREFS_BACK_BITMAP});
  return s;
}

void fillBackground(HWND page, const prefs::BackgroundChoice& back) {
  setRadio(page, kBitmapModes, back.bitmapMode);
  setRadio(page, kFills, back.gradient ? 0 : 1);
  setChecked(page, IDC_PREFS_BACK_VERTICAL, back.vertical);
  setNumberRange(page, IDC_PREFS_BACK_X_SPIN, 0, 32767);
  setNumberRange(page, IDC_PREFS_BACK_Y_SPIN, 0, 32767);
  setText(page, IDC_PREFS_BACK_X, std::to_string(back.posX));
  setText(page, IDC_PREFS_BACK_Y, std::to_string(back.posY));
  setText(page, IDC_PREFS_BACK_BITMAP, back.bitmap);
}

// A coordinate as the box shows it, within the up-down's range.
int coordinate(HWND page, int id) { return std::clamp(std::atoi(controlText(page, id).c_str()), 0, 32767); }

void readBackground(HWND page, const Swatches& swatches, prefs::BackgroundChoice& back) {
  back.bitmapMode = selectedRadio(page, kBitmapModes);
  back.gradient = selectedRadio(page, kFills) == 0;
  back.vertical = isChecked(page, IDC_PREFS_BACK_VERTICAL);
  back.posX = coordinate(page, IDC_PREFS_BACK_X);
  back.posY = coordinate(page, IDC_PREFS_BACK_Y);
  back.firstColour = swatches.first->colour();
  back.secondColour = swatches.second->colour();
  back.bitmap = controlText(page, IDC_PREFS_BACK_BITMAP);
}

// "&Select Bitmap...": the chooser, starting in the folder of the bitmap named now.
void pickBitmap(const DialogContext& context, HWND page) {
  std::string current = controlText(page, IDC_PREFS_BACK_BITMAP);
  std::size_t slash = current.find_last_of('\\');
  std::string folder = slash == std::string::npos ? std::string() : current.substr(0, slash);
  FileRequest request{str(sid::PickBitmapTitle), str(sid::BitmapFilter), "bmp", folder};
  if (std::optional<std::string> chosen = chooseFile(context, request)) setText(page, IDC_PREFS_BACK_BITMAP, *chosen);
}

void bindDrop(FieldBinding& bind, int page) {
  bind.check("DispProps", "Display file &properties after added", {page, IDC_PREFS_DROP_PROPS});
  bind.radios("DirMode", "Destination", on(page, kDirModes));
  bind.check("DropDirAdd", "&Add directory to script", {page, IDC_PREFS_DROP_DIR_ADD});
  bind.check("DropDirInc", "Include files i&nto directory", {page, IDC_PREFS_DROP_DIR_INC});
  bind.check("DropDirSub", "Include also its &subfolders and files", {page, IDC_PREFS_DROP_DIR_SUB});
  bind.check("DispSummary", "Display a s&ummary after completion", {page, IDC_PREFS_DROP_SUMMARY});
}

void fillDrop(HWND page, const BuilderPreferences& p) {
  setChecked(page, IDC_PREFS_DROP_PROPS, p.dispProps);
  setRadio(page, kDirModes, p.dirMode);
  setChecked(page, IDC_PREFS_DROP_DIR_ADD, p.dropDirAdd);
  setChecked(page, IDC_PREFS_DROP_DIR_INC, p.dropDirInc);
  setChecked(page, IDC_PREFS_DROP_DIR_SUB, p.dropDirSub);
  setChecked(page, IDC_PREFS_DROP_SUMMARY, p.dispSummary);
}

void readDrop(HWND page, BuilderPreferences& p) {
  p.dispProps = isChecked(page, IDC_PREFS_DROP_PROPS);
  p.dirMode = selectedRadio(page, kDirModes);
  p.dropDirAdd = isChecked(page, IDC_PREFS_DROP_DIR_ADD);
  p.dropDirInc = isChecked(page, IDC_PREFS_DROP_DIR_INC);
  p.dropDirSub = isChecked(page, IDC_PREFS_DROP_DIR_SUB);
  p.dispSummary = isChecked(page, IDC_PREFS_DROP_SUMMARY);
}

// ---- the boxes' fonts ----

// The dialog's font made bold and larger by points, set on the control; the caller deletes it
// once the box is closed.
HFONT emphasise(HWND box, int id, int morePoints) {
  HWND control = GetDlgItem(box, id);
  LOGFONTA look{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)), sizeof look, &look);
  HDC screen = GetDC(box);
  int pixels = MulDiv(morePoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(box, screen);
  look.lfHeight = look.lfHeight < 0 ? look.lfHeight - pixels : -(look.lfHeight + pixels);
  look.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectA(&look);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return font;
}

// A font made for a box, deleted when the box is gone.
struct OwnedFont {
  HFONT font = nullptr;
  ~OwnedFont() {
    if (font) DeleteObject(font);
  }
};

}  // namespace

bool runPreferences(AppContext& app, const BackgroundTarget& background) {
  const BuilderPreferences& p = *app.preferences;
  SheetDialog sheet(app.dialogs, "Preferences", "preferences", "preferences");
  sheet.pageInShotName = false;
  int main = sheet.addPage(IDD_PREFS_MAIN, "Main");
  int look = sheet.addPage(IDD_PREFS_BACKGROUND, "Background");
  int drop = sheet.addPage(IDD_PREFS_DROP, "File Drop");
  prefs::BackgroundChoice back = prefs::BackgroundChoice::of(*app.window);
  bindMain(sheet.bind(), main);
  Swatches swatches = bindBackground(sheet, look, back);
  bindDrop(sheet.bind(), drop);
  sheet.onInit = [&] {
    fillMain(sheet.page(main), p);
    fillBackground(sheet.page(look), back);
    fillDrop(sheet.page(drop), p);
  };
  sheet.onCommand = [&](Control control, int code) {
    if (control.page != look || control.id != IDC_PREFS_BACK_PICK || code != BN_CLICKED) return false;
    pickBitmap(sheet.context(), sheet.page(look));
    return true;
  };
  // The controls are gone once the sheet is closed: OK reads them first.
  BuilderPreferences edited = p;
  sheet.onOk = [&] {
    readMain(sheet.page(main), edited);
    readDrop(sheet.page(drop), edited);
    readBackground(sheet.page(look), swatches, back);
    return true;
  };
  sheet.showPage(std::clamp(app.preferencesPage, 0, 2));
  bool ok = sheet.run();
  app.preferencesPage = sheet.currentPage();
  if (!ok) return false;

  // Clearing "Save the configuration on exit" is written at once: nothing is written at exit.
  if (p.saveOnExit && !edited.saveOnExit && app.machine) {
    prefs::writeRegistrySaveOnExit(app.machine->registry(), false);
  }
  prefs::applyPreferences(*app.preferences, edited);
  // A new bitmap is tried on the previous state; the background is shown again when changed.
  prefs::WindowState probe = *app.window;
  bool changed = prefs::applyBackground(*app.window, back, background.showsBitmap, [&](const std::string& path) {
    probe.bitmap = path;
    return background.show && background.show(probe);
  });
  if (changed && background.show) background.show(*app.window);
  return true;
}

void runAbout(const AppContext& app) {
  SheetDialog box(app.dialogs, "About Corvix...", "about", "about", SheetDialog::Frame::Box);
  box.addPage(IDD_ABOUT);
  box.setButtons(IDOK, 0);
  platform::Machine& machine = *app.machine;
  platform::BrowserLauncher browser(machine);
  bool found = browser.FindBrowser(std::nullopt, 1);
  OwnedFont title;
  box.onInit = [&] {
    HWND w = box.page(0);
    setText(w, IDC_ABOUT_TITLE, str(128));
    title.font = emphasise(w, IDC_ABOUT_TITLE, 4);
    std::string memory = script::FormatSize(double(machine.system().totalPhysicalMemory()));
    setText(w, IDC_ABOUT_MEMORY, "Physical memory: " + memory);
    std::optional<platform::DiskSpace> space = machine.files().diskFreeSpace("C:\\");
    setText(w, IDC_ABOUT_DISK,
            "Free disk space: " + (space ? script::FormatSize(double(space->freeBytes())) : str(104)));
    enableControl(w, IDC_ABOUT_CONNECT, found);
  };
  // "&Connect" starts the browser on the maker's address and closes the box.
  box.onCommand = [&](Control control, int code) {
    if (control.id != IDC_ABOUT_CONNECT || code != BN_CLICKED) return false;
    browser.OpenInBrowser("http://www.vandrel.example/");
    box.accept();
    return true;
  };
  box.run();
}

void runTipOfTheDay(const AppContext& app, bool atStartUp) {
  platform::Machine& machine = *app.machine;
  std::string folder = programFolderOf(machine);
  std::filesystem::path host = machine.files().hostPath(folder + "\\tips.txt").value_or("");
  prefs::TipFile tips(host, prefs::readRegistryTipPlace(machine.registry()));
  if (atStartUp && !tips.showAtStartUp()) return;
  std::string tip = tips.next();
  if (tips.status() == prefs::TipFile::Status::Missing) tip = str(124);
  if (tips.status() == prefs::TipFile::Status::Unreadable) tip = str(125);

  SheetDialog box(app.dialogs, "Tip of the Day", "tip", "tip", SheetDialog::Frame::Box);
  box.addPage(IDD_TIP);
  box.setButtons(IDOK, 0);
  box.bind().check("StartUp", "&Show Tips on StartUp", {0, IDC_TIP_STARTUP});
  OwnedFont heading;
  box.onInit = [&] {
    HWND w = box.page(0);
    heading.font = emphasise(w, IDC_TIP_HEADING, 2);
    setText(w, IDC_TIP_TEXT, tip);
    setChecked(w, IDC_TIP_STARTUP, tips.showAtStartUp());
  };
  box.onCommand = [&](Control control, int code) {
    if (control.id != IDC_TIP_NEXT || code != BN_CLICKED) return false;
    setText(box.page(0), IDC_TIP_TEXT, tips.next());
    return true;
  };
  // Closing by the button or by Escape keeps the box's state alike.
  bool showAtStartUp = tips.showAtStartUp();
  auto keepBox = [&] { showAtStartUp = isChecked(box.page(0), IDC_TIP_STARTUP); };
  box.onOk = [&] {
    keepBox();
    return true;
  };
  box.onCancel = keepBox;
  box.run();
  tips.setShowAtStartUp(showAtStartUp);
  prefs::writeRegistryTipPlace(machine.registry(), tips.place());
}

// ---- the splash window ----

namespace {

constexpr int kSplashWidth = 420, kSplashHeight = 240;
constexpr UINT kSplashMilliseconds = 4500;
constexpr const char* kSplashClass = "VandrelCorvixSplash";

// The splash shown now (one at a time) and the hook that closes it at the first key press or
// mouse click anywhere in the program's windows.
struct Splash {
  HWND window = nullptr;
  HHOOK hook = nullptr;
  std::function<void()> closed;
};
Splash* currentSplash = nullptr;

LRESULT CALLBACK closeOnInput(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && currentSplash) {
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    switch (message.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
        PostMessageA(currentSplash->window, WM_CLOSE, 0, 0);
        break;
      default: break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The picture: a vertical gradient from dark blue to teal, the builder's name in white,
// bold and italic, in the middle.
void paintSplash(HDC dc) {
  for (int y = 0; y < kSplashHeight; ++y) {
    int green = 128 * y / (kSplashHeight - 1), blue = 160 - 32 * y / (kSplashHeight - 1);
    HBRUSH band = CreateSolidBrush(RGB(0, green, blue));
    RECT row{0, y, kSplashWidth, y + 1};
    FillRect(dc, &row, band);
    DeleteObject(band);
  }
  HFONT font = CreateFontA(-40, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT all{0, 0, kSplashWidth, kSplashHeight};
  std::string title = str(128);
  DrawTextA(dc, title.c_str(), int(title.size()), &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

LRESULT CALLBACK splashProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      paintSplash(dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_TIMER: PostMessageA(window, WM_CLOSE, 0, 0); return 0;
    case WM_CLOSE: {
      // Once only, after the window is gone from the screen.
      std::function<void()> closed = currentSplash ? std::move(currentSplash->closed) : nullptr;
      DestroyWindow(window);
      if (closed) closed();
      return 0;
    }
    case WM_DESTROY:
      // Closed, or taken down with its owner: the hook and the timer go with it.
      KillTimer(window, 1);
      if (currentSplash && currentSplash->window == window) {
        if (currentSplash->hook) UnhookWindowsHookEx(currentSplash->hook);
        delete std::exchange(currentSplash, nullptr);
      }
      return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void registerSplashClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA type{};
  type.lpfnWndProc = splashProcedure;
  type.hInstance = GetModuleHandleA(nullptr);
  type.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  type.lpszClassName = kSplashClass;
  registered = RegisterClassA(&type) != 0;
}

}  // namespace

HWND showSplash(const AppContext& app, std::function<void()> closed) {
  if (app.unattended || currentSplash) return nullptr;
  registerSplashClass();
  int left = (GetSystemMetrics(SM_CXSCREEN) - kSplashWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kSplashHeight) / 2;
  // Above the main window, which was shown just before it.
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, left, top,
                                kSplashWidth, kSplashHeight, app.dialogs.parent, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
  if (!window) return nullptr;
  currentSplash = new Splash{window, nullptr, std::move(closed)};
  currentSplash->hook = SetWindowsHookExA(WH_GETMESSAGE, closeOnInput, nullptr, GetCurrentThreadId());
  SetTimer(window, 1, kSplashMilliseconds, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return window;
}

}  // namespace vandrel::builder::win32
