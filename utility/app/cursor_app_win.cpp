#include "utility/app/cursor_app_win.h"

#include "utility/app/app_profile_store_win.h"
#include "utility/app/cursor_settings.h"
#include "utility/dialog/main_dialog_win.h"

HANDLE instanceMutex = nullptr;

namespace {
const char kInstanceMutexName[] = "PointrelInstanceMutex";
const char kRendezvousTitle[] = "Pointrel";
}  // namespace

BOOL CursorApp::InitApplication() {
  instanceMutex = ::CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  if (instanceMutex && ::GetLastError() != ERROR_ALREADY_EXISTS) return CWinApp::InitApplication();
  // A copy runs already (or the mutex could not be made): bring its window back, hidden or not.
  if (HWND running = ::FindWindowA(nullptr, kRendezvousTitle)) ::ShowWindow(running, SW_RESTORE);
  return FALSE;
}

BOOL CursorApp::InitInstance() {
  Enable3dControls();
  AppProfileStore store(*this);
  LoadSettings(store);
  {
    MainDialog dialog;
    dialog.DoModal();
  }
  return FALSE;
}

BOOL CursorApp::OnHelpCommand(HWND window) {
  OnHelp(window);
  return TRUE;
}
