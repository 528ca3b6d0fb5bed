// MainDialog's answers to the platform reloading the system cursors: a settings change (the
// pointer's scheme, size or colour, from Windows Settings or any program), a theme, the session
// unlocked, the computer resumed, the display or its scale changed. Each puts the user's scheme
// over Pointrel's choices, so the choices are installed again at the size in force, with the
// blanks or the enlargement of finding the pointer over them; the rule of AnswerRate keeps a
// program that reloads again and again from starting a fight, and the stop is said once.
#include "platform/gdi.h"
#include "platform/system_cursor.h"
#include "utility/cursor/find_pointer_win.h"
#include "utility/cursor/transformer_win.h"
#include "utility/dialog/main_dialog_win.h"
#include "utility/records/cursor_settings.h"

namespace {
constexpr WPARAM kResumeAutomatic = 0x12;  // PBT_APMRESUMEAUTOMATIC
constexpr WPARAM kResumeSuspend = 0x07;    // PBT_APMRESUMESUSPEND
constexpr WPARAM kSessionUnlock = 0x8;     // WTS_SESSION_UNLOCK
}  // namespace

void MainDialog::OnSettingChange(WPARAM action, LPARAM section) {
  if (IsCursorReloadSetting(static_cast<uint32_t>(action))) RequestReloadAnswer(ReloadCause::Settings);
  // Windows' apps turned light or dark: the section is a string only with no action of its own.
  if (action == 0 && current.FollowDarkMode && IsAppModeChange(reinterpret_cast<const char*>(section))) {
    // The other scheme goes on as a theme's cursors would, under the same rule.
    if (FollowAppMode()) RequestReloadAnswer(ReloadCause::Theme);
    ShowSchemeChoice();
  }
  Default();
}

void MainDialog::OnThemeChanged() {
  RequestReloadAnswer(ReloadCause::Theme);
  Default();
}

void MainDialog::OnSessionChange(WPARAM what, LPARAM) {
  if (what == kSessionUnlock) {
    FindPointerInputMayHaveStopped();
    RequestReloadAnswer(ReloadCause::Unlock);
  }
  Default();
}

void MainDialog::OnPowerBroadcast(WPARAM what, LPARAM) {
  if (what == kResumeAutomatic || what == kResumeSuspend) {
    FindPointerInputMayHaveStopped();
    RequestReloadAnswer(ReloadCause::Resume);
  }
  Default();
}

void MainDialog::OnDisplayChange() {
  ForgetDisplayFormat();
  RequestReloadAnswer(ReloadCause::Display);
  Default();
}

void MainDialog::RequestReloadAnswer(ReloadCause cause) {
  // After an ending nothing of Pointrel's goes back on the desktop.
  if (restoredFlag) return;
  lastReloadCause = cause;
  FollowReloadRule(reloadRate.OnRequest(::GetTickCount()));
}

void MainDialog::FollowReloadRule(AnswerRate::Decision decision) {
  switch (decision) {
    case AnswerRate::Decision::AnswerNow:
      AnswerReload();
      break;
    case AnswerRate::Decision::AnswerLater: {
      const uint32_t delay = reloadRate.DelayMs(::GetTickCount());
      SetTimer(kReloadTimerId, delay > 0 ? delay : 1);
      break;
    }
    case AnswerRate::Decision::Stop:
      PostMessage(kReloadStoppedMessage);
      break;
    case AnswerRate::Decision::Ignore:
      break;
  }
}

void MainDialog::AnswerReload() {
  platform::ResizeKeptDefaults(platform::UserCursorSide());
  ApplyAllCursors();
  FindPointerCursorsReloaded();
}

void MainDialog::OnReloadStopped() {
  char text[512];
  if (ComposeReloadStopMessage(lastReloadCause, text, sizeof text)) {
    // Not the window's own title, which a second start of the program looks for.
    MessageBox(text, "Pointrel Cursors", MB_OK | MB_ICONINFORMATION);
  }
}

void MainDialog::UserMadeChoice() {
  if (!reloadRate.stopped()) return;
  reloadRate.OnUserChoice();
  KillTimer(kReloadTimerId);
}
