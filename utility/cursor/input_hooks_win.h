// The low-level keyboard and mouse hooks, on a thread that does nothing else but run its own
// message loop: the platform calls a low-level hook on the thread that installed it and holds
// the input (for every program) until it returns, and drops a hook that answers too slowly,
// without a word. So the hook procedures only note the time, copy what the session needs into
// a posted message and return; no hook ever waits for the dialog or does cursor work.
#pragma once
#include <windows.h>

#include <cstdint>

// Posted to the session's window: a typing key went down (never which key).
constexpr UINT kTypingMessage = WM_APP + 10;
// Posted to the session's window: wParam holds a MouseInput and, with kInjectedInput, that
// another program made it; lParam holds the pointer's x and y (GET_X_LPARAM, GET_Y_LPARAM).
constexpr UINT kMouseMessage = WM_APP + 11;
enum MouseInput : WPARAM { kMouseMove = 1, kMouseButtonDown = 2, kMouseButtonUp = 3, kMouseWheel = 4 };
constexpr WPARAM kInjectedInput = 0x100;

// Starts the hooks' thread, once; its messages go to `session`. False when it cannot start.
bool StartInputHooks(HWND session);
// `input`: both hooks installed (or removed); `moves`: the pointer's moves posted too (buttons
// and the wheel always are while the hooks are in).
void WatchInput(bool input, bool moves);
// Both hooks removed and installed afresh: the platform may have dropped them.
void ReinstallInputHooks();
// Both hooks are in: their last installation succeeded.
bool InputHooksInstalled();
// The tick count when a hook last saw any input; 0 before the first.
uint32_t LastHookedInputMs();
