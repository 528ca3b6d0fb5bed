#include "utility/cursor/find_pointer_win.h"

#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/app/guard_command.h"
#include "utility/cursor/animator_win.h"
#include "utility/cursor/cursor_roles_win.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/cursor/find_pointer.h"
#include "utility/cursor/transformer_win.h"

namespace {

enum PostedWhat : WPARAM { kHide = 1, kShow = 2, kShake = 3 };

constexpr DWORD kInjectedMouse = 0x01;  // LLMHF_INJECTED: the wobble's own moves, say

struct FindPointerState {
  HWND owner = nullptr;
  FindPointerHooks hooks = {};
  bool hideTyping = false;
  bool shakeEnlarge = false;
  HHOOK keyboardHook = nullptr;
  HHOOK mouseHook = nullptr;
  find_pointer::TypingFilter typing;
  find_pointer::ShakeDetector shake;
  find_pointer::Enlargement enlargement;
  // Written by the hooks and the handlers, all on the owner's thread.
  bool hidden = false;
  bool hidePosted = false, showPosted = false, shakePosted = false;
  POINT hiddenAt = {};
  bool paused = false;
  // The enlargement: the id in force and its own image, and the percent shown now.
  DWORD enlargedId = 0;
  HCURSOR enlargedBase = nullptr;
  int baseSide = 0;
  int shownPercent = 100;
  HANDLE hiddenEvent = nullptr;  // kPointerHiddenEvent, for the guard
};
FindPointerState state;

void Post(PostedWhat what, bool& posted) {
  if (posted) return;
  posted = true;
  ::PostMessageA(state.owner, kFindPointerMessage, what, 0);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    // Only whether it is typing is kept; the key itself is forgotten here.
    if (state.typing.OnKey(key->vkCode, down) && state.hideTyping && !state.hidden) Post(kHide, state.hidePosted);
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    const bool move = message == WM_MOUSEMOVE;
    if (state.hidden) {
      if (!move || mouse->pt.x != state.hiddenAt.x || mouse->pt.y != state.hiddenAt.y) Post(kShow, state.showPosted);
    } else if (state.shakeEnlarge && !(mouse->flags & kInjectedMouse)) {
      if (move) {
        if (state.shake.OnMove(mouse->time, mouse->pt.x, mouse->pt.y, ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               ::GetSystemMetrics(SM_CYVIRTUALSCREEN))) {
          Post(kShake, state.shakePosted);
        }
      } else if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        state.shake.OnButton(true);
      } else if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
        state.shake.OnButton(false);
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

void Hook(HHOOK& hook, int kind, HOOKPROC procedure, bool wanted) {
  if (wanted && !hook) hook = ::SetWindowsHookExA(kind, procedure, ::GetModuleHandleA(nullptr), 0);
  if (!wanted && hook) {
    ::UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
}

// The mouse is watched while the pointer is hidden (to show it again) or shakes are wanted.
void UpdateHooks() {
  Hook(state.keyboardHook, WH_KEYBOARD_LL, &KeyboardHook, state.hideTyping);
  Hook(state.mouseHook, WH_MOUSE_LL, &MouseHook, state.hidden || state.shakeEnlarge);
}

// What the id shows when Pointrel does not hide or enlarge it: the role's cursor, or the default.
HCURSOR InForce(DWORD id) {
  const int slot = SlotOfCursorId(id);
  return slot >= 0 ? SlotImageOrDefault(slot, id) : platform::SystemDefaultCursor(id);
}

int SideOf(DWORD id, HCURSOR image) {
  const int slot = SlotOfCursorId(id);
  if (slot >= 0 && CursorSlotTable[slot].handle == image && CursorSlotTable[slot].side > 0) return CursorSlotTable[slot].side;
  return platform::CursorSide(image);
}

void Pause() {
  if (state.paused) return;
  state.paused = true;
  if (state.hooks.pauseAnimator) state.hooks.pauseAnimator();
}

void Resume() {
  if (!state.paused || state.hidden || state.enlargedId) return;
  state.paused = false;
  if (state.hooks.resumeAnimator) state.hooks.resumeAnimator();
}

void StopEnlarging() {
  if (!state.enlargedId) return;
  ::KillTimer(state.owner, kFindPointerTimerId);
  if (state.shownPercent != 100) platform::InstallSystemCursor(InForce(state.enlargedId), state.enlargedId);
  state.enlargement.Stop();
  state.enlargedId = 0;
  state.shownPercent = 100;
}

void Hide() {
  if (state.hidden) return;
  StopEnlarging();
  Pause();
  ::GetCursorPos(&state.hiddenAt);
  // Every id blank at the size of what it shows, so no hole is smaller than the pointer.
  for (DWORD id : kReplaceableCursorIds) platform::InstallSystemCursor(BlankCursorAt(SideOf(id, InForce(id))), id);
  for (DWORD id : kHideOnlyCursorIds) {
    HCURSOR own = platform::SystemDefaultCursor(id);
    platform::InstallSystemCursor(BlankCursorAt(own ? platform::CursorSide(own) : 0), id);
  }
  state.hidden = true;
  if (state.hiddenEvent) ::SetEvent(state.hiddenEvent);
  UpdateHooks();
}

void Show() {
  if (!state.hidden) return;
  for (DWORD id : kReplaceableCursorIds) platform::InstallSystemCursor(InForce(id), id);
  for (DWORD id : kHideOnlyCursorIds) platform::InstallSystemCursor(platform::SystemDefaultCursor(id), id);
  state.hidden = false;
  if (state.hiddenEvent) ::ResetEvent(state.hiddenEvent);
  UpdateHooks();
  Resume();
}

// The id whose cursor the pointer shows now: one of Pointrel's roles, else Normal.
DWORD IdInForce() {
  CURSORINFO info = {};
  info.cbSize = sizeof info;
  if (::GetCursorInfo(&info) && info.hCursor) {
    for (DWORD id : kReplaceableCursorIds) {
      if (::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) == info.hCursor) return id;
    }
  }
  return kIdNormal;
}

void ShowPercent(int percent) {
  if (percent == state.shownPercent) return;
  HCURSOR image = state.enlargedBase;
  HCURSOR enlarged = nullptr;
  if (percent != 100) {
    int side = state.baseSide * percent / 100;
    if (side > 256) side = 256;
    enlarged = EnlargeCursor(state.enlargedBase, side);
    if (enlarged) image = enlarged;
  }
  // Through the service, which installs a copy: the enlarged image is ours to release.
  platform::InstallSystemCursor(image, state.enlargedId);
  if (enlarged) platform::ReleaseCursor(enlarged);
  state.shownPercent = percent;
}

void Shake() {
  if (state.hidden || !state.shakeEnlarge) return;
  const DWORD now = ::GetTickCount();
  if (!state.enlargedId) {
    Pause();
    state.enlargedId = IdInForce();
    state.enlargedBase = InForce(state.enlargedId);
    state.baseSide = SideOf(state.enlargedId, state.enlargedBase);
    state.shownPercent = 100;
    ::SetTimer(state.owner, kFindPointerTimerId, find_pointer::Enlargement::kStepMs, nullptr);
  }
  state.enlargement.OnShake(now);
  ShowPercent(state.enlargement.PercentAt(now));
}

}  // namespace

void ConfigureFindPointer(HWND owner, bool hideTyping, bool shakeEnlarge, FindPointerHooks hooks) {
  state.owner = owner;
  state.hooks = hooks;
  if (!state.hiddenEvent) {
    char name[64];
    if (FormatGuardEventName(kPointerHiddenEvent, ::GetCurrentProcessId(), name, sizeof name)) {
      state.hiddenEvent = ::CreateEventA(nullptr, TRUE, FALSE, name);
    }
  }
  if (!hideTyping) Show();
  if (!shakeEnlarge) {
    StopEnlarging();
    Resume();
  }
  state.hideTyping = hideTyping;
  state.shakeEnlarge = shakeEnlarge;
  state.shake.Reset();
  UpdateHooks();
}

void OnFindPointerMessage(WPARAM what) {
  switch (what) {
    case kHide:
      state.hidePosted = false;
      if (state.hideTyping) Hide();
      break;
    case kShow:
      state.showPosted = false;
      Show();
      break;
    case kShake:
      state.shakePosted = false;
      Shake();
      break;
    default:
      break;
  }
}

void OnFindPointerTimer() {
  if (!state.enlargedId) {
    ::KillTimer(state.owner, kFindPointerTimerId);
    return;
  }
  const DWORD now = ::GetTickCount();
  ShowPercent(state.enlargement.PercentAt(now));
  if (!state.enlargement.AnimatingAt(now)) {
    StopEnlarging();
    Resume();
  }
}

void EndFindPointer() {
  // Nothing is put back here: the ending's own restore brings every id's default back, the
  // six that only hiding touches included.
  state.hideTyping = false;
  state.shakeEnlarge = false;
  if (state.enlargedId) ::KillTimer(state.owner, kFindPointerTimerId);
  state.enlargement.Stop();
  state.enlargedId = 0;
  state.shownPercent = 100;
  state.hidden = false;
  state.paused = false;  // the ending stops the animator itself
  UpdateHooks();
}
