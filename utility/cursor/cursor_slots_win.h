// The record of what is installed under each replaced system cursor id. Written only by the
// cursor roles; the animator reads slots 0, 1 and 3.
#pragma once
#include <windows.h>

#include <cstdint>

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
static_assert(kReplaceableCursorIds[kSlotNormal] == kIdNormal && kReplaceableCursorIds[kSlotAppStarting] == kIdAppStarting &&
                  kReplaceableCursorIds[kSlotBusy] == kIdBusy && kReplaceableCursorIds[kSlotIBeam] == kIdIBeam &&
                  kReplaceableCursorIds[kSlotSizeNWSE] == kIdSizeNWSE,
              "slots follow the replaceable ids");

extern CursorSlot CursorSlotTable[kSlotCount];
