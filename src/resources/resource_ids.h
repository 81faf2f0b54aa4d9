// Identifiers of the program's resources, menu commands and controls,
// grouped by hundreds. Shared by quillpane.rc and the C++ code.
#ifndef QUILLPANE_RESOURCE_IDS_H
#define QUILLPANE_RESOURCE_IDS_H

#define IDB_GLYPH_SHEET 1
#define IDB_LOGO 2
#define IDI_APP_ICON 4
#define IDD_CONFIG 10
#define IDD_ABOUT 11

// File menu
#define IDM_LOAD 101
#define IDM_EXIT 102
#define IDM_CONFIG 103

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

#define IDC_STATUS_BAR 5

// About dialog
#define IDC_ABOUT_OK 1100

#define QP_VERSION_TEXT "0.8.8 beta"
#define QP_MENU_NAME "MIN_LILLA_MENY"
#define QP_CLASS_NAME "MittLillaFunster"

#if defined(__cplusplus) && !defined(RC_INVOKED)
static_assert(IDM_LOAD >= 101 && IDM_CONFIG <= 103, "File commands live in 101-103");
static_assert(IDM_KEYMAP_FIRST == 200 && IDM_KEYMAP_LAST == 298, "Keymap range is 200-298");
static_assert(IDM_BUILTIN_SHEET > IDM_KEYMAP_FIRST && IDM_BUILTIN_SHEET < IDM_KEYMAP_LAST,
              "built-in sheet inside the Keymap range");
static_assert(IDM_HELP == 301 && IDM_ABOUT == 302, "Help commands live in 301-302");
static_assert(IDM_RECENT_FIRST + IDM_RECENT_COUNT - 1 == 404 && IDM_RECENT_LAST == 498,
              "recent files 400-404 inside 400-498");
#endif

#endif
