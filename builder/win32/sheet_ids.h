// The numbers of the builder's sheet templates and their controls (11000-12999), shared by
// sheets.rc and the code that fills the dialogs. Plain numbers: the resource compiler reads
// this file too.
#pragma once

// The sheet frame: the tab control the pages stand in, above OK and Cancel.
#define IDD_SHEET_FRAME 11000
#define IDC_SHEET_TABS 11001
