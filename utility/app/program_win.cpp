#include "utility/app/cursor_app_win.h"

// The program's one application object; WinMain (platform) runs it.
CursorApp theApp;
