// MainDialog's scheme box: the schemes there are, the one in force (or "<Custom>" while a choice
// differs from it), and a scheme chosen there installed for every role at once.
#include <cstring>
#include <new>

#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/cursor/shipped_schemes.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/records/cursor_settings.h"

void MainDialog::FillSchemeBox() {
  schemeBox.ResetContent();
  schemeBox.AddString(kNoSchemeName);
  for (const ShippedScheme& shipped : kShippedSchemes) schemeBox.AddString(shipped.name);
  OwnSchemeEntry* own = new (std::nothrow) OwnSchemeEntry[kMostOwnSchemes];
  if (own) {
    const size_t count = ListOwnSchemes(own, kMostOwnSchemes);
    for (size_t i = 0; i < count; ++i) {
      // A scheme of the user's named like one of ours, or like the box's own entries, is left out.
      if (schemeBox.FindStringExact(-1, own[i].name) < 0 && std::strcmp(own[i].name, kCustomSchemeName) != 0) {
        schemeBox.AddString(own[i].name);
      }
    }
  }
  delete[] own;
}

void MainDialog::LoadSchemeInForce() {
  Scheme* scheme = new (std::nothrow) Scheme;
  if (!scheme) return;
  // A stored name of no scheme there is (one removed since) shows the platform's cursors; it
  // stays stored as it stood until another is chosen.
  if (!LoadSchemeNamed(current.Scheme, scheme)) NoScheme(scheme);
  SetSchemeInForce(*scheme);
  delete scheme;
}

void MainDialog::ShowSchemeChoice() {
  const int custom = schemeBox.FindStringExact(-1, kCustomSchemeName);
  if (SettingsDifferFromScheme(SchemeInForce(), current)) {
    const int at = custom >= 0 ? custom : schemeBox.AddString(kCustomSchemeName);
    schemeBox.SetCurSel(at);
    return;
  }
  if (custom >= 0) schemeBox.DeleteString(custom);
  schemeBox.SetCurSel(schemeBox.FindStringExact(-1, SchemeInForce().name));
}

void MainDialog::OnSchemeChosen() {
  const int selection = schemeBox.GetCurSel();
  const int length = selection >= 0 ? schemeBox.GetLBTextLen(selection) : -1;
  char name[kTextBufferSize];
  if (length < 0 || static_cast<size_t>(length) >= sizeof name || schemeBox.GetLBText(selection, name) != length ||
      std::strcmp(name, kCustomSchemeName) == 0) {
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
