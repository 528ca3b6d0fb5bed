// Resource and control ids of Pointrel.EXE, in blocks that follow the templates.
#pragma once

// Templates, icons, cursors, strings
#define IDD_ABOUT 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDD_MORE_POINTERS 103
#define IDD_IMPORT_PREVIEW 104
#define IDI_MAIN 128
#define IDC_PALETTE_TEMPLATE 129
#define IDC_BLANK 130
#define IDI_SMALL 136

// System menu command of the About box
#define IDM_ABOUT 16

// Template 102: lists and their options
#define IDC_LIST_NORMAL 1002
#define IDC_LIST_BUSY 1003
#define IDC_LIST_IBEAM 1004
#define IDC_LIST_APPSTART 1005
#define IDC_SIZING_DEFAULT 1006
#define IDC_SIZING_LARGE 1007
#define IDC_OK 1010
#define IDC_CANCEL 1011
#define IDC_TEST_APPSTART 1017
#define IDC_TEST_BUSY 1018

// Colour rows: button k of a row stands for palette index k
#define IDC_WHITE_FIRST 1020
#define IDC_WHITE_LAST 1035
#define IDC_BLACK_FIRST 1036
#define IDC_BLACK_LAST 1051

// Blinking radios in mode order 1 to 5 after None; Wobble stands apart
#define IDC_BLINK_NONE 1052
#define IDC_BLINK_RAPID 1053
#define IDC_BLINK_1S_5050 1054
#define IDC_BLINK_1S_7525 1055
#define IDC_BLINK_2S 1056
#define IDC_BLINK_4S 1057
#define IDC_MIRROR_NORMAL 1058
#define IDC_MIRROR_APPSTART 1059
#define IDC_BLINK_WOBBLE 1060
#define IDC_HIDE_MINIMIZED 1061
#define IDC_START_MINIMIZED 1062
#define IDC_STATUS 1063
#define IDC_HELP_BUTTON 1064
#define IDC_EXIT_RESTORE 1066
#define IDC_ABOUT_BUTTON 1067
#define IDC_HIDE_TYPING 1068
#define IDC_SHAKE_ENLARGE 1069

// Template 102: schemes
#define IDC_SCHEME 1070
#define IDC_MORE_POINTERS 1071
#define IDC_IMPORT_SCHEME 1072
#define IDC_FOLLOW_DARK_MODE 1073
#define IDC_DARK_SCHEME 1074
#define IDC_LEFT_HANDED 1075

// Template 103: "More pointers...", row k for the k-th role chosen there, in role-table order
#define IDC_MORE_FIRST_CHOICE 1080
#define IDC_MORE_LAST_CHOICE 1088
#define IDC_MORE_FIRST_PREVIEW 1090
#define IDC_MORE_LAST_PREVIEW 1098
#define IDC_MORE_FIRST_CAPTION 1100
#define IDC_MORE_LAST_CAPTION 1108

// Template 104: the import's preview, row k for role k of the role table
#define IDC_IMPORT_NAME 1110
#define IDC_IMPORT_OWN 1111
#define IDC_IMPORT_REMOVE 1112
#define IDC_IMPORT_FIRST_CAPTION 1120
#define IDC_IMPORT_LAST_CAPTION 1136
#define IDC_IMPORT_FIRST_CHOICE 1140
#define IDC_IMPORT_LAST_CHOICE 1156
#define IDC_IMPORT_FIRST_PREVIEW 1160
#define IDC_IMPORT_LAST_PREVIEW 1176
#define IDC_IMPORT_FIRST_REASON 1180
#define IDC_IMPORT_LAST_REASON 1196

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

#if !defined(RC_INVOKED) && defined(__cplusplus)
// Buttons per colour row, one per palette entry.
constexpr int kColourRowLength = IDC_WHITE_LAST - IDC_WHITE_FIRST + 1;
static_assert(kColourRowLength == 16 /* kPaletteSize */ && IDC_BLACK_FIRST == IDC_WHITE_LAST + 1 &&
                  IDC_BLACK_LAST - IDC_BLACK_FIRST + 1 == kColourRowLength,
              "the colour rows are two blocks of sixteen ids");
static_assert(IDC_BLINK_4S - IDC_BLINK_NONE == 5, "blink radios None to 4 second flicker are contiguous");
// Rows of "More pointers...": a caption, a drop-down and a preview each, in three blocks.
constexpr int kMorePointerRows = IDC_MORE_LAST_CHOICE - IDC_MORE_FIRST_CHOICE + 1;
static_assert(IDC_MORE_LAST_PREVIEW - IDC_MORE_FIRST_PREVIEW + 1 == kMorePointerRows &&
                  IDC_MORE_LAST_CAPTION - IDC_MORE_FIRST_CAPTION + 1 == kMorePointerRows,
              "the rows of More pointers are three blocks of the same length");
// Rows of the import's preview: one per role, in four blocks.
constexpr int kImportRows = IDC_IMPORT_LAST_CHOICE - IDC_IMPORT_FIRST_CHOICE + 1;
static_assert(IDC_IMPORT_LAST_CAPTION - IDC_IMPORT_FIRST_CAPTION + 1 == kImportRows &&
                  IDC_IMPORT_LAST_PREVIEW - IDC_IMPORT_FIRST_PREVIEW + 1 == kImportRows &&
                  IDC_IMPORT_LAST_REASON - IDC_IMPORT_FIRST_REASON + 1 == kImportRows,
              "the rows of the import's preview are four blocks of the same length");
#endif
