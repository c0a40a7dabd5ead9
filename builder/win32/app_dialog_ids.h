// The numbers of the templates and controls of the builder's own windows and assistants
// (13000-14999), shared by app_dialogs.rc and the code that fills the dialogs. Plain
// numbers: the resource compiler reads this file too.
#pragma once

// Preferences, page "Main".
#define IDD_PREFS_MAIN 13000
#define IDC_PREFS_CONFIRM 13001
#define IDC_PREFS_PROGRESS 13002
#define IDC_PREFS_VISIBLE 13003
#define IDC_PREFS_CHECK 13004
#define IDC_PREFS_DEFEDIT 13005
#define IDC_PREFS_ICON16 13006
#define IDC_PREFS_ICON32 13007
#define IDC_PREFS_LOAD 13008
#define IDC_PREFS_SAVE 13009

// Preferences, page "Background": the six bitmap modes, gradient or plain, the direction,
// the position with its up-downs, the two colour swatches, the bitmap and its chooser.
#define IDD_PREFS_BACKGROUND 13020
#define IDC_PREFS_BACK_MODE0 13021
#define IDC_PREFS_BACK_MODE1 13022
#define IDC_PREFS_BACK_MODE2 13023
#define IDC_PREFS_BACK_MODE3 13024
#define IDC_PREFS_BACK_MODE4 13025
#define IDC_PREFS_BACK_MODE5 13026
#define IDC_PREFS_BACK_GRADIENT 13027
#define IDC_PREFS_BACK_PLAIN 13028
#define IDC_PREFS_BACK_VERTICAL 13029
#define IDC_PREFS_BACK_X 13030
#define IDC_PREFS_BACK_X_SPIN 13031
#define IDC_PREFS_BACK_Y 13032
#define IDC_PREFS_BACK_Y_SPIN 13033
#define IDC_PREFS_BACK_FIRST 13034
#define IDC_PREFS_BACK_SECOND 13035
#define IDC_PREFS_BACK_BITMAP 13036
#define IDC_PREFS_BACK_PICK 13037

// Preferences, page "File Drop".
#define IDD_PREFS_DROP 13050
#define IDC_PREFS_DROP_PROPS 13051
#define IDC_PREFS_DROP_MODE0 13052
#define IDC_PREFS_DROP_MODE1 13053
#define IDC_PREFS_DROP_MODE2 13054
#define IDC_PREFS_DROP_DIR_ADD 13055
#define IDC_PREFS_DROP_DIR_INC 13056
#define IDC_PREFS_DROP_DIR_SUB 13057
#define IDC_PREFS_DROP_SUMMARY 13058

// The about box.
#define IDD_ABOUT 13100
#define IDC_ABOUT_TITLE 13101
#define IDC_ABOUT_MEMORY 13102
#define IDC_ABOUT_DISK 13103
#define IDC_ABOUT_CONNECT 13104

// The tip of the day.
#define IDD_TIP 13120
#define IDC_TIP_HEADING 13121
#define IDC_TIP_TEXT 13122
#define IDC_TIP_STARTUP 13123
#define IDC_TIP_NEXT 13124

// The extension making assistant.
#define IDD_ASSIST_EXTENSION 13200
#define IDC_EXT_EXTENSION 13201
#define IDC_EXT_TYPE 13202
#define IDC_EXT_REGISTRY 13203
#define IDC_EXT_INI 13204
#define IDC_EXT_PATH 13205
#define IDC_EXT_NEW_DOCUMENT 13206
#define IDC_EXT_ICON 13207

// The autostart assistant.
#define IDD_ASSIST_AUTOSTART 13220
#define IDC_AUTO_PROGRAM 13221
#define IDC_AUTO_TITLE 13222
#define IDC_AUTO_NEXT 13223
#define IDC_AUTO_EACH 13224
#define IDC_AUTO_SHORTCUT 13225

// The path registration assistant.
#define IDD_ASSIST_PATH 13240
#define IDC_PATH_FILES 13241
#define IDC_PATH_ADD 13242

// The product registration assistant.
#define IDD_ASSIST_PRODUCT 13260
#define IDC_PRODUCT_COMPANY 13261
#define IDC_PRODUCT_NAME 13262
#define IDC_PRODUCT_VERSION 13263
#define IDC_PRODUCT_LOCAL 13264
#define IDC_PRODUCT_USER 13265
#define IDC_PRODUCT_INFO 13266
#define IDC_PRODUCT_SERIAL 13267

// The desktop assistant.
#define IDD_ASSIST_DESKTOP 13280
#define IDC_DESK_WALLPAPER 13281
#define IDC_DESK_SAVER 13282
#define IDC_DESK_DELAY 13283
#define IDC_DESK_ACTIVATE 13284
#define IDC_DESK_SECURE 13285
#define IDC_DESK_DRAG 13286
#define IDC_DESK_TILE 13287

// The installation summary, page "Summary".
#define IDD_SUMMARY 13300
#define IDC_SUM_SCRIPT_FOR 13301
#define IDC_SUM_VERSION 13302
#define IDC_SUM_CREATED 13303
#define IDC_SUM_MODIFIED 13304
#define IDC_SUM_SUBJECT 13305
#define IDC_SUM_TEMPLATE 13306
#define IDC_SUM_AUTHOR 13307
#define IDC_SUM_COMMENTS 13308

// The installation summary, page "Statistics".
#define IDD_STATISTICS 13330
#define IDC_STAT_DISKS 13331
#define IDC_STAT_TOTAL 13332
#define IDC_STAT_FILES 13333
#define IDC_STAT_DIRECTORIES 13334
#define IDC_STAT_GROUPS 13335
#define IDC_STAT_SHORTCUTS 13336
#define IDC_STAT_LAST_PATH 13337
#define IDC_STAT_OVERHEAD 13338

// The version information, page "Components".
#define IDD_VERSION 13360
#define IDC_VERSION_LIST 13361
