// A wizard page as a window: the page (262 x 161 units) with its picture, texts and fields
// at their places, under it Back, Next or Finish, and Cancel.
//
// The setup's seven pages are laid out control by control, in dialog units, from the page's
// texts part by part. Any other page (the builder's) has its text stacked to the right of the
// picture, its fields under it.
#pragma once

#include <QDialog>

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

class PageDialog : public QDialog {
 public:
  explicit PageDialog(const Page& page);

  // The page left by the window's close box or Escape is cancelled.
  void reject() override;
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
};

}  // namespace vandrel::ui::qt
