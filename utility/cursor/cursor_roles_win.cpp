#include "utility/cursor/cursor_roles_win.h"

#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/records/cursor_settings.h"
#include "utility/records/guard_command.h"
#include "utility/cursor/cursor_library_win.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/transformer_win.h"

CursorSlot CursorSlotTable[kSlotCount] = {};
platform::Lock slotsLock;
bool slotsCovered = false;

namespace {

struct ListRoleInfo {
  const char* folder;
  DWORD id;
  int slot;
};
// In ListRole order.
constexpr ListRoleInfo kListRoles[4] = {
    {kNormalFolder, kIdNormal, kSlotNormal},
    {kAppStartingFolder, kIdAppStarting, kSlotAppStarting},
    {kBusyFolder, kIdBusy, kSlotBusy},
    {kIBeamFolder, kIdIBeam, kSlotIBeam},
};

const ListRoleInfo& InfoOf(ListRole role) { return kListRoles[static_cast<int>(role)]; }

// The platform's default for `id`: shared, never released.
HCURSOR PlatformDefault(DWORD id) { return platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id)); }

// Puts the default of `defaultId` back as the system cursor `id`; no slot changes. A role on its
// default needs no such step before its own install: the service hands out the kept default
// whatever is installed, so the role's one install is the default, recoloured where it can be.
void PutBackDefault(DWORD defaultId, DWORD id) { platform::InstallSystemCursor(PlatformDefault(defaultId), id); }

// A new cursor from the library that the caller owns, or null when the file does not load or
// its path does not fit.
HCURSOR LoadFromLibrary(const char* folder, const char* storedName) {
  char path[kTextBufferSize];
  if (!ComposeLibraryPath(folder, storedName, path, sizeof path)) return nullptr;
  return platform::LoadCheckedCursorFile(path);
}

}  // namespace

const char* RoleFolder(ListRole role) { return InfoOf(role).folder; }

RoleCursor TakeRoleCursor(ListRole role, const char* storedName) {
  const ListRoleInfo& info = InfoOf(role);
  RoleCursor cursor = {nullptr, IsAnimatedName(storedName), info.id};
  if (IsDefaultName(storedName)) {
    cursor.handle = PlatformDefault(info.id);
  } else {
    cursor.handle = LoadFromLibrary(info.folder, storedName);
  }
  CursorSlotTable[info.slot].animated = cursor.animated;
  return cursor;
}

RoleCursor TakeSameAsNormalCursor(const char* normalName) {
  RoleCursor cursor = {nullptr, CursorSlotTable[kSlotNormal].animated != 0, kIdAppStarting};
  if (IsDefaultName(normalName)) {
    cursor.handle = PlatformDefault(kIdNormal);
  } else {
    cursor.handle = LoadFromLibrary(kNormalFolder, normalName);
  }
  CursorSlotTable[kSlotAppStarting].animated = cursor.animated;
  return cursor;
}

void InstallRoleCursor(const RoleCursor& cursor, bool mirror) {
  HCURSOR prepared = cursor.handle;
  if (mirror) {
    prepared = MirrorCursor(RecolourCursor(prepared));
  } else if (!cursor.animated) {
    prepared = RecolourCursor(prepared);
  }
  InstallCursor(prepared, cursor.id);
}

void InstallSizingArrows(bool large) {
  for (int arrow = 0; arrow < 4; ++arrow) {
    const DWORD id = kReplaceableCursorIds[kSlotSizeNWSE + arrow];
    if (large) {
      InstallCursor(RecolourCursor(LoadFromLibrary(kSizingFolder, kLargeSizingFiles[arrow])), id);
    } else {
      InstallCursor(RecolourCursor(PlatformDefault(id)), id);
    }
  }
}

void RestoreSystemCursors(int32_t& restoredFlag) {
  if (restoredFlag) return;
  // The user's own scheme, as it stands now (a size or scheme changed while the utility ran
  // included); the copies kept at start only where the platform will not reload it.
  if (!platform::ReloadUserCursorScheme()) {
    for (DWORD id : kRestoreOrder) PutBackDefault(id, id);
    // The others only where hiding the pointer had left them blank.
    for (DWORD id : kHideOnlyCursorIds) {
      if (platform::ShowsReplacement(id)) platform::InstallSystemCursor(platform::SystemDefaultCursor(id), id);
    }
  }
  restoredFlag = 1;
  // The guard, when there is one, has nothing left to do.
  char name[64];
  if (FormatGuardEventName(kDefaultsRestoredEvent, ::GetCurrentProcessId(), name, sizeof name)) {
    if (HANDLE restored = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
      ::SetEvent(restored);
      ::CloseHandle(restored);
    }
  }
}

int SlotOfCursorId(DWORD id) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (kReplaceableCursorIds[slot] == id) return slot;
  }
  return -1;
}

void InstallCursor(HCURSOR cursor, DWORD id) {
  HCURSOR replaced = nullptr;
  {
    SlotsLocked locked;
    // While the pointer is hidden the id stays blank; the slot shows when the pointer does.
    if (!slotsCovered) platform::InstallSystemCursor(cursor, id);
    const int slot = SlotOfCursorId(id);
    if (slot < 0) {
      // No slot keeps it; the platform has its own copy.
      replaced = cursor;
    } else if (CursorSlotTable[slot].handle != cursor) {  // the same image again: its side is known
      replaced = CursorSlotTable[slot].handle;
      CursorSlotTable[slot].handle = cursor;
      // Asked once here, so a blink never asks the platform at every hide.
      CursorSlotTable[slot].side = cursor ? platform::CursorSide(cursor) : 0;
    }
  }
  // Released once no slot names it: finding the pointer reads slots only under the lock.
  if (replaced) platform::ReleaseCursor(replaced);
}
