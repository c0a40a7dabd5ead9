// The wizard's one frame on the offscreen platform: the pages change inside the same window,
// which keeps the place the user moved it to, through a refused page and a cancel answered
// No, with the question standing over it; the frame goes when the copy's window comes.
#include "ui/qt/wizard_frame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "ui/qt/page_pane.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/testing/offscreen_application.h"

namespace vandrel::ui::qt {
namespace {

Page wizardPage(const char* id, PageLayout layout) {
  Page page;
  page.id = id;
  page.layout = layout;
  page.caption = "Tool Setup";
  page.heading = "Tool";
  page.back = std::string(id) != "first";
  return page;
}

Page registration(const std::string& name) {
  Page page = wizardPage("registration", PageLayout::Registration);
  for (const char* label : {"&User Name:", "&Organization:", "&Serial number:"}) {
    Field field;
    field.label = label;
    page.fields.push_back(field);
  }
  page.fields[0].name = "UserName";
  page.fields[0].value = name;
  return page;
}

Page destination() {
  Page page = wizardPage("destination", PageLayout::Destination);
  Field folder;
  folder.label = "Install Folder";
  folder.value = "C:\\Tool";
  Field backup;
  backup.kind = Field::Kind::Check;
  backup.label = "B&ackup replaced files";
  page.fields = {folder, backup};
  page.paragraphs = {"Almost ready.", "Press Finish.", "Press Change."};
  page.rows = {{"Disk space required:", "1 Mo"}, {"Disk space available:", "9 Mo"}};
  page.actions = {"&Change"};
  page.next.clear();
  page.finish = "&Finish";
  return page;
}

// Runs look with the window the user answers (the top modal one) once it is up.
void whenUp(std::function<void(QWidget*)> look) {
  QTimer::singleShot(0, [look] { look(QApplication::activeModalWidget()); });
}

void press(QWidget* window, const QString& label) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == label && button->isVisible()) return button->click();
  }
  ADD_FAILURE() << "no button " << label.toStdString();
}

class WizardFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { offscreenApplication(); }
};

TEST_F(WizardFrameTest, OneFrameFromTheFirstPageToFinishThroughARefusedPageAndCancelNo) {
  QtInteraction gui(Program::Setup, nullptr);
  EXPECT_EQ(gui.wizardWindow(), nullptr) << "no frame before the first page";
  QWidget* frame = nullptr;
  QPoint moved;

  whenUp([&](QWidget* shown) {
    frame = shown;
    EXPECT_NE(frame, nullptr);
    if (!frame) return;
    moved = frame->pos() + QPoint(40, 30);
    frame->move(moved);
    press(shown, "&Next >");
  });
  EXPECT_EQ(gui.page(wizardPage("first", PageLayout::First)).action, PageResult::Action::Next);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(gui.wizardWindow(), frame);
  EXPECT_TRUE(frame->isVisible()) << "the frame stays up between pages";

  // An empty user name: the driver beeps and shows the page again, in the same frame.
  whenUp([&](QWidget* shown) {
    EXPECT_EQ(shown, frame);
    EXPECT_EQ(shown->pos(), moved) << "the frame keeps the place the user gave it";
    press(shown, "&Next >");
  });
  EXPECT_EQ(gui.page(registration("")).action, PageResult::Action::Next);
  gui.beep();
  whenUp([&](QWidget* shown) {
    EXPECT_EQ(shown, frame);
    press(shown, "Cancel");
  });
  EXPECT_EQ(gui.page(registration("")).action, PageResult::Action::Cancel);

  // The cancel question stands over the frame, which stays shown behind it.
  whenUp([&](QWidget* shown) {
    auto* box = qobject_cast<QMessageBox*>(shown);
    EXPECT_NE(box, nullptr);
    if (!box) {
      shown->close();
      return;
    }
    EXPECT_EQ(box->parentWidget(), frame);
    EXPECT_TRUE(frame->isVisible());
    press(box, "&No");
  });
  EXPECT_EQ(gui.message(Message{"Tool Setup", "Quit the setup?", Buttons::YesNo, Icon::Question}), Answer::No);

  whenUp([&](QWidget* shown) {
    EXPECT_EQ(shown, frame);
    EXPECT_EQ(shown->pos(), moved);
    QLineEdit* name = shown->findChild<QLineEdit*>();
    EXPECT_NE(name, nullptr);
    if (!name) {
      shown->close();
      return;
    }
    EXPECT_EQ(shown->focusWidget(), name) << "the keyboard starts on the page's first field";
    name->setText("Bob");
    press(shown, "&Next >");
  });
  PageResult named = gui.page(registration(""));
  EXPECT_EQ(named.fields[0].value, "Bob");

  whenUp([&](QWidget* shown) {
    EXPECT_EQ(shown, frame);
    press(shown, "&Finish");
  });
  EXPECT_EQ(gui.page(destination()).action, PageResult::Action::Finish);
  EXPECT_EQ(gui.wizardWindow(), frame);

  // The copy's window takes over: the frame goes.
  gui.progress(Progress{"File copy in progress...", {"Copying a.exe", "", ""}, 0, {}, {}, true});
  EXPECT_EQ(gui.wizardWindow(), nullptr);
  gui.endProgress();
}

// Escape and the close box cancel the page without closing the frame: the driver's question
// comes next, over it.
TEST_F(WizardFrameTest, TheCloseBoxCancelsThePageAndKeepsTheFrame) {
  WizardFrame frame;
  whenUp([](QWidget* shown) { shown->close(); });
  EXPECT_EQ(frame.run(registration("Ann"), nullptr).action, PageResult::Action::Cancel);
  EXPECT_TRUE(frame.isVisible());
  QSize size = frame.size();
  whenUp([](QWidget* shown) { press(shown, "&Next >"); });
  EXPECT_EQ(frame.run(wizardPage("notice", PageLayout::Notice), nullptr).action, PageResult::Action::Next);
  EXPECT_EQ(frame.size(), size) << "every page has the frame's size";
}

// The default button is the page's forward one: Enter on the first field goes to the next page.
TEST_F(WizardFrameTest, EnterOnTheFirstFieldPressesNext) {
  WizardFrame frame;
  whenUp([](QWidget* shown) {
    QWidget* focused = shown->focusWidget();
    EXPECT_NE(qobject_cast<QLineEdit*>(focused), nullptr) << "the keyboard starts on User Name";
    if (!focused) {  // not left waiting
      shown->close();
      return;
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(focused, &enter);
  });
  EXPECT_EQ(frame.run(registration("Ann"), nullptr).action, PageResult::Action::Next);
}

}  // namespace
}  // namespace vandrel::ui::qt
