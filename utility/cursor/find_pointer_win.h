// Finding the pointer, on the platform: low-level keyboard and mouse hooks that see input in
// every application (the keyboard's only as "a typing key went down", never which), the blank
// that hides every replaceable system cursor while the user types, and the enlarged pointer of
// a shake. Work happens on input only; the enlargement's timer runs only while it animates.
#pragma once
#include <windows.h>

constexpr UINT kFindPointerMessage = WM_APP + 2;  // posted by the hooks to the owner window
constexpr UINT_PTR kFindPointerTimerId = 3;       // the animator has 1 and 2

// What the owner does around a hide or an enlargement: the animator is paused before the
// pointer changes and resumed after it is itself again.
struct FindPointerHooks {
  void (*pauseAnimator)();
  void (*resumeAnimator)();
};

// Turns each behaviour on or off (installing or removing the hooks it needs); `owner` gets the
// posted messages and owns the timer. Turning off what is in effect puts the pointer back first.
void ConfigureFindPointer(HWND owner, bool hideTyping, bool shakeEnlarge, FindPointerHooks hooks);
// kFindPointerMessage and the timer, from the owner's window procedure.
void OnFindPointerMessage(WPARAM what);
void OnFindPointerTimer();
// Before every ending: the hooks and the timer go; the ending then puts every default back.
void EndFindPointer();
