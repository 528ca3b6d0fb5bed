// MainDialog's cursor roles and library lists: what the lists, the sizing radios and the mirror
// boxes choose, handed to the cursor layer.
#include <initializer_list>

#include "utility/records/cursor_settings.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/dialog/main_dialog_win.h"

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
}

void MainDialog::ApplyNormal() { ApplyNormalRole(true); }

void MainDialog::ApplyNormalRole(bool withFollower) {
  if (!ReadSelectedStoredName(normalList, current.Normal, sizeof current.Normal)) return;
  const RoleCursor cursor = TakeRoleCursor(ListRole::Normal, current.Normal);
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
    cursor = TakeRoleCursor(ListRole::AppStarting, current.Appstart);
  }
  ShowMirrorOption(mirrorAppStarting, cursor.animated, current.MirrorAppstart);
  InstallRoleCursor(cursor, MirrorAsked(mirrorAppStarting, current.MirrorAppstart));
}

void MainDialog::ApplyBusy() {
  if (!ReadSelectedStoredName(busyList, current.Busy, sizeof current.Busy)) return;
  InstallRoleCursor(TakeRoleCursor(ListRole::Busy, current.Busy), false);
}

void MainDialog::ApplyIBeam() {
  if (!ReadSelectedStoredName(ibeamList, current.Ibeam, sizeof current.Ibeam)) return;
  InstallRoleCursor(TakeRoleCursor(ListRole::IBeam, current.Ibeam), false);
}

void MainDialog::ApplySizingDefault() {
  UserMadeChoice();
  current.Sizing = 0;
  InstallSizingArrows(false);
}

void MainDialog::ApplySizingLarge() {
  UserMadeChoice();
  current.Sizing = 1;
  InstallSizingArrows(true);
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

void MainDialog::ApplyAllCursors() {
  // App Starting comes in its own turn, so a follower of Normal is not installed twice.
  ApplyNormalRole(false);
  ApplyAppStarting();
  ApplyBusy();
  ApplyIBeam();
  InstallSizingArrows(current.Sizing != 0);
}

void MainDialog::RestoreSystemCursors() { ::RestoreSystemCursors(restoredFlag); }

void MainDialog::FillLists() {
  for (const CListBox* list : {&normalList, &appStartingList, &busyList, &ibeamList}) list->SetTabStops(20);
  FillRoleList(normalList, RoleFolder(ListRole::Normal), false);
  FillRoleList(busyList, RoleFolder(ListRole::Busy), false);
  FillRoleList(appStartingList, RoleFolder(ListRole::AppStarting), true);
  FillRoleList(ibeamList, RoleFolder(ListRole::IBeam), false);
}

void MainDialog::SelectStoredCursors() {
  SelectStoredEntry(normalList, RoleFolder(ListRole::Normal), current.Normal, false);
  SelectStoredEntry(appStartingList, RoleFolder(ListRole::AppStarting), current.Appstart, true);
  SelectStoredEntry(busyList, RoleFolder(ListRole::Busy), current.Busy, false);
  SelectStoredEntry(ibeamList, RoleFolder(ListRole::IBeam), current.Ibeam, false);
}
