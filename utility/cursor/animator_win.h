// The animator's Win32 shell: MainDialog's timer, test-button and WM_SETCURSOR handlers (defined
// in animator_win.cpp) forward to the state machine of animator_state.h and perform what it
// decides with the calls below.
#pragma once
#include <windows.h>

#include "utility/cursor/animator_state.h"

// Loads BlankCursor (resource 130) into the animator's record, once per process; dialog
// initialisation calls it. The handle is a resource cursor and is never destroyed.
void LoadBlankCursor();

// Carries out the actions in order: timers of `dialog`, system cursors (through the
// system-cursor service), the pointer, and the application's wait cursor.
void PerformAnimatorActions(HWND dialog, const AnimatorActions& actions);

// The image a role's slot puts back: its installed handle, or the platform default for the id
// when the slot is empty (a file that failed to load while the role was blank).
HCURSOR SlotImageOrDefault(int slotIndex, DWORD systemCursorId);
