#include "utility/cursor/find_pointer_win.h"

#include <windowsx.h>

#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/cursor/animator_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/cursor/find_pointer_session.h"
#include "utility/cursor/input_hooks_win.h"
#include "utility/cursor/transformer_win.h"

namespace {

// Messages of the session's window.
constexpr UINT kConfigureMessage = WM_APP + 1;  // wParam: kHideTypingBit | kShakeEnlargeBit; lParam: its number
constexpr UINT kPausedMessage = WM_APP + 2;     // the dialog has paused its animator
constexpr UINT kReloadedMessage = WM_APP + 3;
constexpr UINT kInputStoppedMessage = WM_APP + 4;
constexpr UINT kEndMessage = WM_APP + 5;        // sent: returns once the session has ended; wParam: the
                                                // number of the last configuration before it
constexpr WPARAM kHideTypingBit = 1, kShakeEnlargeBit = 2;
constexpr UINT_PTR kWatchdogTimer = 3;          // the session's own timers are 1 and 2
constexpr DWORD kEndWaitMs = 2000;

HWND dialog = nullptr;
HWND sessionWindow = nullptr;
volatile LONG animatorHeld = 0;   // written by the session's thread, read by the dialog's
LPARAM configurations = 0;        // counted on the dialog's thread

// Only the session's thread touches these.
find_pointer::Session session;
find_pointer::HookWatchdog watchdog;
DWORD enlargedId = 0;   // the id the enlargement works on; 0 while there is none
int shownPercent = 100;
// A sent ending overtakes configurations posted before it; those are dropped, never revive it.
LPARAM endedAfter = 0;

// What the id shows when Pointrel does not hide or enlarge it: the role's cursor, or the
// default. Called with the slots locked.
HCURSOR InForce(DWORD id) {
  const int slot = RoleOfCursorId(id);
  return slot >= 0 ? SlotImageOrDefault(slot, id) : platform::SystemDefaultCursor(id);
}

// Called with the slots locked; 0 where the id shows nothing (no default, nothing installed).
int SideOf(DWORD id, HCURSOR image) {
  const int slot = RoleOfCursorId(id);
  if (slot >= 0 && CursorSlotTable[slot].handle == image && CursorSlotTable[slot].side > 0) return CursorSlotTable[slot].side;
  return image ? platform::CursorSide(image) : 0;
}

// Hiding and showing run on the session's thread while the dialog's thread may install a
// choice (a key typed into a list, Cancel, a reload answered) at the same moment. Both sides
// hold the slots' lock around every use of a slot's handle: InstallCursor replaces a slot and
// only then releases the old handle, so what Show reads is alive while it is installed (the
// service copies it under its own lock). While the pointer is hidden, InstallCursor keeps to the
// slot and leaves the id blank, so a choice made then neither shows through the blank nor is
// lost: Show installs what the slot holds by then. The animator is paused by then (the session
// asks the dialog before it hides), so its own installs cannot cross the blanks either. The one
// wait left is for an install already under way on the dialog's thread: one platform call.
void Hide() {
  SlotsLocked locked;
  slotsCovered = true;
  // Every role's id blank at the size of what it shows, so no hole is smaller than the pointer.
  for (const CursorRoleInfo& role : kCursorRoles) {
    platform::InstallSystemCursor(BlankCursorAt(SideOf(role.id, InForce(role.id))), role.id);
  }
}

void Show() {
  SlotsLocked locked;
  for (const CursorRoleInfo& role : kCursorRoles) platform::InstallSystemCursor(InForce(role.id), role.id);
  slotsCovered = false;
}

// The id whose cursor the pointer shows now: one of the roles', else Normal.
DWORD IdInForce() {
  CURSORINFO info = {};
  info.cbSize = sizeof info;
  if (::GetCursorInfo(&info) && info.hCursor) {
    for (const CursorRoleInfo& role : kCursorRoles) {
      if (::LoadCursorA(nullptr, MAKEINTRESOURCEA(role.id)) == info.hCursor) return role.id;
    }
  }
  return kIdNormal;
}

// The enlarged id at `percent` of its own side, made afresh from what it shows now (a choice
// or a reload may have changed that since the last step).
void EnlargeTo(int percent, bool again) {
  if (!enlargedId) {
    enlargedId = IdInForce();
    shownPercent = 100;
  }
  if (percent == shownPercent && !again) return;
  SlotsLocked locked;
  HCURSOR base = InForce(enlargedId);
  HCURSOR enlarged = nullptr;
  if (percent != 100) {
    int side = SideOf(enlargedId, base) * percent / 100;
    if (side > 256) side = 256;
    enlarged = EnlargeCursor(base, side);
  }
  // Through the service, which installs a copy: the enlarged image is ours to release.
  platform::InstallSystemCursor(enlarged ? enlarged : base, enlargedId);
  if (enlarged) platform::ReleaseCursor(enlarged);
  shownPercent = percent;
}

void EndEnlargement() {
  if (enlargedId && shownPercent != 100) {
    SlotsLocked locked;
    platform::InstallSystemCursor(InForce(enlargedId), enlargedId);
  }
  enlargedId = 0;
  shownPercent = 100;
}

void HoldAnimator(bool hold) {
  ::InterlockedExchange(&animatorHeld, hold ? 1 : 0);
  ::PostMessageA(dialog, kFindPointerMessage, 0, 0);
}

void Perform(const find_pointer::SessionActions& actions) {
  using find_pointer::SessionAction;
  for (const SessionAction& action : actions) {
    switch (action.kind) {
      case SessionAction::Hide: Hide(); break;
      case SessionAction::Show: Show(); break;
      case SessionAction::EnlargeTo: EnlargeTo(action.percent, action.again); break;
      case SessionAction::EndEnlargement: EndEnlargement(); break;
      case SessionAction::StartTimer: ::SetTimer(sessionWindow, action.timer, action.period, nullptr); break;
      case SessionAction::StopTimer: ::KillTimer(sessionWindow, action.timer); break;
      case SessionAction::PauseAnimator: HoldAnimator(true); break;
      case SessionAction::ResumeAnimator: HoldAnimator(false); break;
      case SessionAction::Watch:
        WatchInput(action.input, action.moves);
        if (action.input) {
          watchdog.OnInstalled(::GetTickCount());
          ::SetTimer(sessionWindow, kWatchdogTimer, find_pointer::HookWatchdog::kCheckMs, nullptr);
        } else {
          ::KillTimer(sessionWindow, kWatchdogTimer);
        }
        break;
      case SessionAction::ReinstallHooks:
        ReinstallInputHooks();
        watchdog.OnInstalled(::GetTickCount());
        break;
    }
  }
}

// The hooks dropped by the platform (input it saw that they did not), or never installed:
// installed again.
void CheckHooks(DWORD now) {
  LASTINPUTINFO input = {};
  input.cbSize = sizeof input;
  const bool lost = ::GetLastInputInfo(&input) && watchdog.HooksLost(now, input.dwTime, LastHookedInputMs());
  if (lost || !InputHooksInstalled()) {
    ReinstallInputHooks();
    watchdog.OnInstalled(now);
  }
}

find_pointer::PointerAt PointerNow() {
  POINT at = {};
  ::GetCursorPos(&at);
  return {at.x, at.y};
}

void OnMouse(WPARAM what, LPARAM where) {
  const DWORD ms = static_cast<DWORD>(::GetMessageTime());
  switch (what & ~kInjectedInput) {
    case kMouseMove:
      Perform(session.OnMove(ms, {GET_X_LPARAM(where), GET_Y_LPARAM(where)}, (what & kInjectedInput) != 0,
                             ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
      break;
    case kMouseButtonDown: Perform(session.OnButton(ms, true)); break;
    case kMouseButtonUp: Perform(session.OnButton(ms, false)); break;
    default: Perform(session.OnWheel(ms)); break;
  }
}

LRESULT CALLBACK SessionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD now = ::GetTickCount();
  switch (message) {
    case kConfigureMessage:
      if (lParam > endedAfter) Perform(session.Configure((wParam & kHideTypingBit) != 0, (wParam & kShakeEnlargeBit) != 0));
      return 0;
    case kTypingMessage: Perform(session.OnTyping(now, PointerNow())); return 0;
    case kMouseMessage: OnMouse(wParam, lParam); return 0;
    case kPausedMessage: Perform(session.OnAnimatorPaused(now)); return 0;
    case kReloadedMessage: Perform(session.OnCursorsReloaded(now)); return 0;
    case kInputStoppedMessage: Perform(session.OnInputMayHaveStopped()); return 0;
    case kEndMessage: {
      endedAfter = static_cast<LPARAM>(wParam);
      Perform(session.End());
      enlargedId = 0;
      // The ending puts every cursor back itself; a run that goes on after it (a log-off another
      // program vetoed) installs its choices as usual.
      SlotsLocked locked;
      slotsCovered = false;
      return 0;
    }
    case WM_TIMER:
      if (wParam == kWatchdogTimer) {
        CheckHooks(now);
      } else {
        Perform(session.OnTimer(now, static_cast<uint32_t>(wParam)));
      }
      return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

DWORD WINAPI SessionThread(void* ready) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &SessionProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PointrelFindPointer";
  ::RegisterClassA(&windowClass);
  // A window of this thread's own, for messages only: it takes no part in the desktop.
  sessionWindow = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr);
  ::SetEvent(static_cast<HANDLE>(ready));
  if (!sessionWindow) return 0;
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}

// The session's thread and the hooks' thread, once; false when either cannot start.
bool StartSession() {
  if (sessionWindow) return true;
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!ready) return false;
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &SessionThread, ready, 0, &id);
  if (thread) {
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(thread);
  }
  ::CloseHandle(ready);
  return sessionWindow && StartInputHooks(sessionWindow);
}

}  // namespace

void ConfigureFindPointer(HWND owner, bool hideTyping, bool shakeEnlarge) {
  dialog = owner;
  // Nothing is started for a run that never finds the pointer.
  if (!sessionWindow && !hideTyping && !shakeEnlarge) return;
  if (!StartSession()) return;
  ::PostMessageA(sessionWindow, kConfigureMessage, (hideTyping ? kHideTypingBit : 0) | (shakeEnlarge ? kShakeEnlargeBit : 0),
                 ++configurations);
}

bool FindPointerHoldsAnimator() { return animatorHeld != 0; }

void AnswerAnimatorPaused() {
  if (sessionWindow) ::PostMessageA(sessionWindow, kPausedMessage, 0, 0);
}

void FindPointerCursorsReloaded() {
  if (sessionWindow) ::PostMessageA(sessionWindow, kReloadedMessage, 0, 0);
}

void FindPointerInputMayHaveStopped() {
  if (sessionWindow) ::PostMessageA(sessionWindow, kInputStoppedMessage, 0, 0);
}

void EndFindPointer() {
  // Bounded: an ending on a crash must never hang on a thread that may be the one that crashed.
  DWORD_PTR result = 0;
  if (sessionWindow) {
    ::SendMessageTimeoutA(sessionWindow, kEndMessage, static_cast<WPARAM>(configurations), 0, SMTO_NORMAL, kEndWaitMs, &result);
  }
  ::InterlockedExchange(&animatorHeld, 0);
}
