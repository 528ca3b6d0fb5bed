// The floor for the start-up benchmark: a program that shows the utility's dialog template
// (the same 69 controls, the caption "Pointrel") modally and does nothing else; Escape ends it.
#include <windows.h>

#include "utility/resources/resource.h"

namespace {
INT_PTR CALLBACK BareDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, &BareDialog, 0);
  return 0;
}
