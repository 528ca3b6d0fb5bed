// The table's one definition, kept here until the cursor roles module defines it.
#include "utility/cursor/cursor_slots_win.h"

CursorSlot CursorSlotTable[kSlotCount];
