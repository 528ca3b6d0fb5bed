// MainDialog's "Find the pointer" group: its two check boxes, applied at once as the mirror
// boxes are (OK keeps them, Cancel goes back to the kept ones), and the hooks' posted messages.
// The animator pauses while the pointer is hidden or enlarged.
#include "utility/app/cursor_settings.h"
#include "utility/cursor/find_pointer_win.h"
#include "utility/dialog/main_dialog_win.h"

namespace {

MainDialog* owner = nullptr;  // the one dialog, while it configures the hooks

void PauseAnimator() {
  if (owner) owner->PauseForFindPointer();
}

void ResumeAnimator() {
  if (owner) owner->ResumeAfterFindPointer();
}

}  // namespace

void MainDialog::PauseForFindPointer() { StopAnimation(); }

void MainDialog::ResumeAfterFindPointer() { StartStoredBlinkMode(); }

void MainDialog::ApplyFindPointer() {
  owner = this;
  ConfigureFindPointer(m_hWnd, current.HideTyping != 0, current.ShakeEnlarge != 0, {&PauseAnimator, &ResumeAnimator});
}

void MainDialog::OnHideTyping() {
  current.HideTyping = hideTyping.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyFindPointer();
}

void MainDialog::OnShakeEnlarge() {
  current.ShakeEnlarge = shakeEnlarge.GetCheck() == BST_CHECKED ? 1 : 0;
  ApplyFindPointer();
}

void MainDialog::OnFindPointerPosted(UINT what) { OnFindPointerMessage(what); }
