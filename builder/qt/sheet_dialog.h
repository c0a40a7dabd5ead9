// The frame every builder dialog shares: a property sheet (its pages as tabs, OK and Cancel,
// no Apply) whose controls are bound by name to the fields of the interaction port, so that
// an answers file can fill them and press the buttons as a person would.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "builder/qt/builder_dialogs.h"
#include "ui/interaction.h"
#include "ui/qt/dialog_kit.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;

namespace vandrel::builder::qt {

// The models' texts are in the Windows code page; Qt wants Unicode.
using ui::qt::toCodePage;
using ui::qt::fromCodePage;

// A swatch painted with a colour (0x00BBGGRR, as the script stores it); a double-click
// inside it asks for a new one.
class ColourSwatch : public QWidget {
 public:
  ColourSwatch(QWidget* parent, std::function<std::optional<std::uint32_t>(std::uint32_t)> choose);
  std::uint32_t colour() const { return colour_; }
  void setColour(std::uint32_t colour);
  std::function<void(std::uint32_t)> changed;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;

 private:
  std::function<std::optional<std::uint32_t>(std::uint32_t)> choose_;
  std::uint32_t colour_ = 0;
};

// Controls bound to named fields: what the autopilot is asked about, and how its answer is
// put into the controls. Every bound control also carries its name as its object name.
class FieldBinding {
 public:
  void text(const std::string& name, const std::string& label, QLineEdit* edit);
  // An editable drop-down: the typed text.
  void text(const std::string& name, const std::string& label, QComboBox* combo);
  void colour(const std::string& name, const std::string& label, ColourSwatch* swatch);
  // A number box: its value as text.
  void number(const std::string& name, const std::string& label, QSpinBox* spin);
  void check(const std::string& name, const std::string& label, QCheckBox* box);
  // What a chooser button picks (a Windows path), shown as current(): an answer naming another
  // path stands for pressing the button and choosing that path.
  void chosen(const std::string& name, const std::string& label, std::function<std::string()> current,
              std::function<void(const std::string&)> choose);
  void radios(const std::string& name, const std::string& label, std::vector<QAbstractButton*> buttons);
  // A list's rows as choices; -1 for no selection.
  // none: the name of "no selection", shown to the answers as the first choice (then choice
  // k is the list's row k-1), as the console's forms show it.
  void choice(const std::string& name, const std::string& label, QComboBox* combo,
              const std::string& none = {});
  void choice(const std::string& name, const std::string& label, QListWidget* list);
  void choice(const std::string& name, const std::string& label, QTreeWidget* list);

  std::vector<ui::Field> fields() const;
  // Puts the fields the answer changed from those asked into their controls, in binding order.
  void drive(const std::vector<ui::Field>& answer, const std::vector<ui::Field>& asked) const;

 private:
  struct Bound {
    std::function<ui::Field()> read;
    std::function<void(const ui::Field&)> write;
  };
  std::vector<Bound> bound_;
};

class SheetDialog : public QDialog {
 public:
  // How the window is framed: a property sheet (its pages as tabs above OK and Cancel), or a
  // box of one page without tabs, its controls and its own buttons laid out in column().
  enum class Frame { Sheet, Box };

  // id: the page id the answers name (Cancel=<id>); shot: the screenshot's name.
  SheetDialog(const DialogContext& context, const std::string& caption, std::string id, std::string shot,
              Frame frame = Frame::Sheet);

  // A new page (tab) titled title.
  QWidget* addPage(const std::string& title);
  void showPage(int index);
  // The sheet's pages; null for a box.
  QTabWidget* tabs() const { return tabs_; }
  // The window's own column of controls.
  QVBoxLayout* column() const { return column_; }
  // A box's buttons that stand for OK and Cancel when answers drive it; without a Cancel
  // button, Cancel closes the window as Escape does.
  void setButtons(QPushButton* ok, QPushButton* cancel);
  // The screenshot of a sheet of several pages is named after the page it shows as well.
  bool pageInShotName = true;
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  FieldBinding& bind() { return binding_; }
  const DialogContext& context() const { return context_; }

  // OK: false keeps the sheet open (a refused check, already shown).
  std::function<bool()> onOk;
  std::function<void()> onCancel;
  // Driving: after the answer's fields are in the controls and before OK is pressed
  // (the page buttons an answer stands for, such as "&Add").
  std::function<void(const ui::PageResult&)> afterFill;
  // The text the answers' page carries besides its fields (the transcript's "text").
  std::string text;

  // Shows the sheet modally; true when it closed with OK.
  bool run();

  // A refused check as the author sees it: a beep or an information message.
  void refuse(const pages::Check& check);

  void accept() override;
  void reject() override;

  // Puts the focus on the first control of the page shown (of the box) that takes it by Tab,
  // leaving out read-only edits, as the sheet does when it opens and when a page is turned.
  void focusFirstField();
  // Gives the sheet the size its texts need, and its fields their tooltips (showsWholeValue).
  void fitToTexts();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void drive();
  ui::Page describe() const;

  DialogContext context_;
  std::string id_, shot_;
  QVBoxLayout* column_;
  QTabWidget* tabs_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  FieldBinding binding_;
  bool driving_ = false;
};

// A value the field cannot show whole is given whole by its tooltip, kept up to date as the
// value changes; a read-only field is widened to its value, up to 48 average characters.
void showsWholeValue(QLineEdit* edit);
// The field takes at least the width of that many average characters.
void sizeForValues(QLineEdit* edit, int characters);

// A label with its buddy.
QWidget* labelled(QWidget* parent, const std::string& label, QWidget* buddy);
// A row of a grid: the labelled control beside its label.
template <typename Grid, typename Control>
Control* gridRow(Grid* grid, int row, const std::string& label, Control* control) {
  grid->addWidget(labelled(grid->parentWidget(), label, control), row, 0);
  grid->addWidget(control, row, 1);
  return control;
}

// Radio buttons in a frame titled title, the one at selected set, laid out in columns.
struct RadioFrame {
  QGroupBox* box = nullptr;
  std::vector<QAbstractButton*> buttons;
  // The set button's position; 0 when none is set.
  int selected() const;
};
RadioFrame radioFrame(QWidget* parent, const std::string& title, const std::vector<std::string>& items,
                      int selected, int columns = 1);

// A list with the titled columns at the given widths, in pixels.
QTreeWidget* columnList(QWidget* parent, const std::vector<std::string>& titles, const std::vector<int>& widths);

// The string table's filter form ("Name (*.a)|*.a|...||") as Qt's ("Name (*.a);;...").
QString qtFilters(const std::string& filters);

// The file chooser of a context: a Windows path, or nothing on Cancel.
std::optional<std::string> chooseFile(const DialogContext& context, const FileRequest& request);
std::optional<std::uint32_t> chooseColour(const DialogContext& context, std::uint32_t initial);

}  // namespace vandrel::builder::qt
