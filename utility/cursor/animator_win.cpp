#include "utility/cursor/animator_win.h"

#include "platform/app.h"
#include "platform/gdi.h"
#include "platform/lock.h"
#include "platform/system_cursor.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/resources/resource.h"

namespace {

int SlotOfRole(DWORD id) { return id == kIdIBeam ? kRoleIBeam : kRoleNormal; }

BlinkRole RoleOf(const CursorSlot& slot) { return {slot.animated, slot.handle != nullptr}; }

// BlankCursor at the size of the image it hides, so a blink never leaves a smaller hole: the
// loaded one when the sizes agree, else one loaded at that size, kept for the process's life.
// Sides are known beforehand (the blank's at its load, a slot's at its install), so a hide asks
// the platform nothing.
int blankSide = 0;

// The blanks made at other sides, shared by the animator and finding the pointer's thread.
struct SizedBlank {
  int side;
  HCURSOR cursor;
};
SizedBlank sized[8] = {};
platform::Lock sizedBlanksLock;

}  // namespace

void LoadBlankCursor() {
  if (animatorState.blankCursor) return;
  animatorState.blankCursor = platform::LoadSharedCursor(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK));
  blankSide = platform::CursorSide(static_cast<HCURSOR>(animatorState.blankCursor));
}

HCURSOR BlankCursorAt(int side) {
  HCURSOR blank = static_cast<HCURSOR>(animatorState.blankCursor);
  if (side <= 0 || side == blankSide) return blank;
  platform::Locked locked(sizedBlanksLock);
  for (SizedBlank& kept : sized) {
    if (kept.cursor && kept.side == side) return kept.cursor;
  }
  for (SizedBlank& kept : sized) {
    if (kept.cursor) continue;
    kept.cursor = platform::LoadResourceCursorAtSize(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK), side);
    kept.side = side;
    return kept.cursor ? kept.cursor : blank;
  }
  return blank;  // more sizes than places: the loaded one
}

HCURSOR SlotImageOrDefault(int slotIndex, DWORD systemCursorId) {
  if (HCURSOR installed = CursorSlotTable[slotIndex].handle) return installed;
  return platform::LoadSharedCursor(nullptr, MAKEINTRESOURCEA(systemCursorId));
}

void PerformAnimatorActions(HWND timerWindow, const AnimatorActions& actions) {
  for (const AnimatorAction& action : actions) {
    switch (action.kind) {
      case AnimatorAction::InstallSystemCursor: {
        const DWORD id = action.systemCursorId;
        const int slot = SlotOfRole(id);
        HCURSOR image = SlotImageOrDefault(slot, id);
        if (action.source == CursorSource::Blank) {
          const CursorSlot& held = CursorSlotTable[slot];
          image = BlankCursorAt(held.handle == image && held.side > 0 ? held.side : platform::CursorSide(image));
        }
        // Through the service, which installs a copy so the kept blank and slot handles stay
        // valid.
        platform::InstallSystemCursor(image, id);
        break;
      }
      case AnimatorAction::SetTimer:
        ::SetTimer(timerWindow, action.timerId, action.period, nullptr);
        break;
      case AnimatorAction::KillTimer:
        ::KillTimer(timerWindow, action.timerId);
        break;
      case AnimatorAction::SetCursorPos:
        ::SetCursorPos(action.point.x, action.point.y);
        break;
      case AnimatorAction::WaitCursor:
        if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(action.delta);
        break;
    }
  }
}

void SelectBlinkMode(HWND timerWindow, int32_t& blink, int32_t mode) {
  PerformAnimatorActions(timerWindow, animator::SelectBlinkMode(animatorState, blink, mode));
}

void AnimatorTick(HWND timerWindow, int32_t blink) {
  // A failed read (the input desktop is elsewhere) counts as a pointer at rest.
  POINT pointer = {animatorState.lastCursorPos.x, animatorState.lastCursorPos.y};
  ::GetCursorPos(&pointer);
  PerformAnimatorActions(timerWindow,
                         animator::OnAnimatorTick(animatorState, blink, {pointer.x, pointer.y},
                                                  RoleOf(CursorSlotTable[kRoleNormal]), RoleOf(CursorSlotTable[kRoleIBeam])));
}

void StopAnimation(HWND timerWindow, int32_t blink) {
  PerformAnimatorActions(timerWindow, animator::StopAnimation(animatorState, blink));
}

void StartAppStartingTest(HWND timerWindow) {
  PerformAnimatorActions(timerWindow, animator::OnTestAppStarting(animatorState));
}

void StartBusyTest(HWND timerWindow) { PerformAnimatorActions(timerWindow, animator::OnTestBusy(animatorState)); }

void EndCursorTest(HWND timerWindow) { PerformAnimatorActions(timerWindow, animator::OnTestTimer(animatorState)); }

bool SetCursorForTest() {
  const SetCursorDecision decision = animator::OnSetCursor(animatorState);
  if (decision.showAppStarting) ::SetCursor(SlotImageOrDefault(kRoleAppStarting, kIdAppStarting));
  return decision.handled;
}
