// The progress windows: the setup's copy-progress dialog and the uninstaller's removal window,
// modeless, updated from the progress model as the work goes on.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "ui/interaction.h"
#include "ui/qt/dialog_kit.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vandrel::ui::qt {

class PercentBarWidget;

// The copy-progress dialog (frame, "Copying" and the source, the middle line, "to" and the
// destination, the percentage bar, Cancel) and the uninstaller's window (picture, caption
// line, five disabled boxes, result line, bar, OK), each control at its dialog-unit position.
class ProgressWindow : public QDialog {
 public:
  ProgressWindow(Program program, const Progress& model);

  // Shows the model's lines, boxes and percentage.
  void show(const Progress& model);
  // Something to see: a line with text (the copying shows empty lines until its first file).
  bool showsText() const;
  // Whether Cancel was pressed since the last call.
  bool takeCancel();
  QPushButton* cancelButton() const { return cancel_; }
  QPushButton* okButton() const { return ok_; }

  // The uninstaller's end: OK is enabled and the window waits for it, saved as shown; with
  // pressOk (answers drive the windows) OK is pressed at once.
  void waitForOk(bool pressOk);

 private:
  QLabel* line(int x, int y, int w, int h, bool wrap);
  void buildRemovalWindow(const Progress& model);
  void buildCopyWindow(const Progress& model);
  void showCopyLines(const std::vector<std::string>& lines);

  DialogUnits du_;
  bool copying_ = false;
  std::vector<QLabel*> lines_;
  QLabel* copyingLabel_ = nullptr;
  QLabel* toLabel_ = nullptr;
  std::vector<QCheckBox*> boxes_;
  PercentBarWidget* percentBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace vandrel::ui::qt
