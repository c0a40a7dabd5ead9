// The numbers of the Win32 windows' dialog templates and controls, shared by the resource
// script and the code that fills the dialogs. Plain numbers: the resource compiler reads this
// file too.
#pragma once

// The setup's closing dialog: its icon, upper and lower texts.
#define IDD_CLOSING 104
#define IDC_CLOSING_ICON 1020
#define IDC_CLOSING_UPPER 1015
#define IDC_CLOSING_LOWER 1003

// The copy-progress dialog: "Copying", the source, middle and destination lines, "to", and
// the percentage bar.
#define IDD_COPY_PROGRESS 107
#define IDC_COPY_LABEL 1017
#define IDC_COPY_SOURCE 1011
#define IDC_COPY_MIDDLE 1012
#define IDC_COPY_TO 1018
#define IDC_COPY_DESTINATION 1013
#define IDC_COPY_BAR 1000

// The disk-message window: one read-only text box.
#define IDD_DISK_MESSAGE 108
#define IDC_DISK_TEXT 1016

// The uninstaller's window: the picture frame, the caption line, five boxes and their labels,
// the result line and the bar.
#define IDD_REMOVAL 101
#define IDC_REMOVAL_FRAME 1014
#define IDC_REMOVAL_PICTURE 1015
#define IDC_REMOVAL_CAPTION 1001
#define IDC_REMOVAL_BAR 1002
#define IDC_REMOVAL_BOX1 1003
#define IDC_REMOVAL_LABEL1 1004
#define IDC_REMOVAL_LABEL2 1005
#define IDC_REMOVAL_BOX2 1006
#define IDC_REMOVAL_BOX3 1007
#define IDC_REMOVAL_LABEL3 1008
#define IDC_REMOVAL_BOX4 1009
#define IDC_REMOVAL_LABEL4 1010
#define IDC_REMOVAL_BOX5 1011
#define IDC_REMOVAL_LABEL5 1012
#define IDC_REMOVAL_RESULT 1013

// The uninstaller's shared-file question: its icon, its text and "&Yes to all" beside the
// standard Yes and No.
#define IDD_THREE_BUTTONS 2001
#define IDC_THREE_ICON 2002
#define IDC_THREE_TEXT 2003
#define IDC_YES_TO_ALL 2004

// A choice of one item from a list: the prompt and the list.
#define IDD_CHOICE 2010
#define IDC_CHOICE_TEXT 2011
#define IDC_CHOICE_LIST 2012

// The wizard: a frame with Back, Next or Finish and Cancel round one page at a time.
#define IDD_WIZARD_FRAME 2020
#define IDC_WIZARD_BACK 2021
#define IDC_WIZARD_FORWARD 2022
#define IDC_WIZARD_LINE 2023

// The wizard pages, 262 x 161 units, each with its side picture.
#define IDC_PAGE_PICTURE 1030
#define IDD_PAGE_FIRST 1541
#define IDC_FIRST_WELCOME 1001
#define IDC_FIRST_TEXT1 1002
#define IDC_FIRST_TEXT2 1003
#define IDC_FIRST_TEXT3 1004
#define IDC_FIRST_NEXT 1005
#define IDD_PAGE_NOTICE 103
#define IDC_NOTICE_WELCOME 1001
#define IDC_NOTICE_ADVICE 1000
#define IDC_NOTICE_TEXT 1002
#define IDC_NOTICE_NEXT 1003
// The licence and the registration share one template.
#define IDD_PAGE_LICENCE 1539
#define IDC_LICENCE_TOP 1012
#define IDC_LICENCE_BOX 1015
#define IDC_USER_LABEL 1000
#define IDC_USER_EDIT 1013
#define IDC_COMPANY_LABEL 1018
#define IDC_COMPANY_EDIT 1014
#define IDC_SERIAL_LABEL 1019
#define IDC_SERIAL_EDIT 1016
#define IDC_REGISTRATION_NEXT 1017
#define IDD_PAGE_COMPONENTS 1538
#define IDC_COMPONENTS_TEXT 1011
#define IDC_COMPONENTS_LIST 1012
#define IDC_COMPONENTS_HINT 1013
#define IDD_PAGE_SHARING 1540
#define IDC_SHARING_TEXT 1010
#define IDC_SHARE 1020
#define IDC_DONT_SHARE 1021
#define IDC_SHARING_NOTE 1022
#define IDD_PAGE_DESTINATION 1537
#define IDC_DESTINATION_TEXT1 1001
#define IDC_DESTINATION_TEXT2 1002
#define IDC_DESTINATION_TEXT3 1003
#define IDC_FOLDER_BOX 1004
#define IDC_FOLDER_LINE 1011
#define IDC_CHANGE 1006
#define IDC_BACKUP 1007
#define IDC_REQUIRED 1008
#define IDC_AVAILABLE 1009
#define IDC_REQUIRED_LABEL 1012
#define IDC_AVAILABLE_LABEL 1013
// Any other page: its whole text in a read-only box.
#define IDD_PAGE_OTHER 2030
#define IDC_OTHER_TEXT 2031
