#include "utility/cursor/cursor_roles_win.h"

#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "platform/system_cursor_ids.h"
#include "utility/cursor/left_hand.h"
#include "utility/cursor/library_entry.h"
#include "utility/cursor/mirrored_animations_win.h"
#include "utility/cursor/transformer_win.h"
#include "utility/records/cursor_settings.h"
#include "utility/records/guard_command.h"

CursorSlot CursorSlotTable[kRoleCount] = {};
platform::Lock slotsLock;
bool slotsCovered = false;

namespace {

uint32_t IdOfRow(size_t row) { return kCursorRoles[row].id; }

Scheme schemeInForce;
bool schemeSet = false;

// The platform's default for `id`: shared, never released.
HCURSOR PlatformDefault(DWORD id) { return platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(id)); }

// A new cursor from a library folder that the caller owns, or null when the file does not load
// or its path does not fit.
HCURSOR LoadFromLibrary(const char* folder, const char* storedName) {
  char path[kTextBufferSize];
  if (!ComposeLibraryPath(folder, storedName, path, sizeof path)) return nullptr;
  return platform::LoadCheckedCursorFile(path);
}

// The scheme's cursor for `role` (the caller's), or the platform's default where it has none.
RoleCursor SchemeCursor(size_t role) {
  const Scheme& scheme = SchemeInForce();
  char path[kTextBufferSize];
  if (SchemeCursorPath(scheme, role, path, sizeof path)) {
    if (HCURSOR loaded = platform::LoadCheckedCursorFile(path)) return {loaded, IsAnimatedName(scheme.files[role]), IdOfRow(role)};
  }
  return {PlatformDefault(IdOfRow(role)), false, IdOfRow(role)};
}

}  // namespace

void SetSchemeInForce(const Scheme& scheme) {
  schemeInForce = scheme;
  schemeSet = true;
}

const Scheme& SchemeInForce() {
  if (!schemeSet) SetSchemeInForce(Scheme());  // no files: every role the platform's
  return schemeInForce;
}

RoleCursor TakeRoleCursor(size_t role, const char* storedName) {
  RoleCursor cursor = {nullptr, IsAnimatedName(storedName), IdOfRow(role)};
  if (IsDefaultName(storedName)) {
    cursor = SchemeCursor(role);
  } else {
    cursor.handle = LoadFromLibrary(kCursorRoles[role].folder, storedName);
  }
  CursorSlotTable[role].animated = cursor.animated;
  return cursor;
}

RoleCursor TakeSameAsNormalCursor(const char* normalName) {
  RoleCursor cursor = IsDefaultName(normalName) ? SchemeCursor(kRoleNormal)
                                                : RoleCursor{LoadFromLibrary(kCursorRoles[kRoleNormal].folder, normalName),
                                                             IsAnimatedName(normalName), kIdNormal};
  cursor.id = kIdAppStarting;
  CursorSlotTable[kRoleAppStarting].animated = cursor.animated;
  return cursor;
}

void InstallRoleCursor(const RoleCursor& cursor, bool ownMirror) {
  const int row = RoleOfCursorId(cursor.id);
  MirrorQuestion question = {static_cast<size_t>(row), current.LeftHanded != 0, ownMirror, false};
  // Only a role that may keep its shape asks the platform for its bits.
  if (question.leftHanded && row >= 0 && kCursorRoles[row].leftHand == LeftHand::MirrorUnlessSymmetric) {
    question.symmetric = IsMirrorSymmetric(cursor.handle);
  }
  const bool mirror = row >= 0 ? MirrorsRole(question) : ownMirror;
  HCURSOR prepared = cursor.handle;
  if (cursor.animated) {
    if (mirror) prepared = MirroredAnimation(static_cast<size_t>(row), prepared);
  } else {
    prepared = RecolourCursor(prepared);
    if (mirror) prepared = MirrorCursor(prepared);
  }
  InstallCursor(prepared, cursor.id);
}

void InstallSizingArrows(bool large) {
  uint8_t order[kRoleCount];
  RolesInInstallOrder(order);
  for (uint8_t role : order) {
    const CursorRoleInfo& info = kCursorRoles[role];
    if (info.choice != RoleChoice::Sizing) continue;
    const RoleCursor cursor = large ? RoleCursor{LoadFromLibrary(info.folder, info.largeFile), false, info.id} : SchemeCursor(role);
    CursorSlotTable[role].animated = cursor.animated;
    InstallRoleCursor(cursor, false);
  }
}

void RestoreSystemCursors(int32_t& restoredFlag) {
  if (restoredFlag) return;
  // The user's own scheme, as it stands now (a size or scheme changed while the utility ran
  // included); the copies kept at start only where the platform will not reload it.
  if (!platform::ReloadUserCursorScheme()) {
    uint8_t order[kRoleCount];
    RolesInRestoreOrder(order);
    for (uint8_t role : order) platform::InstallSystemCursor(PlatformDefault(IdOfRow(role)), IdOfRow(role));
  }
  restoredFlag = 1;
  RemoveMirroredAnimations();
  // The guard, when there is one, has nothing left to do.
  char name[64];
  if (FormatGuardEventName(kDefaultsRestoredEvent, ::GetCurrentProcessId(), name, sizeof name)) {
    if (HANDLE restored = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
      ::SetEvent(restored);
      ::CloseHandle(restored);
    }
  }
}

void InstallCursor(HCURSOR cursor, DWORD id) {
  HCURSOR replaced = nullptr;
  {
    SlotsLocked locked;
    // While the pointer is hidden the id stays blank; the slot shows when the pointer does.
    if (!slotsCovered) platform::InstallSystemCursor(cursor, id);
    const int slot = RoleOfCursorId(id);
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
