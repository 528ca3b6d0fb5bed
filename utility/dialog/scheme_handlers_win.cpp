// MainDialog's two scheme boxes: the schemes there are, the light one (or "<Custom>" while a
// choice differs from the scheme in force) and the dark one, a scheme chosen there installed for
// every role at once, and the dark one put in force while Windows' apps are dark.
#include <cstring>
#include <new>

#include "utility/cursor/app_mode_win.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/cursor/shipped_schemes.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/records/cursor_settings.h"

namespace {

void FillWithSchemes(const CComboBox& box, const OwnSchemeEntry* own, size_t ownCount) {
  box.ResetContent();
  box.AddString(kNoSchemeName);
  for (const ShippedScheme& shipped : kShippedSchemes) box.AddString(shipped.name);
  for (size_t i = 0; i < ownCount; ++i) {
    // A scheme of the user's named like one of ours, or like the box's own entries, is left out.
    if (box.FindStringExact(-1, own[i].name) < 0 && std::strcmp(own[i].name, kCustomSchemeName) != 0) {
      box.AddString(own[i].name);
    }
  }
}

// The entry of the scheme named `name`, or "<None>" for a name the box does not list (a scheme
// removed since: the platform's cursors are in force for it).
void SelectSchemeNamed(const CComboBox& box, const char* name) {
  const int at = box.FindStringExact(-1, name);
  box.SetCurSel(at >= 0 ? at : box.FindStringExact(-1, kNoSchemeName));
}

// The selected entry's text into `name`; false for none, or one that does not fit.
bool ReadSelectedName(const CComboBox& box, char* name, size_t size) {
  const int selection = box.GetCurSel();
  const int length = selection >= 0 ? box.GetLBTextLen(selection) : -1;
  return length >= 0 && static_cast<size_t>(length) < size && box.GetLBText(selection, name) == length;
}

}  // namespace

void MainDialog::FillSchemeBox() {
  OwnSchemeEntry* own = new (std::nothrow) OwnSchemeEntry[kMostOwnSchemes];
  const size_t count = own ? ListOwnSchemes(own, kMostOwnSchemes) : 0;
  FillWithSchemes(schemeBox, own, count);
  FillWithSchemes(darkSchemeBox, own, count);
  delete[] own;
}

void MainDialog::LoadSchemeInForce() {
  Scheme* scheme = new (std::nothrow) Scheme;
  if (!scheme) return;
  // A stored name of no scheme there is (one removed since) shows the platform's cursors; it
  // stays stored as it stood until another is chosen.
  if (!LoadSchemeNamed(SchemeNameInForce(current, appMode), scheme)) NoScheme(scheme);
  SetSchemeInForce(*scheme);
  delete scheme;
}

void MainDialog::ShowSchemeChoice() {
  followDarkMode.SetCheck(current.FollowDarkMode ? BST_CHECKED : BST_UNCHECKED);
  darkSchemeBox.EnableWindow(current.FollowDarkMode ? TRUE : FALSE);
  SelectSchemeNamed(darkSchemeBox, current.DarkScheme);
  const int custom = schemeBox.FindStringExact(-1, kCustomSchemeName);
  if (SettingsDifferFromScheme(SchemeInForce(), current)) {
    const int at = custom >= 0 ? custom : schemeBox.AddString(kCustomSchemeName);
    schemeBox.SetCurSel(at);
    return;
  }
  if (custom >= 0) schemeBox.DeleteString(custom);
  SelectSchemeNamed(schemeBox, current.Scheme);
}

void MainDialog::OnSchemeChosen() {
  char name[kTextBufferSize];
  if (!ReadSelectedName(schemeBox, name, sizeof name) || std::strcmp(name, kCustomSchemeName) == 0) {
    ShowSchemeChoice();
    return;
  }
  UserMadeChoice();
  std::strcpy(current.Scheme, name);
  // Every role shows the scheme's cursor: the lists go back to "<Default>", the arrows to theirs.
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (char* choice = StoredChoice(current, role)) std::strcpy(choice, kDefaultName);
  }
  current.Sizing = 0;
  LoadSchemeInForce();
  SelectStoredCursors();
  sizingDefault.SetCheck(BST_CHECKED);
  sizingLarge.SetCheck(BST_UNCHECKED);
  ApplyAllCursors();
  ShowSchemeChoice();
}

void MainDialog::OnFollowDarkMode() {
  UserMadeChoice();
  current.FollowDarkMode = followDarkMode.GetCheck() == BST_CHECKED ? 1 : 0;
  if (FollowAppMode()) ApplyAllCursors();
  ShowSchemeChoice();
}

void MainDialog::OnDarkSchemeChosen() {
  char name[kTextBufferSize];
  if (!ReadSelectedName(darkSchemeBox, name, sizeof name)) {
    ShowSchemeChoice();
    return;
  }
  UserMadeChoice();
  std::strcpy(current.DarkScheme, name);
  if (FollowAppMode()) ApplyAllCursors();
  ShowSchemeChoice();
}

bool MainDialog::FollowAppMode() {
  char before[kSchemeNameSize];
  CopyCut(SchemeInForce().name, before, sizeof before);
  appMode = ReadAppMode();
  LoadSchemeInForce();
  return std::strcmp(before, SchemeInForce().name) != 0;
}
