// The settings file's place, decided once at start before the settings are read.
#pragma once
#include "platform/app.h"

// Points the application's profile at "<application data>\Pointrel\<profile name>", the
// shell's folder looked up at run time. At the first start without that file, the file of an
// older Pointrel is taken over once (copied; the old one stays): its per-user VirtualStore
// copy, else the one in the Windows folder. Where the shell gives no folder, or the folder
// cannot be made, the profile stays in the Windows folder as before; where that folder is a
// file, the profile names the file inside it all the same (it can be neither read nor written)
// and SettingsFolderThatIsAFile says so.
void LocateSettingsFile(CWinApp& app);

// The settings folder that turned out to be a file, or null: a failed save names it.
const char* SettingsFolderThatIsAFile();
