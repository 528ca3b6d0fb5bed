#include "utility/records/utility_window_win.h"

#include "utility/records/utility_identity.h"

namespace {

BOOL CALLBACK TakeUtilityWindow(HWND window, LPARAM found) {
  char title[16], className[16];
  if (::GetWindowTextA(window, title, sizeof title) == 0 || lstrcmpA(title, kUtilityWindowTitle) != 0) return TRUE;
  if (::GetClassNameA(window, className, sizeof className) == 0 || lstrcmpA(className, "#32770") != 0) return TRUE;
  if (::GetWindow(window, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND FindUtilityWindow() {
  HWND found = nullptr;
  ::EnumWindows(&TakeUtilityWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}
