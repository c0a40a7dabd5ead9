// The install window: the painter's picture on a maximised widget.
#include "setup/window/qt/qt_install_window.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "platform/code_page.h"
#include "paint/qt/qt_canvas.h"
#include "ui/qt/gui_services.h"

namespace vandrel::setup::window {

// The install window paints through the shared painter.
using namespace ::vandrel::paint;

namespace {

class BackgroundWidget : public QWidget {
 public:
  explicit BackgroundWidget(const CBackgroundWnd& painter) : painter_(painter) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRect r = event->rect();
    Rect clip{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    QtCanvas canvas(painter, Size{width(), height()}, clip);
    painter_.paint(canvas);
  }

 private:
  const CBackgroundWnd& painter_;
};

class QtInstallWindow : public InstallWindow {
 public:
  explicit QtInstallWindow(platform::Machine& machine) : machine_(machine) {}

  bool create(const InstallWindowSettings& settings) override {
    // A bitmap that does not load is simply not shown; the window still opens.
    configureBackground(painter_, settings, machine_);
    widget_ = std::make_unique<BackgroundWidget>(painter_);
    if (settings.setCaption) {
      widget_->setWindowTitle(QString::fromStdString(platform::cp1252ToUtf8(settings.title)));
    }
    if (!settings.captionBar) widget_->setWindowFlag(Qt::FramelessWindowHint, true);
    widget_->showMaximized();
    QApplication::processEvents();
    ui::qt::processScreenshots().save(*widget_, "install-window");
    return true;
  }

 private:
  platform::Machine& machine_;
  CBackgroundWnd painter_;
  std::unique_ptr<BackgroundWidget> widget_;
};

}  // namespace

std::unique_ptr<InstallWindow> makeQtInstallWindow(platform::Machine& machine) {
  return std::make_unique<QtInstallWindow>(machine);
}

}  // namespace vandrel::setup::window
