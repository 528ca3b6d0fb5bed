// The record of what is installed under each role's system cursor id, one slot per row of the
// role table (slot n is kCursorRoles[n]). Written only by the cursor roles, on the dialog's
// thread; the animator reads the Normal, App Starting and I-Beam slots there, and finding the
// pointer reads every slot on a thread of its own.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/lock.h"
#include "utility/records/cursor_role_table.h"

struct CursorSlot {
  HCURSOR handle;    // last installed under the slot's id by InstallCursor; null at start
  int32_t animated;  // the role's cursor is animated
  int32_t side;      // the handle's width in pixels, asked once when it was installed; 0 unknown
};

extern CursorSlot CursorSlotTable[kRoleCount];

// Held by the roles around every change of a slot and by finding the pointer around every use
// of a slot's handle from its thread (the dialog's own reads need no lock: it is the writer).
extern platform::Lock slotsLock;
class SlotsLocked : public platform::Locked {
 public:
  SlotsLocked() : platform::Locked(slotsLock) {}
};
// True while finding the pointer has every id behind the blank: a role's install then changes
// its slot only, and the pointer shows it when it is shown again. Under slotsLock.
extern bool slotsCovered;
