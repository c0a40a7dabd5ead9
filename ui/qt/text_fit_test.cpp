// The cut-off finder on widgets made to fit and made too small.
#include "ui/qt/text_fit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

const char* kLong = "Copying Vandrel File: C:\\Program Files\\Tool\\Some Long File Name.dll";

TEST(TextFit, LaidOutWindowCutsNothing) {
  offscreenApplication();
  QWidget window;
  auto* column = new QVBoxLayout(&window);
  column->addWidget(new QLabel(kLong));
  column->addWidget(new QCheckBox("&Uninstall this file"));
  window.show();
  EXPECT_TRUE(cutTexts(window).empty()) << describe("window", cutTexts(window));
}

TEST(TextFit, NarrowLabelBoxAndFieldAreFound) {
  offscreenApplication();
  QWidget window;
  window.resize(400, 200);
  auto* label = new QLabel(kLong, &window);
  label->setGeometry(0, 0, 60, 20);
  auto* box = new QCheckBox("&Uninstall this file", &window);
  box->setGeometry(0, 30, 40, 20);
  auto* field = new QLineEdit(kLong, &window);
  field->setObjectName("Path");
  field->setGeometry(0, 60, 60, 20);
  window.show();
  std::vector<CutText> cuts = cutTexts(window);
  ASSERT_EQ(cuts.size(), 3u) << describe("window", cuts);
  EXPECT_EQ(describe("w", {cuts[2]}).substr(0, 17), "w: QLineEdit Path");
  EXPECT_EQ(cuts[0].available, 60);

  // A field whose tooltip gives the whole value is not cut.
  field->setToolTip(kLong);
  EXPECT_EQ(cutTexts(window).size(), 2u);
}

TEST(TextFit, TreeItemsAreCutUnlessTheViewScrollsToThem) {
  offscreenApplication();
  QStandardItemModel model;
  model.appendRow(new QStandardItem(kLong));
  QTreeView view;
  view.setModel(&model);
  view.setHeaderHidden(true);
  view.resize(120, 100);
  view.show();
  EXPECT_EQ(cutTexts(view).size(), 1u);
  view.header()->setStretchLastSection(false);
  view.header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  QApplication::processEvents();
  EXPECT_TRUE(cutTexts(view).empty()) << describe("view", cutTexts(view));
}

}  // namespace
}  // namespace vandrel::ui::qt
