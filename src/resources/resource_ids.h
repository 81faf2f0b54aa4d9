// Identifiers of the program's resources, menu commands and controls,
// grouped by hundreds. Shared by quillpane.rc and the C++ code.
#ifndef QUILLPANE_RESOURCE_IDS_H
#define QUILLPANE_RESOURCE_IDS_H

#define IDB_GLYPH_SHEET 1
#define IDB_LOGO 2
#define IDI_APP_ICON 4
#define IDD_CONFIG 10
#define IDD_ABOUT 11
#define IDD_INFORMATION 12

// File menu
#define IDM_LOAD 101
#define IDM_EXIT 102
#define IDM_CONFIG 103
#define IDM_INFORMATION 104
#define IDM_SAVE_AS 105
#define IDM_COPY_PICTURE 106

// Keymap menu: the whole range belongs to the glyph sheets; 201 is the
// built-in sheet, found sheets follow from 202.
#define IDM_KEYMAP_FIRST 200
#define IDM_BUILTIN_SHEET 201
#define IDM_KEYMAP_LAST 298

// Help menu
#define IDM_HELP 301
#define IDM_ABOUT 302

// Recent files: 400 to 404 name the five entries; the rest of the range
// names none.
#define IDM_RECENT_FIRST 400
#define IDM_RECENT_COUNT 5
#define IDM_RECENT_LAST 498

// View menu (between Keymap and Help): 501-599
#define IDM_ANSI_COLOURS 501
// View > 9-pixel letters and View > 4:3 aspect: off, on, as the file says.
#define IDM_LETTERS_8 510
#define IDM_LETTERS_9 511
#define IDM_LETTERS_FILE 512
#define IDM_ASPECT_SQUARE 520
#define IDM_ASPECT_4_3 521
#define IDM_ASPECT_FILE 522
#define IDM_PLAY 530
// The six speeds of View > Speed, slowest first.
#define IDM_SPEED_FIRST 540
#define IDM_FULL_SCREEN 550
#define IDM_FIT_WIDTH 551
#define IDM_SLIDESHOW 552
// View > Slideshow speed: 560 on, slowest first (570-579 are the gallery's).
#define IDM_SLIDE_SPEED_FIRST 560
#define IDM_SLIDE_SPEED_LAST 569
// View > Gallery: the folder or pack as a grid of thumbnails.
#define IDM_GALLERY 570

// View > Font: 600 is "as the file says"; the fonts follow from 601, the
// IBM families' code pages first (font_menu.cpp numbers them).
#define IDM_FONT_FIRST 600
#define IDM_FONT_AS_FILE 600
#define IDM_FONT_LAST 799

#define IDC_STATUS_BAR 5

// About dialog
#define IDC_ABOUT_OK 1100
// The Information dialog's text.
#define IDC_INFORMATION_TEXT 1200

// Configuration dialog
#define IDC_OPEN_VERB 1000
#define IDC_BROWSE_VERB 1001
#define IDC_TYPE_NFO 1002
#define IDC_TYPE_DIZ 1003
#define IDC_TYPE_ANS 1004
#define IDC_TYPE_ASC 1005
#define IDC_TYPE_OTHER 1006
#define IDC_OTHER_LIST 1007
#define IDC_REMOVE_ALL 1008
#define IDC_SELECT_ALL 1009
#define IDC_CONFIG_OK 1010
#define IDC_CONFIG_CANCEL 1011
#define IDC_XSIZE_COMBO 1012
#define IDC_YSIZE_COMBO 1013
#define IDC_NFO_LABEL 1014
#define IDC_DIZ_LABEL 1015
#define IDC_ANS_LABEL 1016
#define IDC_ASC_LABEL 1017
#define IDC_XSIZE_LABEL 1018
#define IDC_YSIZE_LABEL 1019
#define IDC_LIST_EXAMPLE 1020
#define IDC_FILE_TYPES_GROUP 1021
#define IDC_COMMANDS_GROUP 1022
#define IDC_FONT_SIZE_GROUP 1023

#define QP_VERSION_TEXT "0.8.8 beta"
#define QP_MENU_NAME "MIN_LILLA_MENY"
#define QP_CLASS_NAME "MittLillaFunster"

#if defined(__cplusplus) && !defined(RC_INVOKED)
static_assert(IDM_LOAD >= 101 && IDM_CONFIG <= 103 && IDM_INFORMATION == 104 && IDM_SAVE_AS == 105 &&
                  IDM_COPY_PICTURE == 106,
              "File commands live in 101-106");
static_assert(IDM_KEYMAP_FIRST == 200 && IDM_KEYMAP_LAST == 298, "Keymap range is 200-298");
static_assert(IDM_BUILTIN_SHEET > IDM_KEYMAP_FIRST && IDM_BUILTIN_SHEET < IDM_KEYMAP_LAST,
              "built-in sheet inside the Keymap range");
static_assert(IDM_HELP == 301 && IDM_ABOUT == 302, "Help commands live in 301-302");
static_assert(IDM_RECENT_FIRST + IDM_RECENT_COUNT - 1 == 404 && IDM_RECENT_LAST == 498,
              "recent files 400-404 inside 400-498");
static_assert(IDM_ANSI_COLOURS == 501 && IDM_LETTERS_8 >= 501 && IDM_SPEED_FIRST + 5 < IDM_FULL_SCREEN &&
                  IDM_SLIDESHOW < IDM_SLIDE_SPEED_FIRST && IDM_SLIDE_SPEED_LAST < IDM_GALLERY && IDM_GALLERY == 570,
              "View commands live in 501-599");
static_assert(IDM_FONT_FIRST == 600 && IDM_FONT_AS_FILE == IDM_FONT_FIRST && IDM_FONT_LAST == 799,
              "View > Font lives in 600-799");
static_assert(IDC_OPEN_VERB == 1000 && IDC_FONT_SIZE_GROUP == 1023,
              "Configuration controls live in 1000-1023");
static_assert(IDC_TYPE_ASC - IDC_TYPE_NFO == 3 && IDC_TYPE_OTHER == IDC_TYPE_ASC + 1,
              "the five file-type boxes follow one another");
#endif

#endif
