// The running utility's window as another process finds it: the second start and the installer.
#pragma once

#include <windows.h>

// Posted by a second start to the running utility: come back into view, hidden or minimised.
constexpr UINT kShowUtilityMessage = WM_APP + 7;

// The utility's dialog: an unowned dialog-class window titled "Pointrel", shown or hidden, so
// neither a folder window of that name nor another program's window is taken for it.
HWND FindUtilityWindow();
