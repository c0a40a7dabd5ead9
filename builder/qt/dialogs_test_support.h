// What the dialog tests share: the offscreen application, acting on the window shown next,
// and the named controls of a sheet.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "builder/pages/pages_fixture_test.h"
#include "builder/qt/builder_dialogs.h"

namespace vandrel::builder::qt::testing {

// One application for the whole test program, on the offscreen platform.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "builder_qt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform's note on window sizing says nothing about the tests.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type != QtDebugMsg && !text.contains("propagateSizeHints")) std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Acts on the modal window once it is shown (the next one to open).
inline void whenShown(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr) << "no window is shown";
    act(*window);
    // A test that failed before closing the window does not hang the run.
    if (window->isVisible()) {
      ADD_FAILURE() << "the window was left open";
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->done(QDialog::Rejected);
    }
  });
}

// Acts on every modal window as it is shown, until it goes out of scope.
class EachWindow {
 public:
  explicit EachWindow(std::function<void(QWidget&)> act) : act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* window = QApplication::activeModalWidget();
      if (!window || !window->isVisible() || window->property("handled").toBool()) return;
      window->setProperty("handled", true);
      act_(*window);
    });
    timer_.start(0);
  }

 private:
  std::function<void(QWidget&)> act_;
  QTimer timer_;
};

template <typename T>
T* named(QWidget& window, const char* name) {
  T* widget = window.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

inline void type(QWidget& window, const char* name, const std::string& text) {
  if (auto* edit = window.findChild<QLineEdit*>(name)) return edit->setText(QString::fromStdString(text));
  auto* combo = named<QComboBox>(window, name);
  if (combo) combo->setEditText(QString::fromStdString(text));
}

inline void tick(QWidget& window, const char* name, bool on) {
  if (auto* box = named<QAbstractButton>(window, name)) box->setChecked(on);
}

// The button with that text ("OK", "Cancel", "&Browse...") or that name.
inline QPushButton* button(QWidget& window, const QString& text) {
  for (QPushButton* b : window.findChildren<QPushButton*>()) {
    if (b->text() == text || b->objectName() == text) return b;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

inline void press(QWidget& window, const QString& text) {
  if (QPushButton* b = button(window, text)) b->click();
}

// The controls Tab visits on the page shown, from the one with the focus, each by its name or,
// for a button without a name, its text.
inline QStringList tabOrder(QWidget& window) {
  QStringList out;
  QWidget* start = window.focusWidget();
  if (!start) return out;
  QWidget* w = start;
  do {
    // A spin box's own edit is its focus proxy: the box stands for both.
    bool proxy = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr || w->focusProxy() != nullptr;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&window) &&
        window.isAncestorOf(w) && !proxy) {
      auto* b = qobject_cast<QAbstractButton*>(w);
      QString name = w->objectName().isEmpty() && b ? b->text() : w->objectName();
      out << (name.isEmpty() ? QString(w->metaObject()->className()) : name);
    }
    w = w->nextInFocusChain();
  } while (w && w != start);
  return out;
}

// A document with its tree and a context without answers.
struct DialogFixture : ::testing::Test, builder::testing::DocFixture {
  DialogFixture() { application(); }
  test::FakeInteraction ui;
  DialogContext context() {
    DialogContext c;
    c.ui = &ui;
    return c;
  }
};

}  // namespace vandrel::builder::qt::testing
