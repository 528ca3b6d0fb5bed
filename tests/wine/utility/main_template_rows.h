// The controls of the main dialog (template 102) as the utility must carry them, in template
// (and tab) order. Shared by the resource test and the tests of the running dialog.
#pragma once
#include <windows.h>

#include <iterator>
#include <vector>

#include "utility/resources/resource.h"

namespace template_rows {

enum class Kind { ComboBox, ListBox, AutoCheckBox, PushButton, DefPushButton, AutoRadio, OwnerDraw, Text, Edit, GroupBox };

struct ControlRow {
  int id;  // -1: no id of its own
  Kind kind;
  const char* caption;
  int x, y, cx, cy;  // dialog units, as the template places them
  bool startsGroup;  // checked for the radios and colour buttons, whose groups the arrow keys walk
};

constexpr int kNoId = -1;

const char* const kColourNames[16] = {"BMBWHITE",   "BMBRED",    "BMBGREEN",     "BMBBLUE",     "BMBCYAN",   "BMBMAGENTA",
                                      "BMBYELLOW",  "BMBDKRED",  "BMBDKGREEN",   "BMBDKBLUE",   "BMBDKCYAN", "BMBDKMAGENTA",
                                      "BMBDKYELLOW", "BMBLTGRAY", "BMBDKGRAY",   "BMBBLACK"};

// The band at the top: the scheme and the other nine roles, Left-handed, and the dark mode's
// scheme.
const ControlRow kTopBand[] = {
    {kNoId, Kind::Text, "Scheme:", 10, 9, 30, 8, false},
    {IDC_SCHEME, Kind::ComboBox, "", 42, 7, 150, 120, false},
    {IDC_IMPORT_SCHEME, Kind::PushButton, "Import...", 196, 6, 50, 14, false},
    {IDC_MORE_POINTERS, Kind::PushButton, "More pointers...", 250, 6, 65, 14, false},
    {IDC_LEFT_HANDED, Kind::AutoCheckBox, "Left-handed", 322, 8, 70, 10, false},
    {IDC_FOLLOW_DARK_MODE, Kind::AutoCheckBox, "Switch with dark mode", 10, 24, 95, 10, false},
    {kNoId, Kind::Text, "Dark mode scheme:", 110, 25, 66, 8, false},
    {IDC_DARK_SCHEME, Kind::ComboBox, "", 180, 23, 135, 120, false},
};

// Rows below the band and before the colour buttons, then the 32 colour buttons (made by
// ColourRow), then the rest.
const ControlRow kBeforeColours[] = {
    {IDC_LIST_NORMAL, Kind::ListBox, "", 10, 56, 120, 95, false},
    {IDC_MIRROR_NORMAL, Kind::AutoCheckBox, "Mirror Image \"Normal\"", 10, 156, 115, 10, false},
    {IDC_LIST_APPSTART, Kind::ListBox, "", 140, 56, 120, 95, false},
    {IDC_MIRROR_APPSTART, Kind::AutoCheckBox, "Mirror Image \"App Starting\"", 140, 156, 115, 10, false},
    {IDC_TEST_APPSTART, Kind::PushButton, "Test", 215, 41, 31, 14, false},
    {IDC_LIST_BUSY, Kind::ListBox, "", 270, 56, 120, 95, false},
    {IDC_TEST_BUSY, Kind::PushButton, "Test", 345, 41, 31, 14, false},
    {IDC_LIST_IBEAM, Kind::ListBox, "", 10, 181, 120, 36, false},
    {IDC_SIZING_DEFAULT, Kind::AutoRadio, "Default", 240, 181, 50, 15, true},
    {IDC_SIZING_LARGE, Kind::AutoRadio, "Large", 240, 196, 50, 15, false},
    {IDC_BLINK_NONE, Kind::AutoRadio, "None", 315, 181, 70, 10, true},
    {IDC_BLINK_RAPID, Kind::AutoRadio, "Rapid", 315, 191, 70, 10, false},
    {IDC_BLINK_1S_5050, Kind::AutoRadio, "1 second, 50:50", 315, 201, 70, 10, false},
    {IDC_BLINK_1S_7525, Kind::AutoRadio, "1 second, 75:25", 315, 211, 70, 10, false},
    {IDC_BLINK_2S, Kind::AutoRadio, "2 second flicker", 315, 221, 70, 10, false},
    {IDC_BLINK_4S, Kind::AutoRadio, "4 second flicker", 315, 231, 70, 10, false},
    {IDC_BLINK_WOBBLE, Kind::AutoRadio, "Wobble", 315, 256, 70, 10, false},
};

// Colour button k of a row (0 white row, 1 black row) where the template places it.
inline ControlRow ColourRow(int row, int k) {
  return {(row == 0 ? IDC_WHITE_FIRST : IDC_BLACK_FIRST) + k, Kind::OwnerDraw, kColourNames[k], 60 + 15 * k,
          row == 0 ? 221 : 241, 15, 15, k == 0};
}

const ControlRow kAfterColours[] = {
    {IDC_HIDE_MINIMIZED, Kind::AutoCheckBox, "Hide when minimized", 10, 261, 85, 10, false},
    {IDC_START_MINIMIZED, Kind::AutoCheckBox, "Minimize at startup", 10, 276, 80, 10, false},
    {IDC_OK, Kind::DefPushButton, "OK", 95, 276, 35, 14, false},
    {IDC_CANCEL, Kind::PushButton, "Cancel", 140, 276, 35, 14, false},
    {IDC_HELP_BUTTON, Kind::PushButton, "Help", 185, 276, 35, 14, false},
    {IDC_ABOUT_BUTTON, Kind::PushButton, "About...", 230, 276, 35, 14, false},
    {IDC_EXIT_RESTORE, Kind::PushButton, "Exit + Restore System Defaults", 275, 276, 115, 14, false},
    {kNoId, Kind::Text, "Normal", 15, 46, 32, 8, false},
    {kNoId, Kind::Text, "App Starting", 145, 46, 48, 8, false},
    {kNoId, Kind::Text, "Busy", 275, 46, 28, 8, false},
    {kNoId, Kind::Text, "I-Beam", 12, 171, 32, 8, false},
    {kNoId, Kind::Text, "Test I-Beam here:", 140, 181, 65, 8, false},
    {kNoId, Kind::Edit, "", 140, 191, 80, 12, false},
    {kNoId, Kind::GroupBox, "Sizing Arrows", 235, 171, 60, 45, false},
    {kNoId, Kind::GroupBox, "Blinking", 310, 161, 80, 110, false},
    {kNoId, Kind::Text, "(All cursors)", 315, 246, 70, 8, false},
    {kNoId, Kind::Text, "New \"white\":", 9, 224, 43, 8, false},
    {kNoId, Kind::Text, "New \"black\":", 9, 243, 45, 8, false},
    {kNoId, Kind::Text, "(Non-animated only)", 315, 171, 69, 8, false},
    {IDC_STATUS, Kind::Text, "", 105, 261, 195, 10, false},
    {kNoId, Kind::GroupBox, "Find the pointer", 10, 294, 380, 23, false},
    {IDC_HIDE_TYPING, Kind::AutoCheckBox, "Hide while typing", 20, 304, 100, 10, false},
    {IDC_SHAKE_ENLARGE, Kind::AutoCheckBox, "Shake to enlarge", 140, 304, 100, 10, false},
};

// All 87 rows in template order.
inline std::vector<ControlRow> AllRows() {
  std::vector<ControlRow> rows(std::begin(kTopBand), std::end(kTopBand));
  rows.insert(rows.end(), std::begin(kBeforeColours), std::end(kBeforeColours));
  for (int row = 0; row < 2; ++row) {
    for (int k = 0; k < 16; ++k) rows.push_back(ColourRow(row, k));
  }
  rows.insert(rows.end(), std::begin(kAfterColours), std::end(kAfterColours));
  return rows;
}

inline const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::ComboBox: return "drop-down list";
    case Kind::ListBox: return "list box";
    case Kind::AutoCheckBox: return "auto check box";
    case Kind::PushButton: return "push button";
    case Kind::DefPushButton: return "default push button";
    case Kind::AutoRadio: return "auto radio button";
    case Kind::OwnerDraw: return "owner-drawn button";
    case Kind::Text: return "text";
    case Kind::Edit: return "edit field";
    case Kind::GroupBox: return "group box";
  }
  return "?";
}

// Whether a control's window class and style make it a control of `kind`. Class names are
// compared without regard to case ("Button", "BUTTON"). A live edit or list control may carry
// its border as the client edge instead (`exStyle`).
inline bool HasKind(const char* className, DWORD style, Kind kind, DWORD exStyle = 0) {
  const DWORD type = style & 0x0F;
  auto is = [&](const char* name) { return lstrcmpiA(className, name) == 0; };
  switch (kind) {
    case Kind::ComboBox: return is("ComboBox") && (style & 0x3) == CBS_DROPDOWNLIST;
    case Kind::ListBox: {
      const DWORD needed = LBS_SORT | LBS_USETABSTOPS | LBS_NOTIFY | LBS_DISABLENOSCROLL | WS_VSCROLL;
      return is("ListBox") && (style & needed) == needed && ((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
    }
    case Kind::AutoCheckBox: return is("Button") && type == BS_AUTOCHECKBOX;
    case Kind::PushButton: return is("Button") && type == BS_PUSHBUTTON;
    case Kind::DefPushButton: return is("Button") && type == BS_DEFPUSHBUTTON;
    case Kind::AutoRadio: return is("Button") && type == BS_AUTORADIOBUTTON;
    case Kind::OwnerDraw: return is("Button") && type == BS_OWNERDRAW;
    case Kind::Text: return is("Static") && (style & SS_TYPEMASK) == SS_LEFT;
    case Kind::Edit: return is("Edit") && ((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
    case Kind::GroupBox: return is("Button") && type == BS_GROUPBOX;
  }
  return false;
}

}  // namespace template_rows
