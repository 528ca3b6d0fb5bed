#include "installer/installer_app_win.h"

// The program's one application object; WinMain (platform) runs it.
InstallerApp theApp;
