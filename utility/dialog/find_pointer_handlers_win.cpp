// MainDialog's "Find the pointer" group: its two check boxes, applied at once as the mirror
// boxes are (OK keeps them, Cancel goes back to the kept ones), and the animator paused while
// finding the pointer holds it (the pointer hidden or enlarged): the session asks, the dialog
// answers when it can, and a dialog that answers late finds the request already withdrawn.
#include "utility/records/cursor_settings.h"
#include "utility/cursor/find_pointer_win.h"
#include "utility/dialog/main_dialog_win.h"

void MainDialog::ApplyFindPointer() { ConfigureFindPointer(m_hWnd, current.HideTyping != 0, current.ShakeEnlarge != 0); }

void MainDialog::OnHideTyping() {
  current.HideTyping = hideTyping.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyFindPointer();
}

void MainDialog::OnShakeEnlarge() {
  current.ShakeEnlarge = shakeEnlarge.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyFindPointer();
}

void MainDialog::OnFindPointerPosted(UINT) {
  if (FindPointerHoldsAnimator()) {
    if (!animatorPausedForFindPointer) {
      StopAnimation();
      animatorPausedForFindPointer = true;
    }
    AnswerAnimatorPaused();
  } else if (animatorPausedForFindPointer) {
    animatorPausedForFindPointer = false;
    StartStoredBlinkMode();
  }
}
