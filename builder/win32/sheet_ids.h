// The numbers of the builder's sheet templates and their controls (11000-12999), shared by
// sheets.rc and the code that fills the dialogs. Plain numbers: the resource compiler reads
// this file too. Every control's number is its own across all the templates, so that a
// control is found by its number alone in any page of a sheet.
#pragma once

// The sheet frame: the tab control the pages stand in, above OK and Cancel.
#define IDD_SHEET_FRAME 11000
#define IDC_SHEET_TABS 11001

// "Directories": the name, the four parents, the optional box, the description.
#define IDD_PAGE_DIRECTORY 11100
#define IDC_DIR_NAME 11101
#define IDC_DIR_PARENT0 11102
#define IDC_DIR_PARENT1 11103
#define IDC_DIR_PARENT2 11104
#define IDC_DIR_PARENT3 11105
#define IDC_DIR_OPTIONAL 11106
#define IDC_DIR_DESCRIPTION 11107

// "Description": the text.
#define IDD_PAGE_DESCRIPTION 11120
#define IDC_DESC_TEXT 11121

// "Groups": the name and the note on run-time folder names.
#define IDD_PAGE_GROUP 11140
#define IDC_GROUP_NAME 11141
#define IDC_GROUP_NOTE 11142

// "Win.ini adds": section, entry, value.
#define IDD_PAGE_WININI 11160
#define IDC_INI_SECTION 11161
#define IDC_INI_ENTRY 11162
#define IDC_INI_VALUE 11163

// "Registry adds": the main key (an editable drop-down), subkey, entry, value, erase box.
#define IDD_PAGE_REGISTRY 11180
#define IDC_REG_MAINKEY 11181
#define IDC_REG_SUBKEY 11182
#define IDC_REG_ENTRY 11183
#define IDC_REG_VALUE 11184
#define IDC_REG_ERASE 11185

// "File": what Browse fills in, the disk and its spin, the destination, the four flags, the
// three lists, Browse, "Validate and Add new file" and the drop import's defaults box.
#define IDD_PAGE_FILE 11200
#define IDC_FILE_SOURCENAME 11201
#define IDC_FILE_BROWSE 11202
#define IDC_FILE_SIZE 11203
#define IDC_FILE_DISK 11204
#define IDC_FILE_DISK_SPIN 11205
#define IDC_FILE_DESTNAME 11206
#define IDC_FILE_UNINSTALL 11207
#define IDC_FILE_FORCECOPY 11208
#define IDC_FILE_DECOMPRESS 11209
#define IDC_FILE_SHARED 11210
#define IDC_FILE_DIRECTORY 11211
#define IDC_FILE_PLATFORM 11212
#define IDC_FILE_DESCRIPTION 11213
#define IDC_FILE_SOURCEPATH 11214
#define IDC_FILE_USEDEFAULTS 11215
#define IDC_FILE_VALIDATE 11216

// "Progman Add": the file, the group, the command line, the shortcut's name.
#define IDD_PAGE_SHORTCUT 11240
#define IDC_SHORTCUT_FILE 11241
#define IDC_SHORTCUT_GROUP 11242
#define IDC_SHORTCUT_COMMAND 11243
#define IDC_SHORTCUT_NAME 11244

// "Messages": the destination name, the path and its Browse, the disk and its spin.
#define IDD_PAGE_MESSAGE 11260
#define IDC_MSG_NAME 11261
#define IDC_MSG_PATH 11262
#define IDC_MSG_BROWSE 11263
#define IDC_MSG_DISK 11264
#define IDC_MSG_DISK_SPIN 11265

// "General".
#define IDD_PAGE_GENERAL 11300
#define IDC_GEN_APPNAME 11301
#define IDC_GEN_VER 11302
#define IDC_GEN_TITLE 11303
#define IDC_GEN_LOADTXT 11304
#define IDC_GEN_DEFDIR 11305
#define IDC_GEN_LOADBMP 11306
#define IDC_GEN_REGINFO 11307
#define IDC_GEN_SHOWLICENCE 11308
#define IDC_GEN_WELCOME 11309
#define IDC_GEN_TYPE0 11310
#define IDC_GEN_TYPE1 11311
#define IDC_GEN_TYPE2 11312
#define IDC_GEN_TYPE3 11313
#define IDC_GEN_OWNMSG 11314
#define IDC_GEN_ARCHIVE 11315
#define IDC_GEN_ARCHIVESIZE 11316

// "System": processor, Windows version, platforms, language, special build.
#define IDD_PAGE_SYSTEM 11340
#define IDC_SYS_CPU0 11341
#define IDC_SYS_CPU1 11342
#define IDC_SYS_CPU2 11343
#define IDC_SYS_WIN0 11344
#define IDC_SYS_WIN1 11345
#define IDC_SYS_WIN2 11346
#define IDC_SYS_WIN3 11347
#define IDC_SYS_WIN4 11348
#define IDC_SYS_WIN5 11349
#define IDC_SYS_PLATFORM0 11350
#define IDC_SYS_PLATFORM1 11351
#define IDC_SYS_PLATFORM2 11352
#define IDC_SYS_LANGUAGE0 11353
#define IDC_SYS_LANGUAGE1 11354
#define IDC_SYS_BUILD 11355

// "UnInstall": which uninstaller, its group, its shortcut's name.
#define IDD_PAGE_UNINSTALL 11380
#define IDC_UN_DALLOW 11381
#define IDC_UN_OWN 11382
#define IDC_UN_GROUP 11383
#define IDC_UN_DESC 11384

// "Main Window": the background, the gradient, the two swatches, the bitmap and its frame,
// its name and drawing attributes, the caption.
#define IDD_PAGE_BACKGROUND 11400
#define IDC_BACK_ONECOLOR 11401
#define IDC_BACK_GRADIENT 11402
#define IDC_BACK_DIRECTION 11403
#define IDC_BACK_HORIZONTAL 11404
#define IDC_BACK_VERTICAL 11405
#define IDC_BACK_TOP 11406
#define IDC_BACK_SECOND_LABEL 11407
#define IDC_BACK_BOTTOM 11408
#define IDC_BACK_BITMAP 11409
#define IDC_BACK_BITMAP_FRAME 11410
#define IDC_BACK_NAME_LABEL 11411
#define IDC_BACK_BMPNAME 11412
#define IDC_BACK_MODE_FRAME 11413
#define IDC_BACK_MODE0 11414
#define IDC_BACK_MODE1 11415
#define IDC_BACK_MODE2 11416
#define IDC_BACK_MODE3 11417
#define IDC_BACK_MODE4 11418
#define IDC_BACK_CAPTION 11419

// "End of Install": reboot, the programs to launch, Delete, the new command line, Add.
#define IDD_PAGE_END 11440
#define IDC_END_REBOOT0 11441
#define IDC_END_REBOOT1 11442
#define IDC_END_REBOOT2 11443
#define IDC_END_LAUNCH 11444
#define IDC_END_DELETE 11445
#define IDC_END_COMMAND 11446
#define IDC_END_ADD 11447

// "Web favorites": the start URL, the favourites, Delete, the name and URL edits, Add.
#define IDD_PAGE_WEB 11460
#define IDC_WEB_STARTURL 11461
#define IDC_WEB_ROWS 11462
#define IDC_WEB_DELETE 11463
#define IDC_WEB_NAME 11464
#define IDC_WEB_URL 11465
#define IDC_WEB_ADD 11466

// The drop import's "Directory Selector": its text, the list, OK, Cancel, "Add directory...",
// the keep box.
#define IDD_DIRECTORY_SELECTOR 11500
#define IDC_SELECTOR_TEXT 11501
#define IDC_SELECTOR_LIST 11502
#define IDC_SELECTOR_ADD 11503
#define IDC_SELECTOR_KEEP 11504
