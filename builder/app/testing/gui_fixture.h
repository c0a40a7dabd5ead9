// What the builder's widget tests share: one application on the offscreen platform.
#pragma once

#include <QApplication>

namespace vandrel::builder::app::testing {

// One application for the whole test program, on the offscreen platform.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "corvix_gui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace vandrel::builder::app::testing
