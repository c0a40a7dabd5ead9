// A wizard page as the wizard's frame shows it: the page (262 x 161 units) with its picture,
// texts and fields at their places, under it Back, Next or Finish, and Cancel. The pane fills
// the frame's client area; the frame (wizard_frame.h) swaps one pane for the next.
//
// The setup's seven pages are laid out control by control, in dialog units, from the page's
// texts part by part. Any other page (the builder's) has its text stacked to the right of the
// picture, its fields under it.
#pragma once

#include <QWidget>

#include <functional>

#include <string>
#include <vector>

#include "ui/interaction.h"
#include "ui/qt/dialog_kit.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QVBoxLayout;

namespace vandrel::ui::qt {

// The wizard's size in units: the page at (7, 7), an etched line under it, the buttons below.
constexpr int kWizardWidth = 276;
constexpr int kWizardHeight = 200;

class PagePane : public QWidget {
 public:
  explicit PagePane(const Page& page, QWidget* parent = nullptr);

  // Called once, when a button (or cancel()) leaves the page.
  void setOnLeave(std::function<void()> onLeave) { onLeave_ = std::move(onLeave); }
  bool left() const { return left_; }
  // Leaves the page as cancelled, as the frame's close box and Escape do.
  void cancel();
  // The control the keyboard starts on: the page's first field that takes focus, else the
  // default button (Next or Finish).
  QWidget* firstField() const;
  // The action taken, with the fields as the widgets hold them.
  PageResult result() const;
  // Puts the fields as given into the widgets, then presses the button of the action.
  void drive(const PageResult& wanted);

  // The check list's rows (components), for tests: where the box of a row is drawn.
  QRect checkBoxOfRow(int field, int row) const;

 private:
  struct Widgets {
    QLineEdit* edit = nullptr;
    QCheckBox* check = nullptr;
    QListWidget* list = nullptr;
    std::vector<QRadioButton*> radios;
  };

  void layOut(PageLayout layout);
  void layOutFirst();
  void layOutNotice();
  void layOutLicence();
  void layOutRegistration();
  void layOutComponents();
  void layOutSharing();
  void layOutDestination();
  void layOutStacked();
  void addButtons();

  QLabel* text(const std::string& line, int x, int y, int w, int h);
  QLabel* boldText(const std::string& line, int x, int y, int w, int h);
  const std::string& paragraph(std::size_t k) const;
  QLineEdit* makeEdit(int index);
  QListWidget* makeCheckList(int index);
  void makeRadios(int index);
  QPushButton* makePageButton(std::size_t action, QWidget& parent);
  void addFieldTo(QVBoxLayout* column, int index);
  void leave(PageResult::Action action);

  Page page_;  // a copy: the dialog may outlive the model it was made from
  DialogUnits du_;
  QPoint origin_;  // the page's top-left corner in the window, in units
  std::vector<Widgets> widgets_;
  std::vector<QPushButton*> actions_;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPushButton* cancel_ = nullptr;
  PageResult result_;
  bool left_ = false;
  std::function<void()> onLeave_;
};

}  // namespace vandrel::ui::qt
