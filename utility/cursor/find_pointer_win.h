// Finding the pointer, on the platform: the session (find_pointer_session.h) runs on a thread of
// its own, fed by the input hooks' thread (input_hooks_win.h), and carries out what it decides:
// the blank that hides every replaceable system cursor while the user types, what each showed
// put back at the first move, and the enlarged pointer of a shake. Neither thread ever waits for
// the dialog, so the pointer comes back and input flows while the dialog is busy or stuck; the
// dialog only pauses and resumes its animator when asked (kFindPointerMessage).
#pragma once
#include <windows.h>

// Posted to the dialog when the session's hold on the animator changes: the dialog reads
// FindPointerHoldsAnimator, pauses or resumes its animator to match, and when paused answers
// with AnswerAnimatorPaused.
constexpr UINT kFindPointerMessage = WM_APP + 2;

// Turns each behaviour on or off (starting the two threads at the first call); turning off what
// is in effect puts the pointer back first.
void ConfigureFindPointer(HWND dialog, bool hideTyping, bool shakeEnlarge);
bool FindPointerHoldsAnimator();
void AnswerAnimatorPaused();
// The dialog has installed its choices again after something reloaded the system cursors.
void FindPointerCursorsReloaded();
// The session was unlocked or the computer resumed: the hooks are installed afresh.
void FindPointerInputMayHaveStopped();
// Before every ending, from any thread: nothing more is hidden, shown or enlarged and the
// hooks go; the ending then puts every default back.
void EndFindPointer();
