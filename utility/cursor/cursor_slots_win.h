// The record of what is installed under each replaced system cursor id. Written only by the
// cursor roles, on the dialog's thread; the animator reads slots 0, 1 and 3 there, and finding
// the pointer reads every slot on a thread of its own.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/lock.h"
#include "platform/system_cursor_ids.h"

struct CursorSlot {
  HCURSOR handle;    // last installed under the slot's id by InstallCursor; null at start
  int32_t animated;  // the role's cursor is animated (slots 0 to 3; 4 to 7 stay 0)
  int32_t side;      // the handle's width in pixels, asked once when it was installed; 0 unknown
};

// Slot n keeps kReplaceableCursorIds[n].
enum CursorSlotIndex {
  kSlotNormal = 0,
  kSlotAppStarting = 1,
  kSlotBusy = 2,
  kSlotIBeam = 3,
  kSlotSizeNWSE = 4,
  kSlotSizeNESW = 5,
  kSlotSizeWE = 6,
  kSlotSizeNS = 7,
  kSlotCount = 8
};
static_assert(kSlotCount == kReplaceableCount && kReplaceableCursorIds[kSlotNormal] == kIdNormal && kReplaceableCursorIds[kSlotAppStarting] == kIdAppStarting &&
                  kReplaceableCursorIds[kSlotBusy] == kIdBusy && kReplaceableCursorIds[kSlotIBeam] == kIdIBeam &&
                  kReplaceableCursorIds[kSlotSizeNWSE] == kIdSizeNWSE,
              "slots follow the replaceable ids");

extern CursorSlot CursorSlotTable[kSlotCount];

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
