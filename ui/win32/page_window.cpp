// The wizard pages' windows.
#include "ui/win32/page_window.h"

#include <commctrl.h>

#include "paint/bitmap_resources.h"
#include "paint/win32/gdi_canvas.h"
#include "ui/dialog_text.h"
#include "ui/page_layout.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/win32_interaction.h"

namespace vandrel::ui::win32 {

namespace {

namespace sw = ::vandrel::paint;

// The template of each layout; the registration shares the licence's template.
int templateOf(PageLayout layout) {
  switch (layout) {
    case PageLayout::First: return IDD_PAGE_FIRST;
    case PageLayout::Notice: return IDD_PAGE_NOTICE;
    case PageLayout::Licence:
    case PageLayout::Registration: return IDD_PAGE_LICENCE;
    case PageLayout::Components: return IDD_PAGE_COMPONENTS;
    case PageLayout::Sharing: return IDD_PAGE_SHARING;
    case PageLayout::Destination: return IDD_PAGE_DESTINATION;
    case PageLayout::Stacked: return IDD_PAGE_OTHER;
  }
  return IDD_PAGE_OTHER;
}

// The page itself: a child dialog of the frame, made from the page's template.
class PagePane : public DialogWindow {
 public:
  PagePane(const Page& page, PageLayout layout) : page_(page), layout_(layout), template_(templateOf(layout)) {}
  ~PagePane() override {
    destroy();  // the controls let go of the picture and the font before they are deleted
    if (picture_) DeleteObject(picture_);
    if (bold_) DeleteObject(bold_);
  }
  int templateId() const { return template_; }

  bool open(HWND frame, HWND pageButtonTarget) {
    target_ = pageButtonTarget;
    if (!createModeless(template_, frame)) return false;
    RECT place{7, 7, 0, 0};
    MapDialogRect(frame, &place);
    SetWindowPos(window_, HWND_TOP, place.left, place.top, 0, 0, SWP_NOSIZE);
    return true;
  }

  // The fields as the controls hold them.
  std::vector<Field> fields() const {
    std::vector<Field> fields = page_.fields;
    switch (template_) {
      case IDD_PAGE_LICENCE:
        if (fields.size() == 3) {
          fields[0].value = controlText(window_, IDC_USER_EDIT);
          fields[1].value = controlText(window_, IDC_COMPANY_EDIT);
          fields[2].value = controlText(window_, IDC_SERIAL_EDIT);
        }
        break;
      case IDD_PAGE_COMPONENTS: {
        HWND list = GetDlgItem(window_, IDC_COMPONENTS_LIST);
        fields[0].itemChecked.assign(fields[0].items.size(), false);
        for (std::size_t row = 0; row < fields[0].items.size(); ++row) {
          fields[0].itemChecked[row] = ListView_GetCheckState(list, static_cast<int>(row)) != 0;
        }
        break;
      }
      case IDD_PAGE_SHARING:
        fields[0].selected = IsDlgButtonChecked(window_, IDC_DONT_SHARE) == BST_CHECKED ? 1 : 0;
        break;
      case IDD_PAGE_DESTINATION:
        fields[0].value = controlText(window_, IDC_FOLDER_LINE);
        fields[1].checked = IsDlgButtonChecked(window_, IDC_BACKUP) == BST_CHECKED;
        break;
      default:
        break;
    }
    return fields;
  }

  // Puts the fields as given into the controls (an answers file's values).
  void setFields(const std::vector<Field>& fields) {
    if (fields.size() != page_.fields.size()) return;
    switch (template_) {
      case IDD_PAGE_LICENCE:
        if (fields.size() == 3) {
          SetDlgItemTextA(window_, IDC_USER_EDIT, fields[0].value.c_str());
          SetDlgItemTextA(window_, IDC_COMPANY_EDIT, fields[1].value.c_str());
          SetDlgItemTextA(window_, IDC_SERIAL_EDIT, fields[2].value.c_str());
        }
        break;
      case IDD_PAGE_COMPONENTS: {
        HWND list = GetDlgItem(window_, IDC_COMPONENTS_LIST);
        for (std::size_t row = 0; row < fields[0].items.size(); ++row) {
          bool on = row < fields[0].itemChecked.size() && fields[0].itemChecked[row];
          ListView_SetCheckState(list, static_cast<int>(row), on);
        }
        break;
      }
      case IDD_PAGE_SHARING:
        CheckRadioButton(window_, IDC_SHARE, IDC_DONT_SHARE, fields[0].selected == 1 ? IDC_DONT_SHARE : IDC_SHARE);
        tabToCheckedRadio();
        break;
      case IDD_PAGE_DESTINATION:
        // The folder line shows the folder the page leaves with (an answer's, or the picker's).
        SetDlgItemTextA(window_, IDC_FOLDER_LINE, fields[0].value.c_str());
        CheckDlgButton(window_, IDC_BACKUP, fields[1].checked ? BST_CHECKED : BST_UNCHECKED);
        break;
      default:
        break;
    }
  }

 protected:
  void onInit() override {
    std::span<const std::uint8_t> bytes = sw::bitmapResource(pagePicture(page_));
    sw::DibImage image;
    if (!bytes.empty() && image.read(bytes.data(), bytes.size()) == 0) {
      picture_ = sw::makeBitmap(image);
      SendDlgItemMessageA(window_, IDC_PAGE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    }
    switch (layout_) {
      case PageLayout::First: return fillFirst();
      case PageLayout::Notice: return fillNotice();
      case PageLayout::Licence: return fillLicence();
      case PageLayout::Registration: return fillRegistration();
      case PageLayout::Components: return fillComponents();
      case PageLayout::Sharing: return fillSharing();
      case PageLayout::Destination: return fillDestination();
      case PageLayout::Stacked:
        SetDlgItemTextA(window_, IDC_OTHER_TEXT, withCarriageReturns(pageText(page_, page_.fields)).c_str());
    }
  }

  // The page's own buttons (Change) are the frame's to answer.
  bool onCommand(int id, int code) override {
    if (template_ == IDD_PAGE_DESTINATION && id == IDC_CHANGE && code == BN_CLICKED) {
      SendMessageA(target_, WM_COMMAND, MAKEWPARAM(IDC_CHANGE, BN_CLICKED), 0);
      return true;
    }
    if (template_ == IDD_PAGE_SHARING && (id == IDC_SHARE || id == IDC_DONT_SHARE) && code == BN_CLICKED) {
      tabToCheckedRadio();
      return true;
    }
    return false;
  }

 private:
  void text(int id, const std::string& line) { SetDlgItemTextA(window_, id, line.c_str()); }

  // Tab reaches the sharing choice on its checked button, as a group of radio buttons has it.
  void tabToCheckedRadio() {
    for (int id : {IDC_SHARE, IDC_DONT_SHARE}) {
      HWND radio = GetDlgItem(window_, id);
      LONG_PTR style = GetWindowLongPtrA(radio, GWL_STYLE);
      bool checked = IsDlgButtonChecked(window_, id) == BST_CHECKED;
      SetWindowLongPtrA(radio, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
  }

  // A bold face of the dialog's font for the welcome line.
  void embolden(int id) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (!font || !GetObjectA(font, sizeof face, &face)) return;
    face.lfWeight = FW_BOLD;
    if (!bold_) bold_ = CreateFontIndirectA(&face);
    SendDlgItemMessageA(window_, id, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
  }

  // A paragraph of the page, or nothing where the page has fewer.
  std::string paragraph(std::size_t k) const { return k < page_.paragraphs.size() ? page_.paragraphs[k] : ""; }

  // A bold welcome, three lines about the wizard and the hint to press Next at the foot.
  void fillFirst() {
    text(IDC_FIRST_WELCOME, page_.heading);
    embolden(IDC_FIRST_WELCOME);
    text(IDC_FIRST_TEXT1, paragraph(0));
    text(IDC_FIRST_TEXT2, paragraph(1));
    // The third box holds every line from the third on.
    std::string rest = paragraph(2);
    for (std::size_t k = 3; k < page_.paragraphs.size(); ++k) rest += "\n" + page_.paragraphs[k];
    text(IDC_FIRST_TEXT3, rest);
    text(IDC_FIRST_NEXT, page_.footer);
  }

  void fillNotice() {
    text(IDC_NOTICE_WELCOME, page_.heading);  // "Welcome to " and the name
    embolden(IDC_NOTICE_WELCOME);
    text(IDC_NOTICE_NEXT, page_.footer);
    text(IDC_NOTICE_ADVICE, paragraph(0));  // the advice, two sentences on two lines
    text(IDC_NOTICE_TEXT, paragraph(1));    // the notice the script chose
  }

  // The licence mode: the registration's controls hidden, the text in its box.
  void fillLicence() {
    for (int id : {IDC_USER_LABEL, IDC_USER_EDIT, IDC_COMPANY_LABEL, IDC_COMPANY_EDIT, IDC_SERIAL_LABEL,
                   IDC_SERIAL_EDIT, IDC_REGISTRATION_NEXT}) {
      ShowWindow(GetDlgItem(window_, id), SW_HIDE);
    }
    text(IDC_LICENCE_TOP, page_.heading);
    text(IDC_LICENCE_BOX, withCarriageReturns(page_.longText));
    ShowWindow(GetDlgItem(window_, IDC_LICENCE_BOX), SW_SHOW);
  }

  void fillRegistration() {
    text(IDC_LICENCE_TOP, page_.heading);
    text(IDC_REGISTRATION_NEXT, page_.footer);
    const int labels[] = {IDC_USER_LABEL, IDC_COMPANY_LABEL, IDC_SERIAL_LABEL};
    for (std::size_t i = 0; i < 3; ++i) text(labels[i], page_.fields[i].label);
    setFields(page_.fields);
  }

  void fillComponents() {
    text(IDC_COMPONENTS_TEXT, page_.heading);
    text(IDC_COMPONENTS_HINT, page_.footer);
    HWND list = GetDlgItem(window_, IDC_COMPONENTS_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    // The check box stands on the right of each description, as the page's text says: the
    // item's own column (its box) is shown after the description's column.
    RECT inside{};
    GetClientRect(list, &inside);
    const int boxWidth = GetSystemMetrics(SM_CXSMICON) + 8;
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = boxWidth;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = inside.right - GetSystemMetrics(SM_CXVSCROLL) - boxWidth;
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    int order[] = {1, 0};
    ListView_SetColumnOrderArray(list, 2, order);
    const Field& field = page_.fields[0];
    for (std::size_t row = 0; row < field.items.size(); ++row) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.pszText = const_cast<char*>("");
      SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      item.iSubItem = 1;
      item.pszText = const_cast<char*>(field.items[row].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
    setFields(page_.fields);
  }

  void fillSharing() {
    const Field& field = page_.fields[0];
    text(IDC_SHARING_TEXT, page_.heading);
    text(IDC_SHARE, field.items[0]);
    text(IDC_DONT_SHARE, field.items[1]);
    text(IDC_SHARING_NOTE, page_.footer);
    setFields(page_.fields);
  }

  void fillDestination() {
    text(IDC_DESTINATION_TEXT1, paragraph(0));
    text(IDC_DESTINATION_TEXT2, paragraph(1));
    text(IDC_DESTINATION_TEXT3, paragraph(2));
    text(IDC_FOLDER_BOX, page_.fields[0].label);
    text(IDC_CHANGE, page_.actions[0]);
    text(IDC_BACKUP, page_.fields[1].label);
    text(IDC_REQUIRED_LABEL, page_.rows[0].label);
    text(IDC_REQUIRED, page_.rows[0].value);
    text(IDC_AVAILABLE_LABEL, page_.rows[1].label);
    text(IDC_AVAILABLE, page_.rows[1].value);
    setFields(page_.fields);
  }

  const Page& page_;
  PageLayout layout_;
  int template_;
  HWND target_ = nullptr;
  HBITMAP picture_ = nullptr;
  HFONT bold_ = nullptr;
};

// The control the keyboard starts on: the page's first field that takes the Tab key (an
// edit, list, check box or radio button; the page's own push buttons such as Change are
// skipped so that Enter stays the wizard's), else none.
HWND firstField(HWND pane) {
  for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (!(style & WS_TABSTOP) || !(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
    char kind[16] = {};
    GetClassNameA(child, kind, sizeof kind);
    LONG_PTR type = style & BS_TYPEMASK;
    if (lstrcmpiA(kind, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) continue;
    return child;
  }
  return nullptr;
}

}  // namespace

// The wizard's frame; the page shown is a pane inside it, replaced by the next page's.
class FrameWindow : public DialogWindow {
 public:
  explicit FrameWindow(Win32Interaction& backend) : backend_(backend) {}

  // Puts the page into the frame: its pane made, the buttons relabelled, the keyboard on the
  // first field and Next (or Finish) the default button.
  void showPage(const Page& page) {
    page_ = page;
    left_ = false;
    result_ = PageResult();
    auto pane = std::make_unique<PagePane>(page_, pageLayout(page_));
    pane->open(window_, window_);
    pane_ = std::move(pane);  // the page left is destroyed once the new one stands over it
    SetWindowTextA(window_, page_.caption.c_str());
    SetDlgItemTextA(window_, IDC_WIZARD_BACK, "< &Back");
    EnableWindow(GetDlgItem(window_, IDC_WIZARD_BACK), page_.back);
    finishes_ = page_.next.empty() && !page_.finish.empty();
    HWND forward = GetDlgItem(window_, IDC_WIZARD_FORWARD);
    if (!page_.next.empty() || finishes_) {
      SetWindowTextA(forward, (finishes_ ? page_.finish : page_.next).c_str());
      ShowWindow(forward, SW_SHOW);
    } else {
      ShowWindow(forward, SW_HIDE);
    }
    SetDlgItemTextA(window_, IDCANCEL, page_.cancel.c_str());
  }

  // Once the frame is shown: the focus on the page's first field (Next, else Cancel, on a
  // page without one), Next the default button whatever has the focus.
  void focusFirstField() {
    HWND first = pane_ ? firstField(pane_->handle()) : nullptr;
    HWND forward = GetDlgItem(window_, IDC_WIZARD_FORWARD);
    if (!first) first = IsWindowVisible(forward) ? forward : GetDlgItem(window_, IDCANCEL);
    SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    // A read-only text (the licence) opens at its top, not selected whole.
    char kind[16] = {};
    GetClassNameA(first, kind, sizeof kind);
    if (lstrcmpiA(kind, "Edit") == 0 && (GetWindowLongPtrA(first, GWL_STYLE) & ES_READONLY)) {
      SendMessageA(first, EM_SETSEL, 0, 0);
    }
    SendMessageA(window_, DM_SETDEFID, IsWindowVisible(forward) ? IDC_WIZARD_FORWARD : IDCANCEL, 0);
  }

  // Tells the backend, once the messages before it have gone through, that the page is up.
  void announce() { PostMessageA(window_, kPageUp, 0, 0); }

  bool left() const { return left_; }
  PageResult result() const { return result_; }

  // Leaves the page as cancelled (the message loop ended).
  void abandon() {
    if (!left_) leave(PageResult::Action::Cancel);
  }

 protected:
  bool onCommand(int id, int code) override {
    if (code != BN_CLICKED) return false;
    switch (id) {
      case IDC_WIZARD_BACK:
        if (IsWindowEnabled(GetDlgItem(window_, IDC_WIZARD_BACK))) leave(PageResult::Action::Back);
        return true;
      case IDC_WIZARD_FORWARD:
      case IDOK:  // Enter
        if (GetWindowLongPtrA(GetDlgItem(window_, IDC_WIZARD_FORWARD), GWL_STYLE) & WS_VISIBLE) {
          leave(finishes_ ? PageResult::Action::Finish : PageResult::Action::Next);
        }
        return true;
      case IDCANCEL:  // also Escape and the close box
        leave(PageResult::Action::Cancel);
        return true;
      case IDC_CHANGE:
        result_.pageButton = 0;
        leave(PageResult::Action::PageButton);
        return true;
      default:
        return false;
    }
  }

  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    (void)wParam;
    (void)lParam;
    handled = message == kPageUp;
    if (handled && !left_) {
      backend_.windowShown(window_, "page-" + page_.id, [this] { drive(backend_.autopilot()->page(page_)); });
    }
    return 0;
  }

 private:
  // Posted when a page is put up: handled once the frame's pending messages have gone through.
  static constexpr UINT kPageUp = WM_APP + 2;

  void leave(PageResult::Action action) {
    if (left_) return;
    left_ = true;
    result_.action = action;
    result_.fields = pane_ ? pane_->fields() : page_.fields;
  }

  void drive(const PageResult& wanted) {
    if (!pane_) return;
    pane_->setFields(wanted.fields);
    switch (wanted.action) {
      case PageResult::Action::Back: return pressButton(window_, IDC_WIZARD_BACK);
      case PageResult::Action::Next:
      case PageResult::Action::Finish: return pressButton(window_, IDC_WIZARD_FORWARD);
      case PageResult::Action::Cancel: return pressButton(window_, IDCANCEL);
      case PageResult::Action::PageButton:
        if (wanted.pageButton == 0 && pane_->templateId() == IDD_PAGE_DESTINATION) {
          pressButton(pane_->handle(), IDC_CHANGE);
        }
        return;
    }
  }

  Win32Interaction& backend_;
  Page page_;  // a copy: the pane reads it while it stands, after the driver's model is gone
  std::unique_ptr<PagePane> pane_;
  PageResult result_;
  bool finishes_ = false;
  bool left_ = false;
};

WizardFrame::WizardFrame(Win32Interaction& backend) : backend_(backend) {}

WizardFrame::~WizardFrame() {
  // The owner first, so that the activation goes back to it when the frame goes.
  if (owner_ && frame_) EnableWindow(owner_, TRUE);
  frame_.reset();
}

HWND WizardFrame::handle() const { return frame_ ? frame_->handle() : nullptr; }

PageResult WizardFrame::run(const Page& page, HWND owner) {
  bool opening = !handle();
  if (opening) {
    frame_ = std::make_unique<FrameWindow>(backend_);
    if (!frame_->createModeless(IDD_WIZARD_FRAME, owner)) {
      // The window could not be made: the page is left as cancelled, never taken as answered.
      frame_.reset();
      PageResult cancelled;
      cancelled.action = PageResult::Action::Cancel;
      cancelled.fields = page.fields;
      return cancelled;
    }
    owner_ = owner;
  }
  frame_->showPage(page);
  if (opening) {
    // Modal as a dialog box is: the window under it takes no input while the wizard is up.
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(frame_->handle(), SW_SHOW);
    UpdateWindow(frame_->handle());
  }
  frame_->focusFirstField();
  frame_->announce();
  HWND window = frame_->handle();
  MSG msg;
  while (!frame_->left()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop above ours
      frame_->abandon();
      break;
    }
    // The frame's dialog manager takes the keys: Tab through the page's controls and the
    // buttons, Enter for the default button, Escape for Cancel, the mnemonics.
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return frame_->result();
}

}  // namespace vandrel::ui::win32
