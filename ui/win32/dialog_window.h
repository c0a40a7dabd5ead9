// A dialog made from one of the programs' templates, modal or modeless, whose messages go to
// the object's handlers. Once it is up (after WM_INITDIALOG has been handled and the window
// shown) it tells its shown handler, which saves its picture and lets tests or an answers
// file press its buttons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace vandrel::ui::win32 {

// The windows' texts: the models' line breaks become the carriage return and line feed that
// edit boxes want.
std::string withCarriageReturns(const std::string& text);
// A control's text.
std::string controlText(HWND dialog, int id);
// Presses a button as a click would: its command goes to the dialog.
void pressButton(HWND dialog, int id);
// Sets a control's text.
void setText(HWND dialog, int id, const std::string& text);
void showControl(HWND dialog, int id, bool visible);

// One of the programs' own pictures or icons (its bytes as stored) as a bitmap for a picture
// control; null when the program has none of that number.
HBITMAP ownBitmap(std::span<const std::uint8_t> bytes, bool icon);
// Puts a bitmap into a picture control; the control's owner deletes it with the dialog.
void setPicture(HWND dialog, int id, HBITMAP bitmap);
// Deletes the bitmap a picture control holds.
void deletePicture(HWND dialog, int id);

class DialogWindow {
 public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Runs the dialog until it ends; its end code (the id of the button that ended it).
  INT_PTR runModal(int templateId, HWND owner);
  // Makes the dialog and leaves it to the message pump; false when it could not be made.
  bool createModeless(int templateId, HWND owner);
  void destroy();
  HWND handle() const { return window_; }

 protected:
  virtual void onInit() {}
  // A command from a control; true when handled.
  virtual bool onCommand(int id, int code) {
    (void)id;
    (void)code;
    return false;
  }
  // Any other message; handled is set when the dialog took it.
  virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    (void)message;
    (void)wParam;
    (void)lParam;
    handled = false;
    return 0;
  }
  // Once, after the dialog is up.
  virtual void onShown() {}
  // Ends a modal dialog with the code.
  void end(INT_PTR code);

  HWND window_ = nullptr;

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool modal_ = false;
};

// Lets the windows' pending messages through: 21 passes that each take one message.
void pumpMessages();

}  // namespace vandrel::ui::win32
