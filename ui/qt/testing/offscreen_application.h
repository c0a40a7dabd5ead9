// One Qt application for a whole test program, on the offscreen platform.
#pragma once

#include <QApplication>

#include <cstdlib>

namespace vandrel::ui::qt {

inline QApplication& offscreenApplication() {
  static int argc = 1;
  static char name[] = "vandrel_qt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace vandrel::ui::qt
