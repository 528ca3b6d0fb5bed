// MainDialog's blinking radios, test buttons, timers and WM_SETCURSOR, handed to the animator
// with the dialog's window for its timers.
#include "utility/records/cursor_settings.h"
#include "utility/cursor/animator_win.h"
#include "utility/dialog/main_dialog_win.h"

void MainDialog::OnBlinkRadio(UINT id) {
  const int32_t mode = BlinkModeForRadio(id);
  if (mode < 0) return;
  // While finding the pointer holds the animator, the mode starts when it lets go.
  if (animatorPausedForFindPointer) {
    current.Blink = mode;
  } else {
    SelectBlinkMode(mode);
  }
}

void MainDialog::SelectBlinkMode(int mode) { ::SelectBlinkMode(m_hWnd, current.Blink, mode); }

void MainDialog::StartStoredBlinkMode() {
  if (animatorPausedForFindPointer) return;
  if (current.Blink > static_cast<int32_t>(BlinkMode::None) && current.Blink < kBlinkModeCount) {
    SelectBlinkMode(current.Blink);
  }
}

void MainDialog::OnTimer(UINT_PTR id) {
  if (id == kTestTimerId) {
    EndCursorTest(m_hWnd);
  } else if (id == kAnimatorTimerId) {
    AnimatorTick(m_hWnd, current.Blink);
  } else if (id == kReloadTimerId) {
    ::KillTimer(m_hWnd, kReloadTimerId);
    FollowReloadRule(reloadRate.OnDue(::GetTickCount()));
  }
  Default();
}

void MainDialog::OnTestAppStarting() { StartAppStartingTest(m_hWnd); }

void MainDialog::OnTestBusy() { StartBusyTest(m_hWnd); }

BOOL MainDialog::OnSetCursor(HWND, UINT, UINT) {
  if (SetCursorForTest()) return TRUE;
  return static_cast<BOOL>(Default());
}

void MainDialog::StopAnimation() { ::StopAnimation(m_hWnd, current.Blink); }
