// The settings file's place, decided once at start before the settings are read.
#pragma once
#include "platform/app.h"

// Points the application's profile at "<application data>\Pointrel\<profile name>", the
// shell's folder looked up at run time. At the first start without that file, the file of an
// older Pointrel is taken over once (copied; the old one stays): its per-user VirtualStore
// copy, else the one in the Windows folder. Where the shell gives no folder, or the folder
// cannot be made, the profile stays in the Windows folder as before.
void LocateSettingsFile(CWinApp& app);
