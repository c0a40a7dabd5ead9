// The Win32 windows, run on Windows (under Wine in the tests): each window is opened from its
// model, its controls are checked, its buttons pressed by message, and what it gives back is
// checked. The windows are saved as pictures in VANDREL_SCREENSHOTS when that is set.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "ui/answers.h"
#include "ui/win32/dialog_ids.h"
#include "ui/win32/dialog_window.h"
#include "ui/win32/folder_picker.h"
#include "ui/win32/win32_interaction.h"
#include "ui/win32/window_shots.h"

namespace vandrel::ui::win32 {
namespace {

std::string windowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The page of a wizard frame: its child dialog.
HWND paneOf(HWND frame) { return FindWindowExA(frame, nullptr, "#32770", nullptr); }

bool visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A backend whose windows are watched by the test: look is called with each window; the
// names of the windows shown are kept in order.
struct Watched {
  explicit Watched(Program program = Program::Setup, std::shared_ptr<ScriptedInteraction> answers = nullptr)
      : backend(program, std::move(answers)) {
    if (const char* folder = std::getenv("VANDREL_SCREENSHOTS")) processShots() = WindowShots(folder, program);
    backend.setWatcher([this](HWND window, const std::string& name) {
      shown.push_back(name);
      if (look) look(window, name);
    });
  }
  Win32Interaction backend;
  std::function<void(HWND, const std::string&)> look;
  std::vector<std::string> shown;
};

Page registrationPage() {
  Page page;
  page.id = "registration";
  page.layout = PageLayout::Registration;
  page.caption = "Tool Setup";
  page.heading = "Please register.";
  page.footer = "Click Next.";
  for (const char* name : {"UserName", "Company", "Serial"}) {
    Field field;
    field.name = name;
    page.fields.push_back(field);
  }
  page.fields[0].label = "&User Name:";
  page.fields[1].label = "&Organization:";
  page.fields[2].label = "&Serial number:";
  page.fields[0].value = "Old Name";
  page.back = true;
  return page;
}

// The destination page: the folder line with its Change, the Backup box, the two space rows.
// The components page with two optional parts, both ticked, and the page's hint below them.
Page componentsPage(const std::string& hint, const std::vector<std::string>& items) {
  Page page;
  page.id = "components";
  page.layout = PageLayout::Components;
  page.heading = "Some components...";
  page.footer = hint;
  Field list;
  list.kind = Field::Kind::CheckList;
  list.items = items;
  list.itemKeys = {"0", "4"};
  list.itemChecked = {true, true};
  page.fields.push_back(list);
  return page;
}

Page destinationPage(const std::string& folderValue) {
  Page page;
  page.id = "destination";
  page.layout = PageLayout::Destination;
  page.paragraphs = {"Almost ready.", "Press Finish.", "Press Change."};
  page.rows = {{"Disk space required:", "1.5 Mo"}, {"Disk space available:", "2 Go"}};
  Field folder;
  folder.name = "Folder";
  folder.label = "Install Folder";
  folder.value = folderValue;
  Field backup;
  backup.kind = Field::Kind::Check;
  backup.name = "Backup";
  backup.label = "B&ackup replaced files";
  page.fields = {folder, backup};
  page.actions = {"&Change"};
  page.next = "";
  page.finish = "Finish";
  page.back = true;
  return page;
}

TEST(Win32Messages, AQuestionShowsItsTextAndGivesTheButtonPressed) {
  Watched w;
  Message question{"Tool Setup", "Cancel the installation?", Buttons::YesNo, Icon::Question, 1};
  w.look = [](HWND box, const std::string&) {
    EXPECT_EQ(windowText(box), "Tool Setup");
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
  };
  EXPECT_EQ(w.backend.message(question), Answer::Yes);
  EXPECT_EQ(w.shown, std::vector<std::string>{"question"});

  Message stop{"Dallow v3.0", "Cannot find the script.", Buttons::OK, Icon::Stop};
  stop.detail = "C:\\Tool\\Script.vrx: not found";
  w.look = [](HWND box, const std::string&) { PostMessageA(box, WM_COMMAND, IDOK, 0); };
  EXPECT_EQ(w.backend.message(stop), Answer::OK);
  EXPECT_EQ(w.shown.back(), "message");
}

TEST(Win32Messages, TheSharedFileQuestionHasYesToAll) {
  Watched w(Program::Uninstall);
  Message question{"Dallow v3.0", "Remove the shared file?", Buttons::YesYesToAllNo, Icon::Question};
  w.look = [](HWND dialog, const std::string&) {
    EXPECT_EQ(windowText(dialog), "Dallow v3.0");
    EXPECT_EQ(controlText(dialog, IDC_THREE_TEXT), "Remove the shared file?");
    EXPECT_EQ(controlText(dialog, IDC_YES_TO_ALL), "&Yes to all");
    pressButton(dialog, IDC_YES_TO_ALL);
  };
  EXPECT_EQ(w.backend.message(question), Answer::YesToAll);
  // Escape answers No.
  w.look = [](HWND dialog, const std::string&) { pressButton(dialog, IDCANCEL); };
  EXPECT_EQ(w.backend.message(question), Answer::No);
}

TEST(Win32Messages, AnswersDriveTheWindowsWhenGiven) {
  auto answers = std::make_shared<ScriptedInteraction>(Answers::fromText("[Answers]\n1=No\n2=YesToAll\n"), nullptr,
                                                       "tamsin32");
  Watched w(Program::Setup, answers);
  EXPECT_EQ(w.backend.message({"c", "Sure?", Buttons::YesNo, Icon::Question}), Answer::No);
  EXPECT_EQ(w.backend.message({"c", "All?", Buttons::YesYesToAllNo, Icon::Question}), Answer::YesToAll);
  EXPECT_EQ(w.shown, (std::vector<std::string>{"question", "question"}));
}

TEST(Win32Choice, TheRowSelectedIsTheAnswerAndCancelGivesNone) {
  Watched w;
  Choice choice{"Directory", "Pick one", {"Installation folder", "System folder", "Windows folder"}, 1};
  w.look = [](HWND dialog, const std::string&) {
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CHOICE_LIST, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CHOICE_LIST, LB_GETCURSEL, 0, 0), 1);
    SendDlgItemMessageA(dialog, IDC_CHOICE_LIST, LB_SETCURSEL, 2, 0);
    pressButton(dialog, IDOK);
  };
  EXPECT_EQ(w.backend.choose(choice), 2);
  w.look = [](HWND dialog, const std::string&) { pressButton(dialog, IDCANCEL); };
  EXPECT_EQ(w.backend.choose(choice), std::nullopt);
  EXPECT_EQ(w.backend.choose(Choice{"Directory", "Pick one", {}, 0}), std::nullopt);
}

TEST(Win32Closing, TheSetupsClosingDialogShowsBothTexts) {
  Watched w;
  Closing closing;
  closing.caption = "Tool";
  closing.code = 4;
  closing.upper = "Tool Setup completed !";
  closing.lower = "Your new software has been successfully installed. Click OK to continue...";
  w.look = [&closing](HWND dialog, const std::string& name) {
    EXPECT_EQ(name, "closing");
    EXPECT_EQ(windowText(dialog), "Tool");
    EXPECT_EQ(controlText(dialog, IDC_CLOSING_UPPER), closing.upper);
    EXPECT_EQ(controlText(dialog, IDC_CLOSING_LOWER), closing.lower);
    EXPECT_NE(SendDlgItemMessageA(dialog, IDC_CLOSING_ICON, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    pressButton(dialog, IDOK);
  };
  w.backend.closing(closing);
  EXPECT_EQ(w.shown, std::vector<std::string>{"closing"});
}

TEST(Win32Pages, TheRegistrationPageGivesBackWhatWasTyped) {
  Watched w;
  Page page = registrationPage();
  w.look = [](HWND frame, const std::string& name) {
    EXPECT_EQ(name, "page-registration");
    EXPECT_EQ(windowText(frame), "Tool Setup");
    HWND pane = paneOf(frame);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(controlText(pane, IDC_LICENCE_TOP), "Please register.");
    EXPECT_EQ(controlText(pane, IDC_USER_LABEL), "&User Name:");
    EXPECT_EQ(controlText(pane, IDC_SERIAL_LABEL), "&Serial number:");
    EXPECT_EQ(controlText(pane, IDC_REGISTRATION_NEXT), "Click Next.");
    EXPECT_EQ(controlText(pane, IDC_USER_EDIT), "Old Name");
    EXPECT_FALSE(visible(pane, IDC_LICENCE_BOX));
    EXPECT_TRUE(enabled(frame, IDC_WIZARD_BACK));
    EXPECT_EQ(controlText(frame, IDC_WIZARD_FORWARD), "&Next >");
    SetDlgItemTextA(pane, IDC_USER_EDIT, "Ada");
    SetDlgItemTextA(pane, IDC_COMPANY_EDIT, "Engines Ltd");
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  PageResult result = w.backend.page(page);
  EXPECT_EQ(result.action, PageResult::Action::Next);
  ASSERT_EQ(result.fields.size(), 3u);
  EXPECT_EQ(result.fields[0].value, "Ada");
  EXPECT_EQ(result.fields[1].value, "Engines Ltd");
  EXPECT_EQ(result.fields[2].value, "");

  // Back is pressed only where it is enabled; Escape cancels.
  page.back = false;
  w.look = [](HWND frame, const std::string&) {
    EXPECT_FALSE(enabled(frame, IDC_WIZARD_BACK));
    pressButton(frame, IDC_WIZARD_BACK);
    pressButton(frame, IDCANCEL);
  };
  EXPECT_EQ(w.backend.page(page).action, PageResult::Action::Cancel);
}

TEST(Win32Pages, TheLicencePageShowsTheTextInItsBoxWithTheRelabelledButtons) {
  Watched w;
  Page page;
  page.id = "licence";
  page.layout = PageLayout::Licence;
  page.caption = "Tool Setup";
  page.heading = "Please read carefully this license agreement.";
  page.longText = "Line one\nLine two";
  page.back = true;
  page.next = "I &Agree";
  page.cancel = "I &Dont Agree";
  w.look = [](HWND frame, const std::string&) {
    HWND pane = paneOf(frame);
    EXPECT_EQ(controlText(pane, IDC_LICENCE_TOP), "Please read carefully this license agreement.");
    EXPECT_TRUE(visible(pane, IDC_LICENCE_BOX));
    EXPECT_EQ(controlText(pane, IDC_LICENCE_BOX), "Line one\r\nLine two");
    for (int id : {IDC_USER_LABEL, IDC_USER_EDIT, IDC_COMPANY_EDIT, IDC_SERIAL_EDIT, IDC_REGISTRATION_NEXT}) {
      EXPECT_FALSE(visible(pane, id)) << id;
    }
    EXPECT_EQ(controlText(frame, IDC_WIZARD_FORWARD), "I &Agree");
    EXPECT_EQ(controlText(frame, IDCANCEL), "I &Dont Agree");
    pressButton(frame, IDCANCEL);
  };
  EXPECT_EQ(w.backend.page(page).action, PageResult::Action::Cancel);
}

TEST(Win32Pages, TheComponentsSharingAndDestinationPagesWriteTheirFieldsBack) {
  Watched w;
  Page components = componentsPage("Click the check box.", {"Program", "Samples"});
  w.look = [](HWND frame, const std::string&) {
    HWND listView = GetDlgItem(paneOf(frame), IDC_COMPONENTS_LIST);
    EXPECT_EQ(ListView_GetItemCount(listView), 2);
    EXPECT_NE(ListView_GetCheckState(listView, 1), 0u);
    EXPECT_EQ(controlText(paneOf(frame), IDC_COMPONENTS_HINT), "Click the check box.");
    ListView_SetCheckState(listView, 1, FALSE);
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  PageResult chosen = w.backend.page(components);
  ASSERT_EQ(chosen.fields.size(), 1u);
  EXPECT_EQ(chosen.fields[0].itemChecked, (std::vector<bool>{true, false}));

  Page sharing;
  sharing.id = "sharing";
  sharing.layout = PageLayout::Sharing;
  sharing.heading = "Share?";
  sharing.footer = "If unsure, share.";
  Field radio;
  radio.kind = Field::Kind::Radio;
  radio.items = {"&Share between users", "Do &not share"};
  sharing.fields.push_back(radio);
  w.look = [](HWND frame, const std::string&) {
    HWND pane = paneOf(frame);
    EXPECT_EQ(IsDlgButtonChecked(pane, IDC_SHARE), BST_CHECKED);
    EXPECT_EQ(controlText(pane, IDC_SHARING_NOTE), "If unsure, share.");
    CheckRadioButton(pane, IDC_SHARE, IDC_DONT_SHARE, IDC_DONT_SHARE);
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  EXPECT_EQ(w.backend.page(sharing).fields[0].selected, 1);

  Page destination = destinationPage("D:\\Tool");
  w.look = [](HWND frame, const std::string&) {
    HWND pane = paneOf(frame);
    EXPECT_EQ(controlText(pane, IDC_FOLDER_LINE), "D:\\Tool");
    EXPECT_EQ(controlText(pane, IDC_REQUIRED_LABEL), "Disk space required:");
    EXPECT_EQ(controlText(pane, IDC_REQUIRED), "1.5 Mo");
    EXPECT_EQ(controlText(pane, IDC_AVAILABLE), "2 Go");
    EXPECT_EQ(controlText(frame, IDC_WIZARD_FORWARD), "Finish");
    pressButton(pane, IDC_CHANGE);
  };
  PageResult changed = w.backend.page(destination);
  EXPECT_EQ(changed.action, PageResult::Action::PageButton);
  EXPECT_EQ(changed.pageButton, 0);
  w.look = [](HWND frame, const std::string&) {
    CheckDlgButton(paneOf(frame), IDC_BACKUP, BST_CHECKED);
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  PageResult finished = w.backend.page(destination);
  EXPECT_EQ(finished.action, PageResult::Action::Finish);
  EXPECT_TRUE(finished.fields[1].checked);
}

TEST(Win32Pages, TheComponentsCheckBoxesStandOnTheRightOfTheirDescriptions) {
  Watched w;
  Page components =
      componentsPage("Click the check box on the right.", {"Program files", "Sample files"});
  w.look = [](HWND frame, const std::string&) {
    HWND listView = GetDlgItem(paneOf(frame), IDC_COMPONENTS_LIST);
    char shown[64] = {};
    ListView_GetItemText(listView, 1, 1, shown, sizeof shown);
    EXPECT_STREQ(shown, "Sample files");
    // The description's column comes first, the row's own column (its box) after it.
    int order[2] = {};
    ASSERT_TRUE(ListView_GetColumnOrderArray(listView, 2, order));
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(order[1], 0);
    RECT row{}, text{};
    ListView_GetItemRect(listView, 1, &row, LVIR_BOUNDS);
    ListView_GetSubItemRect(listView, 1, 1, LVIR_LABEL, &text);
    RECT box{text.right, row.top, text.right + ListView_GetColumnWidth(listView, 0), row.bottom};
    EXPECT_LT(text.left, 10) << "the description starts at the left";
    RECT inside{};
    GetClientRect(listView, &inside);
    EXPECT_GT(box.left, inside.right / 2) << "the box is right of the description";
    // A click on the box unticks the row.
    LVHITTESTINFO hit{};
    hit.pt = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ListView_SubItemHitTest(listView, &hit);
    EXPECT_EQ(hit.iItem, 1);
    EXPECT_EQ(hit.iSubItem, 0);
    EXPECT_NE(hit.flags & LVHT_ONITEMSTATEICON, 0u);
    LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
    SendMessageA(listView, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(listView, WM_LBUTTONUP, 0, at);
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  PageResult chosen = w.backend.page(components);
  ASSERT_EQ(chosen.fields.size(), 1u);
  EXPECT_EQ(chosen.fields[0].itemChecked, (std::vector<bool>{true, false}));
}

TEST(Win32Pages, TheFirstAndNoticePagesPlaceTheirLinesAndAnUnknownPageShowsItsText) {
  Watched w;
  Page notice;
  notice.id = "notice";
  notice.layout = PageLayout::Notice;
  notice.heading = "Welcome to Tool";
  notice.paragraphs = {"Before continuing...\nIn some cases...", "This is shareware."};
  notice.footer = "Click Next.";
  w.look = [](HWND frame, const std::string&) {
    HWND pane = paneOf(frame);
    EXPECT_EQ(controlText(pane, IDC_NOTICE_WELCOME), "Welcome to Tool");
    EXPECT_EQ(controlText(pane, IDC_NOTICE_ADVICE), "Before continuing...\nIn some cases...");
    EXPECT_EQ(controlText(pane, IDC_NOTICE_TEXT), "This is shareware.");
    EXPECT_EQ(controlText(pane, IDC_NOTICE_NEXT), "Click Next.");
    EXPECT_NE(SendDlgItemMessageA(pane, IDC_PAGE_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  EXPECT_EQ(w.backend.page(notice).action, PageResult::Action::Next);

  Page first;
  first.id = "first";
  first.layout = PageLayout::First;
  first.heading = "Welcome";
  first.paragraphs = {"One", "Two", "Three"};
  first.footer = "Press Next";
  w.look = [](HWND frame, const std::string&) {
    HWND pane = paneOf(frame);
    EXPECT_EQ(controlText(pane, IDC_FIRST_WELCOME), "Welcome");
    EXPECT_EQ(controlText(pane, IDC_FIRST_TEXT3), "Three");
    EXPECT_EQ(controlText(pane, IDC_FIRST_NEXT), "Press Next");
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  EXPECT_EQ(w.backend.page(first).action, PageResult::Action::Next);

  Page other;
  other.id = "unknown";
  other.text = "Something else";
  w.look = [](HWND frame, const std::string&) {
    EXPECT_EQ(controlText(paneOf(frame), IDC_OTHER_TEXT), "Something else");
    pressButton(frame, IDC_WIZARD_FORWARD);
  };
  EXPECT_EQ(w.backend.page(other).action, PageResult::Action::Next);
}

TEST(Win32Pages, AnswersFillTheFieldsAndPressTheButton) {
  auto answers = std::make_shared<ScriptedInteraction>(
      Answers::fromText("[Wizard]\nUserName=Grace\nSerial=42\n"), nullptr, "tamsin32");
  Watched w(Program::Setup, answers);
  PageResult result = w.backend.page(registrationPage());
  EXPECT_EQ(result.action, PageResult::Action::Next);
  EXPECT_EQ(result.fields[0].value, "Grace");
  EXPECT_EQ(result.fields[2].value, "42");
}

// The wizard's seven pages and an unknown one, each with what the keyboard reaches.
struct KeyboardPage {
  Page page;
  int first;               // the control the focus starts on
  std::vector<int> order;  // the Tab order, from the page's first control round the frame's buttons
};

std::vector<KeyboardPage> keyboardPages() {
  std::vector<KeyboardPage> pages;
  auto add = [&pages](const char* id, PageLayout layout, int first, std::vector<int> order) {
    Page page;
    page.id = id;
    page.layout = layout;
    page.caption = "Tool Setup";
    page.heading = "Tool";
    page.back = layout != PageLayout::First;
    pages.push_back({page, first, std::move(order)});
    return &pages.back().page;
  };
  const int back = IDC_WIZARD_BACK, next = IDC_WIZARD_FORWARD, cancel = IDCANCEL;
  add("first", PageLayout::First, next, {next, cancel});
  add("notice", PageLayout::Notice, next, {back, next, cancel})->paragraphs = {"Close the programs.", "Shareware."};
  add("licence", PageLayout::Licence, IDC_LICENCE_BOX, {IDC_LICENCE_BOX, back, next, cancel})->longText =
      "Clause one.\nClause two.";
  pages.push_back({registrationPage(), IDC_USER_EDIT,
                   {IDC_USER_EDIT, IDC_COMPANY_EDIT, IDC_SERIAL_EDIT, back, next, cancel}});
  Field list;
  list.kind = Field::Kind::CheckList;
  list.items = {"Program", "Samples"};
  list.itemChecked = {true, false};
  add("components", PageLayout::Components, IDC_COMPONENTS_LIST, {IDC_COMPONENTS_LIST, back, next, cancel})
      ->fields = {list};
  Field radio;
  radio.kind = Field::Kind::Radio;
  radio.items = {"&Share between users", "Do &not share"};
  radio.selected = 1;  // Tab lands on the checked button of the two
  add("sharing", PageLayout::Sharing, IDC_DONT_SHARE, {IDC_DONT_SHARE, back, next, cancel})->fields = {radio};
  Field folder;
  folder.label = "Install Folder";
  folder.value = "C:\\Tool";
  Field backup;
  backup.kind = Field::Kind::Check;
  backup.label = "B&ackup replaced files";
  // The folder's Change comes first in reading order, but the keyboard starts on the box so
  // that Enter stays Finish.
  Page* destination = add("destination", PageLayout::Destination, IDC_BACKUP,
                          {IDC_CHANGE, IDC_BACKUP, back, next, cancel});
  destination->fields = {folder, backup};
  destination->paragraphs = {"Almost ready.", "Press Finish.", "Press Change."};
  destination->rows = {{"Disk space required:", "1 Mo"}, {"Disk space available:", "9 Mo"}};
  destination->actions = {"&Change"};
  destination->next.clear();
  destination->finish = "&Finish";
  add("unknown", PageLayout::Stacked, IDC_OTHER_TEXT, {IDC_OTHER_TEXT, back, next, cancel})->text = "Something";
  return pages;
}

// The controls Tab visits, from the frame's first round to it again.
std::vector<int> tabOrder(HWND frame) {
  std::vector<int> ids;
  HWND start = GetNextDlgTabItem(frame, nullptr, FALSE);
  HWND control = start;
  while (control && ids.size() < 20) {
    ids.push_back(GetDlgCtrlID(control));
    control = GetNextDlgTabItem(frame, control, FALSE);
    if (control == start) break;
  }
  return ids;
}

TEST(Win32Keyboard, EveryPageTabsThroughItsControlsInReadingOrderFromItsFirstField) {
  Watched w;
  HWND frame = nullptr;
  for (const KeyboardPage& expected : keyboardPages()) {
    w.look = [&frame, &expected](HWND shown, const std::string& name) {
      if (!frame) frame = shown;
      EXPECT_EQ(shown, frame) << name << ": the pages change inside one frame";
      HWND focus = GetFocus();
      EXPECT_EQ(GetDlgCtrlID(focus), expected.first) << name;
      EXPECT_TRUE(IsChild(shown, focus)) << name;
      EXPECT_EQ(tabOrder(shown), expected.order) << name;
      EXPECT_EQ(LOWORD(SendMessageA(shown, DM_GETDEFID, 0, 0)), IDC_WIZARD_FORWARD) << name << ": Next is the default";
      pressButton(shown, IDC_WIZARD_FORWARD);
    };
    PageResult result = w.backend.page(expected.page);
    EXPECT_NE(result.action, PageResult::Action::Cancel) << expected.page.id;
    EXPECT_EQ(w.backend.wizardWindow(), frame);
  }
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(IsWindowVisible(frame));
}

// Keys as the user types them, through the frame's own message loop: the name goes into
// User Name, where the page opens, and Enter presses Next.
TEST(Win32Keyboard, TypingOnTheRegistrationPageFillsTheUserNameAndEnterGoesOn) {
  Watched w;
  Page page = registrationPage();
  page.fields[0].value.clear();
  w.look = [](HWND, const std::string&) {
    HWND focus = GetFocus();
    for (char c : std::string("Bob")) PostMessageA(focus, WM_CHAR, c, 1);
    PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
  };
  PageResult result = w.backend.page(page);
  EXPECT_EQ(result.action, PageResult::Action::Next);
  EXPECT_EQ(result.fields[0].value, "Bob");
  EXPECT_EQ(result.fields[1].value, "");
}

// A refused page, a cancel answered No: the same frame, where the user moved it, with the
// question owned by it; the copy's window closes it.
TEST(Win32Frame, TheFrameStaysThroughARefusedPageAndACancelAnsweredNo) {
  Watched w;
  HWND frame = nullptr;
  RECT moved{};
  w.look = [&](HWND shown, const std::string&) {
    frame = shown;
    SetWindowPos(shown, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(shown, &moved);
    pressButton(shown, IDC_WIZARD_FORWARD);
  };
  Page page = registrationPage();
  page.fields[0].value.clear();
  EXPECT_EQ(w.backend.page(page).action, PageResult::Action::Next);
  w.backend.beep();
  w.look = [&](HWND shown, const std::string&) {
    EXPECT_EQ(shown, frame);
    RECT now{};
    GetWindowRect(shown, &now);
    EXPECT_EQ(now.left, moved.left);
    EXPECT_EQ(now.top, moved.top);
    pressButton(shown, IDCANCEL);
  };
  EXPECT_EQ(w.backend.page(page).action, PageResult::Action::Cancel);
  w.look = [&](HWND box, const std::string&) {
    EXPECT_EQ(GetWindow(box, GW_OWNER), frame) << "the question stands over the frame";
    EXPECT_TRUE(IsWindowVisible(frame));
    PostMessageA(box, WM_COMMAND, IDNO, 0);
  };
  EXPECT_EQ(w.backend.message({"Tool Setup", "Quit the setup?", Buttons::YesNo, Icon::Question}), Answer::No);
  w.look = [&](HWND shown, const std::string&) {
    EXPECT_EQ(shown, frame);
    SetDlgItemTextA(paneOf(shown), IDC_USER_EDIT, "Ann");
    pressButton(shown, IDC_WIZARD_FORWARD);
  };
  EXPECT_EQ(w.backend.page(page).fields[0].value, "Ann");
  EXPECT_EQ(w.backend.wizardWindow(), frame);
  w.look = nullptr;
  w.backend.progress(Progress{"File copy in progress...", {"Copying a.exe", "", ""}, 0, {}, {}, true});
  EXPECT_EQ(w.backend.wizardWindow(), nullptr);
  EXPECT_FALSE(IsWindow(frame));
  w.backend.endProgress();
}

TEST(Win32Pages, AnswersPutTheFolderIntoTheDestinationPagesLineAndFinish) {
  auto answers = std::make_shared<ScriptedInteraction>(
      Answers::fromText("[Wizard]\nFolder=C:\\Program Files\\Tool\nBackup=1\n"), nullptr, "tamsin32");
  Watched w(Program::Setup, answers);
  Page destination = destinationPage("C:\\Install");
  // The page opens with its own folder; the answers then put theirs into the line.
  w.look = [](HWND frame, const std::string&) {
    EXPECT_EQ(controlText(paneOf(frame), IDC_FOLDER_LINE), "C:\\Install");
  };
  PageResult result = w.backend.page(destination);
  EXPECT_EQ(result.action, PageResult::Action::Finish);
  ASSERT_EQ(result.fields.size(), 2u);
  EXPECT_EQ(result.fields[0].value, "C:\\Program Files\\Tool");
  EXPECT_TRUE(result.fields[1].checked);
}

TEST(Win32Progress, TheCopyWindowShowsItsLinesAndTakesCancelOnce) {
  Watched w;
  Progress copy;
  copy.caption = "File copy in progress...";
  copy.lines = {"Copying A:\\TOOL.EX_", "", "to C:\\Tool\\TOOL.EXE"};
  copy.percent = 42;
  copy.cancellable = true;
  w.backend.progress(copy);
  HWND window = w.backend.progressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(w.shown, std::vector<std::string>{"copy-progress"});
  EXPECT_EQ(controlText(window, IDC_COPY_LABEL), "Copying");
  EXPECT_EQ(controlText(window, IDC_COPY_SOURCE), "A:\\TOOL.EX_");
  EXPECT_EQ(controlText(window, IDC_COPY_TO), "to");
  EXPECT_EQ(controlText(window, IDC_COPY_DESTINATION), "C:\\Tool\\TOOL.EXE");
  EXPECT_TRUE(visible(window, IDCANCEL));
  EXPECT_FALSE(w.backend.cancelPressed());
  pressButton(window, IDCANCEL);
  EXPECT_TRUE(w.backend.cancelPressed());
  EXPECT_FALSE(w.backend.cancelPressed());
  // A line without a source hides "Copying".
  copy.lines = {"", "Creating shortcuts", ""};
  w.backend.progress(copy);
  EXPECT_FALSE(visible(window, IDC_COPY_LABEL));
  EXPECT_EQ(controlText(window, IDC_COPY_MIDDLE), "Creating shortcuts");
  w.backend.endProgress();
  EXPECT_EQ(w.backend.progressWindow(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST(Win32Progress, TheRemovalWindowTicksItsBoxesAndWaitsForOk) {
  Watched w(Program::Uninstall);
  Progress removal;
  removal.caption = "Dallow v3.0";
  removal.lines = {"Dallow is removing Tool from your computer."};
  removal.boxLabels = {"Shared program files...", "Standard program files...", "Program folders and shortcuts...",
                       "Application folders...", "Windows Registry entries..."};
  removal.boxes = {true, true, false, false, false};
  removal.percent = 40;
  w.backend.progress(removal);
  HWND window = w.backend.progressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(controlText(window, IDC_REMOVAL_CAPTION), "Dallow is removing Tool from your computer.");
  EXPECT_EQ(IsDlgButtonChecked(window, IDC_REMOVAL_BOX2), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(window, IDC_REMOVAL_BOX3), BST_UNCHECKED);
  EXPECT_FALSE(enabled(window, IDC_REMOVAL_BOX1));
  EXPECT_EQ(SendDlgItemMessageA(window, IDC_REMOVAL_BAR, PBM_GETPOS, 0, 0), 40);
  EXPECT_FALSE(enabled(window, IDOK));
  removal.lines.push_back("Uninstall completed successfully.");
  removal.boxes.assign(5, true);
  removal.percent = 100;
  w.backend.progress(removal);
  EXPECT_EQ(controlText(window, IDC_REMOVAL_RESULT), "Uninstall completed successfully.");
  w.look = [](HWND shown, const std::string& name) {
    EXPECT_EQ(name, "progress-done");
    EXPECT_TRUE(enabled(shown, IDOK));
    pressButton(shown, IDOK);
  };
  w.backend.closing(Closing{});
  EXPECT_EQ(w.shown, (std::vector<std::string>{"progress", "progress-done"}));
  w.backend.endProgress();
}

TEST(Win32DiskMessage, TheWindowShowsTheTextInTheScreensCorner) {
  Watched w;
  w.backend.diskMessage(DiskMessage{"Messages", "Insert disk 2.\nThen press OK.", 2});
  ASSERT_EQ(w.shown, std::vector<std::string>{"disk-message"});
  HWND window = FindWindowA(nullptr, "Messages");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(controlText(window, IDC_DISK_TEXT), "Insert disk 2.\r\nThen press OK.");
  RECT frame{}, area{};
  GetWindowRect(window, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(frame.right, area.right - 20);
  EXPECT_EQ(frame.bottom, area.bottom - 20);
  w.backend.endProgress();
  EXPECT_FALSE(IsWindow(window));
}

TEST(Win32Folder, TheSystemsFolderDialogTakesTheAnsweredFolderWithTheDummyName) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vandrel-picker";
  std::filesystem::create_directories(folder);
  auto answers = std::make_shared<ScriptedInteraction>(
      Answers::fromText("[Folders]\n1=" + folder.string() + "\n2=\n3=C:\\a|b\n"), nullptr, "setup");
  Watched w(Program::Setup, answers);
  FolderPrompt prompt{"Select a folder", "Please select a folder where to install your new software.", "Junk", ""};
  prompt.shownFolder = folder.string();
  prompt.forWriting = true;
  std::vector<std::string> captions;
  w.look = [&captions](HWND dialog, const std::string& name) {
    EXPECT_EQ(name, "folder");
    captions.push_back(windowText(dialog));
  };
  std::optional<std::string> chosen = w.backend.folder(prompt);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, folder.string() + "\\Junk");
  // No answer cancels; a path no folder can have is refused.
  EXPECT_EQ(w.backend.folder(prompt), std::nullopt);
  EXPECT_EQ(w.backend.folder(prompt), std::nullopt);
  EXPECT_EQ(captions, std::vector<std::string>(3, "Select a folder"));
}

TEST(Win32Folder, CancelClosesTheDialogWithoutAnAnswer) {
  Watched w;
  w.look = [](HWND dialog, const std::string&) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
  EXPECT_EQ(w.backend.folder(FolderPrompt{"Folder", "Where?", "Junk", ""}), std::nullopt);
}

TEST(Win32Shots, EachWindowIsSavedAsABitmapFile) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vandrel-shots-test";
  std::filesystem::remove_all(folder);
  WindowShots shots(folder.string(), Program::Setup);
  Watched w;
  std::string first, second;
  w.look = [&](HWND dialog, const std::string&) {
    first = shots.save(dialog, "closing");
    second = shots.save(dialog, "closing");
    pressButton(dialog, IDOK);
  };
  w.backend.closing(Closing{"Tool", "Done", 4, "Tool Setup completed !", "Click OK."});
  EXPECT_EQ(std::filesystem::path(first).filename().string(), "001-setup-closing.bmp");
  EXPECT_EQ(std::filesystem::path(second).filename().string(), "002-setup-closing.bmp");
  char magic[2] = {};
  std::ifstream(first, std::ios::binary).read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM");
  // A 185 x 128 unit dialog is some hundred pixels each way, 3 bytes a pixel.
  EXPECT_GT(std::filesystem::file_size(first), 100u * 100u * 3u);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vandrel::ui::win32
