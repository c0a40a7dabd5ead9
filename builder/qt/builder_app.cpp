// The graphical builder's start-up, unattended commands and exit.
#include "builder/qt/builder_app.h"

#include <QApplication>
#include <QPointer>
#include <QSettings>
#include <QStatusBar>

#include "builder/qt/app_dialogs.h"
#include "builder/prefs/preferences_store.h"
#include "builder/prefs/tip_file.h"

namespace vandrel::builder::app {

CBuilderApp::CBuilderApp(platform::Machine& machine, std::unique_ptr<ui::Interaction> port,
                         bool unattended)
    : port_(std::make_unique<frame::StatusBarPort>(std::move(port))),
      core_(std::make_unique<frame::BuilderCore>(machine, *port_)) {
  core_->unattended = unattended;
  core_->escape = [this] { port_->escape(); };
}

CBuilderApp::~CBuilderApp() {
  if (port_) port_->setFrame(nullptr);
}

bool CBuilderApp::start(const std::vector<std::string>& documents) {
  if (std::unique_ptr<QSettings> settings = prefs::openSettings()) {
    core_->preferences = prefs::readPreferences(*settings);
    core_->recentFiles = prefs::readRecentFiles(*settings);
    prefs::WindowState stored = prefs::readWindowState(*settings);
    if (core_->preferences.loadOnOpen) {
      core_->window = stored;
    } else {
      // Without loading: a plain teal background, light grey second colour, no bitmap; the
      // frame's own geometry is still the one stored.
      core_->window.kind = 128;
      core_->window.firstColour = 0x808000;
      core_->window.secondColour = 0xC0C0C0;
      core_->window.gradDir = 0;
      core_->window.top = stored.top;
      core_->window.left = stored.left;
      core_->window.width = stored.width;
      core_->window.height = stored.height;
      core_->window.status = stored.status;
    }
  }
  frame_ = std::make_unique<CMainFrame>(*core_);
  port_->setFrame(frame_.get());
  frame_->showAsStored();
  bool all = true;
  for (const std::string& document : documents) all = frame_->openDocument(document) && all;
  frame_->updateActions();
  QApplication::processEvents();
  return all;
}

void CBuilderApp::greet() {
  // The tip of the day follows the splash, once it has closed.
  QPointer<CMainFrame> frame(frame_.get());
  frame::BuilderCore* core = core_.get();
  QWidget* splash = showSplash(*core_, [frame, core] {
    if (frame) runTipOfTheDay(frame, *core, true);
  });
  if (!splash) runTipOfTheDay(frame_.get(), *core_, true);
}

void CBuilderApp::exit() {
  if (!core_->preferences.saveOnExit) return;
  std::unique_ptr<QSettings> settings = prefs::openSettings();
  if (!settings) return;
  prefs::writePreferences(*settings, core_->preferences);
  prefs::writeRecentFiles(*settings, core_->recentFiles);
  prefs::writeWindowState(*settings, core_->window);
  settings->sync();
}

}  // namespace vandrel::builder::app
