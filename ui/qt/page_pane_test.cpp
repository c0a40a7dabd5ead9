// The wizard pages on the offscreen platform: each control where its units put it,
// the page's texts each in their own control, the components' boxes on the right of their
// descriptions; and the programs' own icons.
#include "ui/qt/page_pane.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "paint/bitmap_resources.h"
#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

Field field(Field::Kind kind, const char* name, const char* label) {
  Field f;
  f.kind = kind;
  f.name = name;
  f.label = label;
  return f;
}

// A page made for a layout; its texts part by part are set by each test.
Page page(PageLayout layout, std::vector<Field> fields = {}) {
  Page shown;
  shown.layout = layout;
  shown.caption = "Tool Setup";
  shown.fields = std::move(fields);
  shown.back = true;
  return shown;
}

// The label showing exactly this text; null when none does.
QLabel* labelOf(const QWidget& window, const QString& text) {
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text() == text) return label;
  }
  return nullptr;
}

class PagePaneTest : public ::testing::Test {
 protected:
  QApplication& app_ = offscreenApplication();  // before the units, which ask the fonts
  // A rectangle of the page in units, in the window's pixels: the page stands at (7, 7).
  QRect onPage(int x, int y, int w, int h) const { return du_.rect(7 + x, 7 + y, w, h); }
  DialogUnits du_;
};

TEST_F(PagePaneTest, NoticeTextsStandInTheirOwnControls) {
  Page notice = page(PageLayout::Notice);
  notice.heading = "Welcome to Tool";
  notice.paragraphs = {"Close the programs.\nThey may hold files.", "This is a shareware.\nPay after thirty days."};
  notice.footer = "Click Next...";
  PagePane pane(notice);
  struct Expected {
    const char* text;
    QRect rect;
  };
  for (const Expected& e : {Expected{"Welcome to Tool", onPage(85, 0, 175, 20)},
                            Expected{"Close the programs.\nThey may hold files.", onPage(85, 30, 175, 45)},
                            Expected{"This is a shareware.\nPay after thirty days.", onPage(85, 80, 175, 65)},
                            Expected{"Click Next...", onPage(85, 150, 145, 10)}}) {
    QLabel* label = labelOf(pane, e.text);
    ASSERT_NE(label, nullptr) << e.text;
    EXPECT_EQ(label->geometry(), e.rect) << e.text;
  }
  EXPECT_TRUE(labelOf(pane, "Welcome to Tool")->font().bold());
  EXPECT_FALSE(labelOf(pane, "Click Next...")->font().bold());
  EXPECT_EQ(pane.size(), du_.size(276, 200));
}

TEST_F(PagePaneTest, RegistrationEditsStandUnderTheirLabelsAndTakeTheirMnemonics) {
  std::vector<Field> fields{field(Field::Kind::Text, "UserName", "&User Name:"),
                            field(Field::Kind::Text, "Company", "&Organization:"),
                            field(Field::Kind::Text, "Serial", "&Serial number:")};
  Page registration = page(PageLayout::Registration, fields);
  registration.heading = "Please register.";
  registration.footer = "Click Next...";
  PagePane pane(registration);
  QList<QLineEdit*> edits = pane.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 3);
  const int tops[] = {45, 75, 105};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(edits[i]->geometry(), onPage(85, tops[i], 165, 12)) << i;
    QLabel* label = labelOf(pane, QString::fromStdString(fields[i].label));
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->buddy(), edits[i]) << i;
    EXPECT_LT(label->geometry().bottom(), edits[i]->geometry().top()) << i;
  }
  // Nothing stands on the window's edge: the page keeps its margin.
  for (QLabel* label : pane.findChildren<QLabel*>()) {
    EXPECT_GE(label->geometry().top(), du_.py(7)) << label->text().toStdString();
  }
  EXPECT_EQ(labelOf(pane, "Please register.")->geometry(), onPage(85, 0, 177, 25));
}

TEST_F(PagePaneTest, ComponentBoxesStandRightOfTheirDescriptionsAndTakeClicksThere) {
  Field list = field(Field::Kind::CheckList, "Components", "Components");
  list.items = {"Samples", "Documentation"};
  list.itemKeys = {"3", "4"};
  list.itemChecked = {true, true};
  Page components = page(PageLayout::Components, {list});
  components.heading = "Some components:";
  components.footer = "The box is on the right.";
  PagePane pane(components);
  pane.show();
  QListWidget* box = pane.findChild<QListWidget*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->geometry(), onPage(85, 30, 170, 75));
  ASSERT_NE(labelOf(pane, "The box is on the right."), nullptr);
  EXPECT_EQ(labelOf(pane, "Samples"), nullptr) << "the items are shown by the list only";

  QRect check = pane.checkBoxOfRow(0, 1);
  ASSERT_TRUE(check.isValid());
  EXPECT_GT(check.left(), box->viewport()->width() / 2);
  auto click = [&](QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, box->viewport()->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(box->viewport(), &event);
    }
  };
  click(QPoint(4, check.center().y()));  // on the description: selects, does not toggle
  EXPECT_EQ(box->item(1)->checkState(), Qt::Checked);
  click(check.center());
  EXPECT_EQ(box->item(1)->checkState(), Qt::Unchecked);
  EXPECT_EQ(pane.result().fields[0].itemChecked, (std::vector<bool>{true, false}));
}

TEST_F(PagePaneTest, DestinationShowsTheFolderInItsBoxAndTheSpacesRightAligned) {
  Field folder = field(Field::Kind::Text, "Folder", "Install Folder");
  folder.value = "C:\\Tool";
  Field backup = field(Field::Kind::Check, "Backup", "B&ackup replaced files");
  Page shown = page(PageLayout::Destination, {folder, backup});
  shown.paragraphs = {"Almost ready.", "Press Finish.", "Press Change."};
  shown.rows = {{"Disk space required:", "1.20 Mo"}, {"Disk space available:", "512 Mo"}};
  shown.next.clear();
  shown.finish = "&Finish";
  shown.actions = {"&Change"};
  PagePane pane(shown);
  QLineEdit* line = pane.findChild<QLineEdit*>();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->geometry(), onPage(90, 78, 165, 10));
  EXPECT_TRUE(line->isReadOnly());
  EXPECT_EQ(line->text(), "C:\\Tool");
  ASSERT_NE(labelOf(pane, "Disk space required:"), nullptr);
  QLabel* value = labelOf(pane, "1.20 Mo");
  ASSERT_NE(value, nullptr);
  EXPECT_TRUE(value->alignment() & Qt::AlignRight);
  EXPECT_EQ(labelOf(pane, "Install Folder: C:\\Tool"), nullptr) << "the folder shows in its box only";

  // Change leaves the page with its button; the Finish button stands where Next would.
  for (QPushButton* button : pane.findChildren<QPushButton*>()) {
    if (button->text() == "&Finish") {
      EXPECT_EQ(button->geometry(), du_.rect(162, 179, 50, 14));
    }
    if (button->text() == "&Change") button->click();
  }
  EXPECT_EQ(pane.result().action, PageResult::Action::PageButton);
  EXPECT_EQ(pane.result().pageButton, 0);
}

// A page that lacks what its layout needs falls back to the stacked layout: its text, then
// every field.
TEST_F(PagePaneTest, APageUnlikeItsLayoutStillShowsEveryField) {
  Page sharing = page(PageLayout::Sharing, {field(Field::Kind::Text, "Name", "Name")});
  sharing.text = "Share?\nOnly one line of the two";
  PagePane pane(sharing);
  EXPECT_EQ(pane.findChildren<QLineEdit*>().size(), 1);
  EXPECT_NE(labelOf(pane, "Share?\nOnly one line of the two"), nullptr);
  EXPECT_NE(labelOf(pane, "Name"), nullptr);
}

TEST(OwnIcons, AreDrawnWithTransparentCorners) {
  offscreenApplication();
  for (int id : {paint::icon_id::Setup, paint::icon_id::RemovalQuestion}) {
    QImage icon = ownIcon(id).toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32)) << id;
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << id;
    EXPECT_EQ(qAlpha(icon.pixel(16, 20)), 255) << id;
  }
  EXPECT_TRUE(ownIcon(131).isNull());
}

}  // namespace
}  // namespace vandrel::ui::qt
