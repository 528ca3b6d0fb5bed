// The bitmaps and cursors a test program has made and not yet released, counted from outside
// the code under test through this program's import slots (Wine's GetGuiResources always
// answers 0). Linking this file turns the census on before main, so every handle of the run is
// seen from its making on.
#pragma once

namespace handle_census {

struct LiveHandleCounts {
  long bitmaps;  // handed out by GetIconInfo or CreateBitmap, not yet deleted
  long cursors;  // made by CreateIconIndirect, CreateIconFromResourceEx, CreateCursor or
                 // LoadCursorFromFileA, not yet destroyed
  long copies;   // cursor copies made by CopyImage (the system-cursor service's), not yet destroyed
};

LiveHandleCounts CountLiveHandles();

}  // namespace handle_census
