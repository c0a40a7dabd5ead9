// The frame every builder dialog shares on Windows: a property sheet (its pages as child
// dialogs from their own templates inside a tab control, OK and Cancel, no Apply) or a box of
// one template with its own buttons, whose controls are bound by name to the fields of the
// interaction port, so that an answers file can fill them and press the buttons as a person
// would.
//
// The controls exist only while the window is up, so a dialog is described before run():
// its pages (templates), its bound fields (by page and control id) and its handlers; onInit
// fills the controls from the model once they exist, onOk reads them back.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builder/pages/page_common.h"
#include "builder/win32/builder_dialogs.h"
#include "ui/interaction.h"

namespace vandrel::builder::win32 {

// A control of a dialog: the index of the page it stands on (0 in a box) and its id in the
// page's template.
struct Control {
  int page = 0;
  int id = 0;
};

// A swatch painted with a colour (0x00BBGGRR, as the script stores it) over a static control
// of the template (SS_NOTIFY); a double-click inside it asks for a new one through the
// context's colour chooser. Made by SheetDialog::swatch; its colour may be set before run().
class ColourSwatch {
 public:
  std::uint32_t colour() const { return colour_; }
  // Sets and repaints.
  void setColour(std::uint32_t colour);
  // After a colour was chosen (by a double-click or an answer).
  std::function<void(std::uint32_t)> changed;

 private:
  friend class SheetDialog;
  Control where_;
  HWND window_ = nullptr;  // the control while the dialog is up
  std::uint32_t colour_ = 0;
};

// Controls bound to named fields: what the autopilot is asked about, and how its answer is
// put into the controls. The controls are found through the sheet when the fields are read or
// driven; they are read as they stand.
class FieldBinding {
 public:
  explicit FieldBinding(std::function<HWND(Control)> find) : find_(std::move(find)) {}

  // An edit box, or an editable drop-down (CBS_DROPDOWN): the typed text; a typed text that
  // names a list item chooses that item.
  void text(const std::string& name, const std::string& label, Control edit);
  void colour(const std::string& name, const std::string& label, ColourSwatch* swatch);
  // A number box (an edit with an up-down control as its buddy, whose range clamps the
  // answer): its value as text.
  void number(const std::string& name, const std::string& label, Control edit);
  void check(const std::string& name, const std::string& label, Control box);
  // What a chooser button picks (a Windows path), shown as current(): an answer naming another
  // path stands for pressing the button and choosing that path.
  void chosen(const std::string& name, const std::string& label,
              std::function<std::string()> current, std::function<void(const std::string&)> choose);
  // Radio buttons of one group; their texts are the choices.
  void radios(const std::string& name, const std::string& label, std::vector<Control> buttons);
  // A list's rows as choices; -1 for no selection. The list is a drop-down list (combo box),
  // a list box or a list view (its first column), told by its window class.
  // none: the name of "no selection", shown to the answers as the first choice (then choice
  // k is the list's row k-1), as the console's forms show it.
  void choice(const std::string& name, const std::string& label, Control list,
              const std::string& none = {});

  std::vector<ui::Field> fields() const;
  // Puts the fields the answer changed from those asked into their controls, in binding order;
  // each control tells its dialog of the change (EN_CHANGE, BN_CLICKED, CBN_SELCHANGE,
  // LVN_ITEMCHANGED) as if a person had made it.
  void drive(const std::vector<ui::Field>& answer, const std::vector<ui::Field>& asked) const;

 private:
  struct Bound {
    std::function<ui::Field()> read;
    std::function<void(const ui::Field&)> write;
  };
  std::function<HWND(Control)> find_;
  std::vector<Bound> bound_;
};

class SheetDialog {
 public:
  // How the window is framed: a property sheet (its pages as tabs above OK and Cancel), or a
  // box of one template without tabs, with its own buttons.
  enum class Frame { Sheet, Box };

  // id: the page id the answers name (Cancel=<id>); shot: the picture's name (as the Qt
  // builder's: "settings", "preferences", "about", ...).
  SheetDialog(const DialogContext& context, const std::string& caption, std::string id,
              std::string shot, Frame frame = Frame::Sheet);
  ~SheetDialog();
  SheetDialog(const SheetDialog&) = delete;
  SheetDialog& operator=(const SheetDialog&) = delete;

  // Sheet: a page (tab) titled title from a child template (style DS_CONTROL | WS_CHILD,
  // EXSTYLE WS_EX_CONTROLPARENT); its index. Box: the one template, a popup dialog with its
  // own buttons (page 0); title is unused.
  int addPage(int templateId, const std::string& title = {});
  // The page shown first (before run()) or now.
  void showPage(int index);
  int currentPage() const { return current_; }
  int pageCount() const { return int(pages_.size()); }
  // A page's window (the box itself for a box) while the dialog is up; null otherwise.
  HWND page(int index) const;
  HWND control(Control c) const;
  // The window while it is up.
  HWND handle() const { return window_; }

  // A box's buttons that stand for OK and Cancel (ids in its template) when answers drive it;
  // without a Cancel button (0), Cancel closes the window as Escape does. A sheet's are its
  // frame's IDOK and IDCANCEL.
  void setButtons(int okId, int cancelId);
  // The picture of a sheet of several pages is named after the page it shows as well
  // (settings-general).
  bool pageInShotName = true;
  FieldBinding& bind() { return binding_; }
  const DialogContext& context() const { return context_; }
  // A colour swatch over a static control; the sheet keeps it.
  ColourSwatch* swatch(Control where);

  // Once the pages' controls exist, before the window is shown: fill them from the model.
  std::function<void()> onInit;
  // OK: false keeps the sheet open (a refused check, already shown).
  std::function<bool()> onOk;
  std::function<void()> onCancel;
  // Driving: after the answer's fields are in the controls and before OK is pressed
  // (the page buttons an answer stands for, such as "&Add").
  std::function<void(const ui::PageResult&)> afterFill;
  // A command from a control of a page other than OK and Cancel (a button pressed, a list's
  // selection changed, an edit changed): true when handled.
  std::function<bool(Control control, int code)> onCommand;
  // A notification from a control of a page (list views, up-downs): true when handled, the
  // result in *result.
  std::function<bool(int page, const NMHDR& header, LRESULT* result)> onNotify;
  // The text the answers' page carries besides its fields (the transcript's "text").
  std::string text;

  // Shows the sheet modally over the context's parent; true when it closed with OK.
  bool run();

  // A refused check as the author sees it: a beep or an information message, through the
  // context's interaction (a plain beep without one).
  void refuse(const pages::Check& check);

  // What OK and Cancel do: OK asks onOk and closes unless it refused; Cancel tells onCancel
  // and closes.
  void accept();
  void reject();

  // Puts the focus on the first control of the page shown (of the box) that takes it by Tab,
  // leaving out read-only edits, as the sheet does when it opens and when a page is turned
  // (by its tab, or by Ctrl+Tab and Ctrl+Shift+Tab).
  void focusFirstField();
  // Gives the sheet the size its largest page needs and its edits their whole-value tooltips
  // (showsWholeValue); done when the window opens.
  void fitToTexts();

 private:
  class Window;
  friend class Window;
  std::string shotName() const;
  // The sheets up now, the one shown last at the back.
  static std::vector<SheetDialog*>& openSheets();
  static LRESULT CALLBACK turnPagesByKeys(int code, WPARAM wParam, LPARAM lParam);
  ui::Page describe() const;
  void drive();

  DialogContext context_;
  std::string caption_, id_, shot_;
  Frame frame_;
  struct PageTemplate {
    int templateId;
    std::string title;
    HWND window = nullptr;
  };
  std::vector<PageTemplate> pages_;
  std::vector<std::unique_ptr<ColourSwatch>> swatches_;
  int current_ = 0;
  int okId_ = IDOK, cancelId_ = IDCANCEL;
  HWND window_ = nullptr;
  FieldBinding binding_;
  std::unique_ptr<Window> dialog_;
};

// ---- control helpers over a control's window ----

// The control's window class is that one, case ignored ("Edit", "ComboBox", "ListBox", ...).
bool isClass(HWND control, const char* name);
std::string windowText(HWND control);
// Tells the control's dialog of a change, as the control would after a person's change.
void notifyParent(HWND control, int code);
// The up-down control whose buddy the edit is; null when there is none.
HWND upDownOf(HWND edit);
// A list's rows (a drop-down list, a list box, or a list view's first column) and the
// selected one (-1: none).
struct ListRows {
  std::vector<std::string> items;
  int selected = -1;
};
ListRows readList(HWND list);
// Selects a row (-1: none) and tells the dialog, as a person's choice would.
void selectRow(HWND list, int row);
// Answers a whole-value tooltip's question (see showsWholeValue); false when the
// notification is not one.
bool answerWholeValueTip(const NMHDR& header);

// ---- control helpers over a page's window and a control id ----

bool isChecked(HWND page, int id);
void setChecked(HWND page, int id, bool checked);
// The radio button at index among ids set (the others cleared); the index of the set one, 0
// when none is.
void setRadio(HWND page, const std::vector<int>& ids, int index);
int selectedRadio(HWND page, const std::vector<int>& ids);
// A combo box's or list box's items, replaced; the selection (-1 for none).
void fillList(HWND page, int id, const std::vector<std::string>& items, int selected = -1);
int listSelection(HWND page, int id);
void setListSelection(HWND page, int id, int row);
// A list view in report view with the titled columns, at least the given widths in dialog
// units; each column grows to its widest text as rows are added by addRow.
void columnList(HWND page, int id, const std::vector<std::string>& titles,
                const std::vector<int>& widths);
void addRow(HWND page, int id, const std::vector<std::string>& cells, int image = -1);
void clearRows(HWND page, int id);
// A number box: the edit's value, the up-down's range.
void setNumberRange(HWND page, int upDownId, int minimum, int maximum);
void enableControl(HWND page, int id, bool enabled);
// A value the edit cannot show whole is given whole by its tooltip, kept up to date as the
// value changes.
void showsWholeValue(HWND page, int id);

// The file chooser of a context: a Windows path, or nothing on Cancel.
std::optional<std::string> chooseFile(const DialogContext& context, const FileRequest& request);
std::optional<std::uint32_t> chooseColour(const DialogContext& context, std::uint32_t initial);

}  // namespace vandrel::builder::win32
