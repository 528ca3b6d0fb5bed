// MainDialog's cursor roles and library lists: what the lists, the sizing radios and the mirror
// boxes choose, handed to the cursor layer.
#include "utility/cursor/cursor_roles_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/dialog/more_pointers_dialog_win.h"
#include "utility/dialog/role_lists_win.h"
#include "utility/records/cursor_settings.h"

namespace {

// An animated cursor cannot be mirrored: the option is shown off and cannot be changed, while
// the setting itself keeps its value for the next static cursor.
void ShowMirrorOption(const CButton& box, bool animated, int32_t option) {
  if (animated) {
    box.SetCheck(BST_UNCHECKED);
    box.EnableWindow(FALSE);
  } else {
    box.EnableWindow(TRUE);
    box.SetCheck(option ? BST_CHECKED : BST_UNCHECKED);
  }
}

// Mirrored when the setting asks for it and the box shows it (it is off for an animated cursor).
bool MirrorAsked(const CButton& box, int32_t option) { return option && box.GetCheck() == BST_CHECKED; }

}  // namespace

void MainDialog::OnListChosen(UINT id) {
  UserMadeChoice();
  switch (id) {
    case IDC_LIST_NORMAL: ApplyNormal(); break;
    case IDC_LIST_BUSY: ApplyBusy(); break;
    case IDC_LIST_IBEAM: ApplyIBeam(); break;
    case IDC_LIST_APPSTART: ApplyAppStarting(); break;
    default: break;
  }
  ShowSchemeChoice();
}

void MainDialog::ApplyNormal() { ApplyNormalRole(true); }

void MainDialog::ApplyNormalRole(bool withFollower) {
  if (!ReadSelectedStoredName(normalList, current.Normal, sizeof current.Normal)) return;
  const RoleCursor cursor = TakeRoleCursor(kRoleNormal, current.Normal);
  ShowMirrorOption(mirrorNormal, cursor.animated, current.MirrorNormal);
  if (withFollower && IsSameAsNormalName(current.Appstart)) ApplyAppStarting();
  InstallRoleCursor(cursor, MirrorAsked(mirrorNormal, current.MirrorNormal));
}

void MainDialog::ApplyAppStarting() {
  if (!ReadSelectedStoredName(appStartingList, current.Appstart, sizeof current.Appstart)) return;
  RoleCursor cursor;
  if (IsSameAsNormalName(current.Appstart)) {
    if (!ReadSelectedStoredName(normalList, current.Normal, sizeof current.Normal)) return;
    cursor = TakeSameAsNormalCursor(current.Normal);
  } else {
    cursor = TakeRoleCursor(kRoleAppStarting, current.Appstart);
  }
  ShowMirrorOption(mirrorAppStarting, cursor.animated, current.MirrorAppstart);
  InstallRoleCursor(cursor, MirrorAsked(mirrorAppStarting, current.MirrorAppstart));
}

void MainDialog::ApplyBusy() {
  if (!ReadSelectedStoredName(busyList, current.Busy, sizeof current.Busy)) return;
  InstallRoleCursor(TakeRoleCursor(kRoleBusy, current.Busy), false);
}

void MainDialog::ApplyIBeam() {
  if (!ReadSelectedStoredName(ibeamList, current.Ibeam, sizeof current.Ibeam)) return;
  InstallRoleCursor(TakeRoleCursor(kRoleIBeam, current.Ibeam), false);
}

void MainDialog::ApplySizingDefault() {
  UserMadeChoice();
  current.Sizing = 0;
  InstallSizingArrows(false);
  ShowSchemeChoice();
}

void MainDialog::ApplySizingLarge() {
  UserMadeChoice();
  current.Sizing = 1;
  InstallSizingArrows(true);
  ShowSchemeChoice();
}

void MainDialog::ApplyMoreRole(size_t role) {
  InstallRoleCursor(TakeRoleCursor(role, StoredChoice(current, role)), false);
}

void MainDialog::ApplyChosenRole(size_t role) {
  UserMadeChoice();
  ApplyMoreRole(role);
  ShowSchemeChoice();
}

void MainDialog::OnMorePointers() {
  MorePointersDialog more(*this);
  more.DoModal();
}

void MainDialog::OnMirrorNormal() {
  UserMadeChoice();
  current.MirrorNormal = mirrorNormal.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyNormal();
}

void MainDialog::OnMirrorAppStarting() {
  UserMadeChoice();
  current.MirrorAppstart = mirrorAppStarting.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyAppStarting();
}

void MainDialog::OnLeftHanded() {
  UserMadeChoice();
  current.LeftHanded = leftHanded.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyAllCursors();
}

void MainDialog::ApplyAllCursors() {
  uint8_t order[kRoleCount];
  RolesInInstallOrder(order);
  bool sizingDone = false;
  for (uint8_t role : order) {
    switch (kCursorRoles[role].choice) {
      case RoleChoice::List:
        // App Starting comes in its own turn, so a follower of Normal is not installed twice.
        if (role == kRoleNormal) ApplyNormalRole(false);
        if (role == kRoleAppStarting) ApplyAppStarting();
        if (role == kRoleBusy) ApplyBusy();
        if (role == kRoleIBeam) ApplyIBeam();
        break;
      case RoleChoice::Sizing:
        // The four arrows go together, in their own order, at the first of them.
        if (!sizingDone) InstallSizingArrows(current.Sizing != 0);
        sizingDone = true;
        break;
      case RoleChoice::More:
        ApplyMoreRole(role);
        break;
    }
  }
}

void MainDialog::RestoreSystemCursors() { ::RestoreSystemCursors(restoredFlag); }

const CListBox& MainDialog::ListOf(size_t role) const {
  switch (role) {
    case kRoleAppStarting: return appStartingList;
    case kRoleBusy: return busyList;
    case kRoleIBeam: return ibeamList;
    default: return normalList;
  }
}

void MainDialog::FillLists() {
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (kCursorRoles[role].choice != RoleChoice::List) continue;
    ListOf(role).SetTabStops(20);
    FillRoleList(ListOf(role), kCursorRoles[role].folder, role == kRoleAppStarting);
  }
}

void MainDialog::SelectStoredCursors() {
  for (size_t role = 0; role < kRoleCount; ++role) {
    if (kCursorRoles[role].choice != RoleChoice::List) continue;
    SelectStoredEntry(ListOf(role), kCursorRoles[role].folder, StoredChoice(current, role), role == kRoleAppStarting);
  }
}
