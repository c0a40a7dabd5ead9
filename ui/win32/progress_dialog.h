// The progress windows: the setup's copy-progress dialog and the uninstaller's removal window,
// modeless, updated from the progress model as the work goes on.
#pragma once

#include <windows.h>

#include "paint/percent_bar.h"
#include "ui/interaction.h"
#include "ui/win32/dialog_window.h"

namespace vandrel::ui::win32 {

class Win32Interaction;

// The copy-progress dialog (frame, "Copying" and the source, the middle line, "to" and the
// destination, the percentage bar, Cancel) or the uninstaller's window (picture, caption
// line, five disabled boxes, result line, bar, OK).
class ProgressDialog : public DialogWindow {
 public:
  explicit ProgressDialog(Program program) : removal_(program == Program::Uninstall) {}
  ~ProgressDialog() override;

  bool open(HWND owner);
  bool removal() const { return removal_; }

  // Shows the model's lines, boxes and percentage.
  void show(const Progress& model);
  // Something to see: a line with text (the copying shows empty lines until its first file).
  bool showsText() const;
  // Whether Cancel was pressed since the last call.
  bool takeCancel();
  // The uninstaller's end: OK is enabled and the window waits for it.
  void waitForOk(Win32Interaction& backend);

 protected:
  void onInit() override;
  bool onCommand(int id, int code) override;
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  bool removal_;
  paint::PercentBar bar_;
  bool cancelled_ = false;
  bool okPressed_ = false;
};

}  // namespace vandrel::ui::win32
