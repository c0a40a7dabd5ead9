// The wizard's one frame, its pages swapped inside it.
#include "ui/qt/wizard_frame.h"

#include <QEventLoop>
#include <QTimer>

#include "ui/qt/dialog_kit.h"
#include "ui/qt/gui_services.h"
#include "ui/qt/page_pane.h"

namespace vandrel::ui::qt {

WizardFrame::WizardFrame() {
  DialogUnits du;
  setUpDialog(*this, "", du, kWizardWidth, kWizardHeight);
  // Modal like the dialog each page used to be: the user answers the wizard before anything else.
  setWindowModality(Qt::ApplicationModal);
}

WizardFrame::~WizardFrame() = default;

// The new page's pane takes the old one's place; the frame is shown only the first time, so
// a frame the user moved stays where it is.
void WizardFrame::showPane(const Page& page) {
  delete pane_;  // left already: its button's handler has returned
  pane_ = new PagePane(page, this);
  pane_->move(0, 0);
  setWindowTitle(fromCodePage(page.caption));
  pane_->show();
  if (!isVisible()) {
    show();
    activateWindow();
  }
  QWidget* first = pane_->firstField();
  if (first) first->setFocus(Qt::OtherFocusReason);
}

PageResult WizardFrame::run(const Page& page, const std::function<void(PagePane&)>& drive) {
  showPane(page);
  QEventLoop waiting;
  pane_->setOnLeave([&waiting] { waiting.quit(); });
  // Once the page is up; a page left before (closed at once) is neither saved nor driven.
  QTimer up;
  up.setSingleShot(true);
  PagePane* shown = pane_;
  QObject::connect(&up, &QTimer::timeout, this, [this, shown, drive, name = "page-" + page.id] {
    processScreenshots().save(*this, name);
    if (drive && !shown->left()) drive(*shown);
  });
  up.start(0);
  if (!pane_->left()) waiting.exec(QEventLoop::DialogExec);
  pane_->setOnLeave(nullptr);
  return pane_->result();
}

void WizardFrame::reject() {
  if (pane_) pane_->cancel();
}

}  // namespace vandrel::ui::qt
