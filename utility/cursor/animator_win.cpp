#include "utility/cursor/animator_win.h"

#include "platform/app.h"
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/app/cursor_settings.h"
#include "utility/cursor/cursor_slots_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/resources/resource.h"

namespace {

// The animator's one way to change a system cursor: through the service, which installs a copy
// so the kept blank and slot handles stay valid, and traces the change.
void InstallSystemCursor(HCURSOR cursor, DWORD id) { platform::SetSystemCursor(cursor, id); }

int SlotOfRole(DWORD id) { return id == kIdIBeam ? kSlotIBeam : kSlotNormal; }

BlinkRole RoleOf(const CursorSlot& slot) { return {slot.animated, slot.handle != nullptr}; }

}  // namespace

void LoadBlankCursor() {
  if (animatorState.blankCursor) return;
  animatorState.blankCursor = platform::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_BLANK));
}

HCURSOR SlotImageOrDefault(int slotIndex, DWORD systemCursorId) {
  if (HCURSOR installed = CursorSlotTable[slotIndex].handle) return installed;
  return platform::LoadCursorA(nullptr, MAKEINTRESOURCEA(systemCursorId));
}

void PerformAnimatorActions(HWND dialog, const AnimatorActions& actions) {
  for (const AnimatorAction& action : actions) {
    switch (action.kind) {
      case AnimatorAction::InstallSystemCursor: {
        const DWORD id = action.systemCursorId;
        HCURSOR image = action.source == CursorSource::Blank ? static_cast<HCURSOR>(animatorState.blankCursor)
                                                              : SlotImageOrDefault(SlotOfRole(id), id);
        InstallSystemCursor(image, id);
        break;
      }
      case AnimatorAction::SetTimer:
        ::SetTimer(dialog, action.timerId, action.period, nullptr);
        break;
      case AnimatorAction::KillTimer:
        ::KillTimer(dialog, action.timerId);
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

void MainDialog::OnBlinkRadio(UINT id) {
  const int32_t mode = BlinkModeForRadio(id);
  if (mode >= 0) SelectBlinkMode(mode);
}

void MainDialog::SelectBlinkMode(int mode) {
  PerformAnimatorActions(m_hWnd, animator::SelectBlinkMode(animatorState, current.Blink, mode));
}

void MainDialog::OnTimer(UINT_PTR id) {
  if (id == kTestTimerId) {
    OnTestTimer();
  } else if (id == kAnimatorTimerId) {
    OnAnimatorTick();
  }
  Default();
}

void MainDialog::OnAnimatorTick() {
  // A failed read (the input desktop is elsewhere) counts as a pointer at rest.
  POINT pointer = {animatorState.lastCursorPos.x, animatorState.lastCursorPos.y};
  ::GetCursorPos(&pointer);
  PerformAnimatorActions(m_hWnd, animator::OnAnimatorTick(animatorState, current.Blink, {pointer.x, pointer.y},
                                                          RoleOf(CursorSlotTable[kSlotNormal]),
                                                          RoleOf(CursorSlotTable[kSlotIBeam])));
}

void MainDialog::OnTestTimer() { PerformAnimatorActions(m_hWnd, animator::OnTestTimer(animatorState)); }

void MainDialog::OnTestAppStarting() { PerformAnimatorActions(m_hWnd, animator::OnTestAppStarting(animatorState)); }

void MainDialog::OnTestBusy() { PerformAnimatorActions(m_hWnd, animator::OnTestBusy(animatorState)); }

BOOL MainDialog::OnSetCursor(HWND, UINT, UINT) {
  const SetCursorDecision decision = animator::OnSetCursor(animatorState);
  if (decision.showAppStarting) ::SetCursor(SlotImageOrDefault(kSlotAppStarting, kIdAppStarting));
  if (decision.handled) return TRUE;
  return static_cast<BOOL>(Default());
}

void MainDialog::StopAnimation() {
  PerformAnimatorActions(m_hWnd, animator::StopAnimation(animatorState, current.Blink));
}
