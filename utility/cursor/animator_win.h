// The animator's Win32 shell: forwards to the state machine of animator_state.h and carries out
// what it decides, with the timers of the window that drives it (the dialog).
#pragma once
#include <windows.h>

#include <cstdint>

#include "utility/cursor/animator_state.h"

// Loads BlankCursor (resource 130) into the animator's record, once per process. The handle is
// a resource cursor and is never destroyed.
void LoadBlankCursor();

// The animator's operations; `timerWindow` owns its two timers and `blink` is the live setting.
void SelectBlinkMode(HWND timerWindow, int32_t& blink, int32_t mode);
void AnimatorTick(HWND timerWindow, int32_t blink);
void StopAnimation(HWND timerWindow, int32_t blink);
void StartAppStartingTest(HWND timerWindow);
void StartBusyTest(HWND timerWindow);
void EndCursorTest(HWND timerWindow);
// WM_SETCURSOR over the window: true when the animator has set the pointer itself.
bool SetCursorForTest();

// Carries out the actions in order: timers of `timerWindow`, system cursors (through the
// system-cursor service), the pointer, and the application's wait cursor.
void PerformAnimatorActions(HWND timerWindow, const AnimatorActions& actions);

// BlankCursor at `side` pixels (the loaded one for 0 or its own side); kept for the process's
// life, never destroyed.
HCURSOR BlankCursorAt(int side);

// The image a role's slot puts back: its installed handle, or the platform default for the id
// when the slot is empty (a file that failed to load while the role was blank).
HCURSOR SlotImageOrDefault(int slotIndex, DWORD systemCursorId);
