// The install window: the painter's picture on a maximised Win32 window.
#include "setup/window/win32/win32_install_window.h"

#include <windows.h>

#include "paint/win32/gdi_canvas.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/gui_services.h"
#include "ui/win32/win32_interaction.h"
#include "ui/win32/window_shots.h"

namespace vandrel::setup::window {

// The install window paints through the shared painter.
using namespace ::vandrel::paint;

namespace {

constexpr char kClassName[] = "VandrelInstallWindow";

class Win32InstallWindow : public InstallWindow {
 public:
  explicit Win32InstallWindow(platform::Machine& machine) : machine_(machine) {}
  ~Win32InstallWindow() override {
    if (ui::win32::Win32Interaction* backend = ui::win32::activeBackend()) backend->setOwner(nullptr);
    if (window_) DestroyWindow(window_);
  }

  bool create(const InstallWindowSettings& settings) override {
    // A bitmap that does not load is simply not shown; the window still opens.
    configureBackground(painter_, settings, machine_);
    if (!registerClass()) return false;
    // Whatever the caller would ask, a popup that covers the screen; a caption bar only when
    // the script asks for one.
    DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (settings.captionBar ? WS_CAPTION : 0);
    window_ = CreateWindowExA(0, kClassName, settings.setCaption ? settings.title.c_str() : "", style, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              GetModuleHandleA(nullptr), this);
    if (!window_) return false;
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    UpdateWindow(window_);
    ui::win32::pumpMessages();
    // The wizard, the messages and the progress windows stand over it.
    if (ui::win32::Win32Interaction* backend = ui::win32::activeBackend()) backend->setOwner(window_);
    ui::win32::processShots().save(window_, "install-window");
    return true;
  }

 private:
  static bool registerClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &wc)) return true;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
  }

  // The painter's whole picture, as far as the clip box asks, when the background is erased.
  void paintBackground(HDC dc) {
    RECT client{}, clip{};
    GetClientRect(window_, &client);
    GetClipBox(dc, &clip);
    GdiCanvas canvas(dc, Size{client.right, client.bottom}, Rect{clip.left, clip.top, clip.right, clip.bottom});
    painter_.paint(canvas);
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      reinterpret_cast<Win32InstallWindow*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<Win32InstallWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
      case WM_ERASEBKGND:
        if (!self) break;
        self->paintBackground(reinterpret_cast<HDC>(wParam));
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);  // all drawn when the background was erased
        EndPaint(window, &paint);
        return 0;
      }
      case WM_SIZE:
        RedrawWindow(window, nullptr, nullptr, RDW_ERASENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        return 0;
      case WM_CLOSE:
        return 0;  // the setup ends the window, not the user
      case WM_NCDESTROY:
        if (self) self->window_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  platform::Machine& machine_;
  CBackgroundWnd painter_;
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<InstallWindow> makeWin32InstallWindow(platform::Machine& machine) {
  return std::make_unique<Win32InstallWindow>(machine);
}

}  // namespace vandrel::setup::window
