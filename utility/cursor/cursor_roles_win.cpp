#include "utility/cursor/cursor_roles_win.h"

#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/app/cursor_settings.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/transformer_win.h"
#include "utility/dialog/main_dialog_win.h"

CursorSlot CursorSlotTable[kSlotCount] = {};

namespace {

// Slot order: the four list roles, then the sizing arrows in table order.
constexpr DWORD kSlotIds[kSlotCount] = {kIdNormal,   kIdAppStarting, kIdBusy,  kIdIBeam,
                                        kIdSizeNWSE, kIdSizeNESW,    kIdSizeWE, kIdSizeNS};
// The order in which the platform's defaults are put back at the end.
constexpr DWORD kRestoreOrder[8] = {kIdNormal, kIdBusy, kIdAppStarting, kIdIBeam,
                                    kIdSizeNWSE, kIdSizeNESW, kIdSizeWE, kIdSizeNS};

// The platform's default for `id`: shared, never released.
HCURSOR PlatformDefault(DWORD id) { return platform::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }

// Puts the default of `defaultId` back as the system cursor `id`; no slot changes.
void PutBackDefault(DWORD defaultId, DWORD id) { platform::SetSystemCursor(PlatformDefault(defaultId), id); }

// The stored name of the list's selected entry, written into `storedName` of `size`
// characters. False, with `storedName` unchanged, when nothing is selected.
bool ReadSelectedStoredName(const CListBox& list, char* storedName, size_t size) {
  const int selection = list.GetCurSel();
  if (selection < 0) return false;
  // Every entry was built in a buffer of this size; anything longer is not one of ours.
  const int length = list.GetTextLen(selection);
  if (length < 0 || static_cast<size_t>(length) >= kLibraryBufferSize) return false;
  char entryText[kLibraryBufferSize];
  if (list.GetText(selection, entryText) != length) return false;
  EntryToStoredName(entryText, storedName, size);
  return true;
}

// A new cursor from the library that the caller owns, or null when the file does not load or
// its path does not fit.
HCURSOR LoadFromLibrary(const char* folder, const char* storedName) {
  char path[kLibraryBufferSize];
  if (!ComposeLibraryPath(folder, storedName, path, sizeof path)) return nullptr;
  return platform::LoadCursorFromFileA(path);
}

// Animated cursors untouched; static ones recoloured, then mirrored when asked.
HCURSOR PrepareForInstall(HCURSOR source, bool animated, bool mirror) {
  if (mirror) return MirrorCursor(RecolourCursor(source));
  return animated ? source : RecolourCursor(source);
}

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

}  // namespace

int SlotOfCursorId(DWORD id) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (kSlotIds[slot] == id) return slot;
  }
  return -1;
}

void InstallCursor(HCURSOR cursor, DWORD id) {
  platform::SetSystemCursor(cursor, id);
  const int slot = SlotOfCursorId(id);
  if (slot < 0) {
    // No slot keeps it; the platform has its own copy.
    platform::DestroyCursor(cursor);
    return;
  }
  HCURSOR& held = CursorSlotTable[slot].handle;
  if (held && held != cursor) platform::DestroyCursor(held);
  held = cursor;
}

void MainDialog::ApplyNormal() {
  if (!ReadSelectedStoredName(normalList, current.Normal, sizeof current.Normal)) return;
  HCURSOR source;
  if (IsDefaultName(current.Normal)) {
    PutBackDefault(kIdNormal, kIdNormal);
    source = PlatformDefault(kIdNormal);
  } else {
    source = LoadFromLibrary(kNormalFolder, current.Normal);
  }
  const bool animated = IsAnimatedName(current.Normal);
  CursorSlotTable[kSlotNormal].animated = animated;
  ShowMirrorOption(mirrorNormal, animated, current.MirrorNormal);
  if (IsSameAsNormalName(current.Appstart)) ApplyAppStarting();
  const bool mirror = current.MirrorNormal && mirrorNormal.GetCheck() == BST_CHECKED;
  InstallCursor(PrepareForInstall(source, animated, mirror), kIdNormal);
}

void MainDialog::ApplyAppStarting() {
  if (!ReadSelectedStoredName(appStartingList, current.Appstart, sizeof current.Appstart)) return;
  HCURSOR source;
  bool animated = IsAnimatedName(current.Appstart);
  if (IsDefaultName(current.Appstart)) {
    PutBackDefault(kIdAppStarting, kIdAppStarting);
    source = PlatformDefault(kIdAppStarting);
  } else if (IsSameAsNormalName(current.Appstart)) {
    // Its own handle from the Normal role's file, never the Normal role's handle.
    if (!ReadSelectedStoredName(normalList, current.Normal, sizeof current.Normal)) return;
    if (IsDefaultName(current.Normal)) {
      PutBackDefault(kIdNormal, kIdAppStarting);
      source = PlatformDefault(kIdNormal);
    } else {
      source = LoadFromLibrary(kNormalFolder, current.Normal);
    }
    animated = CursorSlotTable[kSlotNormal].animated != 0;
  } else {
    source = LoadFromLibrary(kAppStartingFolder, current.Appstart);
  }
  CursorSlotTable[kSlotAppStarting].animated = animated;
  ShowMirrorOption(mirrorAppStarting, animated, current.MirrorAppstart);
  const bool mirror = current.MirrorAppstart && mirrorAppStarting.GetCheck() == BST_CHECKED;
  InstallCursor(PrepareForInstall(source, animated, mirror), kIdAppStarting);
}

namespace {
// Busy and I-Beam: no mirror option, no other role follows them.
void ApplyPlainRole(const CListBox& list, char* storedName, size_t size, const char* folder, DWORD id, int slot) {
  if (!ReadSelectedStoredName(list, storedName, size)) return;
  HCURSOR source;
  if (IsDefaultName(storedName)) {
    PutBackDefault(id, id);
    source = PlatformDefault(id);
  } else {
    source = LoadFromLibrary(folder, storedName);
  }
  const bool animated = IsAnimatedName(storedName);
  CursorSlotTable[slot].animated = animated;
  InstallCursor(PrepareForInstall(source, animated, false), id);
}
}  // namespace

void MainDialog::ApplyBusy() { ApplyPlainRole(busyList, current.Busy, sizeof current.Busy, kBusyFolder, kIdBusy, kSlotBusy); }

void MainDialog::ApplyIBeam() {
  ApplyPlainRole(ibeamList, current.Ibeam, sizeof current.Ibeam, kIBeamFolder, kIdIBeam, kSlotIBeam);
}

void MainDialog::ApplySizingDefault() {
  current.Sizing = 0;
  for (DWORD id : kSizingIds) {
    PutBackDefault(id, id);
    InstallCursor(RecolourCursor(PlatformDefault(id)), id);
  }
}

void MainDialog::ApplySizingLarge() {
  current.Sizing = 1;
  for (int arrow = 0; arrow < 4; ++arrow) {
    InstallCursor(RecolourCursor(LoadFromLibrary(kSizingFolder, kLargeSizingFiles[arrow])), kSizingIds[arrow]);
  }
}

void MainDialog::OnMirrorNormal() {
  current.MirrorNormal = mirrorNormal.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyNormal();
}

void MainDialog::OnMirrorAppStarting() {
  current.MirrorAppstart = mirrorAppStarting.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyAppStarting();
}

void MainDialog::ApplyAllCursors() {
  ApplyNormal();
  ApplyAppStarting();
  ApplyBusy();
  ApplyIBeam();
  if (current.Sizing == 0) {
    ApplySizingDefault();
  } else {
    ApplySizingLarge();
  }
}

void MainDialog::RestoreSystemCursors() {
  if (restoredFlag) return;
  for (DWORD id : kRestoreOrder) PutBackDefault(id, id);
  restoredFlag = 1;
}
